#pragma once
#include "GENEW/reporting/graficos/DefinicionGrafico.h"
#include "platform/ui/Form.h"

#include <QString>

class ModuloGraficos;
class QChart;
class QChartView;
class QPaintDevice;

namespace plat {
class Label;
class Panel;
class SpeedButton;
} // namespace plat

// The chart window: draws line, pie, bar, point and horizontal-bar series from a chart
// definition text and a series text (DefinicionGrafico.h), flat or in its 3-D view
// (Vista3D.h), shows or hides the legend and the marks, and prints the chart over a whole page.
// The chart itself is drawn by the chart module (ModuloGraficos.h), loaded when the first
// window is made; without it the window says so where the chart would be.
class TfGENEGRAF : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEGRAF(QWidget *parent = nullptr);

    // The two texts, set before the window is shown.
    QString DefinicionGrafico;
    QString SeriesGrafico;

    // The start-up form's look, translation and key routines, which every chart window calls;
    // the form framework assigns them (unassigned ones do nothing).
    struct RutinasComunes
    {
        plat::NotifyEvent AplicarAspecto;
        plat::NotifyEvent TraducirFormulario;
        plat::KeyPressEvent ProcesarTeclaPulsada;
    };
    static RutinasComunes &Rutinas();

    plat::Panel *PanelControl;
    plat::SpeedButton *pbLeyenda;
    plat::SpeedButton *pbMarcas;
    plat::SpeedButton *pbImprimir;
    plat::Label *LabelTitulo;      // the title, left-aligned above the chart
    QChartView *Chart1;            // nullptr without the chart module
    plat::Label *LabelSinGraficos; // in the chart's place without the chart module, else nullptr
    plat::Panel *PanelStatusBar;

    QChart *chart() const;         // nullptr without the chart module
    const AjustesGrafico &ajustes() const { return ajustes_; }

    // Draws the title and the chart over the whole page of a printer or PDF writer; false
    // when the device cannot be drawn on (a file that cannot be written, no printer).
    bool imprimirEn(QPaintDevice &pagina);

public slots:
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void pbLeyendaClick(QObject *Sender);
    void pbMarcasClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);

private:
    void construirGrafico();
    AjustesGrafico ajustes_;
    ModuloGraficos *modulo_ = nullptr;
    QWidget *vista_ = nullptr;     // Chart1 as a widget
};

// Creates the chart window on the two texts, shows it modally and frees it.
void MostrarVentanaGrafico(const QString &definicion, const QString &series);
