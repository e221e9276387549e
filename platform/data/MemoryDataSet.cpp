#include "platform/data/MemoryDataSet.h"

#include <QVarLengthArray>

#include <algorithm>

namespace plat {

QList<FieldDef> MemoryDataSet::cursorOpen()
{
    const QList<FieldDef> defs = openSource();
    if (!hasRows_ || !keepRowsWhenClosed()) {
        store_.clear();
        exhausted_ = false;
        hasRows_ = true;
    }
    passedOn_ = 0;
    visible_.clear();
    position_ = -1;
    return defs;
}

void MemoryDataSet::cursorClose()
{
    closeSource();
    if (!keepRowsWhenClosed())
        discardRows();
    visible_.clear();
    position_ = -1;
}

void MemoryDataSet::discardRows()
{
    store_.clear();
    hasRows_ = false;
    exhausted_ = false;
    passedOn_ = 0;
}

void MemoryDataSet::skipPassedOn(qint64 upTo)
{
    while (!exhausted_ && upTo > passedOn_) {
        QVector<Row> skipped;
        if (!fetchRows(int(qMin<qint64>(upTo - passedOn_, 1 << 20)), skipped))
            exhausted_ = true;
        passedOn_ += skipped.size();
        if (skipped.isEmpty())
            exhausted_ = true;
    }
}

bool MemoryDataSet::passRowsOn(qint64 from, int count, QVector<Row> &rows, bool &more)
{
    checkActive();
    if (ordered() || hasRowConditions())
        return false;
    const auto wanted = [&] { return count < 0 ? -1 : count - int(rows.size()); };
    qint64 next = from;
    for (; next < visible_.size() && wanted() != 0; ++next)
        rows << store_.values(visible_.idAt(next));
    // Source rows beyond those kept: those handed over before are skipped, the rest taken.
    const qint64 kept = visible_.size();
    skipPassedOn(next - kept);
    if (!exhausted_ && wanted() != 0) {
        QVector<Row> taken;
        if (!fetchRows(wanted(), taken))
            exhausted_ = true;
        passedOn_ += taken.size();
        rows += std::move(taken);
    }
    more = next < kept || !exhausted_;
    return true;
}

bool MemoryDataSet::passRowsInto(qint64 from, int count, RowStore &store, int width, QVector<qint64> &ids,
                                 bool &more)
{
    checkActive();
    if (ordered() || hasRowConditions())
        return false;
    const qsizetype before = ids.size();
    const auto wanted = [&] { return count < 0 ? -1 : count - int(ids.size() - before); };
    qint64 next = from;
    for (; next < visible_.size() && wanted() != 0; ++next)
        ids.append(store.append(store_.values(visible_.idAt(next)), width));
    // Source rows beyond those kept: those handed over before are skipped, the rest taken.
    const qint64 kept = visible_.size();
    skipPassedOn(next - kept);
    if (!exhausted_ && wanted() != 0) {
        const qsizetype taken = ids.size();
        if (!fetchInto(wanted(), store, width, ids))
            exhausted_ = true;
        passedOn_ += ids.size() - taken;
    }
    more = next < kept || !exhausted_;
    return true;
}

bool MemoryDataSet::loadPacket()
{
    if (exhausted_ || passedOn_ > 0)
        return false;
    QVector<qint64> ids;
    const bool more = fetchInto(ordered() ? -1 : packetSize(), store_, width(), ids);
    if (!more || packetSize() < 0 || ordered())
        exhausted_ = true;
    if (ids.isEmpty()) {
        exhausted_ = true;
        return false;
    }
    if (!ordered()) {
        // A row is only read back here when a condition asks for its values.
        if (!hasRowConditions()) {
            visible_.append(ids);
        } else {
            for (qint64 id : std::as_const(ids))
                if (acceptsRow(store_.row(id)))
                    visible_.append(id);
        }
    } else {
        rebuildVisible();
    }
    return true;
}

bool MemoryDataSet::fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids)
{
    QVector<Row> rows;
    const bool more = fetchRows(count, rows);
    ids.reserve(ids.size() + rows.size());
    for (Row &row : rows)
        ids.append(store.append(std::move(row), width));
    return more;
}

void MemoryDataSet::loadAll()
{
    if (!exhausted_ && passedOn_ == 0)
        fetchingAll();
    while (loadPacket()) {
    }
}

bool MemoryDataSet::lessThan(qint64 a, qint64 b) const
{
    const Row &x = store_.row(a);
    const Row &y = store_.row(b);
    for (int column : orderColumns_) {
        const int c = compareValues(x.value(column), y.value(column));
        if (c != 0)
            return c < 0;
    }
    return a < b;
}

void MemoryDataSet::rebuildVisible()
{
    QVector<qint64> ids = store_.ids();
    if (hasRowConditions())
        ids.removeIf([this](qint64 id) { return !acceptsRow(store_.row(id)); });
    if (ordered())
        std::stable_sort(ids.begin(), ids.end(), [this](qint64 a, qint64 b) { return lessThan(a, b); });
    visible_.assign(std::move(ids));
}

bool MemoryDataSet::rowAt(qint64 position, Row &row)
{
    while (position >= visible_.size() && loadPacket()) {
    }
    if (position < 0 || position >= visible_.size())
        return false;
    position_ = position;
    const qint64 id = visible_.idAt(position);
    if (packedRowWelcome() && width() > 0 && store_.isPacked(id)) {
        // Only the row's number: the record makes the values it is asked for.
        answeredPacked(id);
    } else {
        row = store_.row(id);
    }
    return true;
}

QVariant MemoryDataSet::cursorPackedValue(qint64 rowNumber, int column) const
{
    return store_.value(rowNumber, column);
}

void MemoryDataSet::cursorUnpack(Row &row) const
{
    row = store_.row(row.value(0).toLongLong());
}

bool MemoryDataSet::cursorFirst(Row &row)
{
    return rowAt(0, row);
}

bool MemoryDataSet::cursorLast(Row &row)
{
    loadAll();
    return rowAt(visible_.size() - 1, row);
}

bool MemoryDataSet::cursorNext(Row &row)
{
    return rowAt(position_ + 1, row);
}

bool MemoryDataSet::cursorPrior(Row &row)
{
    return position_ > 0 && rowAt(position_ - 1, row);
}

bool MemoryDataSet::cursorGoto(const Bookmark &bookmark, Row &row)
{
    const qint64 id = bookmark.key.value(0).toLongLong();
    const qint64 position = visible_.position(id);
    if (position < 0)
        return false;
    position_ = position;
    row = store_.row(id);
    return true;
}

Bookmark MemoryDataSet::cursorBookmark(const Row &row) const
{
    // A row answered packed holds its number alone.
    return Bookmark{{row.size() == 1 ? row.first() : row.value(int(columns().size()))}};
}

bool MemoryDataSet::cursorSeek(const QVariantList &values, bool exact, Row &row)
{
    loadAll();
    if (!ordered()) {
        for (qint64 i = 0; i < visible_.size(); ++i)
            if (compareKey(store_.row(visible_.idAt(i)), values) == 0)
                return rowAt(i, row);
        return false;
    }
    const QVector<qint64> &ids = visible_.ids();
    const auto it = std::lower_bound(ids.cbegin(), ids.cend(), values,
                                     [this](qint64 id, const QVariantList &key) { return compareKey(store_.row(id), key) < 0; });
    if (it == ids.cend())
        return false;
    if (exact && compareKey(store_.row(*it), values) != 0)
        return false;
    return rowAt(it - ids.cbegin(), row);
}

Bookmark MemoryDataSet::cursorInsert(const Row &row)
{
    const qint64 id = store_.append(row, width());
    if (!ordered() && exhausted_ && acceptsRow(row)) {
        visible_.append(id);
    } else if (ordered() || exhausted_) {
        rebuildVisible();
    } else if (acceptsRow(row)) {
        // Rows still to arrive come after the ones read: the new row is shown at the end
        // once they are all read.
        loadAll();
        visible_.append(id);
    }
    return Bookmark{{QVariant(id)}};
}

Bookmark MemoryDataSet::cursorUpdate(const Bookmark &at, const Row &, const Row &row)
{
    const qint64 id = at.key.value(0).toLongLong();
    store_.replace(id, row, width());
    if (ordered() || hasRowConditions())
        rebuildVisible();
    return at;
}

void MemoryDataSet::cursorDelete(const Bookmark &at, const Row &)
{
    const qint64 id = at.key.value(0).toLongLong();
    store_.remove(id);
    visible_.remove(id);
}

void MemoryDataSet::cursorReset()
{
    rebuildVisible();
    position_ = -1;
}

qint64 MemoryDataSet::cursorCount()
{
    loadAll();
    return visible_.size();
}

QVector<Row> MemoryDataSet::cursorRows(qint64 first, int count)
{
    QVector<Row> rows;
    const qint64 saved = position_;
    Row row;
    for (qint64 i = first; i < first + count && rowAt(i, row); ++i)
        rows << row;
    position_ = saved;
    return rows;
}

std::optional<qsizetype> MemoryDataSet::cursorVisitStoredValues(qint64 first, int count, const QList<int> &columns,
                                                                 const StoredRows::Take &take)
{
    // A packed row gives the values asked for and stays packed; one set of values serves
    // every row.
    QVarLengthArray<QVariant, 8> values(columns.size());
    qsizetype handed = 0;
    for (qint64 position = first; position < first + count; ++position) {
        while (position >= visible_.size() && loadPacket()) {
        }
        if (position >= visible_.size())
            break;
        store_.readValues(visible_.idAt(position), columns, values.data());
        ++handed;
        if (!take(values.data()))
            break;
    }
    return handed;
}

qint64 MemoryDataSet::cursorPosition(const Row &row)
{
    return visible_.position(cursorBookmark(row).key.value(0).toLongLong());
}

QStringList MemoryDataSet::cursorSetOrder(const QString &indexName, const QStringList &fields)
{
    const QStringList wanted = DataSet::cursorSetOrder(indexName, fields);
    orderFields_.clear();
    orderColumns_.clear();
    for (const QString &name : wanted) {
        const int column = columnOf(name);
        if (column < 0)
            fail(DataSetMessages::fieldNotFound(name));
        orderColumns_ << column;
        orderFields_ << columns()[size_t(column)].name;
    }
    if (ordered())
        loadAll();
    rebuildVisible();
    return orderFields_;
}

} // namespace plat
