#include "platform/data/DataSet.h"
#include "platform/data/DataSetHelpers.h"

namespace plat {

using namespace datasetdetail;

// --- Navigation -------------------------------------------------------------------------

bool DataSet::isEmpty() const
{
    return state_ == DataSetState::Inactive || (!hasCurrent_ && state_ != DataSetState::Insert);
}

void DataSet::arriveAt(const Row &row)
{
    loadRecord(row);
    eof_ = bof_ = false;
    afterMove(true);
}

void DataSet::settleOn(const Bookmark &preferred)
{
    Row row;
    if (preferred.isValid() && cursorGoto(preferred, row))
        loadRecord(row);
    else if (welcomingPacked([&] { return cursorFirst(row); }))
        loadRecord(row);
    else
        setEmptyBuffer();
    eof_ = bof_ = !hasCurrent_;
}

void DataSet::backToBrowse()
{
    state_ = DataSetState::Browse;
    restoreCurrent();
    modified_ = false;
    notifyState();
    notifyRecord();
}

void DataSet::afterMove(bool found)
{
    notifyRecord();
    if (found)
        fire(AfterScroll);
}

// To the first or the last record; an empty dataset is at both ends.
void DataSet::moveToEnd(bool toLast)
{
    checkActive();
    checkBrowseMode();
    fire(BeforeScroll);
    Row row;
    const bool found = welcomingPacked([&] { return toLast ? cursorLast(row) : cursorFirst(row); });
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
    fire(BeforeScroll);
    Row row;
    if (hasCurrent_ && welcomingPacked([&] { return forward ? cursorNext(row) : cursorPrior(row); })) {
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
    fire(BeforeScroll);
    Row row;
    if (!bookmark.isValid() || !cursorGoto(bookmark, row))
        fail(QStringLiteral("Record/Key Deleted"));
    arriveAt(row);
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
    fire(BeforeScroll);
    arriveAt(row);
    return true;
}

bool DataSet::cursorLookup(const QStringList &fields, const QVariantList &values, const QVector<int> &, Row &row)
{
    const bool found = cursorLocate(fields, values, {}, row);
    if (hasCurrent_) {
        Row back;
        cursorGoto(cursorBookmark(currentRow_), back);
    }
    return found;
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
    const QStringList results = splitNames(resultFields);
    QVector<int> resultColumns;
    for (const QString &name : results)
        if (const int column = columnOf(name); column >= 0)
            resultColumns << column;
    Row row;
    if (!cursorLookup(names, wanted, resultColumns, row))
        return QVariant();
    QVariantList out;
    for (const QString &name : results) {
        const int column = columnOf(name);
        if (column < 0)
            fail(DataSetMessages::fieldNotFound(name));
        out << row.value(column);
    }
    return out.size() == 1 ? out.first() : QVariant(out);
}

} // namespace plat
