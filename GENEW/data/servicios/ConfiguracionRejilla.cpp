#include "GENEW/data/servicios/ConfiguracionRejilla.h"

#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

namespace {

const QString kBarra = QStringLiteral("|");

std::optional<int> entero(const QString &texto)
{
    bool ok = false;
    const int n = texto.trimmed().toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

FuenteRejilla leerFuente(const QString &valor)
{
    FuenteRejilla f;
    f.nombre = ExtraerCampo(0, valor, kBarra);
    f.tamano = entero(ExtraerCampo(1, valor, kBarra));
    f.color = TextoAColor(ExtraerCampo(2, valor, kBarra));
    for (int i = 3;; ++i) {
        const QString estilo = ExtraerCampo(i, valor, kBarra);
        if (estilo.isEmpty())
            break;
        const int n = TextoAEstiloFuente(estilo);
        if (n >= fsBold && n <= fsStrikeout)
            f.estilos |= ConjuntoEstilo(TFontStyle(n));
    }
    return f;
}

QList<ColumnaRejilla> leerColumnas(const QString &valor)
{
    QList<ColumnaRejilla> columnas;
    const QString coma = QStringLiteral(",");
    for (int i = 0;; ++i) {
        const QString pieza = ExtraerCampo(i, valor, kBarra);
        if (pieza.isEmpty())
            break;
        ColumnaRejilla c;
        c.campo = ExtraerCampo(0, pieza, coma);
        c.ancho = entero(ExtraerCampo(1, pieza, coma)).value_or(50);
        c.titulo = ExtraerCampo(2, pieza, coma);
        columnas << c;
    }
    return columnas;
}

} // namespace

QString LineaFuenteRejilla(const FuenteRejilla &fuente)
{
    QString linea = QStringLiteral("Font=") + fuente.nombre + kBarra + QString::number(fuente.tamano.value_or(0))
        + kBarra + ColorATexto(fuente.color);
    for (TFontStyle estilo : {fsBold, fsItalic, fsUnderline, fsStrikeout})
        if (fuente.estilos & ConjuntoEstilo(estilo))
            linea += kBarra + EstiloFuenteATexto(ConjuntoEstilo(estilo));
    return linea;
}

QString LineaCamposRejilla(const QList<ColumnaRejilla> &columnas)
{
    QString linea = QStringLiteral("Campos=");
    for (const ColumnaRejilla &c : columnas)
        linea += c.campo + u',' + QString::number(c.ancho) + u',' + c.titulo + kBarra;
    return linea;
}

QString TextoConfiguracionRejilla(const FuenteRejilla &fuente, const QList<ColumnaRejilla> &columnas)
{
    return LineaFuenteRejilla(fuente) + QStringLiteral("\r\n") + LineaCamposRejilla(columnas);
}

ConfiguracionRejillaLeida LeerConfiguracionRejilla(const QString &texto)
{
    ConfiguracionRejillaLeida leida;
    const QString igual = QStringLiteral("=");
    for (const QString &linea : DividirLineas(texto)) {
        const QString nombre = ExtraerCampo(0, linea, igual);
        const QString valor = ExtraerCampo(1, linea, igual);
        if (nombre == QLatin1String("Font"))
            leida.fuente = leerFuente(valor);
        else if (nombre == QLatin1String("Campos"))
            leida.columnas = leerColumnas(valor);
    }
    return leida;
}

int ColumnaInicialAjuste(const QString &opciones)
{
    const QString clave = QStringLiteral("ColumnaInicial:");
    if (!opciones.contains(clave))
        return 0;
    const QString marca = CaracterNoUsado(opciones);
    QString texto = opciones;
    ReemplazarTexto(QStringLiteral(","), marca, texto);
    ReemplazarTexto(clave, marca, texto);
    return entero(ExtraerCampo(1, texto, marca)).value_or(0);
}

std::optional<QList<int>> AnchosAjustados(const QList<AnchoColumna> &columnas, int anchoRejilla, bool indicador,
                                          const QString &opciones)
{
    const int disponible = anchoRejilla - (indicador ? 32 : 20);
    const int primera = std::max(0, ColumnaInicialAjuste(opciones));
    long long total = 0;
    long long porDefectoAjustadas = 0;
    long long usado = 0;
    for (int i = 0; i < columnas.size(); ++i) {
        const AnchoColumna &c = columnas[i];
        if (!c.visible)
            continue;
        if (i < primera) {
            total += c.ancho;
            usado += c.ancho;
        } else {
            total += c.anchoPorDefecto;
            porDefectoAjustadas += c.anchoPorDefecto;
        }
    }
    if (columnas.isEmpty() || porDefectoAjustadas == 0)
        return std::nullopt;

    QList<int> anchos;
    int ultimaVisible = 0;
    for (int i = 0; i < columnas.size(); ++i) {
        const AnchoColumna &c = columnas[i];
        int ancho = c.ancho;
        if (c.visible) {
            ultimaVisible = i;
            if (i >= primera) {
                ancho = RedondearMitadesAPar(static_cast<long double>(c.anchoPorDefecto) * disponible / total);
                usado += ancho + 1;
            }
        }
        anchos << ancho;
    }
    if (usado != disponible)
        anchos[ultimaVisible] += int(disponible - usado);
    anchos[ultimaVisible] -= 1;
    return anchos;
}

int AnchoNecesario(const QList<AnchoColumna> &columnas, bool indicador)
{
    int ancho = indicador ? 12 : 0;
    for (const AnchoColumna &c : columnas)
        if (c.visible)
            ancho += c.ancho + 1;
    return ancho;
}
