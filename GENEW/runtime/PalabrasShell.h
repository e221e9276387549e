#pragma once
#include <QString>
#include <QStringList>

// The words of a command line as a POSIX shell splits them: blanks separate words, double
// and single quotes group them, a backslash outside single quotes keeps the next character.
QStringList DividirLineaComandos(const QString &linea);
// The word quoted so that DividirLineaComandos gives it back unchanged.
QString EntrecomillarArgumento(const QString &palabra);
