// What the form framework asks of the data module: display handlers and templates, the
// currency button's picture, key texts and the user-fields switch.
#include "GENEW/data/modulo/Genemodu.h"

#include "GENEW/data/servicios/NombresMotor.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"

bool TModuloDatos::HayCamposNoVisibles() const { return fGENEINIC && !fGENEINIC->CamposNoVisibles.isEmpty(); }

PlantillasVisualizacion TModuloDatos::Plantillas() const
{
    PlantillasVisualizacion p;
    p.estandar = FormatoNumericoEstandar;
    for (int n = 1; n <= 5; ++n) {
        p.plantillas[n] = FormatosNumericos[n].isEmpty() ? FormatoNumericoEstandar : FormatosNumericos[n];
        p.campos[n] = CamposFormatoNumerico[n];
    }
    return p;
}

void TModuloDatos::InstalarTextoFecha(plat::Field &campo)
{
    campo.OnGetText = [this](plat::Field &f, QString &texto, bool mostrar) { MostrarTextoFecha(f, texto, mostrar); };
}

void TModuloDatos::InstalarTextoHora(plat::Field &campo)
{
    campo.OnGetText = [this](plat::Field &f, QString &texto, bool mostrar) { MostrarTextoHora(f, texto, mostrar); };
    campo.OnSetText = [this](plat::Field &f, const QString &texto) { AsignarTextoHora(f, texto); };
}

void TModuloDatos::InstalarTextoImporte(plat::Field &campo, bool instalar)
{
    if (instalar)
        campo.OnGetText = [this](plat::Field &f, QString &texto, bool mostrar) { MostrarImporteMoneda(f, texto, mostrar); };
    else
        campo.OnGetText = nullptr;
}

bool TModuloDatos::MonedaBaseDistintaEuro() { return moneda_->codigos().base != moneda_->codigos().euro; }

bool TModuloDatos::SolicitarCamposUsuario()
{
    const plat::DataSet &p = ParamGenerales->dataSet();
    const plat::Field *campo = p.active() ? p.findField(QStringLiteral("SolicitarCamposUsuario")) : nullptr;
    return campo && campo->asString() == QLatin1String("SI");
}

bool TModuloDatos::EsCampoHora(const plat::DataSet &dataSet, const QString &campo)
{
    const plat::Field *f = dataSet.findField(campo);
    return f && ::EsCampoHora(*f);
}

QString TModuloDatos::ClaveUltimoRegistroGrupo(plat::DataSet &dataSet)
{
    auto *tabla = dynamic_cast<plat::TableDataSet *>(&dataSet);
    return tabla ? ClaveUltimoRegistroGrupo(*tabla) : QString();
}
