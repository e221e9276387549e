#include "platform/data/engine/Dialects.h"

#include <QRegularExpression>

namespace plat {

namespace {

// A statement cut into the pieces the rewrites look at: quoted texts and names whole, words,
// runs of blanks, and single other characters.
struct Token
{
    enum Kind { Word, Text, Name, Blank, Other } kind;
    qsizetype start;
    qsizetype size;
};

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'@' || c == u'#' || c == u'$'; }

// The end (one past the closing quote) of the quoted piece opening at `start`; a doubled
// quote stays inside; an unclosed one runs to the end.
qsizetype quotedEnd(const QString &sql, qsizetype start)
{
    const QChar quote = sql.at(start);
    qsizetype i = start + 1;
    while (i < sql.size()) {
        if (sql.at(i) == quote) {
            if (i + 1 < sql.size() && sql.at(i + 1) == quote) {
                i += 2;
                continue;
            }
            return i + 1;
        }
        ++i;
    }
    return sql.size();
}

QList<Token> tokens(const QString &sql)
{
    QList<Token> out;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql.at(i);
        qsizetype end = i + 1;
        Token::Kind kind = Token::Other;
        if (c == u'\'' || c == u'"') {
            end = quotedEnd(sql, i);
            kind = c == u'\'' ? Token::Text : Token::Name;
        } else if (c.isSpace()) {
            while (end < sql.size() && sql.at(end).isSpace())
                ++end;
            kind = Token::Blank;
        } else if (isWordChar(c)) {
            while (end < sql.size() && isWordChar(sql.at(end)))
                ++end;
            kind = Token::Word;
        }
        out.append({kind, i, end - i});
        i = end;
    }
    return out;
}

// 'Total' (closed) as "Total"; false for an unclosed text.
bool asQuotedName(QStringView text, QString &name)
{
    if (text.size() < 2 || !text.endsWith(u'\''))
        return false;
    name = text.mid(1, text.size() - 2).toString();
    name.replace(QStringLiteral("''"), QStringLiteral("'"));
    name.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    name = u'"' + name + u'"';
    return true;
}

} // namespace

QString quotedNamesAsIdentifiers(const QString &sql)
{
    // Most statements hold neither: they are let through without being cut up.
    static const QRegularExpression candidate(QStringLiteral("\\bAS\\s*'|\\bORDER\\s+BY\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (!sql.contains(u'\'') || !candidate.match(sql).hasMatch())
        return sql;
    const QList<Token> all = tokens(sql);
    const auto text = [&](qsizetype k) { return QStringView(sql).mid(all[k].start, all[k].size); };
    const auto isWord = [&](qsizetype k, QLatin1StringView word) {
        return k >= 0 && k < all.size() && all[k].kind == Token::Word && text(k).compare(word, Qt::CaseInsensitive) == 0;
    };
    const auto next = [&](qsizetype k) {  // the next token that is not blank
        do
            ++k;
        while (k < all.size() && all[k].kind == Token::Blank);
        return k;
    };
    const auto previous = [&](qsizetype k) {
        do
            --k;
        while (k >= 0 && all[k].kind == Token::Blank);
        return k;
    };

    QString out;
    out.reserve(sql.size());
    int depth = 0;
    int orderDepth = -1;     // the bracket depth of the ORDER BY clause being read, or -1
    bool itemStart = false;  // the next token begins an ORDER BY item
    for (qsizetype k = 0; k < all.size(); ++k) {
        const Token &t = all[k];
        QString name;
        bool replace = false;
        if (t.kind == Token::Text) {
            const bool alias = isWord(previous(k), QLatin1StringView("AS"));
            bool orderItem = false;
            if (itemStart) {
                const qsizetype n = next(k);
                orderItem = n >= all.size() || text(n) == u"," || text(n) == u")" || text(n) == u";"
                            || isWord(n, QLatin1StringView("ASC")) || isWord(n, QLatin1StringView("DESC"))
                            || isWord(n, QLatin1StringView("LIMIT"));
            }
            replace = (alias || orderItem) && asQuotedName(text(k), name);
        }
        if (t.kind != Token::Blank)
            itemStart = false;
        if (t.kind == Token::Other && text(k) == u"(") {
            ++depth;
        } else if (t.kind == Token::Other && text(k) == u")") {
            if (depth == orderDepth)
                orderDepth = -1;
            --depth;
        } else if (t.kind == Token::Other && text(k) == u"," && depth == orderDepth) {
            itemStart = true;
        } else if (isWord(k, QLatin1StringView("BY")) && isWord(previous(k), QLatin1StringView("ORDER"))) {
            orderDepth = depth;
            itemStart = true;
        }
        out += replace ? QStringView(name) : text(k);
    }
    return out;
}

QString rewriteSubqueryTopAsLimit(const QString &sql)
{
    static const QRegularExpression top(QStringLiteral("\\(\\s*SELECT\\s+(?:DISTINCT\\s+)?(TOP\\s+(\\d+)\\s+)"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (!sql.contains(QLatin1String("TOP"), Qt::CaseInsensitive))
        return sql;
    QString s = sql;
    qsizetype from = 0;
    for (auto m = top.match(s, from); m.hasMatch(); m = top.match(s, from)) {
        from = m.capturedStart(0) + 1;
        // Only code counts: a sub-query written inside a quoted text is data.
        const QList<Token> all = tokens(s);
        const auto inCode = [&](qsizetype pos) {
            for (const Token &t : all)
                if (pos >= t.start && pos < t.start + t.size)
                    return t.kind != Token::Text && t.kind != Token::Name;
            return true;
        };
        if (!inCode(m.capturedStart(0)))
            continue;
        // The bracket that closes the sub-query.
        int depth = 0;
        qsizetype close = -1;
        for (const Token &t : all) {
            if (t.start < m.capturedStart(0) || t.kind != Token::Other)
                continue;
            if (s.at(t.start) == u'(')
                ++depth;
            else if (s.at(t.start) == u')' && --depth == 0) {
                close = t.start;
                break;
            }
        }
        if (close < 0)
            continue;
        QString body = s.mid(m.capturedEnd(1), close - m.capturedEnd(1));
        while (!body.isEmpty() && body.back().isSpace())
            body.chop(1);
        s = s.left(m.capturedStart(1)) + body + QStringLiteral(" LIMIT ") + m.captured(2) + s.mid(close);
    }
    return s;
}

} // namespace plat
