// The project master on the sample project, on each of its pages (the Gantt page with
// the day ticks off), and its Gantt listing previewed in both orientations.
#include "tools/formshot/FormCatalog.h"

#include "app/PRQRLGRA.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/servicios/NombreEmpresaInforme.h"
#include "GENEW/reporting/informes/GENEPREV.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"
#include "tests/projects/ProyectoMuestra.h"

#include <QLabel>
#include <QMenu>
#include <QPainter>

namespace {

bool prepararProyectos()
{
    CrearMDProyectos();
    for (const QString &sentencia : SentenciasProyectoMuestra())
        ModuloDatos->EjecutarSQL(sentencia);
    return true;
}

plat::Form *maestroProyectos(int pagina)
{
    if (!formshot::empresaMuestra(prepararProyectos, [] { LiberarMDProyectos(); }))
        return nullptr;
    plat::Form *marco = formshot::marcoMDI(1000, 600);
    auto *ventana = plat::createForm<TfPROYPROY>();
    ventana->Table1->dataSet().first();
    ventana->setBounds(0, 0, 980, 560);
    ventana->PageControl1->setActivePageIndex(pagina);
    return marco;
}

// The chapter grid with its pop-up menu open on the third line. The menu is a window of its
// own, so the picture is the window's with the menu's drawn over it where it opened.
plat::Form *menuCapitulos()
{
    plat::Form *marco = maestroProyectos(1);
    TfPROYPROY *ventana = marco ? fPROYPROY : nullptr;
    if (!ventana)
        return marco;
    ventana->Table2->dataSet().locate(QStringLiteral("Linea"), 3);
    ventana->CopiarLnea1Click(ventana);
    const QRect fila = ventana->DBGrid1->visualRect(ventana->DBGrid1->model()->index(2, 1));
    const QPoint donde = ventana->DBGrid1->viewport()->mapTo(marco, fila.center());
    ventana->PopupMenu1->Popup(0, 0);
    QMenu *menu = ventana->PopupMenu1->Items()->subMenu();
    QPixmap foto = marco->grab();
    {
        QPainter pintor(&foto);
        pintor.drawPixmap(donde, menu->grab());
    }
    menu->hide();
    auto *vista = plat::createForm<plat::Form>();
    auto *imagen = new QLabel(vista);
    imagen->setPixmap(foto);
    imagen->resize(foto.size());
    vista->resize(foto.size());
    return vista;
}

// The Gantt listing of the sample project's lines as its print buttons make it, previewed
// at whole-page zoom.
plat::Form *listadoGantt(bool apaisado)
{
    plat::Form *marco = maestroProyectos(2);
    TfPROYPROY *ventana = marco ? fPROYPROY : nullptr;
    if (!ventana)
        return marco;
    static Gancho<std::function<QString()>>::Instalacion empresa(ganchoNombreEmpresaAbierta(),
                                                                   [] { return QStringLiteral("Construcciones Ebro, S.A."); });
    auto *listado = plat::createForm<TfPRQRLGRA>();
    const plat::DataSet &proyecto = ventana->Table1->dataSet();
    const PlanProyecto plan = MDProyectos->CalcularPlanProyecto(proyecto.fieldByName(QStringLiteral("Codigo")).asString(), QString());
    listado->QuickReport->page()->Orientation = apaisado ? QPageLayout::Landscape : QPageLayout::Portrait;
    listado->FechaInicioInforme = plan.FechaInicio;
    listado->FechaFinalInforme = plan.FechaFinal;
    listado->ModoInforme = QStringLiteral("Capitulos");
    listado->QuickReport->DataSet = &ventana->Table2->dataSet();
    listado->QuickReport->ReportTitle = QStringLiteral("Proyecto: ") + proyecto.fieldByName(QStringLiteral("Codigo")).asString()
        + QStringLiteral(" - ") + proyecto.fieldByName(QStringLiteral("Descripcion")).asString().left(40);
    listado->QuickReport->Prepare();
    TfGENEPREV *vista = AbrirPrevisualizacion(*listado->QuickReport);
    vista->resize(apaisado ? 1100 : 800, apaisado ? 800 : 1000);
    vista->pbZoomToFit->click();
    return vista;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("maestro-proyectos"), QStringLiteral("el maestro de proyectos, página General"),
                            [](const QString &) { return maestroProyectos(0); }})
    && formshot::registerForm({QStringLiteral("maestro-proyectos-capitulos"),
                               QStringLiteral("el maestro de proyectos, página de capítulos"),
                               [](const QString &) { return maestroProyectos(1); }})
    && formshot::registerForm({QStringLiteral("maestro-proyectos-grafico"),
                               QStringLiteral("el maestro de proyectos, página del gráfico Gantt"),
                               [](const QString &) { return maestroProyectos(2); }})
    && formshot::registerForm({QStringLiteral("maestro-proyectos-menu-lineas"),
                               QStringLiteral("el maestro de proyectos, menú de las líneas de capítulos"),
                               [](const QString &) { return menuCapitulos(); }})
    && formshot::registerForm({QStringLiteral("listado-gantt"), QStringLiteral("el listado Gantt de un proyecto, vertical"),
                               [](const QString &) { return listadoGantt(false); }})
    && formshot::registerForm({QStringLiteral("listado-gantt-apaisado"),
                               QStringLiteral("el listado Gantt de un proyecto, apaisado"),
                               [](const QString &) { return listadoGantt(true); }});

} // namespace
