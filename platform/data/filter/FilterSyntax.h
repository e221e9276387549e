#pragma once
#include <QString>

#include <memory>
#include <vector>

namespace plat {

enum class CompareOp { Equal, NotEqual, Less, Greater, LessOrEqual, GreaterOrEqual };

// One side of a comparison as written in the filter text.
struct FilterOperand
{
    enum class Kind {
        Field,   // a name, bare or in brackets / double quotes
        Quoted,  // 'text' (doubled quotes already read as one)
        Number,  // an unquoted number, kept as written
        Boolean, // TRUE or FALSE, kept as "True" / "False"
        Null,    // NULL
    };
    Kind kind = Kind::Field;
    QString text;
    int position = 0; // 1-based character position in the filter text
};

// The parse tree. AND and OR hold all their terms in one node, so that a long chain of
// conditions does not make the tree deep.
struct FilterNode
{
    enum class Kind { And, Or, Not, Compare };
    Kind kind = Kind::Compare;
    std::vector<std::unique_ptr<FilterNode>> terms; // And, Or: two or more; Not: one
    CompareOp op = CompareOp::Equal;                // Compare
    FilterOperand left, right;                      // Compare ("IS NULL" compares with Null)
    int position = 0;
};

// Deepest nesting of parentheses and NOT that a filter may have.
constexpr int kMaxFilterNesting = 100;

// Reads a filter text. An empty or blank text gives no tree (every record passes).
// A malformed text raises gp::DatabaseError naming the problem and its position.
std::unique_ptr<FilterNode> parseFilterText(const QString &text);

QString compareOpText(CompareOp op);

} // namespace plat
