#pragma once
#include "platform/base/TipoCampo.h"
#include <QDateTime>
#include <QString>
#include <QVariant>

// Values as the program reads and writes them as text: Spanish settings (decimal comma,
// no thousands separator, dates 'dd/mm/yyyy' with ' hh:nn:ss' only when the time is not
// zero), and the display formats stored in forms ("#,##0.00", "0.##", "HH:MM:SS").
namespace plat {

// "No date": the zero of the engines' date-time numbering.
QDateTime zeroDate();

QString floatToText(double value);
bool textToFloat(const QString &text, double &value);
bool textToInteger(const QString &text, qint64 &value);
bool textToBoolean(const QString &text, bool &value);

// Date, time or date-time as the program writes it for a field of that type.
QString dateTimeToText(const QDateTime &value, TFieldType type);
// Reads 'dd/mm/yyyy', 'd/m/yy', an optional time 'hh:nn[:ss]', or the ISO form the
// engines keep ('yyyy-mm-dd hh:mm:ss'); a time field reads a time alone.
bool textToDateTime(const QString &text, TFieldType type, QDateTime &value);

// A numeric display format: up to three sections separated by ';' (positive, negative,
// zero), '0' and '#' digit places, '.' the decimal point, ',' thousands grouping, and
// literal text in quotes or as is. Output uses ',' for decimals and '.' for thousands.
QString formatFloat(const QString &format, double value);
// A date-time display format: d, dd, m, mm, yy, yyyy, h, hh, n, nn, s, ss ('m' after an
// hour means minutes), '/' and ':' as written, quoted literal text.
QString formatDateTime(const QString &format, const QDateTime &value);

} // namespace plat
