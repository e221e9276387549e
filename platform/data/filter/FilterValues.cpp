#include "platform/data/filter/FilterValues.h"

#include <QRegularExpression>

#include <cmath>

namespace plat::FilterValues {

namespace {

int fullYear(int year, int digits)
{
    if (digits > 2)
        return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

std::optional<QTime> timeFrom(const QString &hours, const QString &minutes, const QString &seconds)
{
    const QTime time(hours.toInt(), minutes.toInt(), seconds.isEmpty() ? 0 : seconds.toInt());
    if (!time.isValid())
        return std::nullopt;
    return time;
}

} // namespace

std::optional<double> readNumber(const QString &text)
{
    static const QRegularExpression withComma(QStringLiteral(R"(^[+-]?(\d{1,3}(\.\d{3})+|\d+)(,\d+)?$)"));
    static const QRegularExpression withPoint(QStringLiteral(R"(^[+-]?\d+(\.\d+)?$)"));
    QString value = text.trimmed();
    if (value.contains(u',')) {
        if (!withComma.match(value).hasMatch())
            return std::nullopt;
        value.remove(u'.');
        value.replace(u',', u'.');
    } else if (!withPoint.match(value).hasMatch()) {
        return std::nullopt;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<QDateTime> readDateTime(const QString &text)
{
    static const QRegularExpression spanish(
        QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{2}|\d{4})(?:\s+(\d{1,2}):(\d{2})(?::(\d{2}))?)?$)"));
    static const QRegularExpression iso(
        QStringLiteral(R"(^(\d{4})-(\d{2})-(\d{2})(?:[ T](\d{2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?$)"));
    const QString value = text.trimmed();
    QDate date;
    QRegularExpressionMatch match = spanish.match(value);
    if (match.hasMatch()) {
        date = QDate(fullYear(match.captured(3).toInt(), int(match.capturedLength(3))),
                     match.captured(2).toInt(), match.captured(1).toInt());
    } else {
        match = iso.match(value);
        if (!match.hasMatch())
            return std::nullopt;
        date = QDate(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    }
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (match.hasCaptured(4)) {
        const auto read = timeFrom(match.captured(4), match.captured(5), match.captured(6));
        if (!read)
            return std::nullopt;
        time = *read;
    }
    return QDateTime(date, time, Qt::UTC);
}

std::optional<QTime> readTime(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{1,2}):(\d{2})(?::(\d{2}))?$)"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    return timeFrom(match.captured(1), match.captured(2), match.captured(3));
}

std::optional<bool> readBoolean(const QString &text)
{
    const QString value = text.trimmed().toUpper();
    if (value == u"TRUE" || value == u"1")
        return true;
    if (value == u"FALSE" || value == u"0")
        return false;
    return std::nullopt;
}

QDateTime zeroDate()
{
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
}

} // namespace plat::FilterValues
