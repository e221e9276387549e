// The listing preview on the three-page test report with its group band, at whole-page zoom.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/reporting/informes/GENEPREV.h"
#include "platform/ui/Controls.h"
#include "tests/reporting/informes/InformePrueba.h"

namespace {

plat::Form *previsualizacion(const QString &)
{
    // The listing window and its rows stay for the tool's run, as the caller of a preview keeps them.
    static std::unique_ptr<plat::ClientDataSet> datos = gptest::datosPrueba(130);
    static auto *listado = new gptest::VentanaInforme();
    listado->ponerDatos(datos.get());
    listado->activarGrupo();
    listado->informe->ReportTitle = QStringLiteral("Listado de prueba");
    listado->informe->Prepare();
    TfGENEPREV *ventana = AbrirPrevisualizacion(*listado->informe);
    ventana->pbZoomToFit->click();
    return ventana;
}

const bool registrado = formshot::registerForm(
    {QStringLiteral("previsualizacion"), QStringLiteral("previsualización de un listado de tres páginas con grupos"),
     previsualizacion});

} // namespace
