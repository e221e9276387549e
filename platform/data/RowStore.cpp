#include "platform/data/RowStore.h"

#include <cstring>

namespace plat {

void RowStore::clear()
{
    rows_ = QVector<Row>();
    packed_ = QVector<qint64>();
    arena_ = QByteArray();
    decoder_ = nullptr;
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
    packed_.append(-1);
    return id;
}

qint64 RowStore::appendPacked(QByteArrayView packed, const RowDecoder *decoder)
{
    decoder_ = decoder;
    const qint64 id = qint64(rows_.size()) + 1;
    rows_.append(Row());
    // Each row's bytes are preceded by their length.
    packed_.append(arena_.size());
    const qint32 size = qint32(packed.size());
    arena_.append(reinterpret_cast<const char *>(&size), sizeof size);
    arena_.append(packed);
    return id;
}

bool RowStore::contains(qint64 id) const
{
    const qsizetype at = index(id);
    return at >= 0 && (!rows_[at].isEmpty() || packed_[at] >= 0);
}

void RowStore::replace(qint64 id, Row row, int width)
{
    const qsizetype at = index(id);
    if (at < 0)
        return;
    stamp(row, width, id);
    rows_[at] = std::move(row);
    packed_[at] = -1;
}

void RowStore::remove(qint64 id)
{
    if (const qsizetype at = index(id); at >= 0) {
        rows_[at] = Row();
        packed_[at] = -1;
    }
}

const Row &RowStore::row(qint64 id) const
{
    static const Row none;
    const qsizetype at = index(id);
    if (at < 0)
        return none;
    if (const qint64 start = packed_[at]; start >= 0) {
        qint32 size = 0;
        std::memcpy(&size, arena_.constData() + start, sizeof size);
        Row row = decoder_->decode(QByteArrayView(arena_.constData() + start + qint64(sizeof size), size));
        row.append(QVariant(id));
        rows_[at] = std::move(row);
        packed_[at] = -1;
    }
    return rows_[at];
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
        if (!rows_[i].isEmpty() || packed_[i] >= 0)
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
