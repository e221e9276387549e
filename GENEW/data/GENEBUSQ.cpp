#include "GENEW/data/GENEBUSQ.h"

TfGENEBUSQ *fGENEBUSQ = nullptr;

TfGENEBUSQ::TfGENEBUSQ(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEBUSQ"));
}
