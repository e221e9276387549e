#pragma once
// Input as the window system delivers it: Qt drops it, as it drops a person's, when a modal
// window blocks the target's window (events sent straight to a widget would get through).
#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace gptest {

inline void clicDeUsuario(QWidget &control)
{
    QWindow *ventana = control.window()->windowHandle();
    const QPoint punto = ventana->mapFromGlobal(control.mapToGlobal(control.rect().center()));
    QTest::mouseClick(ventana, Qt::LeftButton, Qt::NoModifier, punto);
}

inline void teclaDeUsuario(QWidget &ventana, Qt::Key tecla)
{
    QTest::keyClick(ventana.window()->windowHandle(), tecla);
}

// A picture of the window, kept in the build's folder "capturas".
inline void guardarCapturaVentana(QWidget &ventana, const QString &nombre)
{
    const QDir capturas(QCoreApplication::applicationDirPath() + QStringLiteral("/../capturas"));
    capturas.mkpath(QStringLiteral("."));
    ventana.grab().save(capturas.filePath(nombre + QStringLiteral(".png")));
}

} // namespace gptest
