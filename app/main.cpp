#include "app/FormulariosComunes.h"
#include "app/ImpresionPeticion.h"
#include "app/MensajesDesatendidos.h"
#include "app/PROYMENU.h"
#include "app/PreparacionDiferida.h"
#include "app/PRQRLGRA.h"
#include "app/ServiciosSesion.h"
#include "app/TraduccionQt.h"

#include "GENEW/reporting/impresos/GENEIMPR.h"
#include "GENEW/reporting/informes/ImprimirListadoProgramable.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEPROG.h"
#include "GENEW/data/servicios/MostrarGrafico.h"
#include "GENEW/reporting/graficos/GENEGRAF.h"
#include "GENEW/runtime/GENEDIAG.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/ServicioMensajes.h"
#include "GENEW/runtime/GENEMENS.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/SystemFonts.h"

#include <QPointer>
#include <memory>
#include <optional>

namespace {

// Creates a long-lived form into its global variable and keeps it for the shut-down.
template<class F>
F *crear(F *&global, QList<plat::Form *> &creados)
{
    global = plat::createForm<F>();
    creados << global;
    return global;
}

} // namespace

int main(int argc, char **argv)
{
    plat::GuardedApplication qtApp(argc, argv);
    // The fonts load while the main window and the start-up form are made; the installation
    // diagnosis waits for the font configuration, the main window's show for the rest.
    const plat::FontPreload fuentes;
    const TraduccionQtInstalada traduccionQt;
    const QString titulo = QStringLiteral("Gestión de Proyectos");
    QCoreApplication::setApplicationName(titulo);
    plat::Application &app = plat::application();
    app.setTitle(titulo);
    app.setHelpFile(QStringLiteral("KORVEL.HLP"));
    app.closeOnTerminationSignals();

    QList<plat::Form *> formularios;
    // The main window first, so that it is the main form.
    crear(fPROYMENU, formularios);
    // Its window on the display is made now, while the fonts still load, instead of at its show.
    fPROYMENU->createWinId();
    // The message window is made for the first message: a start whose log-in asks nothing
    // reaches its main window without it (its pictures and fonts cost a start a tenth of its
    // time). Freed as if made second, after every form but the main window.
    const auto ventanaMensajes = [&formularios]() -> TfGENEMENS & {
        if (!fGENEMENS) {
            fGENEMENS = plat::createForm<TfGENEMENS>();
            formularios.insert(1, fGENEMENS);
            if (fGENEINIC) {
                fGENEINIC->conectarVentanaMensajes(*fGENEMENS);
                fGENEMENS->Plataforma = fGENEINIC->Configuracion.plataforma;
            }
        }
        return *fGENEMENS;
    };
    std::unique_ptr<MensajesDesatendidos> desatendidos(MensajesDesatendidos::desdeEntorno());
    ServicioMensajes servicioMensajes(ventanaMensajes);
    servicioMensajes.terminar = [] { plat::application().terminate(); };
    std::optional<SalidaMensajesInstalada> salidaDesatendida;
    if (desatendidos)
        salidaDesatendida.emplace(*desatendidos);
    else
        servicioMensajes.instalar();
    // The system's plain message box (a program that cannot start) goes to the same file.
    std::optional<CuadroMensajeInstalado> cuadroDesatendido;
    if (desatendidos)
        cuadroDesatendido.emplace([&desatendidos](const QString &texto) {
            desatendidos->mostrarMensaje(QStringLiteral("I"), texto, QString());
        });

    // Progress reports open the progress window; messages go on to the sink above.
    ProgresoEnVentana progreso;
    VentanaGraficoInstalada ventanaGrafico(MostrarVentanaGrafico);
    ImpresionListadoProgramableInstalada impresionListado;
    // The start-up's installation diagnosis shows its report in the detail viewer; unattended,
    // no one would close it: the report goes to the messages file and the start goes on.
    const auto informeDesatendido = [&desatendidos](const QString &texto, const QString &titulo) {
        desatendidos->mostrarMensaje(QStringLiteral("I"), titulo + u'\n' + texto, QString());
    };
    const auto informeEnVisor = [](const QString &texto, const QString &titulo) { MostrarDetalle(texto, titulo); };
    Gancho<TfGENEDIAG::VisorInforme>::Instalacion visorDiagnostico(
        TfGENEDIAG::Visor(),
        desatendidos ? TfGENEDIAG::VisorInforme(informeDesatendido) : TfGENEDIAG::VisorInforme(informeEnVisor));

    TfGENEINIC::AgruparCreacionesArranque = true;
    TfGENEINIC::DiferirBorradoTemporales = true;
    crear(fGENEINIC, formularios);
    int resultado = 1;
    if (!fGENEINIC->ArranqueFallido) {
        ServiciosSesionInstalados sesion(*fGENEINIC, servicios_sesion::Todos());
        TfGENEPREV::ServiciosInstalados previsualizacion(servicios_sesion::Previsualizacion());
        ImpresionPeticionInstalada impresionPeticion;
        ListadoGraficoInstalado listadoGrafico;
        // Ctrl+P on a layout selector opens the layout editor.
        EdicionImpresosInstalada edicionImpresos;
        // A window made by a message of the start-up form itself.
        if (fGENEMENS)
            fGENEMENS->Plataforma = fGENEINIC->Configuracion.plataforma;
        // The forms the program's windows share (record search, copy, filter, memo viewer,
        // calculator, listing, detail viewer) are made once the main window is painted: only
        // the user's programs reach them, through input or through the main window opening
        // the user's programs by itself, and both make them first.
        PreparacionDiferida comunes(*fPROYMENU);
        comunes.anadir([] { fGENEINIC->BorrarTemporalesPendientes(); });
        comunes.anadir([&formularios] { CrearFormulariosComunes(formularios); });
        fPROYMENU->AntesDeAbrirProgramas = [&comunes] { comunes.completar(); };
        plat::awaitFonts();
        fPROYMENU->Show();
        // The keys go to the main window once the log-in prompt has gone, also where no window
        // manager hands them over.
        fPROYMENU->BringToFront();
        // The start's batch of tables stays open for what the session left for after the first
        // paint (a first start makes the projects' tables there), and ends with it.
        comunes.anadir([] {
            if (fPROYMENU)
                fPROYMENU->CompletarPreparacion();
            fGENEINIC->TerminarCreacionesArranque();
        });
        resultado = plat::application().terminated() ? 1 : qtApp.exec();
        if (fPROYMENU)
            fPROYMENU->AntesDeAbrirProgramas = nullptr;
    }

    // The data modules of the session go first, then the long-lived forms in the reverse
    // order of their creation, then the connections.
    QList<QPointer<plat::DataModule>> modulos;
    for (QObject *componente : plat::application().components())
        if (auto *modulo = qobject_cast<plat::DataModule *>(componente))
            modulos.prepend(modulo);
    for (const QPointer<plat::DataModule> &modulo : modulos)
        if (modulo)
            modulo->Free();
    for (auto it = formularios.rbegin(); it != formularios.rend(); ++it)
        (*it)->Free();
    plat::Session::defaultSession().closeAll();
    return resultado;
}
