#pragma once
#include <QCoreApplication>
#include <QDir>
#include <QWidget>

// A picture of a window, kept in the build's folder "capturas" (the test's own working folder
// goes with it), to be looked at after the run.
inline void GuardarCaptura(QWidget &ventana, const QString &nombre)
{
    const QDir capturas(QCoreApplication::applicationDirPath() + QStringLiteral("/../capturas"));
    capturas.mkpath(QStringLiteral("."));
    ventana.grab().save(capturas.filePath(nombre + QStringLiteral(".png")));
}
