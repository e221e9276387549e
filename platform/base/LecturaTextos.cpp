#include "platform/base/LecturaTextos.h"

#include "platform/base/AjustesComunes.h"

#include <cmath>
#include <limits>

namespace {

bool EsCifra(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

bool LeerEntero(const QString &texto, int &valor)
{
    const QString t = texto.trimmed();
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    if (i == t.size())
        return false;
    for (qsizetype j = i; j < t.size(); ++j) {
        if (!EsCifra(t.at(j)))
            return false;
    }
    bool ok = false;
    const qlonglong largo = t.toLongLong(&ok);
    if (!ok || largo < std::numeric_limits<int>::min() || largo > std::numeric_limits<int>::max())
        return false;
    valor = static_cast<int>(largo);
    return true;
}

bool LeerDecimal(const QString &texto, double &valor)
{
    // sign, digits, decimal separator, digits, exponent; at least one digit in the mantissa.
    const QString t = texto.trimmed();
    const QChar decimal = ajustesComunes().SeparadorDecimal;
    QString normal;
    qsizetype i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        normal += t.at(i++);
    int cifras = 0;
    for (; i < t.size() && EsCifra(t.at(i)); ++i, ++cifras)
        normal += t.at(i);
    if (i < t.size() && t.at(i) == decimal) {
        normal += QLatin1Char('.');
        for (++i; i < t.size() && EsCifra(t.at(i)); ++i, ++cifras)
            normal += t.at(i);
    }
    if (cifras == 0)
        return false;
    if (i < t.size() && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        normal += QLatin1Char('e');
        ++i;
        if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
            normal += t.at(i++);
        int exponente = 0;
        for (; i < t.size() && EsCifra(t.at(i)); ++i, ++exponente)
            normal += t.at(i);
        if (exponente == 0)
            return false;
    }
    if (i != t.size())
        return false;
    bool ok = false;
    const double leido = normal.toDouble(&ok);   // C form, whatever the locale
    if (!ok || !std::isfinite(leido))
        return false;
    valor = leido;
    return true;
}

QString Mayusculas(const QString &texto)
{
    QString resultado = texto;
    for (QChar &c : resultado)
        c = c.toUpper();
    return resultado;
}

QString Minusculas(const QString &texto)
{
    QString resultado = texto;
    for (QChar &c : resultado)
        c = c.toLower();
    return resultado;
}
