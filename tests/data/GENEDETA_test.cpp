#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Shows the viewer and hands it, on screen, to a check; then closes it.
class VisorDetalle : public ::testing::Test
{
protected:
    void TearDown() override
    {
        plat::application().OnModalShown = nullptr;
        plat::setDialogScript(nullptr);
    }

    void mostrar(const QString &texto, const QString &titulo, const QString &opciones,
                 const std::function<void(TfGENEDETA &)> &comprobar)
    {
        int mostrados = 0;
        plat::application().OnModalShown = [&](plat::Form &f) {
            ++mostrados;
            comprobar(static_cast<TfGENEDETA &>(f));
            f.setModalResult(plat::mrOk);
        };
        MostrarDetalle(texto, titulo, opciones);
        EXPECT_EQ(mostrados, 1);
    }
};

TEST_F(VisorDetalle, SizeAndFontFromTheOptions)
{
    struct Caso
    {
        const char *opciones;
        QSize tamano;
    };
    for (const Caso &c : {Caso{"", {480, 480}}, Caso{"Formato=300", {300, 480}}, Caso{"Formato=300,abc", {300, 480}},
                          Caso{"Formato=x,200", {480, 200}}, Caso{"Formato=640,400", {640, 400}}})
        mostrar("texto", "Título", QString::fromUtf8(c.opciones), [&](TfGENEDETA &f) {
            EXPECT_EQ(QSize(f.width(), f.height()), c.tamano) << c.opciones;
            EXPECT_EQ(f.caption(), "Título");
            EXPECT_EQ(f.MemoDetalle->text(), "texto");
            EXPECT_FALSE(f.MostrandoHTML);
        });
    mostrar("texto", "T", "Fuente=Courier,14\r\nFormato=500,300", [](TfGENEDETA &f) {
        EXPECT_EQ(f.MemoDetalle->font().family(), "Courier");
        EXPECT_EQ(f.MemoDetalle->font().pointSize(), 14);
    });
    const int tamanoAplicacion = QApplication::font().pointSize();
    mostrar("texto", "T", "Fuente=Courier,grande", [&](TfGENEDETA &f) {
        EXPECT_EQ(f.MemoDetalle->font().pointSize(), tamanoAplicacion);
    });
}

TEST_F(VisorDetalle, HtmlShowsTheBrowserAndPrintsPlainLines)
{
    const QString html = QStringLiteral("<b>uno</b><br>dos<hr>tres");
    EXPECT_EQ(TextoPlanoDeHTML(html), (QStringList{"uno", "dos", "tres"}));
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    gptest::TempDir dir;
    const QString pdf = dir.file(QStringLiteral("detalle.pdf"));
    QPrinter &impresora = plat::sharedPrinter();
    impresora.setOutputFormat(QPrinter::PdfFormat);
    impresora.setOutputFileName(pdf);
    plat::setDialogScript([](QObject *) { return true; });
    mostrar(html, "Detalle", "Interprete=HTML", [](TfGENEDETA &f) {
        EXPECT_TRUE(f.MostrandoHTML);
        EXPECT_TRUE(f.WebBrowserDetalle->isVisible());
        EXPECT_FALSE(f.MemoDetalle->isVisible());
        EXPECT_TRUE(f.WebBrowserDetalle->toPlainText().contains("uno"));
        f.pbImprimir->click();
    });
    impresora.setOutputFileName(QString());
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    QStringList lineas;
    for (const QString &l : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n'))
        if (!l.trimmed().isEmpty())
            lineas << l.trimmed();
    EXPECT_EQ(lineas, (QStringList{"DETALLE", "uno", "dos", "tres"}));
}

TEST_F(VisorDetalle, AViewerThatCannotBePreparedOffersToSaveTheText)
{
    gptest::TempDir dir;
    SalidaMensajesGrabada mensajes;
    SalidaMensajesInstalada instalada(mensajes);
    mensajes.programarRespuestas({QStringLiteral("SI")});
    const QString fichero = dir.file(QStringLiteral("Detalle.TXT"));
    QString propuesto;
    plat::setDialogScript([&](QObject *d) {
        auto *dialogo = static_cast<plat::SaveDialog *>(d);
        propuesto = dialogo->FileName;
        dialogo->FileName = fichero;
        return true;
    });
    // The HTML page cannot be written: the temporary folder is a file.
    const QByteArray tmp = qgetenv("TMPDIR");
    QFile ocupado(dir.file(QStringLiteral("fichero")));
    ASSERT_TRUE(ocupado.open(QIODevice::WriteOnly));
    ocupado.close();
    qputenv("TMPDIR", ocupado.fileName().toUtf8());
    int mostrados = 0;
    plat::application().OnModalShown = [&](plat::Form &f) {
        ++mostrados;
        f.setModalResult(plat::mrOk);
    };
    MostrarDetalle(QStringLiteral("mucho texto"), QStringLiteral("Detalle"), QStringLiteral("Interprete=HTML"));
    qputenv("TMPDIR", tmp);
    EXPECT_EQ(mostrados, 0);
    EXPECT_EQ(propuesto, "Detalle.TXT");
    ASSERT_EQ(mensajes.mensajes().size(), 1);
    EXPECT_EQ(mensajes.mensajes().first().tipo, "C");
    QFile f(fichero);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "mucho texto");
}

} // namespace
