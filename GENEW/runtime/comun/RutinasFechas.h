#pragma once
#include "platform/base/FechaHora.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// Date routines over the date model of FechaHora.h: a date is a QDateTime; the zero date
// 30/12/1899 00:00 means "no date" and an invalid QDateTime counts as the zero date. Texts
// are read and written with the program's own routines, following the regional settings of
// ajustesComunes().

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
