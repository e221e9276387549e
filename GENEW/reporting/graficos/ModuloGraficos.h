#pragma once
#include "GENEW/reporting/graficos/DatosGrafico.h"

#include <QChar>
#include <QString>
#include <vector>

class QChart;
class QChartView;
class QFont;
class QPainter;
class QRectF;
class QWidget;

// What the chart window asks of the chart module: a shared object beside the program that
// alone links Qt Charts, loaded the first time a chart window is made (CargaModuloGraficos.h),
// so that starting the program does not load Qt Charts and the libraries under it. The module
// links no library of the program: everything it needs of it comes through these calls.
//
// A view is the chart's widget as the window lays it out; the module made it and the window
// owns it (a child of the window).
class ModuloGraficos
{
public:
    virtual ~ModuloGraficos() = default;

    // A new view with an empty chart, child of the window.
    virtual QWidget *crearVista(QWidget *ventana) = 0;
    virtual QChartView *vistaGrafico(QWidget *vista) = 0;
    virtual QChart *grafico(QWidget *vista) = 0;

    // Replaces the view's chart by one drawn from the settings and the series: its look, the
    // series with their marks written in letraMarcas (numbers with the program's decimal
    // separator), and the 3-D view when the settings ask for it.
    virtual void construir(QWidget *vista, const AjustesGrafico &ajustes, const std::vector<SerieGrafico> &series,
                           const QFont &letraMarcas, QChar separadorDecimal) = 0;
    virtual void mostrarLeyenda(QWidget *vista, bool visible) = 0;
    virtual void mostrarMarcas(QWidget *vista, bool visibles) = 0;

    // Draws the chart into the painter's destination, laid out again for its proportions at
    // screen scale (destination size divided by escala) and drawn as vectors.
    virtual void pintar(QWidget *vista, QPainter &painter, const QRectF &destino, double escala) = 0;
};

// Raised whenever the interface above changes: a module of another build is refused.
constexpr int kVersionModuloGraficos = 1;

// The module's one exported function: its object, which lives as long as the process, or
// nullptr when the version is not its own.
using CrearModuloGraficosFn = ModuloGraficos *(*)(int version);
inline constexpr char kFuncionModuloGraficos[] = "gp_crear_modulo_graficos";
inline constexpr char kFicheroModuloGraficos[] = "libgp_graficos.so";
