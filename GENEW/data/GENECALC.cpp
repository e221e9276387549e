#include "GENEW/data/GENECALC.h"

TfGENECALC *fGENECALC = nullptr;

TfGENECALC::TfGENECALC(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENECALC"));
}
