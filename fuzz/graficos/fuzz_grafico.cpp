// Arbitrary bytes as the two texts of a chart: the definition up to the first NUL byte, the
// series after it. Reading them must never crash, hang or read past its input; the chart
// built from them, in its 3-D view unless the definition turns it off, must lay out and
// paint, and its depth must keep to finite coordinates.
#include "fuzz/SupresionFugasQt.h"
#include "GENEW/reporting/graficos/ConstructorGrafico.h"
#include "GENEW/reporting/graficos/DefinicionGrafico.h"
#include "GENEW/reporting/graficos/Vista3D.h"

#include <QApplication>
#include <QByteArray>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication app(*argc, *argv);
    return 0;
}

namespace {

bool finito(const QPolygonF &poligono)
{
    for (const QPointF &p : poligono)
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
            return false;
    return true;
}

// The chart as the window draws it, on a picture no bigger than a small window.
void pintar(const AjustesGrafico &ajustes, const std::vector<SerieGrafico> &series)
{
    QGraphicsScene escena;
    auto *chart = new QChart;
    escena.addItem(chart);
    constructorgrafico::aplicarAspecto(*chart, ajustes.Degradado);
    constructorgrafico::anadirSeries(*chart, series, QFont());
    if (ajustes.Vista3D)
        vista3d::aplicar(*chart, vista3d::profundidadPara(ajustes.Ancho, ajustes.Alto));
    constructorgrafico::mostrarMarcas(*chart, ajustes.Marcas);
    constructorgrafico::mostrarLeyenda(*chart, ajustes.Leyenda);
    const QSize tamano(std::min(ajustes.Ancho, 480), std::min(ajustes.Alto, 360));
    chart->resize(tamano);
    chart->layout()->activate();
    if (ajustes.Vista3D != vista3d::activa(*chart))
        __builtin_trap();
    const vista3d::Dibujo dibujo = vista3d::dibujo(*chart);
    for (const auto &cara : dibujo.series)
        if (!finito(cara.esquinas))
            __builtin_trap();
    QImage imagen(tamano, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    escena.render(&painter, QRectF(imagen.rect()), QRectF(QPointF(), tamano));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype corte = bytes.indexOf('\0');
    const QString definicion = QString::fromUtf8(corte < 0 ? bytes : bytes.left(corte));
    const QString series = corte < 0 ? QString() : QString::fromUtf8(bytes.mid(corte + 1));
    const AjustesGrafico a = leerAjustesGrafico(definicion);
    if (a.Ancho <= 0 || a.Alto <= 0 || a.Ancho > 10000 || a.Alto > 10000)
        __builtin_trap();
    const std::vector<SerieGrafico> s = leerSeriesGrafico(series);
    for (const SerieGrafico &serie : s)
        for (const PuntoGrafico &p : serie.puntos)
            if (!std::isfinite(p.valor))
                __builtin_trap();
    pintar(a, s);
    return 0;
}
