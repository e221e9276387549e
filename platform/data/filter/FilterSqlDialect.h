#pragma once
#include <QDate>
#include <QString>
#include <QTime>

namespace plat {

// What a filter needs of an engine to become an SQL condition. The defaults write the
// standard forms that SQLite and PostgreSQL read; each engine's dialect overrides what it
// writes differently. Every value reaches the SQL text only through these functions.
class FilterSqlDialect
{
public:
    virtual ~FilterSqlDialect() = default;

    // A column name: as it is when it is a plain word, else in double quotes.
    virtual QString identifier(const QString &column) const;
    // 'text' with inner single quotes doubled.
    virtual QString stringLiteral(const QString &text) const;
    // The shortest text that reads back as the same double, with a point.
    virtual QString numberLiteral(double value) const;
    // 'yyyy-mm-dd hh:mm:ss'.
    virtual QString dateTimeLiteral(const QDate &date, const QTime &time) const;
    // 1 or 0.
    virtual QString booleanLiteral(bool value) const;
    // The expression folded for a comparison that ignores case (Spanish letters included);
    // the empty text when the engine cannot, and such conditions stay client-side. The
    // default cannot: a plain UPPER() of some engines leaves accented letters alone.
    virtual QString caseInsensitive(const QString &sqlExpression) const;
    // A text expression compared in code-point order, as the filter compares texts on the
    // client: the expression itself by default (SQLite's binary collation); a server whose
    // default collation orders or equates texts otherwise (ignoring case, say) adds its
    // binary collation here.
    virtual QString binaryText(const QString &sqlExpression) const;
    // The first `characters` characters of a text expression: SUBSTR(e, 1, n).
    virtual QString leftPart(const QString &sqlExpression, int characters) const;
};

} // namespace plat
