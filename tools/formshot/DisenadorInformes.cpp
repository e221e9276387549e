// The custom-report designer inside the main window with a report of projects and their
// chapters loaded: its lists and coloured statement, or its format page with ruler and grid.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/GENECINF.h"
#include "GENEW/reporting/personalizados/SentenciaInforme.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Containers.h"

namespace {

bool guardarInforme()
{
    DefinicionInforme d;
    d.Tablas = {QStringLiteral("LPROYECT"), QStringLiteral("PROYECT")};
    d.Columnas = {QStringLiteral("LPROYECT.CodigoProyecto"), QStringLiteral("PROYECT.Descripcion AS 'Proyecto'"),
                  QStringLiteral("LPROYECT.Capitulo"), QStringLiteral("LPROYECT.Descripcion"),
                  QStringLiteral("LPROYECT.FechaInicio"), QStringLiteral("LPROYECT.Importe")};
    d.Restricciones = {QStringLiteral("LPROYECT.FechaInicio >= :&Desde"), QStringLiteral("PROYECT.Director IN ( :*Directores )")};
    d.Ordenacion = {QStringLiteral("LPROYECT.CodigoProyecto"), QStringLiteral("LPROYECT.FechaInicio DESC")};
    d.Vinculos = {QStringLiteral("LPROYECT.CodigoProyecto = PROYECT.Codigo")};
    d.Grupos = {QStringLiteral("LPROYECT.CodigoProyecto")};
    d.Sumatorios = {QStringLiteral("LPROYECT.Importe")};
    d.anchosColumnas = {-1, 150, 60, 200, 70, 80};
    const QString sql = QStringLiteral("INSERT INTO FILTRO (NombreTabla, Descripcion, Filtro, Instrucciones) VALUES "
                                       "('GeneradorInformes', 'Capítulos por proyecto', %1, %2)")
                            .arg(Entrecomillar(ConstruirSentenciaSQL(d)), Entrecomillar(ConstruirInstrucciones(d)));
    return !ModuloDatos->EjecutarSQL(sql).startsWith(QLatin1String("Error"));
}

plat::Form *disenador(bool formato)
{
    if (!formshot::empresaMuestra(guardarInforme))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(1000, 680);
    auto *ventana = plat::createForm<TfGENECINF>();
    ventana->setBounds(0, 0, 980, 640);
    if (formato)
        ventana->PageControl1->setActivePage(ventana->TSFormato);
    return marco;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("disenador-informes"),
                            QStringLiteral("el diseñador de informes personalizados con un informe cargado"),
                            [](const QString &) { return disenador(false); }})
    && formshot::registerForm({QStringLiteral("disenador-informes-formato"),
                               QStringLiteral("la página de formato del diseñador de informes: regla y columnas"),
                               [](const QString &) { return disenador(true); }});

} // namespace
