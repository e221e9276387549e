#include "GENEW/runtime/comun/InterfacesComunes.h"

ComponentesDeObjeto::ComponentesDeObjeto(const QObject *propietario)
{
    if (propietario)
        componentes_ = propietario->findChildren<QObject *>();
}

int ComponentesDeObjeto::numeroComponentes() const
{
    return static_cast<int>(componentes_.size());
}

QObject *ComponentesDeObjeto::componente(int i) const
{
    return i >= 0 && i < componentes_.size() ? componentes_.at(i) : nullptr;
}
