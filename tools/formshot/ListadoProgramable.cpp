// The run-time listing previewed: a grouped column listing ("Standard"), cards in two card
// columns ("Basica") and a "Blanco y Negro" listing compressed 0.8 with its restrictions header.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "platform/data/ClientDataSet.h"
#include "platform/ui/Controls.h"

namespace {

std::unique_ptr<plat::ClientDataSet> proyectos()
{
    auto datos = std::make_unique<plat::ClientDataSet>(QStringLiteral("Proyectos"));
    datos->setFieldDefs({plat::fieldDef("CodigoProyecto", ftString, 10), plat::fieldDef("Zona", ftString, 10),
                         plat::fieldDef("Descripcion", ftString, 40), plat::fieldDef("Importe", ftFloat),
                         plat::fieldDef("HoraInicio", ftTime), plat::fieldDef("FechaAlta", ftDate),
                         plat::fieldDef("Notas", ftMemo)});
    datos->createDataSet();
    const QStringList zonas{QStringLiteral("Centro"), QStringLiteral("Norte"), QStringLiteral("Sur")};
    for (int i = 0; i < 45; ++i) {
        datos->append();
        datos->fieldByName("CodigoProyecto").setAsString(QStringLiteral("%1").arg(i + 1, 4, 10, QChar(u'0')));
        datos->fieldByName("Zona").setAsString(zonas[i / 15]);
        datos->fieldByName("Descripcion").setAsString(QStringLiteral("Proyecto de obra número %1").arg(i + 1));
        datos->fieldByName("Importe").setAsFloat(1250.5 * (i % 7 + 1));
        datos->fieldByName("HoraInicio").setAsDateTime(QDateTime(QDate(1899, 12, 30), QTime(8 + i % 9, 30)));
        if (i % 5)
            datos->fieldByName("FechaAlta").setAsDateTime(QDate(2026, 1 + i % 12, 1 + i % 28).startOfDay());
        datos->fieldByName("Notas").setAsString(QStringLiteral("Revisión de planos\nVisita a la obra\nEntrega"));
        datos->post();
    }
    datos->first();
    return datos;
}

// The listing as its callers make it, with the look of the parameters given (the data
// module's record is not there in the tool).
plat::Form *previsualizar(const ParametrosListado &parametros, const std::function<void(TfGENELPRO &)> &pedir)
{
    static Gancho<std::function<QString()>>::Instalacion empresa(ganchoNombreEmpresaAbierta(),
                                                                   [] { return QStringLiteral("Construcciones de Prueba, S.L."); });
    static std::unique_ptr<plat::ClientDataSet> datos = proyectos();
    auto *listado = new TfGENELPRO();
    fGENELPRO = listado;
    listado->Parametros = parametros;
    PrepararListadoAlCrear(*listado, *listado->QuickReport, parametros);
    listado->QuickReport->DataSet = datos.get();
    listado->QuickReport->ReportTitle = QStringLiteral("Listado de Proyectos");
    listado->Sumatorios = QStringLiteral("Todas");
    for (int i = 0; i < datos->fieldCount(); ++i)
        datos->field(i).tag = 0;
    pedir(*listado);
    listado->QuickReport->Prepare();
    TfGENEPREV *ventana = AbrirPrevisualizacion(*listado->QuickReport);
    ventana->pbZoomToFit->click();
    return ventana;
}

plat::Form *columnasAgrupadas(const QString &)
{
    return previsualizar(ParametrosListado(), [](TfGENELPRO &l) {
        l.QuickReport->DataSet->fieldByName(QStringLiteral("Zona")).tag = 999;
        l.QuickReport->DataSet->fieldByName(QStringLiteral("Notas")).tag = 999;
        l.Grupos = QStringLiteral("Zona");
    });
}

plat::Form *fichas(const QString &)
{
    ParametrosListado basica;
    basica.TipoCombinacionTramas = QStringLiteral("Basica");
    return previsualizar(basica, [](TfGENELPRO &l) {
        l.FormatoFicha = true;
        l.NumeroColumnasFicha = 2;
        l.NumeroLineasMemoFicha = 3;
        l.Sumatorios = QStringLiteral("Ninguna");
    });
}

plat::Form *blancoYNegro(const QString &)
{
    ParametrosListado parametros;
    parametros.TipoCombinacionTramas = QStringLiteral("Blanco y Negro");
    parametros.FCompresionListados = 0.8;
    parametros.ListarRestricciones = QStringLiteral("SI");
    ServiciosListado servicios;
    servicios.ControlesVentanaLlamante = [] {
        VentanaLlamante v;
        v.controles = {{ControlLlamante::Tipo::Edicion, QStringLiteral("EditDesdeProyecto"), QStringLiteral("0001")},
                       {ControlLlamante::Tipo::Edicion, QStringLiteral("EditHastaProyecto"), QStringLiteral("0045")},
                       {ControlLlamante::Tipo::Casilla, QStringLiteral("SoloAbiertos"), QStringLiteral("Solo Abiertos"),
                        true, true}};
        return std::optional(v);
    };
    static std::optional<Gancho<ServiciosListado>::Instalacion> instalados;
    instalados.emplace(serviciosListado(), servicios);
    return previsualizar(parametros, [](TfGENELPRO &l) { l.QuickReport->page()->Orientation = QPageLayout::Landscape; });
}

const bool registrados[] = {
    formshot::registerForm({QStringLiteral("listado-columnas"),
                            QStringLiteral("listado programable en columnas, agrupado por zona (Standard)"),
                            columnasAgrupadas}),
    formshot::registerForm({QStringLiteral("listado-fichas"),
                            QStringLiteral("listado programable en fichas de dos columnas (Basica)"), fichas}),
    formshot::registerForm({QStringLiteral("listado-blanco-negro"),
                            QStringLiteral("listado programable en blanco y negro, comprimido 0,8, con restricciones"),
                            blancoYNegro}),
};

} // namespace
