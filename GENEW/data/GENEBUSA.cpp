#include "GENEW/data/GENEBUSA.h"

TfGENEBUSA *fGENEBUSA = nullptr;

TfGENEBUSA::TfGENEBUSA(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEBUSA"));
}
