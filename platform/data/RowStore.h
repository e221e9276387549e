#pragma once
#include "platform/data/DataSet.h"

#include <QVector>
#include <memory>
#include <vector>

namespace plat {

// Turns a packed row (see RowStore::appendPacked) back into its values.
class RowDecoder
{
public:
    virtual ~RowDecoder() = default;
    virtual Row decode(QByteArrayView packed) const = 0;
    // The one value at `column`, the same as decode(packed)[column].
    virtual QVariant decodeValue(QByteArrayView packed, int column) const = 0;
};

// The rows a memory dataset keeps, by row number (1, 2, ... in arrival order), each held
// once with its own number as a last, hidden value: a row handed out names its bookmark
// without being copied. Numbers are never reused; a removed row leaves a gap.
class RowStore
{
public:
    void clear();
    // Keeps `row` cut or padded to `width` values; answers its number.
    qint64 append(Row row, int width);
    // Keeps a row as the bytes `decoder` turns into its values the first time it is asked
    // for: a large answer costs its bytes until its rows are shown. The store shares the
    // decoder until it is cleared, so rows stay readable after their source is gone.
    qint64 appendPacked(QByteArrayView packed, const std::shared_ptr<const RowDecoder> &decoder);
    // The same for a row of `size` bytes the caller writes at `bytes` (before anything else
    // is appended): no copy of them on the way.
    qint64 appendPacked(qsizetype size, const std::shared_ptr<const RowDecoder> &decoder, char *&bytes);
    void replace(qint64 id, Row row, int width);
    void remove(qint64 id);
    bool contains(qint64 id) const;
    // The row with its number last; an empty row when there is none.
    const Row &row(qint64 id) const;
    // The row without its number, as it arrived.
    Row values(qint64 id) const;
    // Whether the row is still kept as bytes.
    bool isPacked(qint64 id) const
    {
        const qsizetype at = index(id);
        return at >= 0 && packed_.at(at) >= 0;
    }
    // One value of the row, made from its bytes when it is packed (the row stays packed).
    QVariant value(qint64 id, int column) const;
    // The values of `columns` of the row into `out`, one each, as `value` gives them.
    void readValues(qint64 id, const QList<int> &columns, QVariant *out) const;
    // Numbers of the kept rows, in arrival order.
    QVector<qint64> ids() const;
    qint64 lastId() const { return qint64(packed_.size()); }

private:
    qsizetype index(qint64 id) const { return id >= 1 && id <= packed_.size() ? qsizetype(id - 1) : -1; }
    // The row kept as values at `at`; empty while packed or removed.
    const Row &kept(qsizetype at) const
    {
        static const Row none;
        return at < rows_.size() ? rows_.at(at) : none;
    }
    // Its place, made when the rows have none yet.
    Row &unpacked(qsizetype at) const;
    // A packed row's bytes and its decoder.
    QByteArrayView packedBytes(qint64 where, const RowDecoder *&decoder) const;
    static void stamp(Row &row, int width, qint64 id);

    // Row number - 1 -> values and number; empty while packed or removed, and none at all
    // while every row is packed.
    mutable QVector<Row> rows_;
    // Where a packed row's bytes start: its block in the high half, the offset in the low one.
    const char *packedAt(qint64 where) const { return blocks_[size_t(where >> 32)].get() + (where & 0xffffffff); }
    // Room for `size` bytes, in blocks that never move (a growing buffer would copy them all).
    qint64 reserve(qsizetype size);

    mutable QVector<qint64> packed_;   // row number - 1 -> where its bytes are, -1 when none
    // Per packed row: its length, its decoder's number, its bytes.
    std::vector<std::unique_ptr<char[]>> blocks_;
    qsizetype blockUsed_ = 0, blockSize_ = 0;   // of the last block
    std::vector<std::shared_ptr<const RowDecoder>> decoders_;
};

// Where each kept row stands in the order a dataset shows them: positions by row number and
// row numbers by position, both dense.
class RowOrder
{
public:
    void clear();
    void assign(QVector<qint64> ids);
    void append(qint64 id);
    void append(const QVector<qint64> &ids);
    // Takes the row out; the rows after it move up one.
    void remove(qint64 id);
    qint64 position(qint64 id) const;   // -1 when not shown
    qint64 idAt(qint64 position) const { return ids_[qsizetype(position)]; }
    qint64 size() const { return ids_.size(); }
    const QVector<qint64> &ids() const { return ids_; }

private:
    void place(qsizetype from);

    QVector<qint64> ids_;
    QVector<qint64> positionOf_;   // row number - 1 -> position, -1 when not shown
};

} // namespace plat
