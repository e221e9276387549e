#include "platform/ui/data/DataSource.h"

#include "platform/ui/Application.h"
#include "platform/ui/data/DataSetComponents.h"

#include <utility>

namespace plat {

DataSource::DataSource(QObject *parent) : QObject(parent) {}

DataSource::~DataSource() = default;

void DataSource::setDataSet(DataSet *dataSet)
{
    if (notifier_)
        disconnect(notifier_, nullptr, this, nullptr);
    dataSet_ = dataSet;
    notifier_ = dataSet ? dataSet->notifier() : nullptr;
    attach();
    emit dataSetReplaced();
}

void DataSource::attach()
{
    if (!notifier_)
        return;
    connect(notifier_, &QObject::destroyed, this, [this] {
        dataSet_ = nullptr;
        emit dataSetReplaced();
    });
    connect(notifier_, &DataSetNotifier::activeChanged, this, [this] {
        if (!enabled_)
            return;
        emit dataSetReplaced();
        if (OnStateChange.assigned())
            application().guard(this, [this] { OnStateChange(this); });
    });
    connect(notifier_, &DataSetNotifier::stateChanged, this, [this] {
        if (!enabled_)
            return;
        emit stateChanged();
        if (OnStateChange.assigned())
            application().guard(this, [this] { OnStateChange(this); });
    });
    connect(notifier_, &DataSetNotifier::recordChanged, this, [this] {
        if (!enabled_)
            return;
        emit recordChanged();
        if (OnDataChange.assigned())
            application().guard(this, [this] { OnDataChange(this, nullptr); });
    });
    connect(notifier_, &DataSetNotifier::fieldChanged, this, [this](Field *field) {
        if (!enabled_)
            return;
        emit fieldChanged(field);
        if (OnDataChange.assigned())
            application().guard(this, [this, field] { OnDataChange(this, field); });
    });
    connect(notifier_, &DataSetNotifier::dataSetChanged, this, [this] {
        if (enabled_)
            emit rowsChanged();
    });
    connect(notifier_, &DataSetNotifier::fieldsMoved, this, &DataSource::fieldsMoved);
}

void DataSource::setDataSet(DataSetComponent *component)
{
    setDataSet(component ? &component->dataSet() : nullptr);
}

DataSetState DataSource::state() const
{
    return dataSet_ ? dataSet_->state() : DataSetState::Inactive;
}

void DataSource::setEnabled(bool on)
{
    enabled_ = on;
    emit dataSetReplaced();
}

bool DataSource::Edit()
{
    if (!dataSet_ || !dataSet_->active())
        return false;
    const DataSetState s = dataSet_->state();
    if (s == DataSetState::Edit || s == DataSetState::Insert || s == DataSetState::SetKey)
        return true;
    if (!autoEdit_ || !dataSet_->canModify())
        return false;
    dataSet_->edit();
    return dataSet_->state() == DataSetState::Edit;
}

bool DataSource::UpdateRecord()
{
    updateRefused_ = false;
    emit updateRecordRequested();
    if (OnUpdateData.assigned())
        application().guard(this, [this] { OnUpdateData(this); });
    return !std::exchange(updateRefused_, false);
}

// ---- FieldLink ---------------------------------------------------------------------------

void FieldLink::setDataSource(DataSource *source)
{
    if (source_)
        disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::dataSetReplaced, this, &FieldLink::refresh);
        connect(source, &DataSource::rowsChanged, this, &FieldLink::refresh);
        connect(source, &DataSource::recordChanged, this, &FieldLink::refresh);
        connect(source, &DataSource::stateChanged, this, &FieldLink::refresh);
        // A calculated field follows every change of the record it is calculated from.
        connect(source, &DataSource::fieldChanged, this, [this](Field *f) {
            const Field *propio = field();
            if (f == propio || (propio && propio->isCalculated()))
                emit refresh();
        });
        connect(source, &DataSource::updateRecordRequested, this, &FieldLink::updateData);
    }
    emit refresh();
}

void FieldLink::setFieldName(const QString &name)
{
    fieldName_ = name;
    emit refresh();
}

Field *FieldLink::field() const
{
    DataSet *ds = source_ ? source_->dataSet() : nullptr;
    if (!ds || !ds->active() || fieldName_.isEmpty())
        return nullptr;
    return ds->findField(fieldName_);
}

bool FieldLink::canModify() const
{
    Field *f = field();
    return f && !f->readOnly && f->dataSet().canModify() && !f->isCalculated();
}

bool FieldLink::edit()
{
    return canModify() && source_->Edit();
}

bool FieldLink::editing() const
{
    const DataSetState s = source_ ? source_->state() : DataSetState::Inactive;
    return s == DataSetState::Edit || s == DataSetState::Insert || s == DataSetState::SetKey;
}

} // namespace plat
