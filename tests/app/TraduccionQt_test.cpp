// Qt's own dialogs in Spanish through Qt's translation of its base module.
#include "app/TraduccionQt.h"
#include "GENEW/runtime/GENEMENS.h"
#include "GENEW/runtime/ServicioMensajes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Form.h"
#include "tests/support/EntradaUsuario.h"
#include "tests/support/ImprimirQString.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString textoBotonAceptar()
{
    QMessageBox cuadro;
    cuadro.setStandardButtons(QMessageBox::Ok);
    return cuadro.button(QMessageBox::Ok)->text();
}

QString etiquetaVerEn()
{
    QFileDialog dialogo;
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    auto *etiqueta = dialogo.findChild<QLabel *>(QStringLiteral("lookInLabel"));
    return etiqueta ? etiqueta->text() : QString();
}

TEST(TraduccionQt, TheFileDialogAndThePlainBoxSpeakSpanishWhileInstalled)
{
    if (!QFileInfo::exists(QDir(TraduccionQtInstalada::carpetaDeQt()).filePath(QStringLiteral("qtbase_es.qm"))))
        GTEST_SKIP() << "Qt's Spanish translation is not installed";
    const QString aceptarIngles = textoBotonAceptar();
    const QString verEnIngles = etiquetaVerEn();
    {
        const TraduccionQtInstalada traduccion;
        EXPECT_TRUE(traduccion.instalada());
        EXPECT_EQ(textoBotonAceptar().remove(u'&'), "Aceptar");
        EXPECT_EQ(etiquetaVerEn(), "Ver en:");   // "Look in:"
    }
    EXPECT_EQ(textoBotonAceptar(), aceptarIngles);
    EXPECT_EQ(etiquetaVerEn(), verEnIngles);
}

// The texts of a dialog's buttons, without their accelerator marks.
QStringList textosBotones(const QWidget &dialogo)
{
    QStringList textos;
    for (const QPushButton *boton : dialogo.findChildren<QPushButton *>())
        if (boton->isVisible())
            textos << boton->text().remove(u'&');
    return textos;
}

TEST(TraduccionQt, TheProgramsSaveDialogAndPlainBoxSpeakSpanishAboveTheWindowInFront)
{
    if (!QFileInfo::exists(QDir(TraduccionQtInstalada::carpetaDeQt()).filePath(QStringLiteral("qtbase_es.qm"))))
        GTEST_SKIP() << "Qt's Spanish translation is not installed";
    const TraduccionQtInstalada traduccion;
    std::unique_ptr<plat::Form> delante(plat::createForm<plat::Form>());
    delante->Show();
    QApplication::setActiveWindow(delante.get());

    struct Visto
    {
        QWidget *padre = nullptr;
        QStringList botones;
    };
    Visto guardar, cuadro;
    QTimer::singleShot(0, [&] {
        auto *dialogo = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialogo, nullptr);
        guardar = {dialogo->parentWidget(), textosBotones(*dialogo)};
        gptest::guardarCapturaVentana(*dialogo, QStringLiteral("dialogo-guardar"));
        QMetaObject::invokeMethod(dialogo, "reject");
    });
    plat::SaveDialog dialogo;
    dialogo.Title = QStringLiteral("Introducir el Nombre del Fichero de Excel");
    EXPECT_FALSE(dialogo.Execute());
    EXPECT_EQ(guardar.padre, delante.get());
    EXPECT_TRUE(guardar.botones.contains(QStringLiteral("Guardar"))) << guardar.botones.join(u',').toStdString();
    EXPECT_TRUE(guardar.botones.contains(QStringLiteral("Cancelar"))) << guardar.botones.join(u',').toStdString();

    // The plain box of the message service (after an SQL error, say).
    std::unique_ptr<TfGENEMENS> ventanaMensajes(plat::createForm<TfGENEMENS>());
    ServicioMensajes servicio(*ventanaMensajes);
    QTimer::singleShot(0, [&] {
        auto *caja = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(caja, nullptr);
        cuadro = {caja->parentWidget(), textosBotones(*caja)};
        gptest::guardarCapturaVentana(*caja, QStringLiteral("cuadro-sistema"));
        QMetaObject::invokeMethod(caja, "accept");
    });
    servicio.MostrarMensaje(TipoCuadroSistema, QStringLiteral("Error de SQL"), QString());
    EXPECT_EQ(cuadro.padre, delante.get());
    EXPECT_EQ(cuadro.botones, QStringList{QStringLiteral("Aceptar")});
}

// Installed before the others, it is asked last: it sees each text that no translation gave.
class TextosSinTraducir : public QTranslator
{
public:
    QString translate(const char *contexto, const char *texto, const char *, int) const override
    {
        // Not a text anyone reads: the layout's direction.
        if (qstrcmp(texto, "QT_LAYOUT_DIRECTION") != 0)
            vistos_.insert(QString::fromLatin1(contexto) + QStringLiteral(": ") + QString::fromUtf8(texto));
        return {};
    }
    bool isEmpty() const override { return false; }
    QStringList vistos() const { return QStringList(vistos_.begin(), vistos_.end()); }

private:
    mutable QSet<QString> vistos_;
};

TEST(TraduccionQt, EveryTextOfQtsDialogsTheProgramShowsIsSpanish)
{
    if (!QFileInfo::exists(QDir(TraduccionQtInstalada::carpetaDeQt()).filePath(QStringLiteral("qtbase_es.qm"))))
        GTEST_SKIP() << "Qt's Spanish translation is not installed";
    TextosSinTraducir sinTraducir;
    QCoreApplication::installTranslator(&sinTraducir);
    {
        const TraduccionQtInstalada traduccion;
        QPrinter impresora;
        auto mostrar = [](QDialog &dialogo) {
            dialogo.show();
            QApplication::processEvents();
            dialogo.reject();
        };
        // As the program's print dialog offers it: page ranges, copies, to a file.
        QPrintDialog imprimir(&impresora);
        imprimir.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintToFile
                            | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize
                            | QAbstractPrintDialog::PrintCurrentPage);
        mostrar(imprimir);
        QPageSetupDialog pagina(&impresora);
        mostrar(pagina);
        for (const auto modo : {QFileDialog::AcceptOpen, QFileDialog::AcceptSave}) {
            QFileDialog fichero;
            fichero.setOption(QFileDialog::DontUseNativeDialog);
            fichero.setAcceptMode(modo);
            mostrar(fichero);
        }
    }
    QCoreApplication::removeTranslator(&sinTraducir);
    EXPECT_EQ(sinTraducir.vistos(), QStringList()) << sinTraducir.vistos().join(u'\n').toStdString();
}

TEST(TraduccionQt, WithoutTheFileNothingChanges)
{
    QTemporaryDir vacia;
    const QString aceptar = textoBotonAceptar();
    const TraduccionQtInstalada traduccion(vacia.path());
    EXPECT_FALSE(traduccion.instalada());
    EXPECT_EQ(textoBotonAceptar(), aceptar);
}

} // namespace
