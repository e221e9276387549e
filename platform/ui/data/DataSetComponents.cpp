#include "platform/ui/data/DataSetComponents.h"

#include <QVariant>

namespace plat {

namespace {
constexpr const char *kComponentProperty = "_plat_dataset_component";
}

DataSetComponent::DataSetComponent(std::unique_ptr<DataSet> dataSet, QObject *parent)
    : QObject(parent), dataSet_(std::move(dataSet))
{
    dataSet_->notifier()->setProperty(kComponentProperty, QVariant::fromValue(static_cast<QObject *>(this)));
    // The dataset's name is the component's name (events and messages name it).
    connect(this, &QObject::objectNameChanged, this, [this](const QString &name) { dataSet_->setName(name); });
}

DataSetComponent *DataSetComponent::of(const DataSet *dataSet)
{
    if (!dataSet)
        return nullptr;
    return qobject_cast<DataSetComponent *>(dataSet->notifier()->property(kComponentProperty).value<QObject *>());
}

TableComponent::TableComponent(QObject *parent) : DataSetComponent(std::make_unique<TableDataSet>(), parent)
{
}

QueryComponent::QueryComponent(QObject *parent) : DataSetComponent(std::make_unique<QueryDataSet>(), parent)
{
}

ClientDataSetComponent::ClientDataSetComponent(QObject *parent)
    : DataSetComponent(std::make_unique<ClientDataSet>(), parent)
{
}

} // namespace plat
