#include "platform/data/filter/FilterValues.h"

#include "platform/base/AjustesComunes.h"
#include "platform/base/FechaHora.h"
#include "platform/base/LecturaTextos.h"

#include <QRegularExpression>

namespace plat::FilterValues {

std::optional<double> readNumber(const QString &text)
{
    // With the decimal separator present, thousands separators may group the digits; without
    // it a point is the decimal mark ("1.500000", as the program writes floats into SQL).
    const AjustesComunes &settings = ajustesComunes();
    QString value = text.trimmed();
    if (value.contains(settings.SeparadorDecimal))
        value.remove(settings.SeparadorMiles);
    else
        value.replace(u'.', settings.SeparadorDecimal);
    double number = 0;
    if (!LeerDecimal(value, number))
        return std::nullopt;
    return number;
}

std::optional<QDateTime> readDateTime(const QString &text)
{
    const QString value = text.trimmed();
    // The form the layer stores dates in; also accepted from a filter, where it is unambiguous.
    if (const QDateTime stored = FechaHoraISO(value); stored.isValid())
        return stored;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList parts = value.split(blanks);
    if (parts.size() > 2)
        return std::nullopt;
    QDate date;
    QTime time(0, 0);
    // A time alone is that time on the zero date, as the program keeps times of day.
    if (parts.size() == 1 && LeerHora(parts.front(), time))
        return FechaHora(FechaCero().date(), time);
    if (!LeerFecha(parts.front(), date))
        return std::nullopt;
    if (parts.size() == 2 && !LeerHora(parts.back(), time))
        return std::nullopt;
    return FechaHora(date, time);
}

std::optional<QTime> readTime(const QString &text)
{
    QTime time;
    if (!LeerHora(text, time))
        return std::nullopt;
    return time;
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

} // namespace plat::FilterValues
