#pragma once
#include "platform/base/Gancho.h"
#include "platform/ui/Keys.h"

#include <QString>
#include <functional>

class QObject;

namespace plat {
class DataSet;
}

// What the search forms take from the form framework and the record services: the common
// preparation and translation of a form, the common key handling, and the listing of a
// dataset. The data module installs them while it lives (the framework through the start-up
// form, the listing through itself); an unassigned one does nothing.
struct MarcoBusqueda
{
    std::function<void(QObject *formulario)> PrepararFormulario;
    std::function<void(QObject *formulario)> TraducirFormulario;
    std::function<void(QObject *Sender, int &Key, plat::ShiftState Shift)> ProcesarTeclaFormulario;
    std::function<void(QObject *Sender, QChar &Key)> ProcesarTeclaPulsada;
    std::function<void(plat::DataSet &dataSet, const QString &opciones, const QString &titulo)> ListarDataSetTemporal;
};

Gancho<MarcoBusqueda> &marcoBusqueda();
