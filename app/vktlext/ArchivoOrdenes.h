#pragma once
#include <QString>
#include <QStringList>

// What a command file (.INI) asks of the desktop's tools, read without running anything.

// A program and its arguments.
struct LlamadaExterna
{
    QString programa;
    QStringList argumentos;
};

// The value of a key of the command file's lines.
QString ValorOrden(const QStringList &lineas, const char *clave);
// The command file's lines with every "·" turned back into a line break.
QStringList LeerArchivoOrdenes(const QString &texto);

LlamadaExterna LlamadaCorreo(const QStringList &lineas);
LlamadaExterna LlamadaImpresionPDF(const QStringList &lineas);
// LibreOffice's program ("soffice" or "libreoffice" on the PATH) prints; empty when missing.
LlamadaExterna LlamadaImpresionWord(const QStringList &lineas, const QString &libreOffice);
