#include "GENEW/data/servicios/ServicioMoneda.h"

#include "GENEW/runtime/comun/Rutinas.h"
#include "platform/data/ValueText.h"

int DecimalesMonedaBase = 0;
double CambioMonedaBase = 1.0;
QString AbreviaturaMonedaBase;
QString DescripcionMonedaBase;

namespace {
const QString AutoInverso = QStringLiteral("AutoInverso");
const QString OtraMoneda = QStringLiteral("Otra Moneda");
const QString PrefijoEuro = QStringLiteral("\u20AC ");
} // namespace

void ServicioMoneda::cargar(const CodigosMoneda &codigos)
{
    codigos_ = codigos;
    std::optional<RegistroMoneda> base;
    if (monedas_.abrir())
        base = monedas_.localizar(codigos_.base);
    DecimalesMonedaBase = base ? base->decimales : 0;
    CambioMonedaBase = base ? base->cambio : 1.0;
    AbreviaturaMonedaBase = base ? base->abreviatura : QString();
    DescripcionMonedaBase = base ? base->descripcion : QString();
}

double ServicioMoneda::ConvertirMoneda(const QString &modo, double importe)
{
    if (!monedas_.abrir())
        return 0;
    if (codigos_.base == codigos_.nacional && !monedas_.localizar(codigos_.euro))
        return 0;
    if (codigos_.base == codigos_.euro && !monedas_.localizar(codigos_.nacional))
        return 0;
    // With a base that is neither, the table stays on the row it stood on.
    const std::optional<RegistroMoneda> moneda = monedas_.actual();
    if (!moneda)
        return 0;
    if (modo == AutoInverso)
        return RedondearDecimales(importe * moneda->cambio, DecimalesMonedaBase);
    // A rate of 0 (a currency without its rate) gives no amount rather than a division by zero.
    if (moneda->cambio == 0)
        return 0;
    if (modo == OtraMoneda)
        return RedondearDecimales(importe / moneda->cambio, DecimalesMoneda(codigos_.euro));
    return RedondearDecimales(importe / moneda->cambio, moneda->decimales);
}

int ServicioMoneda::DecimalesMoneda(int codigo)
{
    if (!monedas_.abrir())
        return 0;
    const std::optional<RegistroMoneda> moneda = monedas_.localizar(codigo);
    return moneda ? moneda->decimales : 0;
}

double ServicioMoneda::CambioMoneda(int codigo)
{
    if (!monedas_.abrir())
        return 0;
    const std::optional<RegistroMoneda> moneda = monedas_.localizar(codigo);
    return moneda ? moneda->cambio : 0;
}

QString ServicioMoneda::ConvertirTextoImporte(const QString &importe, const QString &modo)
{
    const bool debe = importe.contains(u'D');
    const bool haber = importe.contains(u'H');
    QString cifra = importe;
    cifra.remove(u'D');
    cifra.remove(u'H');
    const double numero = TextoANumero(cifra);

    QString texto = plat::formatFloat(FormatosNumericos[3], ConvertirMoneda(modo, numero));
    if (debe)
        texto += u'D';
    if (haber)
        texto += u'H';
    if (!texto.isEmpty() && numero != 0 && !MonedaBaseDistintaNacional())
        texto.prepend(PrefijoEuro);
    return texto;
}

QString ServicioMoneda::MostrarImporteMonedaInforme(const QString &valor)
{
    if (botonEuroPulsado_ && botonEuroPulsado_())
        return ImporteEnOtraMoneda(valor);
    return valor;
}

QString ServicioMoneda::MostrarImporteMoneda(double valor, const QString &plantilla, VistaMoneda vista,
                                            std::optional<double> cambioRegistro)
{
    switch (vista) {
    case VistaMoneda::Propia:
        break;
    case VistaMoneda::BotonEuro:
        return ImporteEnOtraMoneda(FlotanteATexto(valor));
    case VistaMoneda::MenuEuro:
        return ImporteEnOtraMoneda(FlotanteATexto(cambioRegistro ? valor * *cambioRegistro : valor));
    }
    return plat::formatFloat(plantilla, valor);
}
