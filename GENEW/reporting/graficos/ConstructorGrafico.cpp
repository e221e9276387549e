#include "GENEW/reporting/graficos/ConstructorGrafico.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPieSeries>
#include <QPieSlice>
#include <QScatterSeries>
#include <QStackedBarSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace constructorgrafico {
namespace {

// Colour values written here hold blue in the high byte.
constexpr int kDegradadoInicio = 0xFF8000;
constexpr int kDegradadoFin = 0x80FFFF;
constexpr int kParedFondo = 0xD9FFFF;

// What the legend needs to know of each series (and of each bar set standing for one).
constexpr const char *kEnLeyenda = "gpEnLeyenda";
constexpr const char *kTituloLeyenda = "gpTituloLeyenda";

// Chart colours are named colours (red in the low byte), never the system's: the module
// needs no palette of the program's.
QColor color(qint32 c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// A number as the program writes it: up to 15 significant digits, its decimal separator.
QString numeroATexto(double valor, QChar separadorDecimal)
{
    QString texto = QString::number(valor, 'g', 15);
    texto.replace(QLatin1Char('.'), separadorDecimal);
    return texto;
}

// Rounds to hundredths, halves away from zero (the tiny excess absorbs the binary error of
// values such as 2.675); a value too large to scale is kept.
double redondearCentesimas(double valor)
{
    const double escalado = valor * 100;
    if (!std::isfinite(escalado))
        return valor;
    const long double desplazada = std::fabs(static_cast<long double>(escalado)) + 0.5000001L;
    long double entero = 0;
    if (desplazada < 9.2e18L) {
        entero = static_cast<long double>(static_cast<qint64>(desplazada));
    } else {
        const long double fraccion = std::modf(std::fabs(static_cast<long double>(escalado)), &entero);
        entero += fraccion > 0.5L ? 1 : 0;
    }
    const double resultado = static_cast<double>(escalado < 0 ? -entero : entero) / 100;
    return std::isfinite(resultado) ? resultado : valor;
}

void marcarLeyenda(QObject *o, const SerieGrafico &s, bool representaSerie)
{
    o->setProperty(kEnLeyenda, s.enLeyenda && representaSerie);
    o->setProperty(kTituloLeyenda, s.titulo);
}

// The axes of one kind, made the first time a series needs them.
struct Ejes
{
    QChart &chart;
    QValueAxis *x = nullptr;
    QValueAxis *y = nullptr;
    double xMenor = 0, xMayor = 0, yMenor = 0, yMayor = 0;
    bool hayDatos = false;

    // Both axes cover every series' points, with a little room so no point sits on the frame.
    void ajustar()
    {
        if (!x || !hayDatos)
            return;
        const auto rango = [](QValueAxis *eje, double menor, double mayor) {
            const double margen = mayor > menor ? (mayor - menor) * 0.05 : 0.5;
            eje->setRange(menor - margen, mayor + margen);
            eje->applyNiceNumbers();
        };
        // Positions are whole numbers: a short axis gets a tick at each of them.
        const double posiciones = xMayor - xMenor;
        if (posiciones <= 20) {
            x->setRange(std::floor(xMenor) - 1, std::ceil(xMayor) + 1);
            x->setTickCount(int(std::ceil(xMayor) - std::floor(xMenor)) + 3);
        } else {
            rango(x, xMenor, xMayor);
        }
        x->setLabelFormat(QStringLiteral("%.0f"));
        rango(y, yMenor, yMayor);
    }

    void unir(QXYSeries *serie)
    {
        for (const QPointF &p : serie->points()) {
            xMenor = hayDatos ? std::min(xMenor, p.x()) : p.x();
            xMayor = hayDatos ? std::max(xMayor, p.x()) : p.x();
            yMenor = hayDatos ? std::min(yMenor, p.y()) : p.y();
            yMayor = hayDatos ? std::max(yMayor, p.y()) : p.y();
            hayDatos = true;
        }
        if (!x) {
            x = new QValueAxis;
            y = new QValueAxis;
            chart.addAxis(x, Qt::AlignBottom);
            chart.addAxis(y, Qt::AlignLeft);
        }
        serie->attachAxis(x);
        serie->attachAxis(y);
    }
};

QImage trianguloInvertido(const QColor &c)
{
    QImage img(15, 15, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(c.darker());
    p.setBrush(c);
    p.drawPolygon(contornoTrianguloInvertido(img.rect()));
    return img;
}

QXYSeries *nuevaXY(const SerieGrafico &s, const QFont &letra)
{
    QXYSeries *serie = nullptr;
    if (s.tipo == TipoSerieGrafico::Lineas) {
        auto *linea = new QLineSeries;
        linea->setPointsVisible(true);
        linea->setMarkerSize(5);
        serie = linea;
    } else {
        auto *puntos = new QScatterSeries;
        puntos->setMarkerSize(11);
        serie = puntos;
    }
    serie->setName(s.titulo);
    serie->setPointLabelsFormat(QStringLiteral("@yPoint"));
    serie->setPointLabelsFont(letra);
    serie->setPointLabelsClipping(false);
    return serie;
}

void anadirXY(QChart &chart, Ejes &ejes, const SerieGrafico &s, const QFont &letra)
{
    const qint32 propio = s.color != 0 || s.puntos.empty() ? s.color : s.puntos.front().color;
    if (s.trianguloInvertido) {
        // A marker picture has one colour: one series of triangles per colour, listed once.
        std::vector<qint32> colores;
        for (const PuntoGrafico &p : s.puntos)
            if (std::find(colores.begin(), colores.end(), p.color) == colores.end())
                colores.push_back(p.color);
        if (colores.empty())
            colores.push_back(propio);
        for (size_t k = 0; k < colores.size(); ++k) {
            QXYSeries *serie = nuevaXY(s, letra);
            marcarLeyenda(serie, s, k == 0);
            for (const PuntoGrafico &p : s.puntos)
                if (p.color == colores[k] && p.conValor)
                    serie->append(p.posicion, p.valor);
            serie->setColor(color(colores[k]));
            serie->setLightMarker(trianguloInvertido(color(colores[k])));
            chart.addSeries(serie);
            ejes.unir(serie);
        }
        return;
    }
    QXYSeries *serie = nuevaXY(s, letra);
    marcarLeyenda(serie, s, true);
    serie->setColor(color(propio));
    for (const PuntoGrafico &p : s.puntos) {
        if (!p.conValor)
            continue;
        serie->append(p.posicion, p.valor);
        serie->setPointConfiguration(serie->count() - 1, QXYSeries::PointConfiguration::Color, color(p.color));
    }
    chart.addSeries(serie);
    ejes.unir(serie);
}

void anadirTartas(QChart &chart, const std::vector<const SerieGrafico *> &tartas, const QFont &letra,
                  QChar separadorDecimal)
{
    const int n = int(tartas.size());
    for (int k = 0; k < n; ++k) {
        const SerieGrafico &s = *tartas[k];
        auto *tarta = new QPieSeries;
        tarta->setName(s.titulo);
        marcarLeyenda(tarta, s, true);
        double total = 0;
        for (const PuntoGrafico &p : s.puntos)
            total += p.valor;
        for (const PuntoGrafico &p : s.puntos) {
            if (!p.conValor)
                continue;
            auto *porcion = tarta->append(marcaTarta(p.etiqueta, p.valor, total, separadorDecimal), p.valor);
            porcion->setColor(color(p.color));
            porcion->setLabelFont(letra);
            porcion->setLabelArmLengthFactor(0.05);
        }
        tarta->setHorizontalPosition((k + 0.5) / n);
        tarta->setPieSize(std::min(0.7, 0.9 / n));
        chart.addSeries(tarta);
    }
}

// The categories of bar series: one per position any series gives, in position order, so
// that a point stands at its own position whatever the other series hold.
std::vector<int> posicionesBarras(const std::vector<const SerieGrafico *> &series)
{
    std::vector<int> posiciones;
    for (const SerieGrafico *s : series)
        for (const PuntoGrafico &p : s->puntos)
            posiciones.push_back(p.posicion);
    std::sort(posiciones.begin(), posiciones.end());
    posiciones.erase(std::unique(posiciones.begin(), posiciones.end()), posiciones.end());
    return posiciones;
}

// The first point of a series at a position; none when the series has nothing there.
const PuntoGrafico *puntoEn(const SerieGrafico &s, int posicion)
{
    const auto p = std::find_if(s.puntos.begin(), s.puntos.end(), [posicion](const PuntoGrafico &q) { return q.posicion == posicion; });
    return p == s.puntos.end() ? nullptr : &*p;
}

// The bar a series has at a position: 0 (no bar, no mark) where it has no value.
double valorEn(const SerieGrafico &s, int posicion)
{
    const PuntoGrafico *p = puntoEn(s, posicion);
    return p && p->conValor ? p->valor : 0.0;
}

// Category texts by position, from the first series with a point there; the axis needs them
// distinct, so repeated or empty texts are told apart by invisible marks.
QStringList categorias(const std::vector<const SerieGrafico *> &series, const std::vector<int> &posiciones)
{
    QStringList textos;
    for (const int posicion : posiciones) {
        QString texto;
        for (const SerieGrafico *s : series)
            if (const PuntoGrafico *p = puntoEn(*s, posicion)) {
                texto = p->etiqueta;
                break;
            }
        while (textos.contains(texto) || texto.isEmpty())
            texto += QChar(0x200B);
        textos << texto;
    }
    return textos;
}

bool coloresUniformes(const std::vector<const SerieGrafico *> &series)
{
    for (const SerieGrafico *s : series)
        for (const PuntoGrafico &p : s->puntos)
            if (p.color != s->puntos.front().color)
                return false;
    return true;
}

// Bar series of one orientation. Series of one colour each stand side by side, one bar set
// per series; when points carry colours of their own every point is a set of its own,
// stacked on its category, so each bar keeps its colour.
void anadirBarras(QChart &chart, const std::vector<const SerieGrafico *> &series, bool horizontales,
                  const QFont &letra)
{
    if (series.empty())
        return;
    const std::vector<int> posiciones = posicionesBarras(series);
    const QStringList textos = categorias(series, posiciones);
    const bool uniformes = coloresUniformes(series);
    QAbstractBarSeries *barras = nullptr;
    if (uniformes)
        barras = horizontales ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries) : new QBarSeries;
    else
        barras = horizontales ? static_cast<QAbstractBarSeries *>(new QHorizontalStackedBarSeries)
                              : new QStackedBarSeries;
    const auto nuevoConjunto = [&](const SerieGrafico &s, qint32 c, bool representaSerie) {
        auto *conjunto = new QBarSet(s.titulo);
        conjunto->setColor(color(c));
        conjunto->setBorderColor(color(c).darker());
        conjunto->setLabelFont(letra);
        conjunto->setLabelColor(Qt::black);
        marcarLeyenda(conjunto, s, representaSerie);
        barras->append(conjunto);
        return conjunto;
    };
    for (const SerieGrafico *s : series) {
        if (uniformes) {
            QBarSet *conjunto = nuevoConjunto(*s, s->puntos.empty() ? s->color : s->puntos.front().color, true);
            for (const int posicion : posiciones)
                conjunto->append(valorEn(*s, posicion));
            continue;
        }
        for (size_t i = 0; i < s->puntos.size(); ++i) {
            const PuntoGrafico &punto = s->puntos[i];
            QBarSet *conjunto = nuevoConjunto(*s, punto.color, i == 0);
            for (const int posicion : posiciones)
                conjunto->append(posicion == punto.posicion && punto.conValor ? punto.valor : 0.0);
        }
    }
    barras->setLabelsFormat(QStringLiteral("@value"));
    barras->setLabelsPosition(QAbstractBarSeries::LabelsOutsideEnd);
    chart.addSeries(barras);
    auto *ejeCategorias = new QBarCategoryAxis;
    ejeCategorias->append(textos);
    auto *ejeValores = new QValueAxis;
    chart.addAxis(ejeCategorias, horizontales ? Qt::AlignLeft : Qt::AlignBottom);
    chart.addAxis(ejeValores, horizontales ? Qt::AlignBottom : Qt::AlignLeft);
    barras->attachAxis(ejeCategorias);
    barras->attachAxis(ejeValores);
    // Bars grow from 0, with room above the longest for its mark.
    double menor = 0, mayor = 0;
    for (const SerieGrafico *s : series)
        for (const PuntoGrafico &p : s->puntos) {
            menor = std::min(menor, p.valor);
            mayor = std::max(mayor, p.valor);
        }
    if (mayor > menor) {
        ejeValores->setRange(menor, mayor + (mayor - menor) * 0.1);
        ejeValores->applyNiceNumbers();
    }
}

} // namespace

QString marcaTarta(const QString &etiqueta, double valor, double total, QChar separadorDecimal)
{
    const double porcentaje = total != 0 ? redondearCentesimas(valor * 100.0 / total) : 0.0;
    return QStringLiteral("%1 %2% de %3")
        .arg(etiqueta, numeroATexto(porcentaje, separadorDecimal), numeroATexto(total, separadorDecimal))
        .trimmed();
}

QColor colorParedFondo() { return color(kParedFondo); }

QPolygonF contornoTrianguloInvertido(const QRectF &caja)
{
    const double x = caja.width() / 15, y = caja.height() / 15;
    return QPolygonF{caja.topLeft() + QPointF(0.5 * x, y), caja.topLeft() + QPointF(14.5 * x, y),
                     caja.topLeft() + QPointF(7.5 * x, 14 * y)};
}

void aplicarAspecto(QChart &chart, bool degradado)
{
    if (degradado) {
        QLinearGradient g(0, 0, 0, 1);
        g.setCoordinateMode(QGradient::ObjectMode);
        g.setColorAt(0, color(kDegradadoInicio));
        g.setColorAt(1, color(kDegradadoFin));
        chart.setBackgroundBrush(g);
    } else {
        chart.setBackgroundBrush(Qt::white);
    }
    chart.setPlotAreaBackgroundBrush(colorParedFondo());
    chart.setPlotAreaBackgroundVisible(true);
}

void anadirSeries(QChart &chart, const std::vector<SerieGrafico> &series, const QFont &letraMarcas,
                  QChar separadorDecimal)
{
    // Axis labels and marks written as the program writes numbers (decimal comma).
    chart.setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    chart.setLocalizeNumbers(true);
    Ejes ejes{chart};
    std::vector<const SerieGrafico *> tartas, barras, barrasH;
    for (const SerieGrafico &s : series) {
        switch (s.tipo) {
        case TipoSerieGrafico::Lineas:
        case TipoSerieGrafico::Puntos:
            anadirXY(chart, ejes, s, letraMarcas);
            break;
        case TipoSerieGrafico::Tarta:
            tartas.push_back(&s);
            break;
        case TipoSerieGrafico::Barras:
            barras.push_back(&s);
            break;
        case TipoSerieGrafico::BarrasH:
            barrasH.push_back(&s);
            break;
        }
    }
    ejes.ajustar();
    anadirBarras(chart, barras, false, letraMarcas);
    anadirBarras(chart, barrasH, true, letraMarcas);
    anadirTartas(chart, tartas, letraMarcas, separadorDecimal);
}

void mostrarMarcas(QChart &chart, bool visibles)
{
    for (QAbstractSeries *s : chart.series()) {
        if (auto *xy = qobject_cast<QXYSeries *>(s))
            xy->setPointLabelsVisible(visibles);
        else if (auto *barras = qobject_cast<QAbstractBarSeries *>(s))
            barras->setLabelsVisible(visibles);
        else if (auto *tarta = qobject_cast<QPieSeries *>(s))
            tarta->setLabelsVisible(visibles);
    }
}

void mostrarLeyenda(QChart &chart, bool visible)
{
    QLegend *leyenda = chart.legend();
    leyenda->setAlignment(Qt::AlignRight);
    for (QAbstractSeries *s : chart.series()) {
        const QList<QLegendMarker *> marcas = leyenda->markers(s);
        if (auto *tarta = qobject_cast<QPieSeries *>(s)) {
            // One entry for the whole pie, under its title.
            for (int i = 0; i < marcas.size(); ++i) {
                const bool primera = i == 0 && tarta->property(kEnLeyenda).toBool();
                marcas[i]->setVisible(primera);
                if (primera)
                    marcas[i]->setLabel(tarta->property(kTituloLeyenda).toString());
            }
        } else if (auto *barras = qobject_cast<QAbstractBarSeries *>(s)) {
            const QList<QBarSet *> conjuntos = barras->barSets();
            for (int i = 0; i < marcas.size() && i < conjuntos.size(); ++i)
                marcas[i]->setVisible(conjuntos[i]->property(kEnLeyenda).toBool());
        } else {
            for (QLegendMarker *m : marcas)
                m->setVisible(s->property(kEnLeyenda).toBool());
        }
    }
    leyenda->setVisible(visible);
}

} // namespace constructorgrafico
