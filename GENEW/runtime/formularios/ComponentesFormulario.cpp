#include "GENEW/runtime/formularios/ComponentesFormulario.h"

#include "platform/ui/Components.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataSetComponents.h"

QList<QObject *> componentesDe(QObject *formulario)
{
    if (auto *propietario = dynamic_cast<plat::ComponentOwner *>(formulario))
        return propietario->components();
    return {};
}

QList<plat::DataSet *> dataSetsDe(QObject *formulario)
{
    QList<plat::DataSet *> dataSets;
    for (QObject *componente : componentesDe(formulario)) {
        if (auto *ds = qobject_cast<plat::DataSetComponent *>(componente))
            dataSets << &ds->dataSet();
    }
    return dataSets;
}

namespace {
QString nombrePropietario(const QObject *componente)
{
    for (QObject *p = componente->parent(); p; p = p->parent()) {
        if (dynamic_cast<plat::ComponentOwner *>(p))
            return p->objectName();
    }
    return QString();
}
} // namespace

QString claveControl(const QObject *componente) { return nombrePropietario(componente) + u'.' + componente->objectName(); }

QString claveCampoRejilla(const plat::DBGrid &rejilla, const plat::Field &campo)
{
    plat::DataSet *ds = rejilla.dataSet();
    return claveControl(&rejilla) + u'.' + (ds ? ds->name() : QString()) + campo.fieldName();
}

QObject *componenteDeClave(QObject *formulario, const QString &clave)
{
    const QString nombre = clave.section(u'.', 1, 1);
    if (auto *propietario = dynamic_cast<plat::ComponentOwner *>(formulario))
        return nombre.isEmpty() ? nullptr : propietario->findComponent(nombre);
    return nullptr;
}
