#pragma once
#include <QString>
#include <functional>

class QFont;
class QWidget;

namespace plat {
class DataSet;
class DBGrid;
class Form;
} // namespace plat

// The services the framework's keys and hooks open, which the record tools, the search,
// the dialogs, the calculator, the keypad and the layout editor provide. Each is assigned
// by the module that owns it; an unassigned one does nothing (and answers its neutral
// value).
struct PuntosEntradaFormulario
{
    // Record services.
    std::function<bool(plat::DataSet &)> BorrarRegistrosAsociados;
    std::function<void(plat::DataSet &, const QString &claveOrigen, const QString &campo)> CopiarCampoRegistro;
    std::function<QString(plat::DataSet &)> RegistroATexto;
    std::function<void(plat::DataSet &, const QString &texto, const QString &opciones)> TextoARegistro;
    std::function<void(QWidget *control)> LimpiarValorControl;
    std::function<QString(const QString &texto)> ObtenerTextoPredefinido;
    // Search.
    std::function<QString(const QString &nombreControl)> LeerValorBusqueda;
    std::function<void(const QString &nombreControl, const QString &tabla)> GrabarValorBusqueda;
    std::function<QString(const QString &tabla, const QString &opciones)> BuscarRegistro;
    std::function<QString()> ListarTablasDefinidas;
    // Dialogs and viewers.
    std::function<void(const QString &titulo, const QString &texto)> MostrarDetalle;
    std::function<QString(const QString &lista, const QString &opciones)> SeleccionarDeLista;
    std::function<void(plat::DataSet &)> MostrarCamposRegistro;
    std::function<void(plat::DataSet &)> MostrarCamposUsuario;
    std::function<void(plat::DataSet &)> MostrarHistorialAccesos;
    std::function<void(plat::DataSet &)> MostrarResponsabilidad;
    std::function<void(plat::DBGrid &)> AjustarRejilla;
    std::function<bool(QFont &fuente)> SeleccionarFuente;
    // The calculator (TfGENECALC): shows the text and answers the value it ends with.
    std::function<double(const QString &texto, double valor)> Calculadora;
    // The numeric keypad (TfGENEKPAD): a new keypad form aimed at the control.
    std::function<plat::Form *(QWidget *control)> CrearTecladoNumerico;
    // The layout editor (TfGENEIMPR) in mode "Contexto" on a layout code, modally.
    std::function<void(const QString &codigoImpreso)> EditarImpreso;
    std::function<bool(const QString &programa)> PuedeAbrirPrograma;
    // The internal messaging program.
    std::function<void(const QString &opciones)> LanzarMensajeria;
};
