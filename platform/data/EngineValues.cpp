#include "platform/data/EngineValues.h"

#include "platform/data/engine/SqliteQuery.h"

#include <QVarLengthArray>
#include <cstring>

namespace plat {

namespace {

enum class Tag : char { Null, Integer, Real, Text };

bool isDateType(TFieldType t)
{
    return t == ftDateTime || t == ftDate || t == ftTime;
}

// A stored date's text that reads as one (or as none): its conversion cannot fail later.
bool readsAsDate(QByteArrayView text, TFieldType read)
{
    return storedTextValue(text, read).typeId() != QMetaType::QString || text.trimmed().isEmpty();
}

template<typename T> char *put(char *at, const T &value)
{
    std::memcpy(at, &value, sizeof value);
    return at + sizeof value;
}

template<typename T> T take(const char *&at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    at += sizeof value;
    return value;
}

} // namespace

EngineValues::EngineValues(const std::vector<std::unique_ptr<Field>> &fields, const QList<TFieldType> &readTypes)
{
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
        columns_.push_back({&field, asIs, read});
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

bool EngineValues::pack(const QueryCursor &reader, QByteArray &out) const
{
    // The cells are checked first and then written with one resize: a row is some thirty
    // small pieces, which appended one by one cost more than the rest of the packing.
    QVarLengthArray<QueryCursor::Cell, 32> cells(qsizetype(columns_.size()));
    qsizetype size = 0;
    for (int i = 0; i < int(columns_.size()); ++i) {
        const AsIs asIs = columns_[size_t(i)].asIs;
        const QueryCursor::Cell &cell = cells[i] = reader.cell(i);
        switch (cell.kind) {
        case QueryCursor::Cell::Kind::Null:
            size += 1;
            break;
        case QueryCursor::Cell::Kind::Integer:
            if (asIs != AsIs::Integer && asIs != AsIs::Real)
                return false;
            size += 1 + qsizetype(sizeof cell.integer);
            break;
        case QueryCursor::Cell::Kind::Real:
            if (asIs != AsIs::Real)
                return false;
            size += 1 + qsizetype(sizeof cell.real);
            break;
        case QueryCursor::Cell::Kind::Text:
            if (asIs == AsIs::StoredDate && !readsAsDate(QByteArrayView(cell.text, cell.size), columns_[size_t(i)].read))
                return false;
            if (asIs != AsIs::Text && asIs != AsIs::StoredDate)
                return false;
            size += 1 + qsizetype(sizeof(qint32)) + cell.size;
            break;
        case QueryCursor::Cell::Kind::Other:
            return false;
        }
    }
    const qsizetype start = out.size();
    out.resize(start + size);
    char *at = out.data() + start;
    for (const QueryCursor::Cell &cell : cells) {
        switch (cell.kind) {
        case QueryCursor::Cell::Kind::Null:
            *at++ = char(Tag::Null);
            break;
        case QueryCursor::Cell::Kind::Integer:
            *at++ = char(Tag::Integer);
            at = put(at, cell.integer);
            break;
        case QueryCursor::Cell::Kind::Real:
            *at++ = char(Tag::Real);
            at = put(at, cell.real);
            break;
        case QueryCursor::Cell::Kind::Text:
            *at++ = char(Tag::Text);
            at = put(at, qint32(cell.size));
            std::memcpy(at, cell.text, size_t(cell.size));
            at += cell.size;
            break;
        case QueryCursor::Cell::Kind::Other:
            break;
        }
    }
    return true;
}

Row EngineValues::decode(QByteArrayView packed) const
{
    Row row;
    row.reserve(qsizetype(columns_.size()) + 1);
    const char *at = packed.data();
    for (const Column &c : columns_) {
        switch (Tag(*at++)) {
        case Tag::Null:
            row.append(QVariant());
            break;
        case Tag::Integer: {
            const qint64 n = take<qint64>(at);
            row.append(c.asIs == AsIs::Integer ? QVariant(qlonglong(n)) : QVariant(double(n)));
            break;
        }
        case Tag::Real:
            row.append(QVariant(take<double>(at)));
            break;
        case Tag::Text: {
            const qint32 size = take<qint32>(at);
            const QByteArrayView text(at, size);
            at += size;
            row.append(c.asIs == AsIs::Text ? QVariant(c.field->fitText(QString::fromUtf8(text)))
                                            : c.field->convert(storedTextValue(text, c.read)));
            break;
        }
        }
    }
    return row;
}

} // namespace plat
