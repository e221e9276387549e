#include "platform/data/RowStore.h"

#include <cstring>
#include <memory>

namespace plat {

void RowStore::clear()
{
    rows_ = QVector<Row>();
    packed_ = QVector<qint64>();
    blocks_.clear();
    blockUsed_ = blockSize_ = 0;
    decoders_.clear();
}

void RowStore::stamp(Row &row, int width, qint64 id)
{
    if (row.size() != width)
        row.resize(width);
    row.append(QVariant(id));
}

qint64 RowStore::append(Row row, int width)
{
    const qint64 id = lastId() + 1;
    stamp(row, width, id);
    packed_.append(-1);
    unpacked(qsizetype(id - 1)) = std::move(row);
    return id;
}

Row &RowStore::unpacked(qsizetype at) const
{
    // Rows kept packed have no place here until one of them is unpacked: then every row
    // gets one at once.
    if (at >= rows_.size())
        rows_.resize(packed_.size());
    return rows_[at];
}

namespace {

struct PackedHeader
{
    qint32 size;
    qint32 decoder;
};

} // namespace

qint64 RowStore::appendPacked(QByteArrayView packed, const std::shared_ptr<const RowDecoder> &decoder)
{
    char *bytes = nullptr;
    const qint64 id = appendPacked(packed.size(), decoder, bytes);
    if (!packed.isEmpty())
        std::memcpy(bytes, packed.data(), size_t(packed.size()));
    return id;
}

qint64 RowStore::appendPacked(qsizetype size, const std::shared_ptr<const RowDecoder> &decoder, char *&bytes)
{
    // A query reopened between packets brings a decoder of its own; earlier rows keep theirs.
    if (decoders_.empty() || decoders_.back() != decoder)
        decoders_.push_back(decoder);
    const qint64 id = lastId() + 1;
    const PackedHeader header{qint32(size), qint32(decoders_.size() - 1)};
    const qint64 where = reserve(qsizetype(sizeof header) + size);
    char *at = const_cast<char *>(packedAt(where));
    std::memcpy(at, &header, sizeof header);
    bytes = at + sizeof header;
    packed_.append(where);
    return id;
}

qint64 RowStore::reserve(qsizetype size)
{
    constexpr qsizetype blockSize = qsizetype(1) << 18;
    if (blocks_.empty() || blockSize_ - blockUsed_ < size) {
        blockSize_ = qMax(blockSize, size);
        // Not cleared: every byte is written before it is read.
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size_t(blockSize_)));
        blockUsed_ = 0;
    }
    const qint64 where = (qint64(blocks_.size() - 1) << 32) | qint64(blockUsed_);
    blockUsed_ += size;
    return where;
}

bool RowStore::contains(qint64 id) const
{
    const qsizetype at = index(id);
    return at >= 0 && (packed_.at(at) >= 0 || !kept(at).isEmpty());
}

void RowStore::replace(qint64 id, Row row, int width)
{
    const qsizetype at = index(id);
    if (at < 0)
        return;
    stamp(row, width, id);
    unpacked(at) = std::move(row);
    packed_[at] = -1;
}

void RowStore::remove(qint64 id)
{
    if (const qsizetype at = index(id); at >= 0) {
        if (at < rows_.size())
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
    if (const qint64 start = packed_.at(at); start >= 0) {
        const RowDecoder *decoder = nullptr;
        const QByteArrayView bytes = packedBytes(start, decoder);
        Row row = decoder->decode(bytes);
        row.append(QVariant(id));
        unpacked(at) = std::move(row);
        packed_[at] = -1;
    }
    return kept(at);
}

QByteArrayView RowStore::packedBytes(qint64 where, const RowDecoder *&decoder) const
{
    const char *bytes = packedAt(where);
    PackedHeader header;
    std::memcpy(&header, bytes, sizeof header);
    decoder = decoders_[size_t(header.decoder)].get();
    return QByteArrayView(bytes + sizeof header, header.size);
}

QVariant RowStore::value(qint64 id, int column) const
{
    const qsizetype at = index(id);
    if (at < 0)
        return QVariant();
    const qint64 start = packed_.at(at);
    if (start < 0)
        return kept(at).value(column);
    const RowDecoder *decoder = nullptr;
    const QByteArrayView bytes = packedBytes(start, decoder);
    return decoder->decodeValue(bytes, column);
}

void RowStore::readValues(qint64 id, const QList<int> &columns, QVariant *out) const
{
    const qsizetype at = index(id);
    const qint64 start = at < 0 ? -1 : packed_.at(at);
    if (start < 0) {
        for (qsizetype i = 0; i < columns.size(); ++i)
            out[i] = at < 0 ? QVariant() : kept(at).value(columns[i]);
        return;
    }
    const RowDecoder *decoder = nullptr;
    const QByteArrayView bytes = packedBytes(start, decoder);
    for (qsizetype i = 0; i < columns.size(); ++i)
        out[i] = decoder->decodeValue(bytes, columns[i]);
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
    out.reserve(packed_.size());
    for (qsizetype i = 0; i < packed_.size(); ++i)
        if (packed_.at(i) >= 0 || !kept(i).isEmpty())
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

void RowOrder::append(const QVector<qint64> &ids)
{
    const qsizetype from = ids_.size();
    ids_ += ids;
    place(from);
}

void RowOrder::place(qsizetype from)
{
    const QVector<qint64> &ids = ids_;
    qint64 highest = 0;
    for (qsizetype i = from; i < ids.size(); ++i)
        highest = qMax(highest, ids[i]);
    if (highest > positionOf_.size())
        positionOf_.resize(qMax(qsizetype(highest), 2 * positionOf_.size()), -1);
    qint64 *positions = positionOf_.data();
    for (qsizetype i = from; i < ids.size(); ++i)
        positions[ids[i] - 1] = i;
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
