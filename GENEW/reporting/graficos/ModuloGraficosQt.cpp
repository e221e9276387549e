// The chart module itself (ModuloGraficos.h): the chart window's drawing over Qt Charts.
#include "GENEW/reporting/graficos/ConstructorGrafico.h"
#include "GENEW/reporting/graficos/ModuloGraficos.h"
#include "GENEW/reporting/graficos/Vista3D.h"

#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QPainter>

#include <type_traits>

namespace {

class ModuloQtCharts final : public ModuloGraficos
{
public:
    QWidget *crearVista(QWidget *ventana) override
    {
        auto *vista = new QChartView(ventana);
        vista->setRenderHint(QPainter::Antialiasing);
        return vista;
    }

    QChartView *vistaGrafico(QWidget *vista) override { return static_cast<QChartView *>(vista); }

    QChart *grafico(QWidget *vista) override { return vistaGrafico(vista)->chart(); }

    void construir(QWidget *vista, const AjustesGrafico &ajustes, const std::vector<SerieGrafico> &series,
                   const QFont &letraMarcas, QChar separadorDecimal) override
    {
        QChartView *v = vistaGrafico(vista);
        auto *nuevo = new QChart;
        QChart *anterior = v->chart();
        v->setChart(nuevo);
        delete anterior;
        nuevo->layout()->setContentsMargins(0, 0, 0, 0);
        constructorgrafico::aplicarAspecto(*nuevo, ajustes.Degradado);
        constructorgrafico::anadirSeries(*nuevo, series, letraMarcas, separadorDecimal);
        if (ajustes.Vista3D)
            vista3d::aplicar(*nuevo, vista3d::profundidadPara(ajustes.Ancho, ajustes.Alto));
    }

    void mostrarLeyenda(QWidget *vista, bool visible) override
    {
        constructorgrafico::mostrarLeyenda(*grafico(vista), visible);
    }

    void mostrarMarcas(QWidget *vista, bool visibles) override
    {
        constructorgrafico::mostrarMarcas(*grafico(vista), visibles);
    }

    void pintar(QWidget *vista, QPainter &painter, const QRectF &destino, double escala) override
    {
        QChartView *v = vistaGrafico(vista);
        QChart *c = v->chart();
        const QSizeF tamanoPantalla = c->size();
        const QSizeF logico = destino.size() / escala;
        c->resize(logico);
        c->layout()->activate();
        v->scene()->render(&painter, destino, QRectF(c->pos(), logico));
        c->resize(tamanoPantalla);
        c->layout()->activate();
    }
};

} // namespace

extern "C" Q_DECL_EXPORT ModuloGraficos *gp_crear_modulo_graficos(int version)
{
    static_assert(std::is_same_v<decltype(&gp_crear_modulo_graficos), CrearModuloGraficosFn>);
    if (version != kVersionModuloGraficos)
        return nullptr;
    static ModuloQtCharts modulo;
    return &modulo;
}
