#include "GENEW/runtime/comun/RutinasNumeros.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"

#include <algorithm>
#include <cmath>

namespace {

QString AvisoValorIncorrecto(const QString &titulo)
{
    return QStringLiteral("¡El valor de ") + titulo + QStringLiteral(" es incorrecto! Repita por favor");
}

} // namespace

bool LeerNumero(const QString &texto, double &valor, const QString &opciones)
{
    const AjustesComunes &ajustes = ajustesComunes();
    QString t = texto;
    if (opciones.contains(QStringLiteral("PuntoDecimal"))) {
        t.remove(QLatin1Char(','));
        t.replace(QLatin1Char('.'), ajustes.SeparadorDecimal);
    } else {
        t.remove(ajustes.SeparadorMiles);
    }
    return LeerDecimal(t, valor);
}

double TextoANumero(const QString &texto, const QString &opciones)
{
    double valor = 0;
    return LeerNumero(texto, valor, opciones) ? valor : 0;
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
