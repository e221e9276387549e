#pragma once
#include "platform/base/InterfacesComunes.h"

#include <QList>
#include <QObject>
#include <QString>
#include <utility>

namespace plat {

// The components a form or data module owns, in the order they were created: controls,
// menus, timers, datasets. A component's name is its objectName and is unique among the
// owner's components (case ignored); the owner's Qt parent-child tree frees them.
class ComponentOwner : public ListaComponentes
{
public:
    ~ComponentOwner() override;

    // The common routines' view of the list (BuscarComponente walks it).
    int numeroComponentes() const override { return componentCount(); }
    QObject *componente(int i) const override { return component(i); }

    int componentCount() const { return components_.size(); }
    QObject *component(int index) const { return components_.value(index); }
    const QList<QObject *> &components() const { return components_; }

    // The first component whose name equals name, case ignored; nullptr when none does.
    QObject *findComponent(const QString &name) const;
    template<class T>
    T *findComponent(const QString &name) const { return qobject_cast<T *>(findComponent(name)); }

    // Adds a component at the end of the list under the given name (an empty name adds it
    // unnamed). Raises gp::Error when another component already has the name.
    void insertComponent(QObject *component, const QString &name);
    void removeComponent(QObject *component);

    // Builds a component, names it and adds it: edit = make<plat::Edit>("Edit1", panel).
    template<class T, class... Args>
    T *make(const QString &name, Args &&...args)
    {
        T *c = new T(std::forward<Args>(args)...);
        insertComponent(c, name);
        return c;
    }

    // The object that owns the list (the form or data module itself).
    virtual QObject *ownerObject() = 0;

    // The owner of a component (the form or data module whose list holds it); nullptr for
    // an object no owner lists.
    static ComponentOwner *ownerOf(const QObject *component);

private:
    QList<QObject *> components_;
    QObject *listener_ = nullptr;   // the owner object, kept for the destructor
};

} // namespace plat
