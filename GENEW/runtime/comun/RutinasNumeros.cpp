#include "GENEW/runtime/comun/RutinasNumeros.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool EsCifra(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

QString AvisoValorIncorrecto(const QString &titulo)
{
    return QStringLiteral("¡El valor de ") + titulo + QStringLiteral(" es incorrecto! Repita por favor");
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

double TextoANumero(const QString &texto, const QString &opciones)
{
    const AjustesComunes &ajustes = ajustesComunes();
    QString t = texto;
    if (opciones.contains(QStringLiteral("PuntoDecimal"))) {
        t.remove(QLatin1Char(','));
        t.replace(QLatin1Char('.'), ajustes.SeparadorDecimal);
    } else {
        t.remove(ajustes.SeparadorMiles);
    }
    double valor = 0;
    return LeerDecimal(t, valor) ? valor : 0;
}

QString FlotanteATexto(double valor)
{
    QString texto = QString::number(valor, 'g', 15);
    texto.replace(QLatin1Char('.'), ajustesComunes().SeparadorDecimal);
    return texto;
}

bool ValidarEntero(const QString &texto, const QString &titulo)
{
    int valor = 0;
    if (LeerEntero(texto, valor))
        return true;
    if (!titulo.isEmpty())
        MensajeAviso(AvisoValorIncorrecto(titulo));
    return false;
}

bool ValidarDecimal(const QString &texto, const QString &titulo)
{
    double valor = 0;
    if (LeerDecimal(texto, valor))
        return true;
    if (!titulo.isEmpty())
        MensajeAviso(AvisoValorIncorrecto(titulo));
    return false;
}

bool EsCero(double numero)
{
    const long double valor = numero;
    return !(valor < -0.00001L) && !(valor > 0.00001L);
}

double Redondear(double numero)
{
    if (!std::isfinite(numero))
        return numero;
    const bool negativo = numero < 0;
    const long double magnitud = std::fabs(static_cast<long double>(numero));
    const long double desplazada = magnitud + 0.5000001L;
    long double resultado;
    if (desplazada < 9.2e18L) {
        resultado = static_cast<long double>(static_cast<qint64>(desplazada));
    } else {
        // Too large for a 64-bit integer: the value is whole already in practice.
        long double entera = 0;
        const long double fraccion = std::modf(magnitud, &entera);
        resultado = entera + (fraccion > 0.5L ? 1 : 0);
    }
    return static_cast<double>(negativo ? -resultado : resultado);
}

double RedondearDecimales(double numero, int decimales)
{
    double factor = 1;
    for (int i = 0; i < decimales; ++i)
        factor *= 10;
    const double escalado = numero * factor;
    if (!std::isfinite(escalado))
        return numero;
    const double resultado = Redondear(escalado) / factor;
    return std::isfinite(resultado) ? resultado : numero;
}

double RedondearAMultiplo(double valor, double paso)
{
    if (paso == 0)
        return valor;
    const double cociente = valor / paso;
    if (!std::isfinite(cociente))
        return valor;
    return Redondear(cociente) * paso;
}

int RedondearMitadesAPar(long double valor)
{
    if (std::isnan(valor))
        return 0;
    constexpr long double minimo = std::numeric_limits<int>::min();
    constexpr long double maximo = std::numeric_limits<int>::max();
    if (valor <= minimo)
        return std::numeric_limits<int>::min();
    if (valor >= maximo)
        return std::numeric_limits<int>::max();
    const long double abajo = std::floor(valor);
    const long double resto = valor - abajo;
    const qint64 entero = static_cast<qint64>(abajo);
    qint64 redondeado = entero;
    if (resto > 0.5L || (resto == 0.5L && entero % 2 != 0))
        redondeado = entero + 1;
    return static_cast<int>(std::clamp<qint64>(redondeado, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}
