#include "platform/ui/Components.h"

#include "platform/base/Errores.h"

#include <QVariant>

namespace plat {
namespace {

// Every listed component knows its owner through a property, so that owners need no
// search (a handler asks for the owner of its sender).
constexpr const char *kOwnerProperty = "_plat_owner";

} // namespace

ComponentOwner::~ComponentOwner()
{
    for (QObject *c : std::as_const(components_)) {
        c->setProperty(kOwnerProperty, QVariant());
        QObject::disconnect(c, &QObject::destroyed, listener_, nullptr);
    }
    components_.clear();
}

QObject *ComponentOwner::findComponent(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (QObject *c : components_)
        if (c->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return c;
    return nullptr;
}

void ComponentOwner::insertComponent(QObject *component, const QString &name)
{
    if (!component || components_.contains(component))
        return;
    if (!name.isEmpty() && findComponent(name))
        throw gp::Error(QStringLiteral("A component named %1 already exists").arg(name));
    if (!name.isEmpty())
        component->setObjectName(name);
    if (ComponentOwner *previous = ownerOf(component))
        previous->removeComponent(component);
    if (!listener_)
        listener_ = ownerObject();
    components_.append(component);
    component->setProperty(kOwnerProperty, QVariant::fromValue(static_cast<void *>(this)));
    // A component freed on its own leaves the list at once.
    QObject::connect(component, &QObject::destroyed, listener_,
                     [this, component] { components_.removeOne(component); });
}

void ComponentOwner::removeComponent(QObject *component)
{
    if (components_.removeOne(component)) {
        component->setProperty(kOwnerProperty, QVariant());
        QObject::disconnect(component, &QObject::destroyed, listener_, nullptr);
    }
}

ComponentOwner *ComponentOwner::ownerOf(const QObject *component)
{
    if (!component)
        return nullptr;
    return static_cast<ComponentOwner *>(component->property(kOwnerProperty).value<void *>());
}

} // namespace plat
