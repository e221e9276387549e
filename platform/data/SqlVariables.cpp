#include "platform/data/SqlVariables.h"

namespace plat {

namespace {

bool isKind(QChar c)
{
    return c == u'$' || c == u'#' || c == u'&' || c == u'*';
}

// A quote ends a name too: a variable may close the literal it is written in.
bool endsName(QChar c)
{
    return c == u' ' || c == u'(' || c == u')' || c == u',' || c == u'\r' || c == u'\n' || c == u'\'' || c == u'"';
}

// The name that starts a piece (up to the first blank, bracket, comma or line break).
QString leadingName(const QString &piece)
{
    int end = 0;
    while (end < piece.size() && !endsName(piece[end]))
        ++end;
    return piece.left(end);
}

} // namespace

QStringList sqlListItems(const QString &text)
{
    QString list = text.trimmed();
    if (list.endsWith(u','))
        list.chop(1);
    QStringList items = list.split(u',');
    for (QString &item : items)
        item = item.trimmed();
    return items;
}

namespace {

void addName(QStringList &names, const QString &name)
{
    names << (names.contains(name) ? name + u'_' + QString::number(names.size() - 1) : name);
}

} // namespace

QStringList sqlVariableNames(const QString &sql)
{
    QStringList names;
    for (const QString &piece : sql.split(u':')) {
        if (piece.isEmpty())
            break;
        if (isKind(piece[0]))
            addName(names, leadingName(piece));
    }
    return names;
}

DriverStatement toDriverStatement(const QString &sql, const QString &namedPrefix, const LiteralText &literalText,
                                  const ListItems &listItems)
{
    DriverStatement out;
    QStringList variables;   // kind variables listed so far, for the "_n" rule
    // The first piece is read like the others, though no ":" precedes it.
    const qsizetype firstColon = sql.indexOf(u':');
    const QString firstPiece = firstColon < 0 ? sql : sql.left(firstColon);
    if (firstPiece.isEmpty() && firstColon != 0)
        return {sql, {}, {}, {}};
    if (!firstPiece.isEmpty() && isKind(firstPiece[0]))
        addName(variables, leadingName(firstPiece));
    bool scanning = !firstPiece.isEmpty();
    auto placeholder = [&](const QString &name, int item = -1) {
        out.placeholders << name;
        out.items << item;
        return namedPrefix.isEmpty() ? QStringLiteral("?")
                                     : u':' + namedPrefix + QString::number(out.placeholders.size() - 1);
    };
    QChar quote;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c != u':') {
            if (quote.isNull() && (c == u'\'' || c == u'"'))
                quote = c;
            else if (c == quote)
                quote = QChar();
            out.sql += c;
            continue;
        }
        const QChar nextChar = i + 1 < sql.size() ? sql[i + 1] : QChar();
        if (i + 1 >= sql.size() || nextChar == u':')
            scanning = false;   // an empty piece ends the variables
        if (scanning && isKind(nextChar)) {
            // The name ends at the next ":" too: the listing cuts the text there.
            const qsizetype nextColon = sql.indexOf(u':', i + 1);
            const QString name = leadingName(sql.mid(i + 1, nextColon < 0 ? -1 : nextColon - i - 1));
            addName(variables, name);
            const QString &listed = variables.last();
            const int items = nextChar == u'*' ? (listItems ? listItems(listed) : -1) : -1;
            if (nextChar == u'*' && items < 0) {
                out.sql += u':';   // no list given: the caller writes it into the text
                continue;
            }
            out.names << listed;
            if (!quote.isNull()) {
                const QString value = literalText ? literalText(listed) : QString();
                out.sql += QString(value).replace(quote, QString(2, quote));
            } else if (nextChar == u'*') {
                QStringList marks;
                for (int item = 0; item < qMax(items, 1); ++item)
                    marks << placeholder(listed, items == 0 ? -1 : item);
                out.sql += marks.join(QStringLiteral(", "));
            } else {
                out.sql += placeholder(listed);
            }
            i += int(name.size());
            continue;
        }
        const bool plainName = nextChar.isLetter() || nextChar == u'_';
        const bool afterColon = i > 0 && sql[i - 1] == u':';
        if (quote.isNull() && plainName && !afterColon) {
            int end = i + 1;
            while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_'))
                ++end;
            out.names << sql.mid(i + 1, end - i - 1);
            out.sql += placeholder(out.names.last());
            i = end - 1;
            continue;
        }
        out.sql += c;
    }
    return out;
}

} // namespace plat
