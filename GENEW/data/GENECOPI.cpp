#include "GENEW/data/GENECOPI.h"

TfGENECOPI *fGENECOPI = nullptr;

TfGENECOPI::TfGENECOPI(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENECOPI"));
}
