#pragma once
#include <QString>
#include <QStringList>
#include <functional>

// The texts of the print engine's field commands, read without any data: field-name
// options, format sections, arithmetic, joins and the filling of memo lines.

// What the name of a `Camp` field asks besides the field: ",n" takes the n-th ";"-piece of
// its text, "(Euro)" converts the amount; "ñ" reads as "n" and "-" is dropped.
struct NombreCampoImpreso
{
    QString campo;
    int pieza = 0;   // 0: the whole text
    bool euro = false;
};
NombreCampoImpreso LeerNombreCampo(const QString &nombre);

// The n-th (from 1) ";"-separated piece of a text; empty past the last.
QString PiezaTexto(const QString &texto, int n);

// The display format of a float: the positive section, then the negative one when given,
// then the zero one when both are given; the template when there is no positive section.
QString FormatoReal(const QString &positivo, const QString &negativo, const QString &cero, const QString &plantilla);

// An arithmetic expression of terms ended by " + ", " - ", " * ", " x " or " / ", evaluated
// strictly from left to right; a term that is not a number is valued by `valorTermino`.
// Division by 0 gives 0.
double EvaluarExpresion(const QString &expresion, const std::function<double(const QString &)> &valorTermino);

// A join of quoted texts and field values ("+" joins; a value read without a join before it
// replaces the result). Fields are valued by `valorCampo`.
QString ConcatenarElementos(const QString &expresion, const std::function<QString(const QString &)> &valorCampo);

// The lines of one paragraph filled word by word within `ancho` pixels as measured by `medir`
// (a word wider than the line stands alone on it); tabs removed.
QStringList LlenarParrafo(const QString &parrafo, int ancho, const std::function<int(const QString &)> &medir);
