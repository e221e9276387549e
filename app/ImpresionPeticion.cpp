#include "app/ImpresionPeticion.h"

#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/ui/data/DataSetComponents.h"

void imprimirPeticionConMotor(const PeticionImpreso &peticion, const QString &salida)
{
    VistaPreviaImpreso = peticion.vistaPrevia;
    CodigoImpresoPeticion = peticion.codigoImpreso;
    FormularioMotorImpreso formulario;
    const QString propietario = fGENELIMP->objectName();
    crearTablaPeticion(*fGENELIMP->Temporal, peticion.definicionDocumentos, propietario);
    crearTablaPeticion(*fGENELIMP->LTemporal, peticion.definicionLineas, propietario);
    plat::TableDataSet &documentos = fGENELIMP->Temporal->table();
    plat::TableDataSet &lineas = fGENELIMP->LTemporal->table();
    enlazarLineas(peticion, documentos, lineas);
    rellenarPeticion(peticion, documentos, lineas);
    if (!salida.isEmpty())
        fGENELIMP->SalidaImpresion = salida;
    fGENELIMP->Imprimir();
}

namespace {

ServiciosImpresion ServiciosImpresionSesion()
{
    ServiciosImpresion s;
    s.listadoCancelado = &ListadoCancelado;
    return s;
}

} // namespace

ImpresionPeticionInstalada::ImpresionPeticionInstalada()
    : instalacion_(ganchoImprimirPeticion(), [](const PeticionImpreso &peticion) { imprimirPeticionConMotor(peticion); }),
      servicios_(ServiciosImpresionSesion())
{
}
