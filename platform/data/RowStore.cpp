#include "platform/data/RowStore.h"

namespace plat {

void RowStore::clear()
{
    rows_ = QVector<Row>();
}

void RowStore::stamp(Row &row, int width, qint64 id)
{
    if (row.size() != width)
        row.resize(width);
    row.append(QVariant(id));
}

qint64 RowStore::append(Row row, int width)
{
    const qint64 id = qint64(rows_.size()) + 1;
    stamp(row, width, id);
    rows_.append(std::move(row));
    return id;
}

void RowStore::replace(qint64 id, Row row, int width)
{
    const qsizetype at = index(id);
    if (at < 0)
        return;
    stamp(row, width, id);
    rows_[at] = std::move(row);
}

void RowStore::remove(qint64 id)
{
    if (const qsizetype at = index(id); at >= 0)
        rows_[at] = Row();
}

const Row &RowStore::row(qint64 id) const
{
    static const Row none;
    const qsizetype at = index(id);
    return at < 0 ? none : rows_[at];
}

Row RowStore::values(qint64 id) const
{
    Row row = this->row(id);
    if (!row.isEmpty())
        row.removeLast();
    return row;
}

QVector<qint64> RowStore::ids() const
{
    QVector<qint64> out;
    out.reserve(rows_.size());
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (!rows_[i].isEmpty())
            out.append(qint64(i) + 1);
    return out;
}

void RowOrder::clear()
{
    ids_ = QVector<qint64>();
    positionOf_ = QVector<qint64>();
}

void RowOrder::assign(QVector<qint64> ids)
{
    ids_ = std::move(ids);
    positionOf_.fill(-1);
    place(0);
}

void RowOrder::append(qint64 id)
{
    ids_.append(id);
    place(ids_.size() - 1);
}

void RowOrder::place(qsizetype from)
{
    for (qsizetype i = from; i < ids_.size(); ++i) {
        const qsizetype at = qsizetype(ids_[i] - 1);
        if (at >= positionOf_.size())
            positionOf_.resize(qMax(at + 1, 2 * positionOf_.size()), -1);
        positionOf_[at] = i;
    }
}

void RowOrder::remove(qint64 id)
{
    const qint64 at = position(id);
    if (at < 0)
        return;
    ids_.remove(qsizetype(at));
    positionOf_[qsizetype(id - 1)] = -1;
    place(qsizetype(at));
}

qint64 RowOrder::position(qint64 id) const
{
    return id >= 1 && id <= positionOf_.size() ? positionOf_[qsizetype(id - 1)] : -1;
}

} // namespace plat
