#include "GENEW/data/GENEVMEM.h"

TfGENEVMEM *fGENEVMEM = nullptr;

TfGENEVMEM::TfGENEVMEM(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEVMEM"));
}
