#pragma once
#include <QString>
#include <QStringList>

// The expressions of report groups and expression controls: a field name, a name in single
// quotes, several of these joined by "+" (a list of fields compared one by one), or
// "Sum(" + field + ")". Anything else is refused.
struct ExpresionLeida
{
    enum class Tipo { Campos, Suma };
    Tipo tipo = Tipo::Campos;
    QStringList campos;   // one for a sum
};

// Raises gp::Error naming the expression when the text is not one of the forms above.
ExpresionLeida leerExpresionInforme(const QString &texto);
