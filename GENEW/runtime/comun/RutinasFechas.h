#pragma once
#include <QDate>
#include <QDateTime>
#include <QString>

// Date routines. A date is a QDateTime; the zero date 30/12/1899 00:00 means "no date" and
// an invalid QDateTime counts as the zero date. Texts are read and written with the
// program's own routines, following the regional settings of ajustesComunes().
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

int AnyoDeFecha(const QDateTime &fecha);
int MesDeFecha(const QDateTime &fecha);
int DiaDeFecha(const QDateTime &fecha);
// 1 = Monday to 7 = Sunday.
int DiaDeLaSemana(const QDateTime &fecha);
// n months later with the same time; the day becomes the month's last when it is shorter.
QDateTime SumarMeses(int n, const QDateTime &fecha);
// n years later, same month and day, time 00:00; 29 February falls to 28 in common years.
QDateTime SumarAnyos(int n, const QDateTime &fecha);
bool EsAnyoBisiesto(int anyo);
// Two-digit years: below 50 -> 20xx, 50..99 -> 19xx; above 99 unchanged.
int CompletarAnyo(int anyo);
// "Enero" .. "Diciembre"; empty outside 1..12.
QString NombreMes(int mes);
int DiasDelMes(const QDateTime &fecha);
QDateTime PrimerDiaDelMes(const QDateTime &fecha);
QDateTime UltimoDiaDelMes(const QDateTime &fecha);
// Hours + minutes / 60 + seconds / 3600.
double HoraADecimal(const QDateTime &fecha);

// A date alone or a date and a time ("dd/mm/yyyy hh:nn:ss"), or a time alone (on the zero
// date); the zero date when the text is not one.
QDateTime TextoAFechaHora(const QString &texto);

// The date and time written with a format of the program's own tokens: d dd m mm mmm mmmm
// yy yyyy h hh n nn s ss z zzz, "/" and ":" standing for the date and time separators, text
// in quotes copied as it is ("m" right after an hour means minutes).
QString FormatearFechaHora(const QString &formato, const QDateTime &fecha);
// The date in the short date format, followed by the time when it is not 00:00:00.
QString FechaHoraATexto(const QDateTime &fecha);

// Validation of typed texts: true when acceptable; otherwise false, and a warning when the
// caption (the field's name as the user sees it) is not empty.
bool ValidarFecha(const QString &texto, const QString &titulo);
bool ValidarHora(const QString &texto, const QString &titulo);

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
