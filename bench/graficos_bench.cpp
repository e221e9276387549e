// A chart painted whole on an 800 x 600 picture, in its 3-D view and flat, against the same
// shapes drawn straight with QPainter: the gradient, the three walls, and per item its front,
// top and side (a bar) or its line segment and ribbon (a line).
#include "ArranqueBenchmarks.h"
#include "GENEW/reporting/graficos/ConstructorGrafico.h"
#include "GENEW/reporting/graficos/DefinicionGrafico.h"
#include "GENEW/reporting/graficos/Vista3D.h"

#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cmath>

namespace {

const QSize kTamano(800, 600);
constexpr double kProfundidad = 20;

double valor(int i) { return 50 + 40 * std::sin(i * 0.37); }

std::vector<SerieGrafico> serie(TipoSerieGrafico tipo, int puntos)
{
    SerieGrafico s;
    s.tipo = tipo;
    s.color = 0x00FF00;
    for (int i = 0; i < puntos; ++i)
        s.puntos.push_back({i + 1, valor(i), QStringLiteral("C%1").arg(i + 1), s.color});
    return {s};
}

// The chart as the window builds it, laid out once; each iteration paints it whole.
void pintarGrafico(benchmark::State &state, TipoSerieGrafico tipo, bool tresD)
{
    QGraphicsScene escena;
    auto *chart = new QChart;
    escena.addItem(chart);
    constructorgrafico::aplicarAspecto(*chart, true);
    constructorgrafico::anadirSeries(*chart, serie(tipo, int(state.range(0))), QFont());
    if (tresD)
        vista3d::aplicar(*chart, kProfundidad);
    chart->resize(kTamano);
    chart->layout()->activate();
    QImage imagen(kTamano, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&imagen);
        painter.setRenderHint(QPainter::Antialiasing);
        escena.render(&painter, QRectF(imagen.rect()), QRectF(QPointF(), kTamano));
    }
}

void Barras3D(benchmark::State &state) { pintarGrafico(state, TipoSerieGrafico::Barras, true); }
void BarrasPlanas(benchmark::State &state) { pintarGrafico(state, TipoSerieGrafico::Barras, false); }
void Lineas3D(benchmark::State &state) { pintarGrafico(state, TipoSerieGrafico::Lineas, true); }
void LineasPlanas(benchmark::State &state) { pintarGrafico(state, TipoSerieGrafico::Lineas, false); }

// The floor: what the 3-D chart paints, at places computed before the timing.
void anclaQPainter(benchmark::State &state, bool barras)
{
    const int n = int(state.range(0));
    const QRectF area(60, 40, 700, 500);
    const QPointF fondo(kProfundidad, -kProfundidad);
    const double paso = area.width() / n;
    std::vector<QPolygonF> frentes, techos, lados;
    for (int i = 0; i < n; ++i) {
        const double alto = valor(i) / 100 * area.height();
        const QRectF frente(area.left() + paso * (i + 0.25), area.bottom() - alto, paso / 2, alto);
        frentes.push_back(QPolygonF(frente));
        techos.push_back({frente.topLeft(), frente.topRight(), frente.topRight() + fondo, frente.topLeft() + fondo});
        lados.push_back({frente.topRight(), frente.bottomRight(), frente.bottomRight() + fondo, frente.topRight() + fondo});
    }
    QPolygonF linea;
    for (const QPolygonF &f : frentes)
        linea << f.first();
    QLinearGradient degradado(0, 0, 0, kTamano.height());
    degradado.setColorAt(0, QColor(0, 128, 255));
    degradado.setColorAt(1, QColor(255, 255, 128));
    const QColor pared(255, 255, 217), verde(0, 255, 0);
    QImage imagen(kTamano, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&imagen);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(imagen.rect(), degradado);
        painter.setPen(pared.darker(150));
        painter.setBrush(pared);
        painter.drawPolygon(QPolygonF(area.translated(fondo)));
        painter.drawPolygon(QPolygonF{area.topLeft(), area.topLeft() + fondo, area.bottomLeft() + fondo, area.bottomLeft()});
        painter.drawPolygon(
            QPolygonF{area.bottomLeft(), area.bottomLeft() + fondo, area.bottomRight() + fondo, area.bottomRight()});
        painter.setPen(verde.darker());
        if (barras) {
            for (int i = 0; i < n; ++i) {
                painter.setBrush(verde.lighter());
                painter.drawPolygon(techos[size_t(i)]);
                painter.setBrush(verde.darker());
                painter.drawPolygon(lados[size_t(i)]);
                painter.setBrush(verde);
                painter.drawPolygon(frentes[size_t(i)]);
            }
        } else {
            painter.setBrush(verde.lighter());
            for (int i = 0; i + 1 < n; ++i)
                painter.drawPolygon(QPolygonF{linea[i], linea[i + 1], linea[i + 1] + fondo, linea[i] + fondo});
            painter.drawPolyline(linea);
        }
    }
}

void AnclaQPainterBarras(benchmark::State &state) { anclaQPainter(state, true); }
void AnclaQPainterLineas(benchmark::State &state) { anclaQPainter(state, false); }

BENCHMARK(Barras3D)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BarrasPlanas)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(AnclaQPainterBarras)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(Lineas3D)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(LineasPlanas)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(AnclaQPainterLineas)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
