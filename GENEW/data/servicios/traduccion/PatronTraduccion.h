#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// Texts whose variable parts (numbers, dates, names) no table row can hold are translated
// through pattern keys: a key holds "\X1", "\X2"... where the parts go, and its translation
// holds the same markers in the order of the other language.

// Puts the separator on a line of its own ("Directo": every occurrence becomes CR LF +
// separator + CR LF) or undoes it ("Inverso"). Any other mode gives the text unchanged.
QString MarcarSeparador(const QString &texto, const QString &separador, const QString &modo);

// One word of a text split for pattern matching. Words are split at blanks and every "."
// is a word of its own; `pegada` tells that no blank stood between the word and the one
// before (a full stop after a word), so that joining the words gives the text back.
struct PalabraPatron
{
    QString texto;
    bool pegada = false;
};
QList<PalabraPatron> PalabrasPatron(const QString &texto);
// The words joined again: a blank between words that were not glued.
QString UnirPalabrasPatron(const QList<PalabraPatron> &palabras);

// The LIKE pieces with which a key is searched word by word: word + "%" for the first
// word, "%" + word for the last, "%" + word + "%" otherwise.
QStringList PiezasBusquedaPatron(const QString &texto);

// True when the key has variable markers (a key without them gives no pattern translation).
bool EsClavePatron(const QString &clave);

// The text translated through the key found for it and the key's translation: the words
// the text shares with the key are fixed, the runs between them are the variable parts
// (in order, trimmed, empty ones dropped), and part k replaces the first word of the
// translation holding "\X" + k. A part that is an integer, a date or the whole text stays
// as it is; any other goes through `traducirParte`. Empty when the key is no pattern key
// or the translation is empty.
QString AplicarPatronTraduccion(const QString &texto, const QString &clave, const QString &traduccionClave,
                                const std::function<QString(const QString &parte)> &traducirParte);
