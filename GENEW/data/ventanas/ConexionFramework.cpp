#include "GENEW/data/ventanas/GENECALC.h"
#include "GENEW/data/ventanas/GENEDOCE.h"
#include "GENEW/data/ventanas/GENEDETA.h"
#include "GENEW/data/ventanas/GENEKPAD.h"
#include "GENEW/data/ventanas/GENERESP.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/data/ventanas/HistorialAccesos.h"
#include "GENEW/data/servicios/TextoRegistros.h"
#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/TableDataSet.h"

#include <QWidget>

void TModuloDatos::conectarFramework()
{
    if (!fGENEINIC)
        return;
    puntosEntradaPrevios_ = fGENEINIC->PuntosEntrada;
    PuntosEntradaFormulario &e = fGENEINIC->PuntosEntrada;
    e.BorrarRegistrosAsociados = [this](plat::DataSet &tabla) { return BorrarRegistrosAsociados(tabla); };
    e.CopiarCampoRegistro = [this](plat::DataSet &dataSet, const QString &claveOrigen, const QString &campo) {
        if (auto *tabla = dynamic_cast<plat::TableDataSet *>(&dataSet); tabla && !claveOrigen.isEmpty())
            CopiarCampoRegistro(*tabla, campo, claveOrigen);
    };
    // The framework keeps the copied record itself (Ctrl+Alt+C, Ctrl+Alt+V).
    e.RegistroATexto = [](plat::DataSet &dataSet) { return textoRegistros::RegistroATexto(dataSet); };
    e.TextoARegistro = [](plat::DataSet &dataSet, const QString &texto, const QString &opciones) {
        textoRegistros::TextoARegistro(dataSet, texto, opciones);
    };
    e.LimpiarValorControl = [this](QWidget *control) {
        if (!control)
            return;
        try {
            LimpiarValorControl(control);
        } catch (const gp::Abort &) {
            // A handler of the data set refused the edit: the value stays.
        }
    };
    e.ObtenerTextoPredefinido = [this](const QString &codigo) { return ObtenerTextoPredefinido(codigo); };
    e.MostrarDetalle = [](const QString &titulo, const QString &texto) { ::MostrarDetalle(texto, titulo); };
    e.MostrarHistorialAccesos = [](plat::DataSet &dataSet) { ::MostrarHistorialAccesos(dataSet); };
    e.AjustarRejilla = [this](plat::DBGrid &rejilla) { AjustarRejilla(rejilla); };
    e.Calculadora = [](const QString &texto, double valor) {
        return fGENECALC ? fGENECALC->Calcular(texto) : valor;
    };
    e.CrearTecladoNumerico = [](QWidget *control) { return ::CrearTecladoNumerico(control); };
    e.MostrarResponsabilidad = [](plat::DataSet &tabla) { ::MostrarResponsabilidad(tabla); };
    instalarServiciosBusqueda(e);
    ConservarInstalacion(std::make_shared<Gancho<std::function<void(const QString &, const QString &)>>::Instalacion>(
        fGENEINIC->VentanaDocumentacionElectronica,
        [](const QString &tabla, const QString &clave) { ::AbrirDocumentacionElectronica(tabla, clave); }));

    MarcoBusqueda marco;
    marco.PrepararFormulario = [](QObject *formulario) { fGENEINIC->PrepararFormulario(formulario); };
    marco.TraducirFormulario = [](QObject *formulario) { fGENEINIC->TraducirFormulario(formulario); };
    marco.ProcesarTeclaFormulario = [](QObject *Sender, int &Key, plat::ShiftState Shift) {
        fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
    };
    marco.ProcesarTeclaPulsada = [](QObject *Sender, QChar &Key) { fGENEINIC->ProcesarTeclaPulsada(Sender, Key); };
    marco.ListarDataSetTemporal = [this](plat::DataSet &dataSet, const QString &formato, const QString &titulo) {
        ListarDataSetTemporal(dataSet, formato, titulo);
    };
    marcoBusqueda_.emplace(marcoBusqueda(), std::move(marco));

    prepararRejilla_.emplace(PrepararFormularioRejilla, [](QWidget *formulario) {
        fGENEINIC->AplicarControlesNoVisibles(formulario);
        fGENEINIC->TraducirFormulario(formulario);
    });
}
