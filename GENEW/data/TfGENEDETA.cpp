#include "GENEW/data/TfGENEDETA.h"

TfGENEDETA *fGENEDETA = nullptr;

TfGENEDETA::TfGENEDETA(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEDETA"));
}
