#include "GENEW/data/TfGENEBUSQ.h"

TfGENEBUSQ *fGENEBUSQ = nullptr;

TfGENEBUSQ::TfGENEBUSQ(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEBUSQ"));
}
