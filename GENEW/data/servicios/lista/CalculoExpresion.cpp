#include "GENEW/data/servicios/lista/CalculoExpresion.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <cmath>

namespace {

bool esOperadorProducto(QChar c)
{
    return c == u'*' || c == u'/' || c == u'#';
}

// The number of a factor, when it is one and finite.
std::optional<double> numeroDe(const QString &texto)
{
    double valor = 0;
    if (!LeerDecimal(texto, valor) || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

// An operation whose result is not finite leaves the value as it was.
double siFinito(double resultado, double anterior)
{
    return std::isfinite(resultado) ? resultado : anterior;
}

// A term without its sign: factors cut before every "*", "/" and "#".
double valorTermino(QStringView termino)
{
    qsizetype inicio = 0;
    qsizetype fin = 0;
    while (fin < termino.size() && !esOperadorProducto(termino[fin]))
        ++fin;
    double producto = numeroDe(termino.mid(inicio, fin - inicio).toString()).value_or(1);
    while (fin < termino.size()) {
        const QChar operador = termino[fin];
        inicio = fin + 1;
        fin = inicio;
        while (fin < termino.size() && !esOperadorProducto(termino[fin]))
            ++fin;
        const double factor = numeroDe(termino.mid(inicio, fin - inicio).toString()).value_or(1);
        if (operador == u'*')
            producto = siFinito(producto * factor, producto);
        else if (operador == u'/')
            producto = factor == 0 ? producto : siFinito(producto / factor, producto);
        else
            producto = siFinito(RedondearAMultiplo(producto, factor), producto);
    }
    return producto;
}

bool excedeLongitud(qsizetype longitud)
{
    return longitud > kLongitudMaximaExpresion;
}

} // namespace

double CalcularExpresionSimple(const QString &expresion)
{
    const QChar decimal = ajustesComunes().SeparadorDecimal;
    QString t;
    t.reserve(expresion.size() + 1);
    for (const QChar c : expresion) {
        if (c.isSpace())
            continue;
        if (c == u'.' || c == u',')
            t += decimal;
        else if (c == u'x')
            t += u'*';
        else if (c == u':')
            t += u'/';
        else
            t += c;
    }
    if (!t.startsWith(u'+') && !t.startsWith(u'-'))
        t.prepend(u'+');
    // Terms start at every sign that does not follow "*", "/" or "#" (there the minus
    // belongs to the number).
    double total = 0;
    qsizetype inicio = 0;
    while (inicio < t.size()) {
        qsizetype fin = inicio + 1;
        while (fin < t.size() && !((t[fin] == u'+' || t[fin] == u'-') && !esOperadorProducto(t[fin - 1])))
            ++fin;
        const QStringView termino = QStringView(t).mid(inicio + 1, fin - inicio - 1);
        if (!termino.isEmpty()) {
            const double valor = valorTermino(termino);
            total = siFinito(t[inicio] == u'-' ? total - valor : total + valor, total);
        }
        inicio = fin;
    }
    return total;
}

double CalcularExpresion(const QString &expresion, const QString &variables)
{
    QString t = expresion;
    for (const QString &linea : DividirLineas(variables)) {
        const qsizetype igual = linea.indexOf(u'=');
        if (igual <= 0)
            continue;
        const QString nombre = linea.left(igual);
        const QString valor = linea.mid(igual + 1);
        const qsizetype veces = t.count(nombre);
        if (veces == 0)
            continue;
        if (excedeLongitud(t.size() + veces * (valor.size() - nombre.size())))
            return 0;
        t.replace(nombre, valor);
    }
    // Innermost pair first: the first ")" and the last "(" before it.
    for (;;) {
        const qsizetype cierre = t.indexOf(u')');
        if (cierre < 0)
            return t.contains(u'(') ? 0 : CalcularExpresionSimple(t);
        const qsizetype apertura = t.lastIndexOf(u'(', cierre);
        if (apertura < 0)
            return 0;
        const QString valor = NumeroComoTextoDecimal(CalcularExpresionSimple(t.mid(apertura + 1, cierre - apertura - 1)));
        t = t.left(apertura) + valor + t.mid(cierre + 1);
        t.replace(QStringLiteral("--"), QStringLiteral("+"));
        if (excedeLongitud(t.size()))
            return 0;
    }
}

QString NumeroComoTextoDecimal(double valor)
{
    if (valor == 0 || !std::isfinite(valor))
        return QStringLiteral("0");
    const int magnitud = int(std::floor(std::log10(std::fabs(valor))));
    QString texto = QString::number(valor, 'f', std::max(0, 14 - magnitud));
    if (texto.contains(u'.')) {
        while (texto.endsWith(u'0'))
            texto.chop(1);
        if (texto.endsWith(u'.'))
            texto.chop(1);
    }
    texto.replace(u'.', u',');
    return texto;
}

std::optional<double> LeerNumeroExpresion(const QString &texto)
{
    const QChar decimal = ajustesComunes().SeparadorDecimal;
    QString t = texto.trimmed();
    t.replace(u'.', decimal).replace(u',', decimal);
    return numeroDe(t);
}

QString FormulaConValores(const QString &formula,
                          const std::function<std::optional<double>(const QString &nombre)> &valorDe)
{
    static const QString operadores = QStringLiteral("+-*/#()");
    QString resultado;
    qsizetype i = 0;
    while (i < formula.size()) {
        if (operadores.contains(formula[i])) {
            resultado += formula[i++];
            continue;
        }
        qsizetype fin = i;
        while (fin < formula.size() && !operadores.contains(formula[fin]))
            ++fin;
        const QString operando = formula.mid(i, fin - i);
        i = fin;
        if (LeerNumeroExpresion(operando)) {
            resultado += operando;
            continue;
        }
        const double valor = valorDe ? valorDe(operando.trimmed()).value_or(0) : 0;
        const QString texto = NumeroComoTextoDecimal(valor);
        resultado += valor < 0 ? u'(' + texto + u')' : texto;
    }
    return resultado;
}
