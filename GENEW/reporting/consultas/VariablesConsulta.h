#pragma once
#include "platform/base/TipoCampo.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

// A value for one variable of a typed statement, ready to become a query parameter: the
// variable's listed name (kind character included), its type and its value (a QStringList
// for a "*" list).
struct ValorVariable
{
    QString nombre;
    TFieldType tipo = ftString;
    QVariant valor;
};

// Asks the user one prompt and answers the typed text (empty when cancelled).
using PedirValor = std::function<QString(const QString &pregunta)>;

// The values of the statement's variables, in the order they are listed. A name without "_"
// is asked ("Introduzca el valor para la variable " + the name without its kind character);
// a name with "_" takes the value given to the name before its first "_", or its kind's
// default ("0", "1/1/1900", empty) when there is none. A "*" answer is cut at its commas
// (one trailing comma dropped, blanks around them removed); an empty one is one empty text.
// A "&" answer that is no date raises gp::ConversionError ("'x' is not a valid date"), a "#"
// answer that is no whole or decimal number (an empty one too) "'x' is not a valid floating
// point value".
QList<ValorVariable> ValoresVariables(const QString &sql, const PedirValor &pedir);

// The prompt for a variable: its name without kind characters and line breaks.
QString PreguntaVariable(const QString &nombre);
