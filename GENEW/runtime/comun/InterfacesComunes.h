#pragma once
// The interfaces themselves live in the platform's base, which implements them; the common
// routines add the adapter of a plain object.
#include "platform/base/InterfacesComunes.h"

// The components of a plain object: all its descendants, depth first, in the order
// QObject::findChildren gives them.
class ComponentesDeObjeto : public ListaComponentes
{
public:
    explicit ComponentesDeObjeto(const QObject *propietario);
    int numeroComponentes() const override;
    QObject *componente(int i) const override;

private:
    QList<QObject *> componentes_;
};
