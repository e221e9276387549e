// The project master on the sample project, on each of its pages (the Gantt page with
// the day ticks off).
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/Genemodu.h"
#include "projects/PROYPROY.h"
#include "projects/Proymodu.h"
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
                               [](const QString &) { return menuCapitulos(); }});

} // namespace
