#pragma once
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// The date model of the program and of its data layer. A date is a QDateTime; the zero date
// 30/12/1899 00:00 means "no date" and an invalid QDateTime counts as the zero date. Typed
// dates and times are read following the regional settings of ajustesComunes().
//
// The program's dates are wall-clock readings of the office's calendar, never instants.
// Every date-time the program makes is a Qt::UTC QDateTime holding that reading, built by
// FechaHora (or Ahora for the present): no time-zone rule can then move it (a local time
// in a daylight-saving gap does not exist) and two readings of the same date and time are
// always equal. Never build a QDateTime from parts or call currentDateTime directly.

// The reading of a date and a time.
QDateTime FechaHora(const QDate &fecha, const QTime &hora = QTime(0, 0));
// The same date and time as a program reading, whatever time zone setting the value came with
// (a driver's local time, even one in a daylight-saving gap); invalid when it has no
// date or time.
QDateTime FechaHoraDeReloj(const QDateTime &valor);
// Now, as the office's clock reads it.
QDateTime Ahora();

QDateTime FechaCero();
bool EsFechaCero(const QDateTime &fecha);

// Two-digit years: below 50 -> 20xx, 50..99 -> 19xx; above 99 unchanged.
int CompletarAnyo(int anyo);

// The ISO form engines store dates in: "yyyy-mm-dd", optionally followed by a blank or a
// "T" and "hh:mm[:ss[.fraction]]" (the fraction kept to the millisecond); a trailing zone
// offset or "Z" is ignored, the reading being kept as written. Invalid when not one.
QDateTime FechaHoraISO(QStringView texto);
// The same on UTF-8 or Latin-1 bytes (engine results), without making a QString.
QDateTime FechaHoraISO(QByteArrayView texto);
// Only the leading "yyyy-mm-dd"; anything after it is not looked at.
QDate FechaISO(QByteArrayView texto);
// "hh:mm[:ss[.fraction]]" alone.
QTime HoraISO(QByteArrayView texto);

// Readers of the parts, without messages: false when the text is not a date or time.
bool LeerFecha(const QString &texto, QDate &fecha);
bool LeerHora(const QString &texto, QTime &hora);
