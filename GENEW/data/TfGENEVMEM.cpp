#include "GENEW/data/TfGENEVMEM.h"

TfGENEVMEM *fGENEVMEM = nullptr;

TfGENEVMEM::TfGENEVMEM(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEVMEM"));
}
