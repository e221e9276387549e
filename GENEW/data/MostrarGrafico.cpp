#include "GENEW/data/MostrarGrafico.h"

namespace {

VentanaGraficoFn &ventanaInstalada()
{
    static VentanaGraficoFn ventana;
    return ventana;
}

} // namespace

void MostrarGrafico(const QString &definicion, const QString &series)
{
    if (const VentanaGraficoFn ventana = ventanaInstalada())
        ventana(definicion, series);
}

VentanaGraficoInstalada::VentanaGraficoInstalada(VentanaGraficoFn ventana)
    : previa_(std::exchange(ventanaInstalada(), std::move(ventana)))
{
}

VentanaGraficoInstalada::~VentanaGraficoInstalada() { ventanaInstalada() = std::move(previa_); }
