#include "platform/data/filter/FilterSyntax.h"

#include "platform/base/Errores.h"

namespace plat {

namespace {

[[noreturn]] void fail(int position, const QString &problem)
{
    throw gp::DatabaseError(QStringLiteral("Error in filter expression at position %1: %2")
                                .arg(position)
                                .arg(problem));
}

struct Token
{
    enum class Kind { End, LParen, RParen, Op, And, Or, Not, Is, Null, True, False, Name, Quoted, Number };
    Kind kind = Kind::End;
    CompareOp op = CompareOp::Equal;
    QString text;     // the value: name, quoted text or number
    QString source;   // as written, for messages
    int position = 0; // 1-based
};

class Lexer
{
public:
    explicit Lexer(const QString &text) : text_(text) {}

    Token next()
    {
        skipBlanks();
        Token token;
        token.position = pos_ + 1;
        if (pos_ >= text_.size())
            return token;
        const int start = pos_;
        const QChar c = text_[pos_];
        if (c == u'(' || c == u')') {
            token.kind = c == u'(' ? Token::Kind::LParen : Token::Kind::RParen;
            ++pos_;
        } else if (c == u'=' || c == u'<' || c == u'>') {
            readOperator(token);
        } else if (c == u'\'') {
            token.kind = Token::Kind::Quoted;
            token.text = readDelimited(u'\'', u'\'', QStringLiteral("missing closing quote"));
        } else if (c == u'[') {
            token.kind = Token::Kind::Name;
            token.text = readDelimited(u'[', u']', QStringLiteral("missing closing bracket"));
        } else if (c == u'"') {
            token.kind = Token::Kind::Name;
            token.text = readDelimited(u'"', u'"', QStringLiteral("missing closing double quote"));
        } else if (c.isDigit() || ((c == u'-' || c == u'+') && peekIsDigit(pos_ + 1))) {
            token.kind = Token::Kind::Number;
            token.text = readNumber();
        } else if (c.isLetter() || c == u'_') {
            readWord(token);
        } else {
            fail(token.position, QStringLiteral("unexpected character '%1'").arg(c));
        }
        token.source = text_.mid(start, pos_ - start);
        if (token.kind == Token::Kind::Name && token.text.trimmed().isEmpty())
            fail(token.position, QStringLiteral("empty field name"));
        return token;
    }

private:
    void skipBlanks()
    {
        while (pos_ < text_.size() && (text_[pos_].isSpace() || text_[pos_] == u'\0'))
            ++pos_;
    }

    bool peekIsDigit(int at) const { return at < text_.size() && text_[at].isDigit(); }

    void readOperator(Token &token)
    {
        token.kind = Token::Kind::Op;
        const QChar c = text_[pos_++];
        const QChar n = pos_ < text_.size() ? text_[pos_] : QChar();
        if (c == u'=') {
            token.op = CompareOp::Equal;
        } else if (c == u'<' && n == u'>') {
            token.op = CompareOp::NotEqual;
            ++pos_;
        } else if (n == u'=') {
            token.op = c == u'<' ? CompareOp::LessOrEqual : CompareOp::GreaterOrEqual;
            ++pos_;
        } else {
            token.op = c == u'<' ? CompareOp::Less : CompareOp::Greater;
        }
    }

    // Text between an opening and a closing character; the closing character doubled
    // inside stands for itself.
    QString readDelimited(QChar open, QChar close, const QString &missing)
    {
        const int start = pos_ + 1;
        ++pos_;
        QString value;
        for (;;) {
            if (pos_ >= text_.size())
                fail(start, missing);
            const QChar c = text_[pos_++];
            if (c != close) {
                value += c;
            } else if (pos_ < text_.size() && text_[pos_] == close && close == open) {
                value += c;
                ++pos_;
            } else {
                return value;
            }
        }
    }

    QString readNumber()
    {
        const int start = pos_;
        if (text_[pos_] == u'-' || text_[pos_] == u'+')
            ++pos_;
        while (peekIsDigit(pos_))
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == u'.' && peekIsDigit(pos_ + 1)) {
            ++pos_;
            while (peekIsDigit(pos_))
                ++pos_;
        }
        return text_.mid(start, pos_ - start);
    }

    void readWord(Token &token)
    {
        const int start = pos_;
        while (pos_ < text_.size() && (text_[pos_].isLetterOrNumber() || text_[pos_] == u'_'))
            ++pos_;
        token.text = text_.mid(start, pos_ - start);
        const QString upper = token.text.toUpper();
        token.kind = upper == u"AND"     ? Token::Kind::And
                     : upper == u"OR"    ? Token::Kind::Or
                     : upper == u"NOT"   ? Token::Kind::Not
                     : upper == u"IS"    ? Token::Kind::Is
                     : upper == u"NULL"  ? Token::Kind::Null
                     : upper == u"TRUE"  ? Token::Kind::True
                     : upper == u"FALSE" ? Token::Kind::False
                                         : Token::Kind::Name;
    }

    const QString &text_;
    int pos_ = 0;
};

class Parser
{
public:
    explicit Parser(const QString &text) : lexer_(text) { advance(); }

    std::unique_ptr<FilterNode> parseWhole()
    {
        if (current_.kind == Token::Kind::End)
            return nullptr;
        auto root = parseOr();
        if (current_.kind == Token::Kind::RParen)
            fail(current_.position, QStringLiteral("')' without a matching '('"));
        if (current_.kind != Token::Kind::End)
            fail(current_.position,
                 QStringLiteral("unexpected %1; expected AND, OR or the end of the filter").arg(describe(current_)));
        return root;
    }

private:
    void advance() { current_ = lexer_.next(); }

    static QString describe(const Token &token)
    {
        if (token.kind == Token::Kind::End)
            return QStringLiteral("end of the filter");
        QString shown = token.source;
        if (shown.size() > 30)
            shown = shown.left(30) + QStringLiteral("...");
        return QLatin1Char('\'') + shown + QLatin1Char('\'');
    }

    std::unique_ptr<FilterNode> parseList(FilterNode::Kind kind, Token::Kind separator,
                                          std::unique_ptr<FilterNode> (Parser::*term)())
    {
        const int position = current_.position;
        auto first = (this->*term)();
        if (current_.kind != separator)
            return first;
        auto node = std::make_unique<FilterNode>();
        node->kind = kind;
        node->position = position;
        node->terms.push_back(std::move(first));
        while (current_.kind == separator) {
            advance();
            node->terms.push_back((this->*term)());
        }
        return node;
    }

    std::unique_ptr<FilterNode> parseOr() { return parseList(FilterNode::Kind::Or, Token::Kind::Or, &Parser::parseAnd); }
    std::unique_ptr<FilterNode> parseAnd() { return parseList(FilterNode::Kind::And, Token::Kind::And, &Parser::parseUnary); }

    void enterNesting(int position)
    {
        if (++depth_ > kMaxFilterNesting)
            fail(position, QStringLiteral("nested too deeply (more than %1 levels)").arg(kMaxFilterNesting));
    }

    std::unique_ptr<FilterNode> parseUnary()
    {
        if (current_.kind == Token::Kind::Not) {
            auto node = std::make_unique<FilterNode>();
            node->kind = FilterNode::Kind::Not;
            node->position = current_.position;
            enterNesting(current_.position);
            advance();
            node->terms.push_back(parseUnary());
            --depth_;
            return node;
        }
        if (current_.kind == Token::Kind::LParen) {
            const int open = current_.position;
            enterNesting(open);
            advance();
            auto inner = parseOr();
            if (current_.kind != Token::Kind::RParen)
                fail(current_.position,
                     QStringLiteral("missing ')' for the '(' at position %1; found %2").arg(open).arg(describe(current_)));
            advance();
            --depth_;
            return inner;
        }
        return parseComparison();
    }

    FilterOperand parseOperand(const QString &expected)
    {
        FilterOperand operand;
        operand.position = current_.position;
        operand.text = current_.text;
        switch (current_.kind) {
        case Token::Kind::Name: operand.kind = FilterOperand::Kind::Field; break;
        case Token::Kind::Quoted: operand.kind = FilterOperand::Kind::Quoted; break;
        case Token::Kind::Number: operand.kind = FilterOperand::Kind::Number; break;
        case Token::Kind::True:
        case Token::Kind::False:
            operand.kind = FilterOperand::Kind::Boolean;
            operand.text = current_.kind == Token::Kind::True ? QStringLiteral("True") : QStringLiteral("False");
            break;
        case Token::Kind::Null: operand.kind = FilterOperand::Kind::Null; break;
        default: fail(current_.position, QStringLiteral("%1 expected; found %2").arg(expected, describe(current_)));
        }
        advance();
        return operand;
    }

    std::unique_ptr<FilterNode> parseComparison()
    {
        auto node = std::make_unique<FilterNode>();
        node->kind = FilterNode::Kind::Compare;
        node->position = current_.position;
        node->left = parseOperand(QStringLiteral("a field name or a value"));
        if (current_.kind == Token::Kind::Is) {
            advance();
            node->op = CompareOp::Equal;
            if (current_.kind == Token::Kind::Not) {
                node->op = CompareOp::NotEqual;
                advance();
            }
            if (current_.kind != Token::Kind::Null)
                fail(current_.position, QStringLiteral("NULL expected after IS; found %1").arg(describe(current_)));
            node->right.kind = FilterOperand::Kind::Null;
            node->right.position = current_.position;
            advance();
            return node;
        }
        if (current_.kind != Token::Kind::Op)
            fail(current_.position, QStringLiteral("comparison operator expected after '%1'; found %2")
                                        .arg(node->left.text.left(30), describe(current_)));
        node->op = current_.op;
        advance();
        node->right = parseOperand(QStringLiteral("a value or a field name"));
        const bool leftNull = node->left.kind == FilterOperand::Kind::Null;
        const bool rightNull = node->right.kind == FilterOperand::Kind::Null;
        if ((leftNull || rightNull) && node->op != CompareOp::Equal && node->op != CompareOp::NotEqual)
            fail(node->position, QStringLiteral("NULL can only be compared with = or <>"));
        if (leftNull && rightNull)
            fail(node->position, QStringLiteral("NULL compared with NULL"));
        return node;
    }

    Lexer lexer_;
    Token current_;
    int depth_ = 0;
};

} // namespace

std::unique_ptr<FilterNode> parseFilterText(const QString &text)
{
    Parser parser(text);
    return parser.parseWhole();
}

QString compareOpText(CompareOp op)
{
    switch (op) {
    case CompareOp::Equal: return QStringLiteral("=");
    case CompareOp::NotEqual: return QStringLiteral("<>");
    case CompareOp::Less: return QStringLiteral("<");
    case CompareOp::Greater: return QStringLiteral(">");
    case CompareOp::LessOrEqual: return QStringLiteral("<=");
    case CompareOp::GreaterOrEqual: return QStringLiteral(">=");
    }
    return {};
}

} // namespace plat
