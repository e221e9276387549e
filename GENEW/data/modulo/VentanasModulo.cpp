#include "GENEW/data/modulo/VentanasModulo.h"

Gancho<VentanasModulo *> &ganchoVentanasModulo()
{
    static Gancho<VentanasModulo *> gancho(nullptr);
    return gancho;
}

VentanasModulo &ventanasModulo()
{
    if (VentanasModulo *instaladas = ganchoVentanasModulo().valor())
        return *instaladas;
    return ventanasDelPrograma();
}
