#pragma once
#include <QDateTime>
#include <QString>

#include <optional>

namespace plat {

// How the values typed in a filter are read: the forms the program's users type, through the
// common routines and the regional settings (Spanish by default). Unlike the lenient
// converters (which give 0 for a bad text), these say when a text is not a value of the
// kind, so that the filter can report a type mismatch.
namespace FilterValues {

// "1234,5", "1.234,5", "-3", "1.500000" (with no comma the point is the decimal mark).
std::optional<double> readNumber(const QString &text);

// "dd/mm/yyyy" in the regional order (a two-digit year is completed), optionally followed
// by "hh:nn" or "hh:nn:ss"; a time alone on the zero date; also "yyyy-mm-dd[ hh:nn:ss]" as
// the layer stores dates.
std::optional<QDateTime> readDateTime(const QString &text);

// "hh:nn" or "hh:nn:ss".
std::optional<QTime> readTime(const QString &text);

// "True" / "False" in any case, or "1" / "0".
std::optional<bool> readBoolean(const QString &text);

} // namespace FilterValues
} // namespace plat
