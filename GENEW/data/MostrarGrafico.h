#pragma once
#include <QString>
#include <functional>

// The chart window lives in the report layer, above the data module: the program installs
// the routine that shows it, and MostrarGrafico reaches it through that hook.
using VentanaGraficoFn = std::function<void(const QString &definicion, const QString &series)>;

// Creates the chart window on the chart definition and series texts, shows it modally and
// frees it; nothing happens while no window routine is installed.
void MostrarGrafico(const QString &definicion, const QString &series);

// Installs the chart window routine for one scope and puts the previous one back on leaving.
class VentanaGraficoInstalada
{
public:
    explicit VentanaGraficoInstalada(VentanaGraficoFn ventana);
    ~VentanaGraficoInstalada();
    VentanaGraficoInstalada(const VentanaGraficoInstalada &) = delete;
    VentanaGraficoInstalada &operator=(const VentanaGraficoInstalada &) = delete;

private:
    VentanaGraficoFn previa_;
};
