#include "GENEW/data/GENEFILT.h"

TfGENEFILT *fGENEFILT = nullptr;

TfGENEFILT::TfGENEFILT(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEFILT"));
}
