#include "projects/proyectos/ListadoGrafico.h"

#include "GENEW/runtime/comun/RutinasMensajes.h"

Gancho<ImprimirListadoGraficoFn> &ganchoListadoGrafico()
{
    static Gancho<ImprimirListadoGraficoFn> gancho([](const PeticionListadoGrafico &) {});
    return gancho;
}

void ImprimirListadoGrafico(PeticionListadoGrafico peticion)
{
    peticion.VistaPrevia =
        MensajeConfirmacion(QStringLiteral("¿Desea realizar una Visualización Previa?")) == QLatin1String("SI");
    if (const ImprimirListadoGraficoFn &listar = ganchoListadoGrafico().valor())
        listar(peticion);
}
