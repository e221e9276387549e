#pragma once
#include "platform/data/filter/FilterFields.h"
#include "platform/data/filter/FilterSqlDialect.h"

#include <QString>

#include <memory>

namespace plat {

struct FilterNode;
struct CompiledFilterNode;

struct FilterOptions
{
    // Text comparisons ignore case (Spanish letters included).
    bool caseInsensitive = false;
    // A quoted value ending in "*" compared with = or <> on a text field matches the texts
    // that begin with what comes before the "*".
    bool partialCompare = true;
};

// A filter condition ready for SQL: `condition` selects every record that the filter
// accepts (the empty text selects all). When `complete` is false some conditions could not
// be written in SQL: the condition then selects more records, and the filter must still be
// evaluated on each record the query returns.
struct FilterSql
{
    QString condition;
    bool complete = true;
};

// A filter compiled against the fields of one dataset: names resolved to indexes and every
// value converted to its field's type once, so that evaluating a record is cheap.
class CompiledFilter
{
public:
    CompiledFilter() = default;
    bool isEmpty() const { return !root_; }
    // True when the record passes. A comparison with a NULL field is neither true nor false
    // (as in SQL): the record passes only when the whole filter is true.
    bool accepts(const FilterRecord &record) const;
    FilterSql toSql(const FilterSqlDialect &dialect) const;

private:
    friend class FilterExpression;
    std::shared_ptr<const CompiledFilterNode> root_;
};

// The dataset's `Filter` text, parsed. Parse once, compile once per field layout.
// Syntax: comparisons "field op value" (or "value op field", or "field op field") with =,
// <>, <, >, <=, >=, joined by AND, OR, NOT (any case) and parentheses, over any number of
// lines. A value is 'quoted' (a doubled quote stands for one), an unquoted number, TRUE,
// FALSE or NULL. Field names are bare words, or [in brackets] / "in double quotes" when
// they hold blanks. Quoted values are read as the field's type: numbers with a decimal
// comma (or a point when there is no comma), dates as dd/mm/yyyy with an optional time.
// "field = ''", "field = NULL" and "field IS NULL" all test for a blank field: NULL, the
// empty text, or the zero date; <> and IS NOT NULL test for a value.
class FilterExpression
{
public:
    FilterExpression() = default;
    // Raises gp::DatabaseError with the problem and its position when the text is malformed.
    explicit FilterExpression(const QString &text);
    bool isEmpty() const { return !root_; }
    const QString &text() const { return text_; }
    // Raises gp::DatabaseError: "Field 'X' not found" for an unknown name, "Type mismatch in
    // expression" for a value that does not fit its field's type.
    CompiledFilter compile(const FilterFields &fields, const FilterOptions &options = {}) const;

private:
    QString text_;
    std::shared_ptr<const FilterNode> root_;
};

} // namespace plat
