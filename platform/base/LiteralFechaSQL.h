#pragma once
#include "platform/base/Gancho.h"

#include <QDateTime>
#include <QString>
#include <functional>

// Every date the program writes into SQL text takes its literal from one function, so
// that each engine can write dates in the form it reads. literalPrograma is the text the
// program itself would put between the quotes (FormatoFechaSQL form, or the local form
// where the program writes that); the function returns the text to put between the quotes.
// valor is the date itself; the zero date stands for "no date".
using LiteralFechaSQLFn = std::function<QString(const QDateTime &valor, const QString &literalPrograma)>;

// The function of the engine the program's company database runs on, installed by the
// program's connections while that database is open; empty: the program's own literal.
Gancho<LiteralFechaSQLFn> &ganchoLiteralFechaSQL();

QString LiteralFechaSQL(const QDateTime &valor, const QString &literalPrograma);
