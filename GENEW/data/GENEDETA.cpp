#include "GENEW/data/GENEDETA.h"

TfGENEDETA *fGENEDETA = nullptr;

TfGENEDETA::TfGENEDETA(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEDETA"));
}
