#include "GENEW/reporting/graficos/DefinicionGrafico.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <optional>

namespace {

// A window bigger than any screen only costs memory.
constexpr int kMedidaMaxima = 10000;

int medida(const QString &texto, int porDefecto)
{
    int valor = 0;
    if (!LeerEntero(texto, valor) || valor <= 0)
        return porDefecto;
    return std::min(valor, kMedidaMaxima);
}

std::optional<TipoSerieGrafico> tipoSerie(const QString &tipo)
{
    if (tipo == QLatin1String("Lineas"))
        return TipoSerieGrafico::Lineas;
    if (tipo == QLatin1String("Tarta"))
        return TipoSerieGrafico::Tarta;
    if (tipo == QLatin1String("Barras"))
        return TipoSerieGrafico::Barras;
    if (tipo == QLatin1String("Puntos"))
        return TipoSerieGrafico::Puntos;
    if (tipo == QLatin1String("BarrasH"))
        return TipoSerieGrafico::BarrasH;
    return std::nullopt;
}

// A value as typed numbers are read (thousands point dropped, decimal comma), but a text
// that is no number is refused rather than read as 0.
bool leerValor(const QString &texto, double &valor)
{
    QString t = texto;
    t.remove(ajustesComunes().SeparadorMiles);
    return LeerDecimal(t, valor);
}

} // namespace

const QStringList &coloresPorDefectoGrafico()
{
    static const QStringList colores{
        QStringLiteral("Rojo"),      QStringLiteral("Azul"),        QStringLiteral("Amarillo"),
        QStringLiteral("Verde"),     QStringLiteral("Fucsia"),      QStringLiteral("Rojo Oscuro"),
        QStringLiteral("Azul Marino"), QStringLiteral("Oliva"),     QStringLiteral("Esmeralda"),
        QStringLiteral("Purpura"),   QStringLiteral("Aguamarina"),  QStringLiteral("Verde Claro"),
        QStringLiteral("Negro"),     QStringLiteral("Gris Oscuro"), QStringLiteral("Gris"),
        QStringLiteral("Gris Claro"), QStringLiteral("Plateado"),   QStringLiteral("Blanco")};
    return colores;
}

QStringList lineasDeAjustes(const QString &texto)
{
    QString t = texto;
    return DividirLineas(ReemplazarTexto(QStringLiteral(";"), QStringLiteral("\r\n"), t));
}

AjustesGrafico leerAjustesGrafico(const QString &definicion)
{
    const QStringList l = lineasDeAjustes(definicion);
    const auto valor = [&](const char *nombre) { return LeerValorDeLineas(QString::fromLatin1(nombre), l); };
    AjustesGrafico a;
    a.Titulo = valor("Titulo");
    a.Degradado = valor("ColorFondo") != QLatin1String("Ninguno");
    a.Vista3D = valor("Vista3D") != QLatin1String("NO");
    a.Marcas = valor("Marcas") == QLatin1String("SI");
    a.Leyenda = valor("Leyenda") == QLatin1String("SI");
    const QString medidas = valor("Medidas");
    a.Ancho = medida(ExtraerCampo(0, medidas, QStringLiteral("x")), 200);
    a.Alto = medida(ExtraerCampo(1, medidas, QStringLiteral("x")), 100);
    a.PanelControl = valor("PanelControl") != QLatin1String("NO");
    a.StatusBar = valor("StatusBar") != QLatin1String("NO");
    return a;
}

std::vector<SerieGrafico> leerSeriesGrafico(const QString &series)
{
    const QStringList &porDefecto = coloresPorDefectoGrafico();
    int indiceColor = 0;
    std::vector<SerieGrafico> resultado;
    for (const QString &linea : DividirLineas(series)) {
        const QStringList l = lineasDeAjustes(linea);
        const auto valor = [&](const char *nombre) { return LeerValorDeLineas(QString::fromLatin1(nombre), l); };
        const auto tipo = tipoSerie(valor("Tipo"));
        if (!tipo)
            continue;
        SerieGrafico s;
        s.tipo = *tipo;
        s.color = TextoAColor(valor("Color"));
        s.titulo = valor("Titulo");
        s.enLeyenda = valor("IncluirEnLeyenda") == QLatin1String("SI");
        s.trianguloInvertido =
            s.tipo == TipoSerieGrafico::Puntos && valor("Estilo") == QLatin1String("Triangulo Invertido");
        const QString dosPuntos = QStringLiteral(":");
        for (const QString &item : valor("Valores").split(u'/')) {
            if (item.isEmpty())
                break;
            PuntoGrafico p;
            const QString valor = ExtraerCampo(1, item, dosPuntos).trimmed();
            p.conValor = !valor.isEmpty();
            if (!LeerEntero(ExtraerCampo(0, item, dosPuntos), p.posicion) || (p.conValor && !leerValor(valor, p.valor)))
                continue;
            p.etiqueta = ExtraerCampo(2, item, dosPuntos);
            const QString color = ExtraerCampo(3, item, dosPuntos);
            if (!color.isEmpty()) {
                p.color = TextoAColor(color);
            } else if (s.color != 0) {
                p.color = s.color;
            } else {
                p.color = TextoAColor(porDefecto.at(indiceColor));
                if (indiceColor < porDefecto.size() - 1)
                    ++indiceColor;
            }
            s.puntos.push_back(p);
        }
        resultado.push_back(std::move(s));
    }
    return resultado;
}
