#pragma once
#include "platform/base/Gancho.h"

#include <QString>
#include <QVariant>

namespace plat {
class DataSet;
class SpeedButton;
} // namespace plat

// What the data module shows in a window: selection and data lists, the field viewers, the
// progress and detail windows, the record search and the programmable listing. The windows
// implement it, so the module's own files name no window.
class VentanasModulo
{
public:
    virtual ~VentanasModulo() = default;

    virtual QString SeleccionarDeLista(const QString &opciones, const QString &lista) = 0;
    virtual QString MostrarListaDatos(const QString &opciones, const QString &datos) = 0;
    virtual QString MostrarVisorDatos(const QString &opciones, const QString &datos) = 0;
    virtual void MostrarCamposRegistro(plat::DataSet &dataSet) = 0;
    virtual void MostrarCamposUsuario(plat::DataSet &dataSet) = 0;
    virtual void MostrarProgreso(const QString &modo, const QString &titulo, const QString &texto) = 0;
    virtual void MostrarDetalle(const QString &texto, const QString &titulo, const QString &opciones) = 0;
    // The chosen record's key values as the search forms answer them (null when cancelled).
    virtual QVariant BuscarRegistroConFiltroYDato(const QString &tabla, int indice, const QString &filtro,
                                                  const QString &dato) = 0;

    // The programmable listing exists once the program has created it.
    virtual bool HayListado() const = 0;
    virtual void AbrirListado(plat::DataSet &dataSet, const QString &prefijoFormato, const QString &titulo,
                              const QString &opciones) = 0;
    // The listing's switch to the logical table, or null when there is no listing.
    virtual plat::SpeedButton *BotonTablaLogicaListado() = 0;
};

// The windows the module uses: a stand-in installed in the hook (tests), else the program's,
// which every module finds from its creation on.
VentanasModulo &ventanasModulo();
Gancho<VentanasModulo *> &ganchoVentanasModulo();
// The program's windows, defined with them.
VentanasModulo &ventanasDelPrograma();
