#pragma once
#include "platform/data/DataSet.h"
#include "platform/data/RowStore.h"
#include "platform/data/engine/QueryCursor.h"

#include <memory>
#include <string>
#include <vector>

namespace plat {

// How a query's columns become its fields' values: the engine's own value where it already
// is the field's value (a text, an integer, a double, a stored date's text), the field's
// conversion otherwise. A row whose every value is of the first kind can be kept packed, as
// the engine gave it, and turned into values when it is first asked for: the same values,
// since nothing in the conversion can fail or depend on when it runs.
class EngineValues : public RowDecoder
{
public:
    using Fields = std::vector<std::unique_ptr<Field>>;
    // Shares the fields that convert: rows kept packed elsewhere outlive the query's opening.
    EngineValues(std::shared_ptr<const Fields> fields, const QList<TFieldType> &readTypes);

    // The values of the reader's current row.
    Row row(const QueryCursor &reader) const;
    // The size of the current row's values packed; -1 when one of them must be converted now.
    // The row is then written by `packInto`, before the reader moves. A packed row starts
    // with where each column after the first begins, so one value is read without walking
    // the ones before it.
    qsizetype packedSize(const QueryCursor &reader) const;
    void packInto(char *out) const;
    Row decode(QByteArrayView packed) const override;
    QVariant decodeValue(QByteArrayView packed, int column) const override;

private:
    enum class AsIs : quint8 { None, Text, Integer, Real, StoredDate };
    struct Column
    {
        const Field *field;
        AsIs asIs;
        TFieldType read;   // the type the engine reads the column as
        // The last text read: a value repeated from the row before (a sorted or grouped
        // column) shares it instead of being made again.
        mutable QByteArray lastBytes;
        mutable QString lastText;
        mutable bool hasLast = false;
    };
    QString text(const Column &column, QByteArrayView bytes) const;
    QVariant value(const QueryCursor &reader, int column) const;
    // The value whose bytes start at `at` (after its tag), which moves past them.
    QVariant take(const Column &column, char tag, const char *&at) const;
    static qsizetype cellSize(const QueryCursor::Cell &cell);
    // The width of each column's start: two bytes while a row's bytes fit them, else four.
    static int offsetWidth(qsizetype packedSize) { return packedSize <= 0xffff ? 2 : 4; }
    qsizetype offsetsSize(qsizetype packedSize) const
    {
        return qsizetype(columns_.size() > 0 ? columns_.size() - 1 : 0) * offsetWidth(packedSize);
    }

    std::shared_ptr<const Fields> fields_;
    std::vector<Column> columns_;
    mutable std::vector<QueryCursor::Cell> cells_;   // of the row being packed
    mutable qsizetype packedSize_ = 0;                // and its size
};

} // namespace plat
