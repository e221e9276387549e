#pragma once
// The compiled form of a filter, shared by compilation, evaluation and translation.
#include "platform/data/filter/FilterFields.h"
#include "platform/data/filter/FilterSyntax.h"
#include "platform/base/TipoCampo.h"

#include <QString>
#include <QVariant>

#include <optional>
#include <vector>

namespace plat {

// What a field's values are compared as.
enum class ValueClass { Text, Number, Moment, Time, Boolean };

// A value converted for comparison: text for Text; number for Number; key for Moment
// (milliseconds from the start of the Julian day count), Time (milliseconds of the day)
// and Boolean (0 or 1).
struct ComparableValue
{
    QString text;
    double number = 0;
    qint64 key = 0;
};

struct FilterFieldRef
{
    int index = -1;
    TFieldType type = ftUnknown;
    QString column;
};

enum class Truth { False, True, Unknown };

struct CompiledFilterNode
{
    enum class Kind {
        And,          // terms
        Or,           // terms
        Not,          // terms[0]
        Constant,     // constantTruth
        FieldValue,   // field op value
        FieldField,   // field op other
        Blank,        // field is NULL or empty (the zero date for dates); op NotEqual negates
        Prefix,       // text field begins with value.text; op NotEqual negates
    };
    Kind kind = Kind::Constant;
    std::vector<CompiledFilterNode> terms;
    CompareOp op = CompareOp::Equal;
    ValueClass valueClass = ValueClass::Text;
    bool foldCase = false;
    FilterFieldRef field, other;
    ComparableValue value;
    Truth constantTruth = Truth::True;
};

std::optional<ValueClass> valueClassOf(TFieldType type);
// A record's field value in comparable form; nullopt for NULL (or a value that cannot be read).
std::optional<ComparableValue> comparableFromVariant(const QVariant &variant, ValueClass valueClass,
                                                     TFieldType type, bool foldCase);
// The key of a date and time as Moment values hold it.
qint64 momentKey(const QDate &date, const QTime &time);
QDate momentDate(qint64 key);
QTime momentTime(qint64 key);
// Texts compared by code point, the order of the engines' binary collation.
int compareTexts(const QString &a, const QString &b);
// Whether `op` holds for a three-way comparison result (<0, 0, >0).
bool compareHolds(CompareOp op, int comparison);
Truth evaluateNode(const CompiledFilterNode &node, const FilterRecord &record);

} // namespace plat
