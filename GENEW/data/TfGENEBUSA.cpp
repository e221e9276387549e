#include "GENEW/data/TfGENEBUSA.h"

TfGENEBUSA *fGENEBUSA = nullptr;

TfGENEBUSA::TfGENEBUSA(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEBUSA"));
}
