#include "platform/data/DataSet.h"
#include "platform/data/DataSetHelpers.h"

#include <QDateTime>
#include <optional>
#include <utility>

namespace plat {

using namespace datasetdetail;

// --- Indexes, keys and ranges -----------------------------------------------------------

QStringList DataSet::cursorSetOrder(const QString &indexName, const QStringList &fields)
{
    if (!indexName.isEmpty()) {
        for (const IndexDef &def : indexDefs())
            if (def.name.compare(indexName, Qt::CaseInsensitive) == 0)
                return def.fields;
        fail(QStringLiteral("Index '%1' not found").arg(indexName));
    }
    return fields;
}

void DataSet::setIndexName(const QString &name)
{
    indexName_ = name;
    orderFieldNames_.clear();
    if (!active())
        return;
    checkBrowseMode();
    range_ = {};
    currentIndexFields_ = cursorSetOrder(indexName_, {});
    if (master_)
        applyMasterRange();
    conditionsChanged();
}

QString DataSet::indexFieldNames() const
{
    return currentIndexFields_.join(u';');
}

void DataSet::setIndexFieldNames(const QString &fields)
{
    orderFieldNames_ = fields;
    indexName_.clear();
    if (!active())
        return;
    checkBrowseMode();
    range_ = {};
    currentIndexFields_ = cursorSetOrder(QString(), splitNames(fields));
    if (master_)
        applyMasterRange();
    conditionsChanged();
}

int DataSet::compareValues(const QVariant &a, const QVariant &b)
{
    const bool an = isNullValue(a), bn = isNullValue(b);
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    const auto ta = a.typeId(), tb = b.typeId();
    if (ta == QMetaType::QString || tb == QMetaType::QString) {
        const int c = a.toString().compare(b.toString());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    if (ta == QMetaType::QDateTime || tb == QMetaType::QDateTime) {
        const QDateTime x = a.toDateTime(), y = b.toDateTime();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (ta == QMetaType::QByteArray) {
        const int c = a.toByteArray().compare(b.toByteArray());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const double x = a.toDouble(), y = b.toDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
}

bool DataSet::valuesEqual(const QVariant &a, const QVariant &b, bool caseInsensitive, bool partial)
{
    if (a.typeId() == QMetaType::QString || b.typeId() == QMetaType::QString) {
        if (isNullValue(a) != isNullValue(b) && !(a.toString().isEmpty() && b.toString().isEmpty()))
            return false;
        const QString x = a.toString(), y = b.toString();
        const Qt::CaseSensitivity cs = caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
        return partial ? x.startsWith(y, cs) : x.compare(y, cs) == 0;
    }
    return compareValues(a, b) == 0;
}

int DataSet::compareKey(const Row &row, const QVariantList &values) const
{
    for (int i = 0; i < values.size() && i < currentIndexFields_.size(); ++i) {
        const int column = columnOf(currentIndexFields_[i]);
        const int c = compareValues(row.value(column), values[i]);
        if (c != 0)
            return c;
    }
    return 0;
}

namespace {
QVariantList convertKeyValues(const DataSet &ds, const QStringList &fields, const QVariantList &values)
{
    QVariantList out;
    for (int i = 0; i < values.size() && i < fields.size(); ++i)
        out << ds.fieldByName(fields[i]).convert(values[i]);
    return out;
}
} // namespace

bool DataSet::findKey(const QVariantList &values)
{
    checkActive();
    checkBrowseMode();
    if (currentIndexFields_.isEmpty())
        fail(QLatin1String(DataSetMessages::noIndex));
    const QVariantList key = convertKeyValues(*this, currentIndexFields_, values);
    Row row;
    if (!cursorSeek(key, true, row))
        return false;
    fire(BeforeScroll);
    arriveAt(row);
    return true;
}

void DataSet::findNearest(const QVariantList &values)
{
    checkActive();
    checkBrowseMode();
    if (currentIndexFields_.isEmpty())
        fail(QLatin1String(DataSetMessages::noIndex));
    const QVariantList key = convertKeyValues(*this, currentIndexFields_, values);
    fire(BeforeScroll);
    Row row;
    if (cursorSeek(key, false, row)) {
        arriveAt(row);
    } else if (cursorLast(row)) {
        loadRecord(row);
        eof_ = true;
        bof_ = false;
        afterMove(true);
    }
}

void DataSet::setKey()
{
    checkActive();
    checkBrowseMode();
    if (currentIndexFields_.isEmpty())
        fail(QLatin1String(DataSetMessages::noIndex));
    stateBeforeKey_ = state_;
    keyBuffer_ = QVector<QVariant>(int(fields_.size()));
    setState(DataSetState::SetKey);
}

QVariantList DataSet::keyFromBuffer() const
{
    QVariantList values;
    for (const QString &name : currentIndexFields_) {
        const QVariant v = keyBuffer_.value(fieldByName(name).index());
        if (isNullValue(v))
            break;
        values << v;
    }
    return values;
}

bool DataSet::gotoKey()
{
    if (state_ != DataSetState::SetKey)
        fail(QLatin1String(DataSetMessages::notEditing));
    const QVariantList values = keyFromBuffer();
    cancel();
    return findKey(values);
}

void DataSet::gotoNearest()
{
    if (state_ != DataSetState::SetKey)
        fail(QLatin1String(DataSetMessages::notEditing));
    const QVariantList values = keyFromBuffer();
    cancel();
    findNearest(values);
}

void DataSet::setRange(const QVariantList &start, const QVariantList &end)
{
    if (!active()) {
        rangeForOpening_ = {start, end};
        return;
    }
    checkBrowseMode();
    if (currentIndexFields_.isEmpty())
        fail(QLatin1String(DataSetMessages::noIndex));
    range_.start = convertKeyValues(*this, currentIndexFields_, start);
    range_.end = convertKeyValues(*this, currentIndexFields_, end);
    masterUnstored_ = false;
    conditionsChanged();
}

void DataSet::applyRangeForOpening()
{
    const KeyRange given = std::exchange(rangeForOpening_, {});
    if (!given.isActive() || currentIndexFields_.isEmpty())
        return;
    range_.start = convertKeyValues(*this, currentIndexFields_, given.start);
    range_.end = convertKeyValues(*this, currentIndexFields_, given.end);
    masterUnstored_ = false;
}

void DataSet::cancelRange()
{
    rangeForOpening_ = {};
    if (!range_.isActive())
        return;
    range_ = {};
    masterUnstored_ = false;
    if (active())
        conditionsChanged();
}

void DataSet::conditionsChanged()
{
    if (!active())
        return;
    checkBrowseMode();
    cursorReset();
    Row row;
    const bool found = cursorFirst(row);
    if (found)
        loadRecord(row);
    else
        setEmptyBuffer();
    bof_ = true;
    eof_ = !found;
    notifyDataSet();
    afterMove(found);
}

bool DataSet::hasRowConditions() const
{
    return (range_.isActive() && !cursorAppliesRange())
           || (filtered_ && ((filterTextMatches && !cursorAppliesFilterText()) || OnFilterRecord));
}

bool DataSet::acceptsRow(const Row &row)
{
    if (range_.isActive() && !cursorAppliesRange()) {
        if (!range_.start.isEmpty() && compareKey(row, range_.start) < 0)
            return false;
        if (!range_.end.isEmpty() && compareKey(row, range_.end) > 0)
            return false;
    }
    if (!filtered_)
        return true;
    if (filterTextMatches && !cursorAppliesFilterText() && !filterTextMatches(row))
        return false;
    if (OnFilterRecord) {
        // The handler reads the fields: show it the candidate row.
        const RecordKept kept(*this, DataSetState::Filter);
        loadRecord(row);
        bool accept = true;
        OnFilterRecord(*this, accept);
        return accept;
    }
    return true;
}

// --- Filter -----------------------------------------------------------------------------

namespace {

// The dataset's fields as the filter reads them: data fields by their column.
class FieldsForFilter : public FilterFields
{
public:
    explicit FieldsForFilter(const DataSet &ds) : ds_(ds) {}
    int fieldIndex(const QString &name) const override
    {
        const Field *f = ds_.findField(name);
        return f ? f->index() : -1;
    }
    TFieldType fieldType(int index) const override { return ds_.field(index).dataType(); }
    QString columnName(int index) const override
    {
        const Field &f = ds_.field(index);
        return f.isCalculated() ? QString() : f.fieldName();
    }

private:
    const DataSet &ds_;
};

} // namespace

// One source row as the filter reads it; calculated fields are worked out on demand.
class DataSet::RowForFilter : public FilterRecord
{
public:
    RowForFilter(DataSet &ds, const Row &row) : ds_(ds), row_(row) {}
    QVariant fieldValue(int index) const override
    {
        const Field &f = ds_.field(index);
        if (f.column_ >= 0)
            return row_.value(f.column_);
        if (!calculated_) {
            const RecordKept kept(ds_, ds_.state_);
            ds_.loadRecord(row_);
            ds_.makeAllValues();
            calculated_ = ds_.buffer_;
        }
        return calculated_->value(index);
    }

private:
    DataSet &ds_;
    const Row &row_;
    mutable std::optional<QVector<QVariant>> calculated_;
};

void DataSet::compileFilter()
{
    filterTextMatches = nullptr;
    compiledFilter_.reset();
    if (active() && filtered_ && !filterText_.trimmed().isEmpty()) {
        const FilterExpression expression(filterText_);
        auto compiled = std::make_shared<const CompiledFilter>(expression.compile(FieldsForFilter(*this), filterOptions_));
        compiledFilter_ = compiled;
        filterTextMatches = [this, compiled](const Row &row) { return compiled->accepts(RowForFilter(*this, row)); };
    }
    filterCompiled(compiledFilter_.get());
}

void DataSet::setFilter(const QString &text)
{
    if (text == filterText_)
        return;
    const QString previous = filterText_;
    filterText_ = text;
    try {
        compileFilter();
    } catch (...) {
        filterText_ = previous;
        compileFilter();
        throw;
    }
    if (filtered_)
        conditionsChanged();
}

void DataSet::setFiltered(bool on)
{
    if (filtered_ == on)
        return;
    filtered_ = on;
    try {
        compileFilter();
    } catch (...) {
        filtered_ = false;
        compileFilter();
        throw;
    }
    conditionsChanged();
}

void DataSet::setFilterOptions(const FilterOptions &options)
{
    filterOptions_ = options;
    compileFilter();
    if (filtered_)
        conditionsChanged();
}

// --- Master-detail ----------------------------------------------------------------------

void DataSet::setMasterSource(DataSet *master, const QString &masterFields)
{
    QObject::disconnect(masterConnection_);
    QObject::disconnect(masterDestroyed_);
    master_ = master;
    masterUnstored_ = false;
    masterFields_ = masterFields;
    if (master_) {
        DataSetNotifier *source = master_->notifier();
        masterConnection_ = QObject::connect(source, &DataSetNotifier::recordChanged, notifier_.get(),
                                             [this] { masterChanged(); });
        masterDestroyed_ = QObject::connect(source, &QObject::destroyed, notifier_.get(),
                                            [this] { master_ = nullptr; });
    }
    if (active()) {
        range_ = {};
        if (master_)
            applyMasterRange();
        conditionsChanged();
    }
}

void DataSet::applyMasterRange()
{
    const QStringList names = splitNames(masterFields_);
    QVariantList values;
    // A master with no stored record, or one being inserted, shows no detail: NULL equals no
    // stored key.
    const bool stored = master_->active() && !master_->isEmpty() && master_->state() != DataSetState::Insert;
    for (int i = 0; i < names.size() && i < currentIndexFields_.size(); ++i) {
        const QVariant v = stored ? master_->fieldByName(names[i]).value() : QVariant();
        values << (v.isValid() ? fieldByName(currentIndexFields_[i]).convert(v) : QVariant());
    }
    range_.start = values;
    range_.end = values;
    masterUnstored_ = !stored;
}

void DataSet::masterChanged()
{
    if (!active() || !master_)
        return;
    const KeyRange before = range_;
    applyMasterRange();
    if (before.start == range_.start && before.end == range_.end && state_ == DataSetState::Browse)
        return;
    conditionsChanged();
}

} // namespace plat
