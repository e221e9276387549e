#pragma once
#include "platform/data/engine/QueryResult.h"

namespace plat {

// The rows of a query read forward one at a time, so that a large answer is written out
// without first being held whole. Values come as in QueryResult. On SQLite the engine's
// statement stays open (and keeps its connection) until the cursor is destroyed.
class QueryCursor
{
public:
    virtual ~QueryCursor() = default;
    virtual const QStringList &columns() const = 0;
    virtual const QList<TFieldType> &types() const = 0;
    // Moves to the next row (the first on the first call); false past the last one.
    // A failure raises gp::DatabaseError with the engine's text.
    virtual bool next() = 0;
    virtual QVariant value(int column) const = 0;   // of the current row
    // Every remaining row will be read: a cursor that reads ahead may read more at a time.
    virtual void readingAll() {}

    // A value of the current row as the engine holds it, without a QVariant: an integer, a
    // double or UTF-8 text valid until the cursor moves; Other where the cursor cannot
    // give it so (read it with `value`). Texts are the stored texts, dates included.
    struct Cell
    {
        enum class Kind { Other, Null, Integer, Real, Text };
        Kind kind = Kind::Other;
        qint64 integer = 0;
        double real = 0;
        const char *text = nullptr;
        qsizetype size = 0;
        // Text of a float column given as `storedCell` gives it: a plain decimal (an optional
        // minus, digits, at most one point), short enough to be a finite double.
        bool decimal = false;
    };
    virtual Cell cell(int column) const
    {
        Q_UNUSED(column);
        return {};
    }
    // The same cell for keeping it as the engine gave it: a float may come as its decimal
    // text, to be made a number only when it is read.
    virtual Cell storedCell(int column) const { return cell(column); }
};

} // namespace plat
