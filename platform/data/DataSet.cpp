#include "platform/data/DataSet.h"
#include "platform/data/DataSetHelpers.h"
#include <algorithm>

namespace plat {

using namespace datasetdetail;

namespace DataSetMessages {
QString mustHaveValue(const QString &fieldName)
{
    return QStringLiteral("Field '%1' must have a value").arg(fieldName);
}
QString fieldNotFound(const QString &fieldName)
{
    return QStringLiteral("Field '%1' not found").arg(fieldName);
}
} // namespace DataSetMessages

DataSet::DataSet(QString name) : name_(std::move(name)), notifier_(std::make_unique<DataSetNotifier>()) {}

DataSet::~DataSet()
{
    QObject::disconnect(masterConnection_);
    QObject::disconnect(masterDestroyed_);
}

void DataSet::fail(const QString &message)
{
    throw gp::DatabaseError(message);
}

void DataSet::checkActive() const
{
    if (state_ == DataSetState::Inactive)
        fail(QLatin1String(DataSetMessages::closedDataSet));
}

void DataSet::checkCanModify() const
{
    if (!canModify())
        fail(QLatin1String(DataSetMessages::readOnlyDataSet));
}

// --- Fields -----------------------------------------------------------------------------

Field &DataSet::field(int index) const
{
    if (index < 0 || index >= int(fields_.size()))
        fail(QStringLiteral("Field index out of range"));
    return *fields_[size_t(index)];
}

Field *DataSet::findField(const QString &name) const
{
    const QString wanted = name.trimmed();
    for (const auto &f : fields_)
        if (f->fieldName().compare(wanted, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

Field &DataSet::fieldByName(const QString &name) const
{
    Field *f = findField(name);
    if (!f)
        fail(DataSetMessages::fieldNotFound(name));
    return *f;
}

QStringList DataSet::fieldNames() const
{
    QStringList names;
    for (const auto &f : fields_)
        names << f->fieldName();
    return names;
}

void DataSet::moveField(Field &field, int index)
{
    const int from = field.index();
    const int to = std::clamp(index, 0, fieldCount() - 1);
    if (from == to)
        return;
    const auto move = [&](auto &values) {
        if (int(values.size()) != fieldCount())
            return;
        if (from < to)
            std::rotate(values.begin() + from, values.begin() + from + 1, values.begin() + to + 1);
        else
            std::rotate(values.begin() + to, values.begin() + from, values.begin() + from + 1);
    };
    // The record buffers hold one value per field, in field order.
    makeAllValues();
    move(buffer_);
    move(oldBuffer_);
    move(keyBuffer_);
    move(fields_);
    for (size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->index_ = int(i);
    // The compiled filter reads fields by position.
    if (compiledFilter_)
        compileFilter();
    emit notifier_->fieldsMoved();
}

Field &DataSet::addCalculatedField(const QString &name, TFieldType type, int size)
{
    if (active())
        fail(QStringLiteral("Cannot perform this operation on an open dataset"));
    auto f = std::make_unique<Field>(*this, fieldDef(name, type, size), FieldKind::Calculated);
    f->index_ = int(fields_.size());
    fields_.push_back(std::move(f));
    return *fields_.back();
}

Field &DataSet::addLookupField(const QString &name, TFieldType type, int size, const QString &keyFields,
                               DataSet &lookupDataSet, const QString &lookupKeyFields,
                               const QString &lookupResultField)
{
    Field &f = addCalculatedField(name, type, size);
    f.kind_ = FieldKind::Lookup;
    f.keyFields = keyFields;
    f.lookupDataSet = &lookupDataSet;
    f.lookupKeyFields = lookupKeyFields;
    f.lookupResultField = lookupResultField;
    return f;
}

void DataSet::createFields(const QList<FieldDef> &defs)
{
    // Keep the objects (and their settings) of the columns that still exist, in the
    // source's column order, then the calculated and look-up fields.
    std::vector<std::unique_ptr<Field>> data, calculated;
    for (auto &f : fields_)
        (f->fieldKind() == FieldKind::Data ? data : calculated).push_back(std::move(f));
    fields_.clear();
    columns_.assign(defs.begin(), defs.end());
    for (int column = 0; column < defs.size(); ++column) {
        const FieldDef &def = defs[column];
        auto it = std::find_if(data.begin(), data.end(), [&](const auto &f) {
            return f && f->fieldName().compare(def.name, Qt::CaseInsensitive) == 0;
        });
        std::unique_ptr<Field> f;
        if (it != data.end()) {
            f = std::move(*it);
            const bool wasRequired = f->def_.required;
            f->def_ = def;
            if (!wasRequired)
                f->required = f->required || def.required;
        } else {
            f = std::make_unique<Field>(*this, def, FieldKind::Data);
        }
        if (def.type == ftAutoInc)
            f->required = false;
        f->column_ = column;
        fields_.push_back(std::move(f));
    }
    for (auto &f : calculated)
        fields_.push_back(std::move(f));
    for (size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->index_ = int(i);
}

int DataSet::columnOf(const QString &fieldName) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name.compare(fieldName.trimmed(), Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

const QVariant &DataSet::heldValue(const Field &field) const
{
    static const QVariant none;
    const int i = field.index();
    if (state_ == DataSetState::SetKey)
        return i >= 0 && i < keyBuffer_.size() ? keyBuffer_[i] : none;
    if (i < 0 || i >= buffer_.size())
        return none;
    if (lazy_ && !made_[size_t(i)]) {
        made_[size_t(i)] = 1;
        buffer_[i] = field.column_ >= 0 ? cursorPackedValue(packedRow_, field.column_) : QVariant();
    }
    return buffer_[i];
}

QVariant DataSet::oldFieldValue(const Field &field) const
{
    if (state_ == DataSetState::Edit)
        return oldBuffer_.value(field.index());
    if (state_ == DataSetState::Insert)
        return QVariant();
    makeAllValues();
    return buffer_.value(field.index());
}

void DataSet::setFieldValue(Field &field, const QVariant &value)
{
    checkActive();
    const int i = field.index();
    switch (state_) {
    case DataSetState::SetKey:
        keyBuffer_[i] = value;
        return;
    case DataSetState::CalcFields:
    case DataSetState::Filter:
        if (!field.isCalculated())
            fail(QLatin1String(DataSetMessages::notEditing));
        buffer_[i] = value;
        return;
    case DataSetState::Edit:
    case DataSetState::Insert:
        break;
    default:
        fail(QLatin1String(DataSetMessages::notEditing));
    }
    if (field.readOnly && !field.isCalculated())
        fail(QStringLiteral("Field '%1' cannot be modified").arg(field.fieldName()));
    if (field.OnValidate)
        field.OnValidate(field);
    makeAllValues();
    buffer_[i] = value;
    modified_ = true;
    if (field.OnChange)
        field.OnChange(field);
    if (!field.isCalculated())
        computeCalculated();
    if (!controlsDisabled())
        emit notifier_->fieldChanged(&field);
}

// --- Record buffer ----------------------------------------------------------------------

void DataSet::setEmptyBuffer()
{
    buffer_ = QVector<QVariant>(int(fields_.size()));
    currentRow_.clear();
    hasCurrent_ = false;
    lazy_ = false;
}

void DataSet::loadRecord(const Row &row)
{
    // The buffer is reused: moving from record to record allocates nothing.
    if (buffer_.size() != qsizetype(fields_.size()))
        buffer_ = QVector<QVariant>(int(fields_.size()));
    lazy_ = std::exchange(answeredPacked_, false);
    if (lazy_) {
        // The values are made as the fields are read (heldValue): until then the buffer keeps
        // the last record's, never read. The row is its number alone, kept in place.
        made_.assign(fields_.size(), 0);
        if (currentRow_.size() == 1 && currentRow_.isDetached())
            currentRow_[0].setValue(packedRow_);
        else
            currentRow_ = Row{QVariant(packedRow_)};
    } else {
        for (const auto &f : fields_)
            buffer_[f->index_] = f->column_ >= 0 && f->column_ < row.size() ? row[f->column_] : QVariant();
        currentRow_ = row;
    }
    hasCurrent_ = true;
    computeCalculated();
}

void DataSet::makeAllValues() const
{
    if (!lazy_)
        return;
    lazy_ = false;
    cursorUnpack(currentRow_);
    for (const auto &f : fields_)
        if (!made_[size_t(f->index_)])
            buffer_[f->index_] = f->column_ >= 0 ? currentRow_.value(f->column_) : QVariant();
}

void DataSet::computeCalculated()
{
    bool any = false;
    for (const auto &f : fields_) {
        if (!f->isCalculated())
            continue;
        any = true;
        buffer_[f->index_] = QVariant();
        if (lazy_)
            made_[size_t(f->index_)] = 1;
        if (f->fieldKind() == FieldKind::Lookup && f->lookupDataSet && f->lookupDataSet->active()) {
            QVariantList keys;
            for (const QString &name : splitNames(f->keyFields))
                keys << fieldByName(name).value();
            const QVariant found = f->lookupDataSet->lookup(
                f->lookupKeyFields, keys.size() == 1 ? keys.first() : QVariant(keys), f->lookupResultField);
            buffer_[f->index_] = found;
        }
    }
    if (!any || !OnCalcFields)
        return;
    const DataSetState saved = state_;
    state_ = DataSetState::CalcFields;
    try {
        OnCalcFields(*this);
    } catch (...) {
        state_ = saved;
        throw;
    }
    state_ = saved;
}

Row DataSet::bufferRow() const
{
    makeAllValues();
    Row row(int(columns_.size()));
    for (const auto &f : fields_) {
        if (f->column_ < 0)
            continue;
        QVariant v = buffer_.value(f->index_);
        // Empty strings are stored as '', never NULL, so '' compares the same everywhere.
        if (isNullValue(v) && (f->dataType() == ftString || f->dataType() == ftMemo))
            v = QString(QLatin1String(""));
        row[f->column_] = v;
    }
    return row;
}

void DataSet::restoreCurrent()
{
    makeAllValues();
    if (hasCurrent_)
        loadRecord(currentRow_);
    else
        setEmptyBuffer();
}

// --- Notifications ----------------------------------------------------------------------

void DataSet::setState(DataSetState state)
{
    if (state_ == state)
        return;
    state_ = state;
    notifyState();
}

// While controls are disabled a change is only remembered; enabling them re-emits once.
void DataSet::notify(void (DataSetNotifier::*signal)())
{
    if (controlsDisabled())
        pendingNotify_ = true;
    else
        emit (notifier_.get()->*signal)();
}

void DataSet::notifyState() { notify(&DataSetNotifier::stateChanged); }

void DataSet::notifyRecord() { notify(&DataSetNotifier::recordChanged); }

void DataSet::notifyDataSet() { notify(&DataSetNotifier::dataSetChanged); }

void DataSet::disableControls()
{
    ++controlsDisabled_;
}

void DataSet::enableControls()
{
    if (controlsDisabled_ == 0)
        return;
    if (--controlsDisabled_ == 0 && pendingNotify_) {
        pendingNotify_ = false;
        emit notifier_->stateChanged();
        emit notifier_->dataSetChanged();
        emit notifier_->recordChanged();
    }
}

void DataSet::redisplay()
{
    notifyDataSet();
    notifyRecord();
}

// --- Open and close ---------------------------------------------------------------------

void DataSet::open()
{
    if (active())
        return;
    fire(BeforeOpen);
    const QList<FieldDef> defs = cursorOpen();
    try {
        createFields(defs);
        setEmptyBuffer();
        state_ = DataSetState::Browse;
        currentIndexFields_ = cursorSetOrder(indexName_, splitNames(orderFieldNames_));
        if (master_)
            applyMasterRange();
        applyRangeForOpening();
        compileFilter();
        Row row;
        const bool found = welcomingPacked([&] { return cursorFirst(row); });
        if (found)
            loadRecord(row);
        bof_ = true;
        eof_ = !found;
    } catch (...) {
        state_ = DataSetState::Inactive;
        cursorClose();
        throw;
    }
    if (!controlsDisabled())
        emit notifier_->activeChanged(true);
    notifyState();
    notifyDataSet();
    fire(AfterOpen);
    if (hasCurrent_)
        fire(AfterScroll);
}

void DataSet::close()
{
    if (!active())
        return;
    fire(BeforeClose);
    cursorClose();
    state_ = DataSetState::Inactive;
    setEmptyBuffer();
    modified_ = false;
    eof_ = bof_ = true;
    if (!controlsDisabled())
        emit notifier_->activeChanged(false);
    notifyState();
    fire(AfterClose);
}

void DataSet::fire(const Event &event)
{
    if (event)
        event(*this);
}

// --- Defaults of a read-only source -----------------------------------------------------

Bookmark DataSet::cursorInsert(const Row &)
{
    fail(QLatin1String(DataSetMessages::readOnlyDataSet));
}

Bookmark DataSet::cursorUpdate(const Bookmark &, const Row &, const Row &)
{
    fail(QLatin1String(DataSetMessages::readOnlyDataSet));
}

void DataSet::cursorDelete(const Bookmark &, const Row &)
{
    fail(QLatin1String(DataSetMessages::readOnlyDataSet));
}

} // namespace plat
