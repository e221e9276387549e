#include "GENEW/data/TfGENECOPI.h"

TfGENECOPI *fGENECOPI = nullptr;

TfGENECOPI::TfGENECOPI(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENECOPI"));
}
