#include "projects/Primmodu.h"

#include "GENEW/runtime/Geneinic.h"

TMDPrimas *MDPrimas = nullptr;

TMDPrimas::TMDPrimas(QObject *parent) : plat::DataModule(parent)
{
    setObjectName(QStringLiteral("MDPrimas"));
    OnCreate = plat::handler(this, &TMDPrimas::ModuloDatosCreate);
}

TMDPrimas::~TMDPrimas()
{
    if (MDPrimas == this)
        MDPrimas = nullptr;
}

void TMDPrimas::ModuloDatosCreate(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->PrepararFormulario(this);
}

TMDPrimas &CrearMDPrimas()
{
    LiberarMDPrimas();
    MDPrimas = plat::createDataModule<TMDPrimas>();
    return *MDPrimas;
}

void LiberarMDPrimas()
{
    if (MDPrimas)
        MDPrimas->Free();
    MDPrimas = nullptr;
}
