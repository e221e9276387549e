#include "GENEW/data/ventanas/EmpresaListado.h"

#include "GENEW/data/ventanas/busqueda/ServiciosBusqueda.h"
#include "GENEW/runtime/Geneinic.h"

#include <QVariant>

void ConectarEmpresaListado()
{
    if (!fGENEINIC || !fGENEINIC->SeleccionEmpresaActiva)
        return;
    const QVariant eleccion = BuscarRegistro(QStringLiteral("EMPRESA"), 0);
    bool entero = false;
    const int codigo = eleccion.isNull() ? 0 : eleccion.toList().value(0).toString().trimmed().toInt(&entero);
    fGENEINIC->CodigoEmpresaListado = entero ? codigo : 0;
    if (entero)
        fGENEINIC->ConectarBaseDatosEmpresa(codigo);
}
