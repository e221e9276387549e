// The record windows inside the main window, on a started program (its own temporary
// folder, SQLite): the texts master browsing a text and with a new one being entered, the
// technical notes and the version-change notices over a few sample rows.
#include "tools/formshot/FormCatalog.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/impresos/GENEIMPR.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "app/PROYMENU.h"
#include "platform/base/FechaHora.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Session.h"
#include "platform/ui/Application.h"
#include "projects/comun/GENEMTEX.h"
#include "projects/proyectos/PROYNTEC.h"
#include "projects/proyectos/PROYVERS.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The main window of a started program with company 1 open; the window of class F is
// opened in it and handed to llenar.
template<class F>
plat::Form *enVentanaPrincipal(const QString &nombre, const std::function<void(F &)> &llenar)
{
    static QTemporaryDir carpeta;
    QDir::setCurrent(carpeta.path());
    QFile::copy(QStringLiteral(GP_DATA_DIR "/DATABASE.TXT"), carpeta.filePath(QStringLiteral("DATABASE.TXT")));
    QFile ajustes(carpeta.filePath(QStringLiteral("KORVEL.INI")));
    if (ajustes.open(QIODevice::WriteOnly))
        ajustes.write("[Configuración]\r\nAspectoAplicacion=evo+\r\n");
    ajustes.close();
    TfGENEINIC::ArgumentosArranque = {QStringLiteral("U=ADMIN")};
    auto *inicio = new TfGENEINIC;
    inicio->afterConstruction();
    if (inicio->ArranqueFallido || !inicio->CrearBaseDatosEmpresa(1))
        return nullptr;
    inicio->ConectarBaseDatosEmpresa(1);
    inicio->Conexiones().EmpresaActual = 1;
    auto *modulo = plat::createDataModule<TModuloDatos>();

    auto *ventana = plat::createForm<TfPROYMENU>();
    ventana->OnShow = nullptr;
    ventana->setCaption(QStringLiteral("Gestión de Proyectos: EMP1"));
    plat::application().setMainForm(ventana);
    ventana->Show();
    llenar(*plat::openForm<F>(nombre));
    QObject::connect(ventana, &QObject::destroyed, [inicio, modulo] {
        modulo->Free();
        delete inicio;
        plat::Session::defaultSession().closeAll();
    });
    return ventana;
}

// A row written straight to the table (a grid window would start the next row after each
// post), then the window's table read again.
void fila(plat::TableDataSet &t, const QList<QPair<const char *, QVariant>> &valores)
{
    QStringList campos, datos;
    for (const auto &[campo, valor] : valores) {
        campos << QString::fromLatin1(campo);
        datos << (valor.typeId() == QMetaType::QDateTime ? Entrecomillar(valor.toDateTime().toString(Qt::ISODate))
                  : valor.typeId() == QMetaType::Int     ? valor.toString()
                                                         : Entrecomillar(valor.toString()));
    }
    ModuloDatos->EjecutarSQL(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                 .arg(t.tableName(), campos.join(u','), datos.join(u',')));
    t.refresh();
}

plat::Form *maestroTextos(bool alta)
{
    return enVentanaPrincipal<TfGENEMTEX>(QStringLiteral("fGENEMTEX"), [alta](TfGENEMTEX &textos) {
        plat::TableDataSet &t = textos.Table1->table();
        fila(t, {{"Codigo", QStringLiteral("ACTA")},
                 {"Descripcion", QStringLiteral("Acta de recepción de obra")},
                 {"Texto", QStringLiteral("Cliente: \r\nFecha de recepción: \r\nObservaciones: ")},
                 {"Tipo", QStringLiteral("Plantilla")}});
        t.first();
        if (alta)
            textos.AgregarClick(&textos);
    });
}

plat::Form *notasTecnicas()
{
    return enVentanaPrincipal<TfPROYNTEC>(QStringLiteral("fPROYNTEC"), [](TfPROYNTEC &notas) {
        plat::TableDataSet &t = notas.Table1->table();
        const QDateTime marzo = FechaHora(QDate(2024, 3, 4));
        fila(t, {{"NotaTecnica", 1}, {"CodigoProyecto", QStringLiteral("P-0012")},
                 {"Descripcion", QStringLiteral("El Gantt no redibuja al cambiar de capítulo")},
                 {"DescripcionAmpliada", QStringLiteral("Pasos para reproducirlo...")}, {"DetectadoPor", QStringLiteral("Ana")},
                 {"FechaDeteccion", marzo}, {"NivelUrgencia", QStringLiteral("Error")},
                 {"Situacion", QStringLiteral("Pendiente")}, {"NivelPrioridad", QStringLiteral("Maxima")}});
        fila(t, {{"NotaTecnica", 2}, {"CodigoProyecto", QStringLiteral("P-0012")},
                 {"Descripcion", QStringLiteral("Añadir el total de horas al pie del listado")},
                 {"DetectadoPor", QStringLiteral("Luis")}, {"FechaDeteccion", marzo},
                 {"NivelUrgencia", QStringLiteral("Sugerencia")}, {"Situacion", QStringLiteral("Pendiente")},
                 {"NivelPrioridad", QStringLiteral("Urgente")}});
        fila(t, {{"NotaTecnica", 3}, {"CodigoProyecto", QStringLiteral("P-0007")},
                 {"Descripcion", QStringLiteral("Fecha prevista vacía en proyectos antiguos")},
                 {"DetectadoPor", QStringLiteral("Eva")}, {"FechaDeteccion", marzo},
                 {"NivelUrgencia", QStringLiteral("Error")}, {"Situacion", QStringLiteral("Solucionado")},
                 {"FechaSolucion", FechaHora(QDate(2024, 3, 8))}, {"NivelPrioridad", QStringLiteral("Urgente")}});
        notas.VerSolucionado->setChecked(true);
        notas.Table1->table().first();
    });
}

plat::Form *notificacionesVersion()
{
    return enVentanaPrincipal<TfPROYVERS>(QStringLiteral("fPROYVERS"), [](TfPROYVERS &avisos) {
        plat::TableDataSet &t = avisos.Table1->table();
        fila(t, {{"NumeroNotificacion", 1}, {"Fecha", FechaHora(QDate(2024, 5, 6))},
                 {"CodigoArticulo", QStringLiteral("ART-100")}, {"Version", QStringLiteral("2.1")},
                 {"Descripcion", QStringLiteral("Nueva carcasa de aluminio")},
                 {"DescripcionAmpliada", QStringLiteral("Cambia el proveedor de la carcasa.")}});
        fila(t, {{"NumeroNotificacion", 2}, {"CodigoArticulo", QStringLiteral("ART-230")},
                 {"Version", QStringLiteral("1.4")}, {"Descripcion", QStringLiteral("Tornillería M4 en lugar de M3")}});
        t.first();
    });
}

// A delivery note's layout with a header, field commands, a picture and its lines.
const char *const kAlbaran =
    "[SISTEMA]\r\nAlturaLinea=7\r\nInicioLineas=80\r\nFinLineas=250\r\n"
    "[CABECERA]\r\nRect=15;15;195;45;2;Azul Marino;;Azul Celeste;Solido;4;4\r\n"
    "Font=Arial;18;Azul Marino;Negrita\r\nText=20;20;0;Albarán de entrega\r\nFont=Arial;10;;\r\n"
    "Text=20;52;0;Cliente\r\nCamp=45;52;60;NombreCliente\r\nText=20;60;0;Fecha\r\nCamp=45;60;30;FechaAlbaran\r\n"
    "Graf=160;18;30;20;LOGO.BMP\r\nLine=15;75;195;75;1;Negro\r\n"
    "[LINEAS]\r\nCamp=20;0;30;CodigoArticulo\r\nCamp=55;0;90;DescripcionArticulo\r\nCamp=150;0;40;Cantidad;D\r\n"
    "[PIE]\r\nText=120;260;0;Total unidades\r\nCamp=150;260;40;TotalUnidades;D\r\n";

// The layout editor in the main window on that layout: its text, its additional page, or
// a new layout being entered.
plat::Form *editorImpresos(const QString &modo)
{
    return enVentanaPrincipal<TfGENEIMPR>(QStringLiteral("fGENEIMPR"), [modo](TfGENEIMPR &editor) {
        plat::TableDataSet &t = editor.Table1->table();
        fila(t, {{"Codigo", QStringLiteral("ALB-01")}, {"Descripcion", QStringLiteral("Albarán de entrega con logotipo")},
                 {"TipoDocumento", QStringLiteral("Albaran")}, {"Modo", QStringLiteral("Grafico")},
                 {"Instrucciones", QString::fromUtf8(kAlbaran)}, {"Formato", QStringLiteral("A4")},
                 {"ImpresoraPorDefecto", QStringLiteral("Predeterminada")}});
        t.first();
        if (modo == QLatin1String("adicional"))
            editor.PageControl1->setActivePage(editor.PagAdicional);
        else if (modo == QLatin1String("alta"))
            editor.AgregarClick(&editor);
    });
}

// The simulation of that layout: the engine's preview with the field names, photographed
// while it is shown.
plat::Form *simulacionImpreso()
{
    QPixmap foto;
    plat::Form *principal = editorImpresos(QString());
    if (!principal || !fGENEIMPR)
        return principal;
    auto anterior = plat::application().OnModalShown;
    plat::application().OnModalShown = [&foto](plat::Form &mostrado) {
        mostrado.setFormState(plat::wsNormal);
        mostrado.resize(1024, 768);
        if (auto *vista = qobject_cast<TfGENELIMP *>(&mostrado))
            vista->pbZoomToFit->click();
        QCoreApplication::processEvents();
        foto = mostrado.grab();
        mostrado.Close();
    };
    fGENEIMPR->pbSimularClick(fGENEIMPR);
    plat::application().OnModalShown = anterior;
    auto *ventana = new plat::Form();
    auto *imagen = new plat::Image(ventana);
    imagen->setPicture(foto);
    imagen->setGeometry(QRect(QPoint(0, 0), foto.size()));
    ventana->resize(foto.size());
    QObject::connect(ventana, &QObject::destroyed, principal, [principal] { delete principal; });
    return ventana;
}

const bool registrado =
    formshot::registerForm({QStringLiteral("maestro-textos"), QStringLiteral("el maestro de textos en la ventana principal"),
                            [](const QString &) { return maestroTextos(false); }})
    && formshot::registerForm({QStringLiteral("maestro-textos-alta"),
                               QStringLiteral("el maestro de textos con un texto nuevo en curso"),
                               [](const QString &) { return maestroTextos(true); }})
    && formshot::registerForm({QStringLiteral("notas-tecnicas"),
                               QStringLiteral("las notas técnicas con notas pendientes y resueltas"),
                               [](const QString &) { return notasTecnicas(); }})
    && formshot::registerForm({QStringLiteral("notificaciones-version"),
                               QStringLiteral("las notificaciones de cambios de versión"),
                               [](const QString &) { return notificacionesVersion(); }})
    && formshot::registerForm({QStringLiteral("editor-impresos"),
                               QStringLiteral("la configuración de impresos con las instrucciones de un albarán"),
                               [](const QString &) { return editorImpresos(QString()); }})
    && formshot::registerForm({QStringLiteral("editor-impresos-adicional"),
                               QStringLiteral("la configuración de impresos en la página adicional"),
                               [](const QString &) { return editorImpresos(QStringLiteral("adicional")); }})
    && formshot::registerForm({QStringLiteral("editor-impresos-alta"),
                               QStringLiteral("la configuración de impresos con un impreso nuevo en curso"),
                               [](const QString &) { return editorImpresos(QStringLiteral("alta")); }})
    && formshot::registerForm({QStringLiteral("simulacion-impreso"),
                               QStringLiteral("la simulación de un impreso: los nombres de los campos en la vista previa"),
                               [](const QString &) { return simulacionImpreso(); }});

} // namespace
