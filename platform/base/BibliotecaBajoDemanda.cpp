#include "platform/base/BibliotecaBajoDemanda.h"

#include <dlfcn.h>

namespace plat {

bool BibliotecaBajoDemanda::cargada()
{
    std::call_once(intento_, [this] {
        // Local: its symbols must not stand in for those of other libraries of the process.
        manejador_ = dlopen(fichero_, RTLD_NOW | RTLD_LOCAL);
        if (!manejador_) {
            const char *razon = dlerror();
            motivo_ = QStringLiteral("No se puede cargar la biblioteca %1: %2")
                          .arg(QString::fromLocal8Bit(fichero_), QString::fromLocal8Bit(razon ? razon : "no se encuentra"));
            return;
        }
        completa_ = resolverFunciones();
        // The library stays open for the process's life: the forwarders may be called at its very end.
    });
    return completa_;
}

QString BibliotecaBajoDemanda::motivo()
{
    cargada();
    return motivo_;
}

void *BibliotecaBajoDemanda::simbolo(const char *nombre)
{
    void *direccion = manejador_ ? dlsym(manejador_, nombre) : nullptr;
    if (!direccion && motivo_.isEmpty())
        motivo_ = QStringLiteral("La biblioteca %1 no tiene la función %2")
                      .arg(QString::fromLocal8Bit(fichero_), QString::fromLatin1(nombre));
    return direccion;
}

} // namespace plat
