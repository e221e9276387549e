#pragma once
#include "platform/ui/Components.h"
#include "platform/ui/Event.h"

#include <QObject>

namespace plat {

// A data module: a named owner of non-visual components (datasets, data sources, timers)
// listed with the forms in the application's creation order.
class DataModule : public QObject, public ComponentOwner
{
    Q_OBJECT
    Q_PROPERTY(int Tag READ tag WRITE setTag)
public:
    explicit DataModule(QObject *parent = nullptr);
    ~DataModule() override;

    QString name() const { return objectName(); }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Runs OnCreate; createDataModule<D>() calls it.
    void afterConstruction();
    // Runs OnDestroy and frees the module.
    void Free();

    NotifyEvent OnCreate;
    NotifyEvent OnDestroy;

    QObject *ownerObject() override { return this; }

private:
    int tag_ = 0;
    bool created_ = false;
    bool destroyed_ = false;
};

template<class D, class... Args>
D *createDataModule(Args &&...args)
{
    D *module = new D(std::forward<Args>(args)...);
    module->afterConstruction();
    return module;
}

} // namespace plat
