#pragma once
#include <QString>
#include <functional>

namespace plat {
class Form;
}

// The program windows inside the main window (its MDI children).

// The open child whose name, cut at its first "_", is nombre (case counting), searched
// from the last child to the first: a second instance carries a suffix such as "_1".
plat::Form *BuscarFormularioMDI(const QString &nombre);
// True when an open child has exactly this name (no cut at "_").
bool ExisteFormularioMDI(const QString &nombre);
// The name for a new instance: nombre while no form has it, else nombre + "_1", "_2"...
QString NombreNuevaInstancia(const QString &nombre);

struct AperturaMDI
{
    plat::Form *formulario = nullptr;
    QString accion;   // "Create", "Show" or "Restore"
};

// Opens a program window: with "Create" in the options the open instance is closed and a
// new one made; otherwise the open one is shown ("Show") or, minimised or maximised, put
// back to normal and focused ("Restore"); without one a new one is made ("Create").
// crear makes a new instance under the name it is given.
AperturaMDI AbrirVentanaMDI(const QString &nombre, const QString &opciones,
                            const std::function<plat::Form *(const QString &nombreInstancia)> &crear);
