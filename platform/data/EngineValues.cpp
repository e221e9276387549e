#include "platform/data/EngineValues.h"

#include "platform/data/engine/SqliteQuery.h"

#include <charconv>
#include <cstring>
#include <new>

namespace plat {

namespace {

// Decimal: a float's text, made the double when read.
enum class Tag : char { Null, Integer, Real, Text, Decimal };

bool isDateType(TFieldType t)
{
    return t == ftDateTime || t == ftDate || t == ftTime;
}

// A stored date's text that reads as one (or as none): its conversion cannot fail later.
bool readsAsDate(QByteArrayView text, TFieldType read)
{
    return storedTextValue(text, read).typeId() != QMetaType::QString || text.trimmed().isEmpty();
}

template<typename T> void put(std::string &out, const T &value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

template<typename T> T read(const char *&at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return value;
}

} // namespace

EngineValues::EngineValues(std::shared_ptr<const Fields> fieldsOwned, const QList<TFieldType> &readTypes)
    : fields_(std::move(fieldsOwned))
{
    const Fields &fields = *fields_;
    columns_.reserve(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        const Field &field = *fields[i];
        const TFieldType type = field.dataType();
        const TFieldType read = readTypes.value(int(i));
        AsIs asIs = AsIs::None;
        // A date column's text is read as a date first, whatever field shows it.
        if ((type == ftString || type == ftMemo || type == ftFmtMemo) && !isDateType(read))
            asIs = AsIs::Text;
        else if (type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc)
            asIs = AsIs::Integer;
        else if (type == ftFloat || type == ftCurrency || (type == ftBCD && field.definition().scale <= 0))
            asIs = AsIs::Real;
        else if (isDateType(type) && type == read)
            asIs = AsIs::StoredDate;
        columns_.push_back({&field, asIs, read, {}, {}, false});
    }
}

QString EngineValues::text(const Column &column, QByteArrayView bytes) const
{
    if (!column.hasLast || bytes != QByteArrayView(column.lastBytes)) {
        // The bytes are copied into the same buffer each time: no allocation once it is large enough.
        column.lastBytes.resize(bytes.size());
        std::memcpy(column.lastBytes.data(), bytes.data(), size_t(bytes.size()));
        column.lastText = column.field->fitText(QString::fromUtf8(bytes));
        column.hasLast = true;
    }
    return column.lastText;
}

QVariant EngineValues::value(const QueryCursor &reader, int column) const
{
    const Column &c = columns_[size_t(column)];
    const QueryCursor::Cell cell = reader.cell(column);
    switch (cell.kind) {
    case QueryCursor::Cell::Kind::Null:
        return QVariant();
    case QueryCursor::Cell::Kind::Integer:
        if (c.asIs == AsIs::Integer)
            return QVariant(qlonglong(cell.integer));
        return c.field->convert(QVariant(qlonglong(cell.integer)));
    case QueryCursor::Cell::Kind::Real:
        if (c.asIs == AsIs::Real)
            return QVariant(cell.real);
        return c.field->convert(QVariant(cell.real));
    case QueryCursor::Cell::Kind::Text:
        if (c.asIs == AsIs::Text)
            return text(c, QByteArrayView(cell.text, cell.size));
        break;
    case QueryCursor::Cell::Kind::Other:
        break;
    }
    return c.field->convert(reader.value(column));
}

Row EngineValues::row(const QueryCursor &reader) const
{
    Row row;
    row.reserve(qsizetype(columns_.size()) + 1);   // room for the row number the dataset adds
    for (int i = 0; i < int(columns_.size()); ++i)
        row.append(value(reader, i));
    return row;
}

qsizetype EngineValues::cellSize(const QueryCursor::Cell &cell)
{
    switch (cell.kind) {
    case QueryCursor::Cell::Kind::Null: return 1;
    case QueryCursor::Cell::Kind::Integer: return 1 + qsizetype(sizeof(qint64));
    case QueryCursor::Cell::Kind::Real: return 1 + qsizetype(sizeof(double));
    case QueryCursor::Cell::Kind::Text: return 1 + qsizetype(sizeof(qint32)) + cell.size;
    case QueryCursor::Cell::Kind::Other: break;
    }
    return 0;
}

qsizetype EngineValues::packedSize(const QueryCursor &reader) const
{
    cells_.resize(columns_.size());
    qsizetype size = 0;
    for (int i = 0; i < int(columns_.size()); ++i) {
        const Column &c = columns_[size_t(i)];
        // Made where it is kept: a cell copied from the stack costs more than reading it.
        QueryCursor::Cell &cell = *::new (&cells_[size_t(i)]) QueryCursor::Cell(reader.storedCell(i));
        switch (cell.kind) {
        case QueryCursor::Cell::Kind::Null:
            break;
        case QueryCursor::Cell::Kind::Integer:
            if (c.asIs != AsIs::Integer && c.asIs != AsIs::Real)
                return -1;
            break;
        case QueryCursor::Cell::Kind::Real:
            if (c.asIs != AsIs::Real)
                return -1;
            break;
        case QueryCursor::Cell::Kind::Text:
            if (cell.decimal ? c.asIs != AsIs::Real : c.asIs != AsIs::Text && c.asIs != AsIs::StoredDate)
                return -1;
            if (c.asIs == AsIs::StoredDate && !readsAsDate(QByteArrayView(cell.text, cell.size), c.read))
                return -1;
            break;
        case QueryCursor::Cell::Kind::Other:
            return -1;
        }
        size += cellSize(cell);
    }
    // The columns' starts in two bytes each where the row then still fits them.
    const qsizetype narrow = size + offsetsSize(0);
    packedSize_ = narrow <= 0xffff ? narrow : size + offsetsSize(0x10000);
    return packedSize_;
}

void EngineValues::packInto(char *start) const
{
    const int width = offsetWidth(packedSize_);
    char *out = start + offsetsSize(packedSize_);
    for (size_t i = 0; i < cells_.size(); ++i) {
        const QueryCursor::Cell &cell = cells_[i];
        if (i > 0) {
            const quint32 offset = quint32(out - start);
            if (width == 2) {
                const quint16 narrow = quint16(offset);
                std::memcpy(start + (i - 1) * 2, &narrow, sizeof narrow);
            } else {
                std::memcpy(start + (i - 1) * 4, &offset, sizeof offset);
            }
        }
        switch (cell.kind) {
        case QueryCursor::Cell::Kind::Null:
            *out++ = char(Tag::Null);
            break;
        case QueryCursor::Cell::Kind::Integer:
            *out++ = char(Tag::Integer);
            std::memcpy(out, &cell.integer, sizeof cell.integer);
            out += sizeof cell.integer;
            break;
        case QueryCursor::Cell::Kind::Real:
            *out++ = char(Tag::Real);
            std::memcpy(out, &cell.real, sizeof cell.real);
            out += sizeof cell.real;
            break;
        case QueryCursor::Cell::Kind::Text: {
            *out++ = char(cell.decimal ? Tag::Decimal : Tag::Text);
            const qint32 size = qint32(cell.size);
            std::memcpy(out, &size, sizeof size);
            out += sizeof size;
            // Short texts are the rule: a byte loop beats a call for them.
            for (qint32 i = 0; i < size; ++i)
                out[i] = cell.text[i];
            out += size;
            break;
        }
        case QueryCursor::Cell::Kind::Other:
            break;
        }
    }
}

QVariant EngineValues::take(const Column &c, char tag, const char *&at) const
{
    switch (Tag(tag)) {
    case Tag::Null:
        return QVariant();
    case Tag::Integer: {
        const qint64 n = read<qint64>(at);
        return c.asIs == AsIs::Integer ? QVariant(qlonglong(n)) : QVariant(double(n));
    }
    case Tag::Real:
        return QVariant(read<double>(at));
    case Tag::Text: {
        const qint32 size = read<qint32>(at);
        const QByteArrayView bytes(at, size);
        at += size;
        return c.asIs == AsIs::Text ? QVariant(text(c, bytes)) : c.field->convert(storedTextValue(bytes, c.read));
    }
    case Tag::Decimal: {
        // Checked when packed: read whole, and finite.
        const qint32 size = read<qint32>(at);
        double value = 0;
        std::from_chars(at, at + size, value);
        at += size;
        return QVariant(value);
    }
    }
    return QVariant();
}

Row EngineValues::decode(QByteArrayView packed) const
{
    Row row;
    row.reserve(qsizetype(columns_.size()) + 1);
    const char *at = packed.data() + offsetsSize(packed.size());
    for (const Column &c : columns_) {
        const char tag = *at++;
        row.append(take(c, tag, at));
    }
    return row;
}

QVariant EngineValues::decodeValue(QByteArrayView packed, int column) const
{
    if (column < 0 || size_t(column) >= columns_.size())
        return QVariant();
    const char *at = packed.data();
    if (column == 0) {
        at += offsetsSize(packed.size());
    } else if (offsetWidth(packed.size()) == 2) {
        quint16 offset;
        std::memcpy(&offset, at + (column - 1) * 2, sizeof offset);
        at += offset;
    } else {
        quint32 offset;
        std::memcpy(&offset, at + (column - 1) * 4, sizeof offset);
        at += offset;
    }
    const char tag = *at++;
    return take(columns_[size_t(column)], tag, at);
}

} // namespace plat
