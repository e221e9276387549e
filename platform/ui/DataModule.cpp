#include "platform/ui/DataModule.h"

#include "platform/ui/Application.h"

namespace plat {

DataModule::DataModule(QObject *parent) : QObject(parent)
{
    application().addOwner(this);
}

DataModule::~DataModule()
{
    application().removeOwner(this);
}

void DataModule::afterConstruction()
{
    if (created_)
        return;
    created_ = true;
    if (OnCreate.assigned())
        application().guard(this, [this] { OnCreate(this); });
}

void DataModule::Free()
{
    if (!destroyed_) {
        destroyed_ = true;
        if (OnDestroy.assigned())
            application().guard(this, [this] { OnDestroy(this); });
    }
    delete this;
}

} // namespace plat
