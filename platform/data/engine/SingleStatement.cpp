#include "platform/data/engine/Dialects.h"

namespace plat {

namespace {

// The blanks every engine skips between statements. Others some engines skip too (a vertical
// tab, a no-break space) count as text: after the final ";" they are refused.
bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Reads a text piece by piece (quoted texts and names, comments, words, single characters)
// the way one engine's tokenizer cuts it, as far as statement boundaries go.
class StatementReader
{
public:
    StatementReader(QStringView sql, const StatementLexicon &lexicon) : sql_(sql), lexicon_(lexicon) {}

    bool singleStatement() const
    {
        bool closed = false;       // the final ";" has been read
        bool firstWord = true;
        for (qsizetype i = 0; i < sql_.size();) {
            const QChar c = sql_[i];
            const QChar next = i + 1 < sql_.size() ? sql_[i + 1] : QChar();
            qsizetype end = i + 1;
            if (c == u'-' && next == u'-') {
                end = lineCommentEnd(i);
            } else if (c == u'/' && next == u'*') {
                end = blockCommentEnd(i);
            } else if (isBlank(c)) {
                // between pieces
            } else if (closed) {
                return false;
            } else if (c == u';') {
                closed = true;
            } else if (c == u'\'') {
                end = quotedEnd(i, c, lexicon_.backslashStrings || (lexicon_.escapeStrings && opensEscapeString(i)));
            } else if (c == u'"' || (c == u'`' && lexicon_.backtickNames)) {
                end = quotedEnd(i, c, false);
            } else if (c == u'[' && lexicon_.bracketNames) {
                end = bracketEnd(i);
            } else if (c == u'$' && lexicon_.dollarQuotes && startsToken(i)) {
                end = dollarQuoteEnd(i);
            } else if (lexicon_.variableNames && opensVariable(i)) {
                end = variableEnd(i);
            } else if (isNameChar(c)) {
                end = wordEnd(i);
                if (lexicon_.statementWords && !firstWord
                    && lexicon_.statementWords->contains(sql_.mid(i, end - i).toString().toUpper()))
                    return false;
                firstWord = false;
            }
            if (end < 0)
                return false;
            i = end;
        }
        return true;
    }

private:
    bool isNameChar(QChar c) const
    {
        if (isAsciiLetter(c) || isAsciiDigit(c) || c == u'_' || c == u'$')
            return true;
        return lexicon_.atSignNames ? c == u'@' || c == u'#' : c.unicode() >= 0x80;
    }
    // No name character before it: it begins a piece of its own.
    bool startsToken(qsizetype i) const { return i == 0 || !isNameChar(sql_[i - 1]); }
    // "$" is a name character too: within a name it opens nothing.
    bool opensVariable(qsizetype i) const
    {
        const QChar c = sql_[i];
        return c == u'@' || c == u':' || c == u'#' || (c == u'$' && startsToken(i));
    }

    qsizetype wordEnd(qsizetype i) const
    {
        while (i < sql_.size() && isNameChar(sql_[i]))
            ++i;
        return i;
    }

    // Each answers the position after the piece opening at `i`, or -1 when it is not closed.
    qsizetype lineCommentEnd(qsizetype i) const
    {
        // Some engines end it at a carriage return too: ending there reads more as code.
        const qsizetype salto = sql_.indexOf(u'\n', i);
        const qsizetype retorno = sql_.indexOf(u'\r', i);
        if (salto < 0 || retorno < 0)
            return salto < 0 && retorno < 0 ? sql_.size() : qMax(salto, retorno);
        return qMin(salto, retorno);
    }

    qsizetype blockCommentEnd(qsizetype i) const
    {
        // Where an unclosed comment runs to the end, a "/*" with nothing after it is no
        // comment but "/" and "*" (SQLite's tokenizer): a text the engine reads on.
        const qsizetype unclosed = lexicon_.unclosedCommentEnds && i + 2 < sql_.size() ? sql_.size() : -1;
        if (!lexicon_.nestedComments) {
            const qsizetype close = sql_.indexOf(u"*/", i + 2);
            return close < 0 ? unclosed : close + 2;
        }
        int depth = 1;
        for (qsizetype j = i + 2; j + 1 < sql_.size();) {
            if (sql_[j] == u'/' && sql_[j + 1] == u'*') {
                ++depth;
                j += 2;
            } else if (sql_[j] == u'*' && sql_[j + 1] == u'/') {
                if (--depth == 0)
                    return j + 2;
                j += 2;
            } else {
                ++j;
            }
        }
        return unclosed;
    }

    // A doubled quote stays inside; with `backslash` a backslash keeps the next character inside.
    qsizetype quotedEnd(qsizetype i, QChar quote, bool backslash) const
    {
        if (!backslash) {
            for (qsizetype j = i + 1;;) {
                const qsizetype close = sql_.indexOf(quote, j);
                if (close < 0)
                    return -1;
                if (close + 1 >= sql_.size() || sql_[close + 1] != quote)
                    return close + 1;
                j = close + 2;
            }
        }
        for (qsizetype j = i + 1; j < sql_.size(); ++j) {
            if (backslash && sql_[j] == u'\\') {
                ++j;
            } else if (sql_[j] == quote) {
                if (j + 1 < sql_.size() && sql_[j + 1] == quote)
                    ++j;
                else
                    return j + 1;
            }
        }
        return -1;
    }

    // E'...': the "E" begins a piece, or follows a number (a lexer that splits "1E'x'" reads
    // the number and then the string).
    bool opensEscapeString(qsizetype quote) const
    {
        if (quote == 0 || (sql_[quote - 1] != u'e' && sql_[quote - 1] != u'E'))
            return false;
        for (qsizetype k = quote - 2; k >= 0 && isNameChar(sql_[k]); --k)
            if (!isAsciiDigit(sql_[k]))
                return false;
        return true;
    }

    qsizetype bracketEnd(qsizetype i) const
    {
        for (qsizetype j = i + 1; j < sql_.size(); ++j) {
            if (sql_[j] != u']')
                continue;
            if (lexicon_.doubledBrackets && j + 1 < sql_.size() && sql_[j + 1] == u']')
                ++j;
            else
                return j + 1;
        }
        return -1;
    }

    // "$tag$ ... $tag$" (tag empty or a name without "$"); a "$" that opens none is one character.
    qsizetype dollarQuoteEnd(qsizetype i) const
    {
        const auto tagChar = [](QChar c, bool first) {
            return isAsciiLetter(c) || c == u'_' || c.unicode() >= 0x80 || (!first && isAsciiDigit(c));
        };
        qsizetype j = i + 1;
        while (j < sql_.size() && tagChar(sql_[j], j == i + 1))
            ++j;
        if (j >= sql_.size() || sql_[j] != u'$')
            return i + 1;
        const QStringView tag = sql_.mid(i, j + 1 - i);
        const qsizetype close = sql_.indexOf(tag, j + 1);
        return close < 0 ? -1 : close + tag.size();
    }

    // ":name", "@name", "#name", "$name", with "::" inside and a final "(...)" running to the
    // first ")" before a blank; no "(...)" closed, or no name, is a text the engine refuses.
    qsizetype variableEnd(qsizetype i) const
    {
        int nameChars = 0;
        qsizetype j = i + 1;
        while (j < sql_.size()) {
            if (isNameChar(sql_[j])) {
                ++nameChars;
                ++j;
            } else if (sql_[j] == u'(' && nameChars > 0) {
                while (j < sql_.size() && !isBlank(sql_[j]) && sql_[j] != u'\v' && sql_[j] != u')')
                    ++j;
                return j < sql_.size() && sql_[j] == u')' ? j + 1 : -1;
            } else if (sql_[j] == u':' && j + 1 < sql_.size() && sql_[j + 1] == u':') {
                j += 2;
            } else {
                break;
            }
        }
        return nameChars > 0 ? j : -1;
    }

    QStringView sql_;
    const StatementLexicon &lexicon_;
};

} // namespace

bool isSingleStatement(QStringView sql, const StatementLexicon &lexicon)
{
    // An engine given a NUL stops reading there, whatever follows: such a text is refused
    // rather than read two ways.
    return !sql.contains(QChar(u'\0')) && StatementReader(sql, lexicon).singleStatement();
}

} // namespace plat
