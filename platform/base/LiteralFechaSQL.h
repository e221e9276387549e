#pragma once
#include <QDateTime>
#include <QString>
#include <functional>

// Every date the program writes into SQL text takes its literal from one function, so
// that each engine can write dates in the form it reads. literalPrograma is the text the
// program itself would put between the quotes (FormatoFechaSQL form, or the local form
// where the program writes that); the function returns the text to put between the quotes.
// valor is the date itself; the zero date stands for "no date".
using LiteralFechaSQLFn = std::function<QString(const QDateTime &valor, const QString &literalPrograma)>;

// Installs the function of the current engine's dialect; an empty function restores the
// default, which keeps the program's own literal.
void InstalarLiteralFechaSQL(LiteralFechaSQLFn fn);

QString LiteralFechaSQL(const QDateTime &valor, const QString &literalPrograma);
