#include "platform/data/filter/FilterSqlDialect.h"

#include <QLocale>
#include <QRegularExpression>

namespace plat {

QString FilterSqlDialect::identifier(const QString &column) const
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (plain.match(column).hasMatch())
        return column;
    QString quoted = column;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString FilterSqlDialect::stringLiteral(const QString &text) const
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

QString FilterSqlDialect::numberLiteral(double value) const
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString FilterSqlDialect::dateTimeLiteral(const QDate &date, const QTime &time) const
{
    return u'\'' + date.toString(QStringLiteral("yyyy-MM-dd")) + u' ' + time.toString(QStringLiteral("HH:mm:ss"))
           + u'\'';
}

QString FilterSqlDialect::booleanLiteral(bool value) const
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

QString FilterSqlDialect::caseInsensitive(const QString &) const
{
    return {};
}

QString FilterSqlDialect::binaryText(const QString &sqlExpression) const
{
    return sqlExpression;
}

QString FilterSqlDialect::leftPart(const QString &sqlExpression, int characters) const
{
    return QStringLiteral("SUBSTR(%1, 1, %2)").arg(sqlExpression).arg(characters);
}

} // namespace plat
