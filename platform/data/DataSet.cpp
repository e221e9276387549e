#include "platform/data/DataSet.h"

#include <QDateTime>
#include <optional>

namespace plat {

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

namespace {

QStringList splitNames(const QString &names)
{
    QStringList out;
    for (const QString &piece : names.split(u';')) {
        const QString name = piece.trimmed();
        if (!name.isEmpty())
            out << name;
    }
    return out;
}

bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

// A scope that puts the dataset's buffer and state back whatever happens.
template<typename T> class Restore
{
public:
    explicit Restore(T &target) : target_(target), saved_(target) {}
    ~Restore() { target_ = std::move(saved_); }

private:
    T &target_;
    T saved_;
};

} // namespace

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

QVariant DataSet::fieldValue(const Field &field) const
{
    const int i = field.index();
    if (state_ == DataSetState::SetKey)
        return keyBuffer_.value(i);
    return buffer_.value(i);
}

QVariant DataSet::oldFieldValue(const Field &field) const
{
    if (state_ == DataSetState::Edit)
        return oldBuffer_.value(field.index());
    if (state_ == DataSetState::Insert)
        return QVariant();
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
}

void DataSet::loadRecord(const Row &row)
{
    buffer_ = QVector<QVariant>(int(fields_.size()));
    for (const auto &f : fields_)
        if (f->column_ >= 0)
            buffer_[f->index_] = row.value(f->column_);
    currentRow_ = row;
    hasCurrent_ = true;
    computeCalculated();
}

void DataSet::computeCalculated()
{
    bool any = false;
    for (const auto &f : fields_) {
        if (!f->isCalculated())
            continue;
        any = true;
        buffer_[f->index_] = QVariant();
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

// --- Open and close ---------------------------------------------------------------------

void DataSet::open()
{
    if (active())
        return;
    if (BeforeOpen)
        BeforeOpen(*this);
    const QList<FieldDef> defs = cursorOpen();
    try {
        createFields(defs);
        setEmptyBuffer();
        state_ = DataSetState::Browse;
        currentIndexFields_ = cursorSetOrder(indexName_, splitNames(orderFieldNames_));
        if (master_)
            applyMasterRange();
        compileFilter();
        Row row;
        const bool found = cursorFirst(row);
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
    if (AfterOpen)
        AfterOpen(*this);
    if (hasCurrent_ && AfterScroll)
        AfterScroll(*this);
}

void DataSet::close()
{
    if (!active())
        return;
    if (BeforeClose)
        BeforeClose(*this);
    cursorClose();
    state_ = DataSetState::Inactive;
    setEmptyBuffer();
    modified_ = false;
    eof_ = bof_ = true;
    if (!controlsDisabled())
        emit notifier_->activeChanged(false);
    notifyState();
    if (AfterClose)
        AfterClose(*this);
}

// --- Navigation -------------------------------------------------------------------------

bool DataSet::isEmpty() const
{
    return state_ == DataSetState::Inactive || (!hasCurrent_ && state_ != DataSetState::Insert);
}

void DataSet::afterMove(bool found)
{
    notifyRecord();
    if (found && AfterScroll)
        AfterScroll(*this);
}

// To the first or the last record; an empty dataset is at both ends.
void DataSet::moveToEnd(bool toLast)
{
    checkActive();
    checkBrowseMode();
    if (BeforeScroll)
        BeforeScroll(*this);
    Row row;
    const bool found = toLast ? cursorLast(row) : cursorFirst(row);
    if (found)
        loadRecord(row);
    else
        setEmptyBuffer();
    bof_ = !toLast || !found;
    eof_ = toLast || !found;
    afterMove(found);
}

// One record forward or back; at the end it only sets eof (or bof).
void DataSet::step(bool forward)
{
    checkActive();
    checkBrowseMode();
    if (forward ? eof_ : bof_)
        return;
    if (BeforeScroll)
        BeforeScroll(*this);
    Row row;
    if (hasCurrent_ && (forward ? cursorNext(row) : cursorPrior(row))) {
        loadRecord(row);
        (forward ? bof_ : eof_) = false;
        afterMove(true);
    } else {
        (forward ? eof_ : bof_) = true;
    }
}

void DataSet::first() { moveToEnd(false); }

void DataSet::last() { moveToEnd(true); }

void DataSet::next() { step(true); }

void DataSet::prior() { step(false); }

qint64 DataSet::moveBy(qint64 distance)
{
    qint64 moved = 0;
    for (; distance > 0 && !eof(); --distance) {
        next();
        if (!eof())
            ++moved;
    }
    for (; distance < 0 && !bof(); ++distance) {
        prior();
        if (!bof())
            --moved;
    }
    return moved;
}

qint64 DataSet::recordCount()
{
    checkActive();
    return cursorCount();
}

// --- Editing ----------------------------------------------------------------------------

void DataSet::checkBrowseMode()
{
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert) {
        if (modified_)
            post();
        else
            cancel();
    } else if (state_ == DataSetState::SetKey) {
        cancel();
    }
}

// Insert and append alike: the new record takes its place in the current order when
// it is posted.
void DataSet::beginInsert()
{
    checkActive();
    checkBrowseMode();
    checkCanModify();
    if (BeforeInsert)
        BeforeInsert(*this);
    if (BeforeScroll)
        BeforeScroll(*this);
    buffer_ = QVector<QVariant>(int(fields_.size()));
    oldBuffer_ = buffer_;
    state_ = DataSetState::Insert;
    modified_ = false;
    // A detail's new record belongs to the master's current record.
    if (master_ && master_->active()) {
        const QStringList masterNames = splitNames(masterFields_);
        for (int i = 0; i < masterNames.size() && i < currentIndexFields_.size(); ++i)
            buffer_[fieldByName(currentIndexFields_[i]).index()] = master_->fieldByName(masterNames[i]).value();
    }
    computeCalculated();
    notifyState();
    notifyRecord();
    try {
        if (OnNewRecord)
            OnNewRecord(*this);
    } catch (...) {
        state_ = DataSetState::Browse;
        restoreCurrent();
        modified_ = false;
        notifyState();
        notifyRecord();
        throw;
    }
    if (AfterInsert)
        AfterInsert(*this);
    if (AfterScroll)
        AfterScroll(*this);
}

void DataSet::append()
{
    beginInsert();
}

void DataSet::insert()
{
    beginInsert();
}

void DataSet::edit()
{
    checkActive();
    if (state_ == DataSetState::Edit || state_ == DataSetState::Insert)
        return;
    if (!hasCurrent_) {
        insert();
        return;
    }
    checkBrowseMode();
    checkCanModify();
    if (BeforeEdit)
        BeforeEdit(*this);
    // Re-read the record, so that an edit starts from what is stored now.
    runWithErrorHandler(OnEditError, [this] {
        Row row;
        if (!cursorReread(cursorBookmark(currentRow_), row))
            fail(QStringLiteral("Record/Key Deleted"));
        loadRecord(row);
    });
    oldBuffer_ = buffer_;
    modified_ = false;
    setState(DataSetState::Edit);
    notifyRecord();
    if (AfterEdit)
        AfterEdit(*this);
}

bool DataSet::runWithErrorHandler(const ErrorEvent &handler, const std::function<void()> &work)
{
    for (;;) {
        try {
            work();
            return true;
        } catch (const gp::Abort &) {
            throw;
        } catch (const gp::Error &error) {
            if (!handler)
                throw;
            DataAction action = DataAction::Fail;
            handler(*this, error, action);
            if (action == DataAction::Retry)
                continue;
            if (action == DataAction::Abort)
                throw gp::Abort();
            throw;
        }
    }
}

void DataSet::checkRequired() const
{
    for (const auto &f : fields_) {
        if (!f->required || f->isCalculated() || f->dataType() == ftAutoInc)
            continue;
        const QVariant v = buffer_.value(f->index());
        if (isNullValue(v) || (v.typeId() == QMetaType::QString && v.toString().isEmpty()))
            fail(DataSetMessages::mustHaveValue(f->fieldName()));
    }
}

void DataSet::internalPost()
{
    Bookmark written;
    // A handler may mend the record and retry: each attempt reads the buffer afresh.
    runWithErrorHandler(OnPostError, [&] {
        checkRequired();
        const Row row = bufferRow();
        if (state_ == DataSetState::Insert)
            written = cursorInsert(row);
        else
            written = cursorUpdate(cursorBookmark(currentRow_), currentRow_, row);
    });
    // Stay on the record, at its place in the current order.
    Row stored;
    if (written.isValid() && cursorGoto(written, stored)) {
        loadRecord(stored);
    } else if (cursorFirst(stored)) {
        loadRecord(stored);
    } else {
        setEmptyBuffer();
    }
    eof_ = bof_ = !hasCurrent_;
}

void DataSet::post()
{
    checkActive();
    if (state_ == DataSetState::SetKey) {
        cancel();
        return;
    }
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    if (BeforePost)
        BeforePost(*this);
    internalPost();
    modified_ = false;
    setState(DataSetState::Browse);
    notifyDataSet();
    notifyRecord();
    if (AfterPost)
        AfterPost(*this);
}

void DataSet::cancel()
{
    checkActive();
    if (state_ == DataSetState::SetKey) {
        keyBuffer_.clear();
        setState(stateBeforeKey_);
        return;
    }
    if (state_ != DataSetState::Edit && state_ != DataSetState::Insert)
        return;
    if (BeforeCancel)
        BeforeCancel(*this);
    modified_ = false;
    state_ = DataSetState::Browse;
    restoreCurrent();
    notifyState();
    notifyRecord();
    if (AfterCancel)
        AfterCancel(*this);
}

void DataSet::remove()
{
    checkActive();
    if (state_ == DataSetState::Insert || state_ == DataSetState::SetKey) {
        cancel();
        return;
    }
    if (!hasCurrent_)
        fail(QLatin1String(DataSetMessages::emptyDataSet));
    checkCanModify();
    if (BeforeDelete)
        BeforeDelete(*this);
    if (BeforeScroll)
        BeforeScroll(*this);
    if (state_ == DataSetState::Edit) {
        state_ = DataSetState::Browse;
        restoreCurrent();
    }
    const Row doomed = currentRow_;
    const Bookmark at = cursorBookmark(doomed);
    // Where to stand afterwards: the next record, else the one before.
    Row neighbour;
    bool hasNeighbour = cursorNext(neighbour);
    if (!hasNeighbour) {
        Row back;
        if (cursorGoto(at, back))
            hasNeighbour = cursorPrior(neighbour);
    }
    const Bookmark neighbourMark = hasNeighbour ? cursorBookmark(neighbour) : Bookmark();
    try {
        runWithErrorHandler(OnDeleteError, [&] { cursorDelete(at, doomed); });
    } catch (...) {
        Row back;
        if (cursorGoto(at, back))
            loadRecord(back);
        throw;
    }
    Row row;
    if (neighbourMark.isValid() && cursorGoto(neighbourMark, row))
        loadRecord(row);
    else if (cursorFirst(row))
        loadRecord(row);
    else
        setEmptyBuffer();
    eof_ = bof_ = !hasCurrent_;
    modified_ = false;
    setState(DataSetState::Browse);
    notifyDataSet();
    notifyRecord();
    if (AfterDelete)
        AfterDelete(*this);
    if (AfterScroll)
        AfterScroll(*this);
}

void DataSet::refresh()
{
    checkActive();
    checkBrowseMode();
    if (BeforeRefresh)
        BeforeRefresh(*this);
    const Bookmark at = bookmark();
    cursorReset();
    Row row;
    if (at.isValid() && cursorGoto(at, row))
        loadRecord(row);
    else if (cursorFirst(row))
        loadRecord(row);
    else
        setEmptyBuffer();
    eof_ = bof_ = !hasCurrent_;
    notifyDataSet();
    notifyRecord();
    if (AfterRefresh)
        AfterRefresh(*this);
}

// --- Bookmarks --------------------------------------------------------------------------

Bookmark DataSet::bookmark() const
{
    if (!active() || !hasCurrent_ || state_ == DataSetState::Insert)
        return {};
    return cursorBookmark(currentRow_);
}

void DataSet::gotoBookmark(const Bookmark &bookmark)
{
    checkActive();
    checkBrowseMode();
    if (BeforeScroll)
        BeforeScroll(*this);
    Row row;
    if (!bookmark.isValid() || !cursorGoto(bookmark, row))
        fail(QStringLiteral("Record/Key Deleted"));
    loadRecord(row);
    eof_ = bof_ = false;
    afterMove(true);
}

bool DataSet::bookmarkValid(const Bookmark &bookmark)
{
    if (!active() || !bookmark.isValid())
        return false;
    Row row;
    const bool ok = cursorGoto(bookmark, row);
    if (hasCurrent_)
        cursorGoto(cursorBookmark(currentRow_), row);
    return ok;
}

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
    if (BeforeScroll)
        BeforeScroll(*this);
    loadRecord(row);
    eof_ = bof_ = false;
    afterMove(true);
    return true;
}

void DataSet::findNearest(const QVariantList &values)
{
    checkActive();
    checkBrowseMode();
    if (currentIndexFields_.isEmpty())
        fail(QLatin1String(DataSetMessages::noIndex));
    const QVariantList key = convertKeyValues(*this, currentIndexFields_, values);
    if (BeforeScroll)
        BeforeScroll(*this);
    Row row;
    if (cursorSeek(key, false, row)) {
        loadRecord(row);
        eof_ = bof_ = false;
        afterMove(true);
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
    checkActive();
    checkBrowseMode();
    if (currentIndexFields_.isEmpty())
        fail(QLatin1String(DataSetMessages::noIndex));
    range_.start = convertKeyValues(*this, currentIndexFields_, start);
    range_.end = convertKeyValues(*this, currentIndexFields_, end);
    conditionsChanged();
}

void DataSet::cancelRange()
{
    if (!range_.isActive())
        return;
    range_ = {};
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
        Restore<QVector<QVariant>> keepBuffer(buffer_);
        Restore<Row> keepRow(currentRow_);
        Restore<bool> keepCurrent(hasCurrent_);
        Restore<DataSetState> keepState(state_);
        loadRecord(row);
        state_ = DataSetState::Filter;
        bool accept = true;
        OnFilterRecord(*this, accept);
        return accept;
    }
    return true;
}

// --- Locate and look-up -----------------------------------------------------------------

bool DataSet::cursorLocate(const QStringList &fields, const QVariantList &values, LocateOptions options, Row &row)
{
    QVector<int> columns;
    for (const QString &f : fields)
        columns << columnOf(f);
    const bool ci = options.testFlag(LocateOption::CaseInsensitive);
    const bool partial = options.testFlag(LocateOption::PartialKey);
    Row candidate;
    for (bool more = cursorFirst(candidate); more; more = cursorNext(candidate)) {
        bool match = true;
        for (int i = 0; i < columns.size() && match; ++i)
            match = valuesEqual(candidate.value(columns[i]), values.value(i), ci, partial);
        if (match) {
            row = candidate;
            return true;
        }
    }
    return false;
}

namespace {
QVariantList valueList(const QVariant &values, int count)
{
    if (count > 1 || values.typeId() == QMetaType::QVariantList || values.typeId() == QMetaType::QStringList)
        return values.toList();
    return {values};
}
} // namespace

bool DataSet::locate(const QString &fields, const QVariant &values, LocateOptions options)
{
    checkActive();
    checkBrowseMode();
    const QStringList names = splitNames(fields);
    QVariantList raw = valueList(values, int(names.size()));
    QVariantList wanted;
    for (int i = 0; i < names.size(); ++i) {
        Field &f = fieldByName(names[i]);
        if (f.isCalculated())
            fail(DataSetMessages::fieldNotFound(names[i]));
        const QVariant v = raw.value(i);
        // A partial key on a string field is compared as typed.
        wanted << (f.dataType() == ftString || f.dataType() == ftMemo ? QVariant(v.toString()) : f.convert(v));
    }
    Row row;
    const bool found = cursorLocate(names, wanted, options, row);
    if (!found) {
        if (hasCurrent_) {
            Row back;
            cursorGoto(cursorBookmark(currentRow_), back);
        }
        return false;
    }
    if (BeforeScroll)
        BeforeScroll(*this);
    loadRecord(row);
    eof_ = bof_ = false;
    afterMove(true);
    return true;
}

QVariant DataSet::lookup(const QString &keyFields, const QVariant &keyValues, const QString &resultFields)
{
    if (!active())
        return QVariant();
    const QStringList names = splitNames(keyFields);
    QVariantList raw = valueList(keyValues, int(names.size()));
    QVariantList wanted;
    for (int i = 0; i < names.size(); ++i) {
        Field &f = fieldByName(names[i]);
        wanted << (f.dataType() == ftString ? QVariant(raw.value(i).toString()) : f.convert(raw.value(i)));
    }
    Row row;
    const bool found = cursorLocate(names, wanted, {}, row);
    if (hasCurrent_) {
        Row back;
        cursorGoto(cursorBookmark(currentRow_), back);
    }
    if (!found)
        return QVariant();
    const QStringList results = splitNames(resultFields);
    QVariantList out;
    for (const QString &name : results) {
        const int column = columnOf(name);
        if (column < 0)
            fail(DataSetMessages::fieldNotFound(name));
        out << row.value(column);
    }
    return out.size() == 1 ? out.first() : QVariant(out);
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
            Restore<QVector<QVariant>> keepBuffer(ds_.buffer_);
            Restore<Row> keepRow(ds_.currentRow_);
            Restore<bool> keepCurrent(ds_.hasCurrent_);
            ds_.loadRecord(row_);
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
    for (int i = 0; i < names.size() && i < currentIndexFields_.size(); ++i) {
        const QVariant v = master_->active() && !master_->isEmpty() ? master_->fieldByName(names[i]).value()
                                                                    : QVariant();
        // A master with no record shows no detail: NULL equals no stored key.
        values << (v.isValid() ? fieldByName(currentIndexFields_[i]).convert(v) : QVariant());
    }
    range_.start = values;
    range_.end = values;
}

void DataSet::masterChanged()
{
    if (!active() || !master_ || master_->state() == DataSetState::Insert)
        return;
    const KeyRange before = range_;
    applyMasterRange();
    if (before.start == range_.start && before.end == range_.end && state_ == DataSetState::Browse)
        return;
    conditionsChanged();
}

// --- Grids ------------------------------------------------------------------------------

qint64 DataSet::rowCount()
{
    return active() ? cursorCount() : 0;
}

qint64 DataSet::rowCountWithoutReading()
{
    return active() ? cursorCountWithoutReading() : 0;
}

template<typename Out>
QVector<Out> DataSet::mapRows(qint64 first, int count, const std::function<Out()> &read)
{
    QVector<Out> out;
    if (!active() || count <= 0)
        return out;
    const QVector<Row> rows = cursorRows(first, count);
    Restore<QVector<QVariant>> keepBuffer(buffer_);
    Restore<Row> keepRow(currentRow_);
    Restore<bool> keepCurrent(hasCurrent_);
    Restore<DataSetState> keepState(state_);
    state_ = DataSetState::Browse;
    for (const Row &row : rows) {
        loadRecord(row);
        out << read();
    }
    return out;
}

QVector<QVariantList> DataSet::rowValues(qint64 first, int count)
{
    return mapRows<QVariantList>(first, count, [this] { return QVariantList(buffer_.begin(), buffer_.end()); });
}

QVector<QStringList> DataSet::rowDisplayTexts(qint64 first, int count)
{
    return mapRows<QStringList>(first, count, [this] {
        QStringList texts;
        for (const auto &f : fields_)
            texts << f->displayText();
        return texts;
    });
}

qint64 DataSet::currentRow()
{
    if (!active() || !hasCurrent_ || state_ == DataSetState::Insert)
        return -1;
    return cursorPosition(currentRow_);
}

void DataSet::moveToRow(qint64 row)
{
    checkActive();
    const QVector<Row> rows = cursorRows(row, 1);
    if (rows.isEmpty())
        return;
    gotoBookmark(cursorBookmark(rows.first()));
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
