#include "GENEW/data/servicios/MostrarGrafico.h"

Gancho<VentanaGraficoFn> &ganchoVentanaGrafico()
{
    static Gancho<VentanaGraficoFn> gancho;
    return gancho;
}

void MostrarGrafico(const QString &definicion, const QString &series)
{
    if (const VentanaGraficoFn &ventana = ganchoVentanaGrafico().valor())
        ventana(definicion, series);
}
