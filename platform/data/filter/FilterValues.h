#pragma once
#include <QDateTime>
#include <QString>

#include <optional>

namespace plat {

// How the values typed in a filter are read: the Spanish forms the program's users type.
// Unlike the program's lenient converters (which give 0 for a bad text), these say when a
// text is not a value of the kind, so that the filter can report a type mismatch.
namespace FilterValues {

// "1234,5", "1.234,5", "-3", "1.500000" (with no comma the point is the decimal mark).
std::optional<double> readNumber(const QString &text);

// "dd/mm/yyyy" (one or two digits for day and month, two or four for the year), optionally
// followed by "hh:nn" or "hh:nn:ss"; also "yyyy-mm-dd[ hh:nn:ss]" as the layer stores dates.
std::optional<QDateTime> readDateTime(const QString &text);

// "hh:nn" or "hh:nn:ss".
std::optional<QTime> readTime(const QString &text);

// "True" / "False" in any case, or "1" / "0".
std::optional<bool> readBoolean(const QString &text);

// The zero date ("no date"): 30/12/1899 00:00. Values are read without a time zone (UTC
// spec), so that no day of a daylight-saving change loses an hour.
QDateTime zeroDate();

} // namespace FilterValues
} // namespace plat
