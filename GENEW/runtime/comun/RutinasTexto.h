#pragma once
#include "platform/base/LecturaTextos.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <QVariant>

// Text routines shared by every unit. Positions count from 1 where a routine speaks of
// positions; pieces of a separated text count from 0. No routine shows a message.

// The one-character text of the highest code from 255 down to 0 that the text does not
// hold; empty when it holds all 256.
QString CaracterNoUsado(const QString &texto);

// Piece number indice (from 0) of the text cut at the separator; empty past the last piece.
QString ExtraerCampo(int indice, const QString &texto, const QString &separador);
// The piece counted from the end (0 = last); piece 0 when n is beyond the first piece.
QString ExtraerCampoDesdeElFinal(int n, const QString &texto, const QString &separador);
// How often the part can be removed from the text, each time its first occurrence.
int ContarApariciones(const QString &parte, const QString &texto);

// Replaces every occurrence of anterior by nuevo (exact case, left to right); the text
// variable and the result both receive the new text.
QString ReemplazarTexto(const QString &anterior, const QString &nuevo, QString &texto);
// Repeats the replace-all until a pass changes nothing.
QString ReemplazarHastaEstable(const QString &anterior, const QString &nuevo, const QString &texto);

// Letter and digit tests that know the accented Spanish letters, "ñ" and "ç". They compare
// the whole text, so a longer text passes when it sorts between the two bounds.
bool EsMinuscula(const QString &caracter);
bool EsMayuscula(const QString &caracter);
bool EsDigito(const QString &caracter);


// CodigoCliente -> "Codigo Cliente"; runs of capitals and of digits stay together.
QString SepararPalabras(const QString &identificador);
// CodigoClienteFinal with 3 -> "Cod.Cli.Final".
QString AbreviarNombreCampo(const QString &nombre, int n);
// The memo's lines as a list Variant; a null Variant for an empty memo.
QVariant MemoAVariante(const QString &memo);

int ContarCaracter(QChar caracter, const QString &texto);
QString QuitarSaltoFinal(const QString &texto);
// The text as a single-quoted SQL literal; quotes inside are doubled.
QString Entrecomillar(const QString &texto);
// "a, b ,c," -> "\"a\",\"b\",\"c\"".
QString EntrecomillarLista(const QString &lista);
// The contents of the bracket groups, one per line.
QString ExtraerTextosEntreParentesis(const QString &texto);
// Lines sorted ignoring case in Spanish order, duplicates kept; each followed by CR LF.
QString OrdenarLineas(const QString &texto);
QString Espacios(int n);
QString RepetirCaracter(QChar caracter, int n);
// Every ";" becomes the separator; one trailing one-character separator is removed.
QString SustituirSeparador(const QString &texto, const QString &separador);
// "Desde Campo: x, Hasta Campo: y, " for each line "Campo|x|y" with a bound.
QString DescribirRangos(const QString &rangos);
QString BooleanoATexto(bool valor);

// Multi-line texts: lines end in CR LF (a bare LF or CR is accepted when reading); a
// final line break does not open another line.
QStringList DividirLineas(const QString &texto);
// Every line followed by CR LF.
QString UnirLineas(const QStringList &lineas);

// Name=Value lists: the name ends at the first "="; look-up ignores case and takes the
// first matching line; writing a new name appends a line; writing an empty value removes
// the line.
QString LeerValorDeLista(const QString &nombre, const QString &texto);
QString LeerValorDeLineas(const QString &nombre, const QStringList &lineas);
void EscribirValorEnLista(const QString &nombre, const QString &valor, QStringList &lineas);
QString EscribirValorEnTexto(const QString &nombre, const QString &valor, QString &texto);
