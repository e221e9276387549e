#pragma once
#include "platform/base/Gancho.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace plat {
class DataSet;
}

// What a project window hands to the Gantt listing: the orientation, the span of the scale
// in mode "Proyectos", the mode ("Proyectos": one row per project; "Capitulos": one row per
// line of a project), the rows, the title, and whether to preview or print.
struct PeticionListadoGrafico
{
    bool Apaisado = false;
    QDateTime FechaInicioInforme, FechaFinalInforme;
    QString ModoInforme;
    plat::DataSet *DataSet = nullptr;
    QString Titulo;
    bool VistaPrevia = true;
};

using ImprimirListadoGraficoFn = std::function<void(const PeticionListadoGrafico &peticion)>;

// Runs the Gantt listing, whose report classes sit above this layer: the program installs
// it; until then nothing is listed.
Gancho<ImprimirListadoGraficoFn> &ganchoListadoGrafico();

// The print buttons' step: asks "¿Desea realizar una Visualización Previa?" ("SI" previews,
// any other answer prints) and runs the listing.
void ImprimirListadoGrafico(PeticionListadoGrafico peticion);
