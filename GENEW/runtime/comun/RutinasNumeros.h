#pragma once
#include "platform/base/LecturaTextos.h"

#include <QString>

// Number routines: conversion of typed texts, validation and rounding. Texts follow the
// regional settings of ajustesComunes() (decimal comma, thousands point).

// The number in the text; with "PuntoDecimal" in the options the text uses the point as
// decimal mark and the comma for thousands. 0 when the text is not a number.
double TextoANumero(const QString &texto, const QString &opciones = QString());
// The same reading, telling whether the text is a number at all.
bool LeerNumero(const QString &texto, double &valor, const QString &opciones = QString());

// The number as the system writes it: up to 15 significant digits, decimal comma.
QString FlotanteATexto(double valor);

// Validation of typed texts: true when acceptable; otherwise false, and a warning when the
// caption (the field's name as the user sees it) is not empty.
bool ValidarEntero(const QString &texto, const QString &titulo);
bool ValidarDecimal(const QString &texto, const QString &titulo);

// True within 0.00001 of zero.
bool EsCero(double numero);
// Whole number, halves away from zero (0.5000001 is added to the magnitude).
double Redondear(double numero);
double RedondearDecimales(double numero, int decimales);
// The nearest multiple of the step; the value itself for a step of 0.
double RedondearAMultiplo(double valor, double paso);
// Whole-number coordinates from computed positions: halves go to the even neighbour
// (2.5 -> 2, 3.5 -> 4, -2.5 -> -2). Values beyond the int range give its nearest end, NaN
// gives 0. Amounts are rounded by Redondear (halves away from zero), never by this one.
int RedondearMitadesAPar(long double valor);
