#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// The texts of the settings editor, database- and screen-free: the merge of a settings text
// (Name=Value lines) into its template, and the descriptor language of a key's row.

// A Name=Value line: the name up to the first "=", the value everything after it (a value may
// hold "=" itself, as a password may).
struct LineaRegistroINI
{
    QString nombre;
    QString valor;

    static LineaRegistroINI leer(const QString &linea);
    QString texto() const { return nombre + u'=' + valor; }
    // A heading row: not selectable, its value drawn in the button-face colour.
    bool esCabecera() const { return nombre.contains(QStringLiteral("(*)")); }
    bool operator==(const LineaRegistroINI &) const = default;
};

// The template's lines in order, each with the current text's value where the current text has
// its name (ignoring case; an empty current value empties it) and its default otherwise; names
// of the current text that the template lacks are dropped.
QList<LineaRegistroINI> FusionarRegistroINI(const QString &plantilla, const QString &actual);

struct DescriptorRegistroINI
{
    enum class Tipo { Libre, Lista, Boton, Rango, GruposAnalisis };
    Tipo tipo = Tipo::Libre;
    QStringList valores;   // Lista: the drop-down's values
    QString perfiles;      // GruposAnalisis: the ","-separated profiles

    // A text without "ELLIPSIS" is a drop-down of its ","-separated values; "ELLIPSIS_RANGO"
    // asks a range, "ELLIPSIS_GA:" + profiles analysis-group ranges, any other "ELLIPSIS" text
    // gives a button that does nothing else.
    static DescriptorRegistroINI leer(const QString &descriptor);
};

// "from...to" split at its first "..."; a value without "..." is all from.
QPair<QString, QString> PartesRango(const QString &valor);
