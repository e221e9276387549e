#include "platform/data/filter/FilterExpression.h"

#include "platform/data/filter/FilterCompiledNode.h"
#include "platform/data/filter/FilterValues.h"
#include "platform/base/Errores.h"
#include "platform/base/LecturaTextos.h"

namespace plat {

namespace {

[[noreturn]] void typeMismatch()
{
    throw gp::DatabaseError(QStringLiteral("Type mismatch in expression"));
}

CompareOp mirrored(CompareOp op)
{
    switch (op) {
    case CompareOp::Less: return CompareOp::Greater;
    case CompareOp::Greater: return CompareOp::Less;
    case CompareOp::LessOrEqual: return CompareOp::GreaterOrEqual;
    case CompareOp::GreaterOrEqual: return CompareOp::LessOrEqual;
    default: return op;
    }
}

class Compiler
{
public:
    Compiler(const FilterFields &fields, const FilterOptions &options) : fields_(fields), options_(options) {}

    CompiledFilterNode compile(const FilterNode &node) const
    {
        CompiledFilterNode out;
        switch (node.kind) {
        case FilterNode::Kind::And:
        case FilterNode::Kind::Or:
        case FilterNode::Kind::Not:
            out.kind = node.kind == FilterNode::Kind::And  ? CompiledFilterNode::Kind::And
                       : node.kind == FilterNode::Kind::Or ? CompiledFilterNode::Kind::Or
                                                           : CompiledFilterNode::Kind::Not;
            out.terms.reserve(node.terms.size());
            for (const auto &term : node.terms)
                out.terms.push_back(compile(*term));
            return out;
        case FilterNode::Kind::Compare:
            return compileComparison(node);
        }
        return out;
    }

private:
    static bool isField(const FilterOperand &operand) { return operand.kind == FilterOperand::Kind::Field; }

    FilterFieldRef resolve(const FilterOperand &operand) const
    {
        FilterFieldRef ref;
        ref.index = fields_.fieldIndex(operand.text);
        if (ref.index < 0)
            throw gp::DatabaseError(QStringLiteral("Field '%1' not found").arg(operand.text));
        ref.type = fields_.fieldType(ref.index);
        ref.column = fields_.columnName(ref.index);
        return ref;
    }

    static ValueClass classOf(const FilterFieldRef &field)
    {
        const auto valueClass = valueClassOf(field.type);
        if (!valueClass)
            typeMismatch();
        return *valueClass;
    }

    CompiledFilterNode compileComparison(const FilterNode &node) const
    {
        FilterOperand left = node.left, right = node.right;
        CompareOp op = node.op;
        if (!isField(left) && isField(right)) {
            std::swap(left, right);
            op = mirrored(op);
        }
        if (!isField(left))
            return constantComparison(left, op, right);

        CompiledFilterNode out;
        out.op = op;
        out.field = resolve(left);
        out.valueClass = classOf(out.field);
        out.foldCase = options_.caseInsensitive && out.valueClass == ValueClass::Text;
        if (isField(right)) {
            out.kind = CompiledFilterNode::Kind::FieldField;
            out.other = resolve(right);
            if (classOf(out.other) != out.valueClass)
                typeMismatch();
            return out;
        }
        if (right.kind == FilterOperand::Kind::Null) {
            out.kind = CompiledFilterNode::Kind::Blank;
            return out;
        }
        const bool emptyQuoted = right.kind == FilterOperand::Kind::Quoted && right.text.isEmpty();
        if (emptyQuoted && (op == CompareOp::Equal || op == CompareOp::NotEqual)) {
            out.kind = CompiledFilterNode::Kind::Blank;
            return out;
        }
        if (out.valueClass == ValueClass::Text && right.kind == FilterOperand::Kind::Quoted && options_.partialCompare
            && right.text.endsWith(u'*') && (op == CompareOp::Equal || op == CompareOp::NotEqual)) {
            out.kind = CompiledFilterNode::Kind::Prefix;
            out.value.text = fold(right.text.chopped(1), out.foldCase);
            return out;
        }
        out.kind = CompiledFilterNode::Kind::FieldValue;
        out.value = convert(right.text, out.valueClass, out.field.type, out.foldCase);
        return out;
    }

    static QString fold(const QString &text, bool foldCase) { return foldCase ? Mayusculas(text) : text; }

    static ComparableValue convert(const QString &text, ValueClass valueClass, TFieldType type, bool foldCase)
    {
        ComparableValue value;
        switch (valueClass) {
        case ValueClass::Text:
            value.text = fold(text, foldCase);
            return value;
        case ValueClass::Number:
            if (const auto number = FilterValues::readNumber(text)) {
                value.number = *number;
                return value;
            }
            break;
        case ValueClass::Moment:
            if (const auto moment = FilterValues::readDateTime(text)) {
                value.key = momentKey(moment->date(), type == ftDate ? QTime(0, 0) : moment->time());
                return value;
            }
            break;
        case ValueClass::Time:
            if (const auto time = FilterValues::readTime(text)) {
                value.key = time->msecsSinceStartOfDay();
                return value;
            }
            break;
        case ValueClass::Boolean:
            if (const auto flag = FilterValues::readBoolean(text)) {
                value.key = *flag ? 1 : 0;
                return value;
            }
            break;
        }
        typeMismatch();
    }

    // Neither side names a field ("1 = 1"): decided once, here.
    CompiledFilterNode constantComparison(const FilterOperand &left, CompareOp op, const FilterOperand &right) const
    {
        if (left.kind == FilterOperand::Kind::Null || right.kind == FilterOperand::Kind::Null)
            typeMismatch();
        CompiledFilterNode out;
        out.kind = CompiledFilterNode::Kind::Constant;
        int comparison = 0;
        if (left.kind == FilterOperand::Kind::Number && right.kind == FilterOperand::Kind::Number) {
            const double a = left.text.toDouble(), b = right.text.toDouble();
            comparison = a < b ? -1 : (a > b ? 1 : 0);
        } else {
            comparison = compareTexts(fold(left.text, options_.caseInsensitive), fold(right.text, options_.caseInsensitive));
        }
        out.constantTruth = compareHolds(op, comparison) ? Truth::True : Truth::False;
        return out;
    }

    const FilterFields &fields_;
    const FilterOptions &options_;
};

} // namespace

FilterExpression::FilterExpression(const QString &text) : text_(text), root_(parseFilterText(text)) {}

CompiledFilter FilterExpression::compile(const FilterFields &fields, const FilterOptions &options) const
{
    CompiledFilter compiled;
    if (root_)
        compiled.root_ = std::make_shared<const CompiledFilterNode>(Compiler(fields, options).compile(*root_));
    return compiled;
}

} // namespace plat
