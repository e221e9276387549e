#include "GENEW/data/GENECPRO.h"

TfGENECPRO *fGENECPRO = nullptr;

TfGENECPRO::TfGENECPRO(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENECPRO"));
}

void TfGENECPRO::AbrirListado(plat::DataSet &, const QString &, const QString &, const QString &) {}
