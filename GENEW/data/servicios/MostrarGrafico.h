#pragma once
#include "platform/base/Gancho.h"

#include <QString>
#include <functional>

// The chart window lives in the report layer, above the data module: the program installs
// the routine that shows it, and MostrarGrafico reaches it through this hook.
using VentanaGraficoFn = std::function<void(const QString &definicion, const QString &series)>;
Gancho<VentanaGraficoFn> &ganchoVentanaGrafico();

// Creates the chart window on the chart definition and series texts, shows it modally and
// frees it; nothing happens while no window routine is installed.
void MostrarGrafico(const QString &definicion, const QString &series);

// Installs the chart window routine for the life of this object.
class VentanaGraficoInstalada : public Gancho<VentanaGraficoFn>::Instalacion
{
public:
    explicit VentanaGraficoInstalada(VentanaGraficoFn ventana) : Instalacion(ganchoVentanaGrafico(), std::move(ventana)) {}
};
