// Qt's own dialogs in Spanish through Qt's translation of its base module.
#include "app/TraduccionQt.h"
#include "tests/support/ImprimirQString.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
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

TEST(TraduccionQt, WithoutTheFileNothingChanges)
{
    QTemporaryDir vacia;
    const QString aceptar = textoBotonAceptar();
    const TraduccionQtInstalada traduccion(vacia.path());
    EXPECT_FALSE(traduccion.instalada());
    EXPECT_EQ(textoBotonAceptar(), aceptar);
}

} // namespace
