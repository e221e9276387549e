#include "GENEW/data/TfGENEFILT.h"

TfGENEFILT *fGENEFILT = nullptr;

TfGENEFILT::TfGENEFILT(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEFILT"));
}
