#include "GENEW/runtime/formularios/ServiciosFormulario.h"

namespace {
ServiciosFormulario *instalados = nullptr;
}

ServiciosFormulario *serviciosFormulario() { return instalados; }

ServiciosFormulario *instalarServiciosFormulario(ServiciosFormulario *servicios)
{
    ServiciosFormulario *anteriores = instalados;
    instalados = servicios;
    return anteriores;
}
