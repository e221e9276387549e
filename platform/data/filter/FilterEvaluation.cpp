#include "platform/data/filter/FilterCompiledNode.h"
#include "platform/data/filter/FilterExpression.h"
#include "platform/data/filter/FilterValues.h"
#include "platform/base/FechaHora.h"
#include "platform/base/LecturaTextos.h"

namespace plat {

namespace {

constexpr qint64 kMsecsPerDay = 86400000;

template <typename T>
int threeWay(const T &a, const T &b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

int compareValues(const ComparableValue &a, const ComparableValue &b, ValueClass valueClass)
{
    switch (valueClass) {
    case ValueClass::Text: return compareTexts(a.text, b.text);
    case ValueClass::Number: return threeWay(a.number, b.number);
    default: return threeWay(a.key, b.key);
    }
}

std::optional<ComparableValue> momentFromVariant(const QVariant &variant, TFieldType type)
{
    QDate date;
    QTime time(0, 0);
    switch (variant.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime moment = variant.toDateTime();
        date = moment.date();
        time = moment.time();
        break;
    }
    case QMetaType::QDate: date = variant.toDate(); break;
    case QMetaType::QString:
    case QMetaType::QByteArray:
        if (const auto read = FilterValues::readDateTime(variant.toString())) {
            date = read->date();
            time = read->time();
        }
        break;
    default: break;
    }
    if (!date.isValid())
        return std::nullopt;
    ComparableValue value;
    value.key = momentKey(date, type == ftDate ? QTime(0, 0) : time);
    return value;
}

std::optional<ComparableValue> timeFromVariant(const QVariant &variant)
{
    QTime time;
    switch (variant.typeId()) {
    case QMetaType::QTime: time = variant.toTime(); break;
    case QMetaType::QDateTime: time = variant.toDateTime().time(); break;
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = variant.toString();
        if (const auto read = FilterValues::readTime(text))
            time = *read;
        else if (const auto moment = FilterValues::readDateTime(text))
            time = moment->time();
        break;
    }
    default: break;
    }
    if (!time.isValid())
        return std::nullopt;
    ComparableValue value;
    value.key = time.msecsSinceStartOfDay();
    return value;
}

qint64 zeroDateKey()
{
    static const qint64 key = momentKey(FechaCero().date(), FechaCero().time());
    return key;
}

bool isBlank(const CompiledFilterNode &node, const FilterRecord &record)
{
    const QVariant variant = record.fieldValue(node.field.index);
    const auto value = comparableFromVariant(variant, node.valueClass, node.field.type, false);
    if (!value)
        return true;
    if (node.valueClass == ValueClass::Text)
        return value->text.isEmpty();
    if (node.valueClass == ValueClass::Moment)
        return value->key == zeroDateKey();
    return false;
}

Truth fromBool(bool value)
{
    return value ? Truth::True : Truth::False;
}

} // namespace

std::optional<ValueClass> valueClassOf(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftMemo:
    case ftFmtMemo: return ValueClass::Text;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc: return ValueClass::Number;
    case ftDate:
    case ftDateTime: return ValueClass::Moment;
    case ftTime: return ValueClass::Time;
    case ftBoolean: return ValueClass::Boolean;
    default: return std::nullopt;
    }
}

qint64 momentKey(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * kMsecsPerDay + time.msecsSinceStartOfDay();
}

QDate momentDate(qint64 key)
{
    const qint64 day = key >= 0 ? key / kMsecsPerDay : (key - kMsecsPerDay + 1) / kMsecsPerDay;
    return QDate::fromJulianDay(day);
}

QTime momentTime(qint64 key)
{
    const qint64 msecs = key - momentDate(key).toJulianDay() * kMsecsPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(msecs));
}

int compareTexts(const QString &a, const QString &b)
{
    // UTF-16 order equals code-point order except where a surrogate (a character beyond
    // U+FFFF) meets a unit from U+E000 up: shift those units so that surrogates sort last.
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t x = a[i].unicode(), y = b[i].unicode();
        if (x == y)
            continue;
        auto rank = [](char16_t c) -> int { return c >= 0xD800 && c <= 0xDFFF ? c + 0x2000 : (c >= 0xE000 ? c - 0x800 : c); };
        return rank(x) < rank(y) ? -1 : 1;
    }
    return threeWay(a.size(), b.size());
}

bool compareHolds(CompareOp op, int comparison)
{
    switch (op) {
    case CompareOp::Equal: return comparison == 0;
    case CompareOp::NotEqual: return comparison != 0;
    case CompareOp::Less: return comparison < 0;
    case CompareOp::Greater: return comparison > 0;
    case CompareOp::LessOrEqual: return comparison <= 0;
    case CompareOp::GreaterOrEqual: return comparison >= 0;
    }
    return false;
}

std::optional<ComparableValue> comparableFromVariant(const QVariant &variant, ValueClass valueClass,
                                                     TFieldType type, bool foldCase)
{
    if (!variant.isValid() || variant.isNull())
        return std::nullopt;
    ComparableValue value;
    switch (valueClass) {
    case ValueClass::Text:
        value.text = foldCase ? Mayusculas(variant.toString()) : variant.toString();
        return value;
    case ValueClass::Number: {
        bool ok = false;
        value.number = variant.toDouble(&ok);
        if (!ok)
            return std::nullopt;
        return value;
    }
    case ValueClass::Moment: return momentFromVariant(variant, type);
    case ValueClass::Time: return timeFromVariant(variant);
    case ValueClass::Boolean:
        if (variant.typeId() == QMetaType::QString) {
            const auto flag = FilterValues::readBoolean(variant.toString());
            if (!flag)
                return std::nullopt;
            value.key = *flag ? 1 : 0;
        } else {
            value.key = variant.toBool() ? 1 : 0;
        }
        return value;
    }
    return std::nullopt;
}

Truth evaluateNode(const CompiledFilterNode &node, const FilterRecord &record)
{
    using Kind = CompiledFilterNode::Kind;
    switch (node.kind) {
    case Kind::And:
    case Kind::Or: {
        // Kleene logic: a false term decides an AND, a true term an OR.
        const Truth decisive = node.kind == Kind::And ? Truth::False : Truth::True;
        bool unknown = false;
        for (const auto &term : node.terms) {
            const Truth truth = evaluateNode(term, record);
            if (truth == decisive)
                return decisive;
            unknown = unknown || truth == Truth::Unknown;
        }
        if (unknown)
            return Truth::Unknown;
        return node.kind == Kind::And ? Truth::True : Truth::False;
    }
    case Kind::Not: {
        const Truth truth = evaluateNode(node.terms.front(), record);
        return truth == Truth::Unknown ? truth : fromBool(truth == Truth::False);
    }
    case Kind::Constant: return node.constantTruth;
    case Kind::Blank: return fromBool(isBlank(node, record) == (node.op == CompareOp::Equal));
    case Kind::FieldValue: {
        const auto value =
            comparableFromVariant(record.fieldValue(node.field.index), node.valueClass, node.field.type, node.foldCase);
        if (!value)
            return Truth::Unknown;
        return fromBool(compareHolds(node.op, compareValues(*value, node.value, node.valueClass)));
    }
    case Kind::FieldField: {
        const auto a =
            comparableFromVariant(record.fieldValue(node.field.index), node.valueClass, node.field.type, node.foldCase);
        const auto b =
            comparableFromVariant(record.fieldValue(node.other.index), node.valueClass, node.other.type, node.foldCase);
        if (!a || !b)
            return Truth::Unknown;
        return fromBool(compareHolds(node.op, compareValues(*a, *b, node.valueClass)));
    }
    case Kind::Prefix: {
        const auto value =
            comparableFromVariant(record.fieldValue(node.field.index), node.valueClass, node.field.type, node.foldCase);
        if (!value)
            return Truth::Unknown;
        return fromBool(value->text.startsWith(node.value.text) == (node.op == CompareOp::Equal));
    }
    }
    return Truth::Unknown;
}

bool CompiledFilter::accepts(const FilterRecord &record) const
{
    return !root_ || evaluateNode(*root_, record) == Truth::True;
}

} // namespace plat

