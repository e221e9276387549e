// Help pages, HTML in a browser control, the messaging program and the folder and file picker.
#include "GENEW/runtime/GENEOPEN.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/ShellTreeView.h"
#include "tests/runtime/externos/ApoyoExternos.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AyudaYPaginas : public ::testing::Test
{
protected:
    void SetUp() override { form_.Configuracion.directorioTrabajo = dir_.path() + u'/'; }
    void TearDown() override { plat::application().OnModalShown = nullptr; }

    gptest::TempDir dir_;
    TfGENEINIC form_;
    SalidaMensajesGrabada mensajes_;
    SalidaMensajesInstalada instalada_{mensajes_};
    QList<QUrl> abiertas_;
    bool abrirResponde_ = true;
    AperturaURLInstalada apertura_{[this](const QUrl &url) {
        abiertas_ << url;
        return abrirResponde_;
    }};
    QStringList cuadros_;
    CuadroMensajeInstalado cuadro_{[this](const QString &texto) { cuadros_ << texto; }};
};

TEST_F(AyudaYPaginas, HelpOpensThePageOfItsContextAndWarnsWhenItIsMissingOrCannotOpen)
{
    QDir(dir_.path()).mkdir(QStringLiteral("ayuda"));
    ASSERT_TRUE(externos::escribirArchivo(dir_.file("ayuda/index.html"), "<html></html>"));
    EXPECT_TRUE(form_.MostrarAyuda(0));
    EXPECT_EQ(abiertas_, QList<QUrl>{QUrl::fromLocalFile(dir_.file("ayuda/index.html"))});
    EXPECT_TRUE(mensajes_.mensajes().isEmpty());

    EXPECT_TRUE(form_.MostrarAyuda(1205));
    EXPECT_EQ(abiertas_.last(), QUrl::fromLocalFile(dir_.file("ayuda/1205.html")));
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡No existe el archivo de ayuda!"});
    EXPECT_EQ(mensajes_.mensajes().first().tipo, "A");

    abrirResponde_ = false;
    mensajes_.limpiar();
    EXPECT_FALSE(form_.MostrarAyuda(0));
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡La Ayuda HTML no está instalada en esta máquina!"});
}

TEST_F(AyudaYPaginas, HtmlGoesToTheOwnersTemporaryFileAndTheBrowserShowsIt)
{
    NombresCreacionTablas nombres;
    nombres.nombreTablaTemporal = [](const QString &propietario, int numero) {
        return QStringLiteral("_QS") + propietario + QString::number(numero);
    };
    const Gancho<NombresCreacionTablas>::Instalacion instalados(form_.NombresTablas, nombres);
    QObject propietario;
    propietario.setObjectName(QStringLiteral("fPROYPROY"));
    plat::HtmlView navegador;
    const QString archivo = DirectorioTemporalPropio() + QStringLiteral("_QSfPROYPROY1.html");
    ASSERT_TRUE(externos::escribirArchivo(archivo, "<p>una página anterior mucho más larga</p>"));
    // Another program showing a page of the same name keeps its own, and this one is not shown.
    const QString deOtroPrograma = DirectorioTemporal() + QStringLiteral("_QSfPROYPROY1.html");
    ASSERT_TRUE(externos::escribirArchivo(deOtroPrograma, "<p>Otro programa</p>"));
    const auto borrarAjena = qScopeGuard([&] { QFile::remove(deOtroPrograma); });
    MostrarHTML(&propietario, QStringLiteral("<p>Avance: 75 %</p>"), &navegador);
    EXPECT_EQ(externos::leerArchivo(archivo), "<p>Avance: 75 %</p>");
    EXPECT_EQ(navegador.source(), QUrl::fromLocalFile(archivo));
    EXPECT_TRUE(navegador.toPlainText().contains("Avance: 75 %"));
    EXPECT_EQ(externos::leerArchivo(deOtroPrograma), "<p>Otro programa</p>");

    form_.AbrirPaginaHTML(&propietario, &navegador);
    EXPECT_EQ(externos::leerArchivo(archivo), "");
    QFile::remove(archivo);
    EXPECT_EQ(ObtenerNombreUNC(QStringLiteral("/srv/obras/plano.pdf")), "/srv/obras/plano.pdf");
}

TEST_F(AyudaYPaginas, MessagingStartsItsProgramOnlyWhenSwitchedOn)
{
    QDir(dir_.path()).mkdir(QStringLiteral("programa"));
    form_.DirectorioInstalacion = dir_.file("programa/");
    form_.UsuarioActual = QStringLiteral("ANA");
    form_.Configuracion.archivoConfiguracion = dir_.file("KORVEL.INI");
    form_.LanzarMensajeria(nullptr, QStringLiteral("Modo=Inicio"));
    EXPECT_TRUE(cuadros_.isEmpty());

    form_.Configuracion.parametros.MensajeriaInternaActivada = true;
    form_.LanzarMensajeria(nullptr, QStringLiteral("Modo=Inicio"));
    EXPECT_EQ(cuadros_, QStringList{"El archivo TROMSEL.EXE no ha sido encontrado."});

    const QString programa = dir_.file("programa/tromsel");
    ASSERT_TRUE(externos::escribirArchivo(programa, "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.args\"\n"));
    QFile(programa).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const struct
    {
        QString modo;
        QString clave;
        QStringList argumentos;
    } casos[] = {
        {"Modo=Inicio", "", {"Modo=Inicio", "Indefinida", "ANA", dir_.file("KORVEL.INI")}},
        {"", "clave con blancos", {"clave con blancos", "ANA", dir_.file("KORVEL.INI")}},
    };
    for (const auto &c : casos) {
        QFile::remove(programa + ".args");
        form_.ClaveAccesoActual = c.clave;
        form_.LanzarMensajeria(nullptr, c.modo);
        for (int i = 0; i < 100 && externos::leerArchivo(programa + ".args").isEmpty(); ++i)
            EsperarMilisegundos(50);
        EXPECT_EQ(QString::fromUtf8(externos::leerArchivo(programa + ".args")).split(u'\n', Qt::SkipEmptyParts),
                  c.argumentos);
    }
}

TEST_F(AyudaYPaginas, ThePickerAnswersTheChosenPathOrLeavesItWhenClosed)
{
    QDir(dir_.path()).mkpath(QStringLiteral("obras/2024"));
    ASSERT_TRUE(externos::escribirArchivo(dir_.file("obras/plano.pdf"), "x"));
    QString eleccion = dir_.file("obras/2024");
    QString titulo;
    QDir::Filters filtro;
    plat::application().OnModalShown = [&](plat::Form &mostrado) {
        auto &picker = dynamic_cast<TfGENEOPEN &>(mostrado);
        titulo = picker.Titulo->text();
        filtro = picker.ShellTreeView->fileSystemModel()->filter();
        picker.ShellTreeView->setPath(eleccion);
        picker.pbAceptar->click();
    };
    QString ruta = dir_.file("obras");
    EXPECT_TRUE(form_.SeleccionarCarpetaArchivo(QStringLiteral("Carpeta de planos"), ruta, QStringLiteral("Carpetas")));
    EXPECT_EQ(ruta, eleccion);
    EXPECT_EQ(titulo, "Carpeta de planos");
    EXPECT_FALSE(filtro & QDir::Files);
    EXPECT_FALSE(filtro & QDir::Hidden);

    eleccion = dir_.file("obras/plano.pdf");
    ruta = dir_.file("obras");
    EXPECT_TRUE(form_.SeleccionarCarpetaArchivo(QStringLiteral("Plano"), ruta, QStringLiteral("Carpetas,Archivos,Ocultos")));
    EXPECT_EQ(ruta, eleccion);
    EXPECT_TRUE(filtro & QDir::Files);
    EXPECT_TRUE(filtro & QDir::Hidden);

    plat::application().OnModalShown = [](plat::Form &mostrado) { mostrado.Close(); };
    ruta = dir_.file("obras");
    EXPECT_FALSE(form_.SeleccionarCarpetaArchivo(QStringLiteral("Plano"), ruta, QStringLiteral("Archivos")));
    EXPECT_EQ(ruta, dir_.file("obras"));

    // From the keyboard: Enter in the tree accepts, Esc closes choosing nothing.
    for (const Qt::Key tecla : {Qt::Key_Return, Qt::Key_Escape}) {
        plat::application().OnModalShown = [&](plat::Form &mostrado) {
            auto &picker = dynamic_cast<TfGENEOPEN &>(mostrado);
            picker.ShellTreeView->setPath(dir_.file("obras/2024"));
            picker.ShellTreeView->setFocus();
            QTest::keyClick(picker.ShellTreeView, tecla);
            EXPECT_EQ(picker.modalResult(), tecla == Qt::Key_Return ? plat::mrOk : plat::mrCancel);
            if (picker.modalResult() == plat::mrNone)   // fail, never wait
                picker.Close();
        };
        ruta = dir_.file("obras");
        EXPECT_EQ(form_.SeleccionarCarpetaArchivo(QStringLiteral("Plano"), ruta, QStringLiteral("Carpetas")),
                  tecla == Qt::Key_Return);
        EXPECT_EQ(ruta, tecla == Qt::Key_Return ? dir_.file("obras/2024") : dir_.file("obras"));
    }
}

} // namespace
