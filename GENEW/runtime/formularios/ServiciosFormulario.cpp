#include "GENEW/runtime/formularios/ServiciosFormulario.h"

Gancho<ServiciosFormulario *> &ganchoServiciosFormulario()
{
    static Gancho<ServiciosFormulario *> gancho(nullptr);
    return gancho;
}
