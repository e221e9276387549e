#include "platform/data/DataSet.h"
#include "platform/data/DataSetHelpers.h"

namespace plat {

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
    const std::shared_ptr<void> heldForTheRows = OnReadRows && !rows.isEmpty() ? OnReadRows(*this) : nullptr;
    const RecordKept kept(*this, DataSetState::Browse);
    for (const Row &row : rows) {
        loadRecord(row);
        out << read();
    }
    return out;
}

QVector<QVariantList> DataSet::rowValues(qint64 first, int count)
{
    return mapRows<QVariantList>(first, count, [this] {
        makeAllValues();
        return QVariantList(buffer_.begin(), buffer_.end());
    });
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

DataSet::StoredRows::StoredRows(DataSet &dataSet, const QList<int> &fieldIndexes) : dataSet_(dataSet)
{
    for (int index : fieldIndexes)
        columns_ << dataSet.field(index).column_;
    // Every stored column in its own place: the rows go out as they are read.
    wholeRows_ = columns_.size() == qsizetype(dataSet.columns().size());
    for (int i = 0; i < columns_.size() && wholeRows_; ++i)
        wholeRows_ = columns_[i] == i;
}

QVector<QVariantList> DataSet::StoredRows::next(int count)
{
    QVector<QVariantList> out;
    if (!dataSet_.active() || count <= 0)
        return out;
    const auto keep = [&](const QVariant *values) {
        out.append(QVariantList(values, values + columns_.size()));
        return true;
    };
    if (const std::optional<qsizetype> handed = dataSet_.cursorVisitStoredValues(read_, count, columns_, keep)) {
        read_ += *handed;
        return out;
    }
    const QVector<Row> rows = dataSet_.cursorRowsAfter(read_ > 0 ? &last_ : nullptr, read_, count);
    if (!rows.isEmpty()) {
        read_ += rows.size();
        last_ = rows.last();
    }
    if (wholeRows_)
        return rows;
    out.reserve(rows.size());
    for (const Row &row : rows) {
        QVariantList values;
        values.reserve(columns_.size());
        for (int column : columns_)
            values.append(row.value(column));
        out.append(std::move(values));
    }
    return out;
}

qsizetype DataSet::StoredRows::visit(int count, const Take &take)
{
    if (!dataSet_.active() || count <= 0)
        return 0;
    if (const std::optional<qsizetype> handed = dataSet_.cursorVisitStoredValues(read_, count, columns_, take)) {
        read_ += *handed;
        return *handed;
    }
    qsizetype handed = 0;
    for (const QVariantList &values : next(count)) {
        ++handed;
        if (!take(values.constData()))
            break;
    }
    return handed;
}

std::optional<SelectStatement> DataSet::StoredRows::nextSelect(int count, const QString &schema)
{
    if (!dataSet_.active() || count <= 0)
        return std::nullopt;
    return dataSet_.cursorSelectAfter(read_ > 0 ? &last_ : nullptr, count, columns_, schema);
}

void DataSet::StoredRows::skip(int count)
{
    if (count <= 0)
        return;
    // Only the last of them is read: the next rows are taken after it.
    if (std::optional<Row> last = dataSet_.cursorLastRowAfter(read_ > 0 ? &last_ : nullptr, read_, count)) {
        read_ += count;
        last_ = std::move(*last);
    }
}

std::optional<DatabaseLocation> DataSet::StoredRows::committedSource() const
{
    return dataSet_.active() ? dataSet_.cursorCommittedSource() : std::nullopt;
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

} // namespace plat
