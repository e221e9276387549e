#include "platform/data/filter/FilterCompiledNode.h"
#include "platform/data/filter/FilterExpression.h"
#include "platform/base/FechaHora.h"

#include <QStringList>

namespace plat {

namespace {

// A translated condition. A condition that SQL cannot express becomes "always true" where
// it stands under an even number of NOTs and "always false" under an odd number: the
// query then returns every record the filter accepts, and some more.
struct Sql
{
    enum class Kind { Text, AlwaysTrue, AlwaysFalse };
    Kind kind = Kind::Text;
    QString text;
};

class Translator
{
public:
    explicit Translator(const FilterSqlDialect &dialect) : dialect_(dialect) {}

    bool complete() const { return complete_; }

    Sql translate(const CompiledFilterNode &node, bool positive)
    {
        using Kind = CompiledFilterNode::Kind;
        switch (node.kind) {
        case Kind::And:
        case Kind::Or: return combine(node, positive);
        case Kind::Not: {
            const Sql inner = translate(node.terms.front(), !positive);
            if (inner.kind != Sql::Kind::Text)
                return constant(inner.kind == Sql::Kind::AlwaysFalse);
            return text(QStringLiteral("(NOT ") + inner.text + QLatin1Char(')'));
        }
        case Kind::Constant: return constant(node.constantTruth == Truth::True);
        default: break;
        }
        if (const auto condition = comparison(node))
            return text(QLatin1Char('(') + *condition + QLatin1Char(')'));
        complete_ = false;
        return constant(positive);
    }

private:
    static Sql constant(bool truth) { return {truth ? Sql::Kind::AlwaysTrue : Sql::Kind::AlwaysFalse, {}}; }
    static Sql text(const QString &sql) { return {Sql::Kind::Text, sql}; }

    Sql combine(const CompiledFilterNode &node, bool positive)
    {
        const bool isAnd = node.kind == CompiledFilterNode::Kind::And;
        // The term value that decides the whole, and the one that can be left out.
        const Sql::Kind decisive = isAnd ? Sql::Kind::AlwaysFalse : Sql::Kind::AlwaysTrue;
        QStringList parts;
        for (const auto &term : node.terms) {
            const Sql sql = translate(term, positive);
            if (sql.kind == decisive)
                return sql;
            if (sql.kind == Sql::Kind::Text)
                parts << sql.text;
        }
        if (parts.isEmpty())
            return constant(isAnd);
        if (parts.size() == 1)
            return text(parts.front());
        return text(QLatin1Char('(') + parts.join(isAnd ? QStringLiteral(" AND ") : QStringLiteral(" OR "))
                    + QLatin1Char(')'));
    }

    std::optional<QString> column(const FilterFieldRef &field, bool foldCase) const
    {
        if (field.column.isEmpty())
            return std::nullopt;
        return folded(dialect_.identifier(field.column), foldCase);
    }

    std::optional<QString> folded(const QString &sql, bool foldCase) const
    {
        if (!foldCase)
            return sql;
        const QString wrapped = dialect_.caseInsensitive(sql);
        if (wrapped.isEmpty())
            return std::nullopt;
        return wrapped;
    }

    std::optional<QString> textLiteral(const QString &text, bool foldCase) const
    {
        // A NUL character would cut the statement short in some drivers: keep it client-side.
        if (text.contains(QChar(u'\0')))
            return std::nullopt;
        return folded(dialect_.stringLiteral(text), foldCase);
    }

    std::optional<QString> literal(const CompiledFilterNode &node) const
    {
        switch (node.valueClass) {
        case ValueClass::Text: return textLiteral(node.value.text, node.foldCase);
        case ValueClass::Number: return dialect_.numberLiteral(node.value.number);
        case ValueClass::Moment:
            return dialect_.dateTimeLiteral(momentDate(node.value.key), momentTime(node.value.key));
        case ValueClass::Boolean: return dialect_.booleanLiteral(node.value.key != 0);
        case ValueClass::Time: break; // how a bare time is stored differs between engines
        }
        return std::nullopt;
    }

    std::optional<QString> comparison(const CompiledFilterNode &node) const
    {
        using Kind = CompiledFilterNode::Kind;
        if (node.valueClass == ValueClass::Time && node.kind != Kind::Blank)
            return std::nullopt;
        auto left = column(node.field, node.foldCase);
        if (!left)
            return std::nullopt;
        if (node.valueClass == ValueClass::Text && (node.kind == Kind::FieldValue || node.kind == Kind::FieldField))
            left = dialect_.binaryText(*left);
        const QString op = compareOpText(node.op);
        switch (node.kind) {
        case Kind::FieldValue: {
            const auto right = literal(node);
            if (!right)
                return std::nullopt;
            return *left + u' ' + op + u' ' + *right;
        }
        case Kind::FieldField: {
            const auto right = column(node.other, node.foldCase);
            if (!right)
                return std::nullopt;
            return *left + u' ' + op + u' ' + *right;
        }
        case Kind::Prefix: {
            const auto name = column(node.field, false);
            const auto start = folded(dialect_.leftPart(*name, int(node.value.text.toUcs4().size())), node.foldCase);
            const auto right = textLiteral(node.value.text, node.foldCase);
            if (!start || !right)
                return std::nullopt;
            return dialect_.binaryText(*start) + u' ' + op + u' ' + *right;
        }
        case Kind::Blank: return blank(node);
        default: return std::nullopt;
        }
    }

    // NULL, the empty text or the zero date; never unknown, as on the client side.
    std::optional<QString> blank(const CompiledFilterNode &node) const
    {
        const QString name = dialect_.identifier(node.field.column);
        const bool equal = node.op == CompareOp::Equal;
        QString emptyValue;
        if (node.valueClass == ValueClass::Text)
            emptyValue = dialect_.stringLiteral(QString());
        else if (node.valueClass == ValueClass::Moment)
            emptyValue = dialect_.dateTimeLiteral(FechaCero().date(), FechaCero().time());
        if (emptyValue.isEmpty())
            return name + (equal ? QStringLiteral(" IS NULL") : QStringLiteral(" IS NOT NULL"));
        if (equal)
            return name + QStringLiteral(" IS NULL OR ") + name + QStringLiteral(" = ") + emptyValue;
        return name + QStringLiteral(" IS NOT NULL AND ") + name + QStringLiteral(" <> ") + emptyValue;
    }

    const FilterSqlDialect &dialect_;
    bool complete_ = true;
};

} // namespace

FilterSql CompiledFilter::toSql(const FilterSqlDialect &dialect) const
{
    FilterSql result;
    if (!root_)
        return result;
    Translator translator(dialect);
    const Sql sql = translator.translate(*root_, true);
    result.complete = translator.complete();
    if (sql.kind == Sql::Kind::Text)
        result.condition = sql.text;
    else if (sql.kind == Sql::Kind::AlwaysFalse)
        result.condition = QStringLiteral("1 = 0");
    return result;
}

} // namespace plat
