#pragma once
#include <QList>
#include <QString>
#include <QStringList>

// A custom report as the designer edits it and table FILTRO keeps it: seven lists of SQL
// pieces, the layout options, the column widths and the two rights texts. Reading and
// writing the stored `Instrucciones` needs no window and no database, so the designer, the
// runner and the storage commands share this one form of it.

// The layout words of `Opciones`. Each word is read on its own (by substring), as each one
// sets its own control in the designer.
struct OpcionesInforme
{
    bool formatoColumnar = true;
    bool formatoFicha = false;
    int numeroColumnasFicha = 1;
    int numeroLineasMemoFicha = 3;
    bool orientacionApaisada = false;
    bool separarPorPaginas = false;

    // The page width the column widths are measured against: 297 mm landscape, 210 portrait.
    int milimetrosPagina() const { return orientacionApaisada ? 297 : 210; }

    bool operator==(const OpcionesInforme &) const = default;
};

// The designer's format grid draws this many pixels per millimetre of page.
inline constexpr int kPixelesPorMilimetroInforme = 3;
// A column width that hides the column (a group's value prints in its group header).
inline constexpr int kAnchoColumnaOculta = -1;

struct DefinicionInforme
{
    // The seven lists, one item per entry, in the item syntax the builder reads.
    QStringList Tablas;
    QStringList Columnas;
    QStringList Restricciones;
    QStringList Ordenacion;
    QStringList Vinculos;
    QStringList Grupos;
    QStringList Sumatorios;

    OpcionesInforme opciones;
    // Width of each column of `Columnas` in format-grid pixels, or kAnchoColumnaOculta;
    // empty: the report holds no widths (every column takes its default width).
    QList<int> anchosColumnas;

    // Kept as stored: user codes, each followed by ","; application names, each followed by
    // ","; empty means no restriction.
    QString usuariosAutorizados;
    QString aplicacionesContenedoras;

    bool operator==(const DefinicionInforme &) const = default;
};

// ---- Instrucciones ---------------------------------------------------------------------

// The eleven Name=Value lines in their fixed order, joined by CR LF, no break after the last.
// Items are joined by ","; in `ListaColumnas` and `ListaRestricciones` a "," inside an item
// is written "[coma]".
QString ConstruirInstrucciones(const DefinicionInforme &definicion);
// The definition stored in an `Instrucciones` text. Keys may come in any order; a missing key
// is an empty value; a width list whose entry count is not the column count is ignored.
DefinicionInforme LeerInstrucciones(const QString &instrucciones);

// "FormatoColumnar," or "FormatoFicha(" columns "," memo lines "),", then
// "OrientacionApaisada," and "SepararPorPaginas," when set.
QString ConstruirOpciones(const OpcionesInforme &opciones);
// Every word present sets its own flag and an absent one clears it; the card numbers are the
// two pieces of the text between the first parentheses; a missing one, or one that is not a
// whole number of at least 1, keeps its default (1 column, 3 memo lines).
OpcionesInforme LeerOpciones(const QString &opciones);

// One entry per width, each followed by "|": the width as a percentage of the page width
// (pixels / (page mm x 3) x 100, the system's number format) or "-1"; empty for no widths.
QString ConstruirFormatoColumnas(const QList<int> &anchos, const OpcionesInforme &opciones);
// The grid widths of a `FormatoColumnas` text: each percentage back to pixels (halves to the
// even pixel), "-1" hidden. Empty when the entry count differs from `columnas`.
QList<int> LeerFormatoColumnas(const QString &formato, int columnas, const OpcionesInforme &opciones);

// A list value as stored ("a,b") and back. Only the column and restriction lists escape
// commas as "[coma]"; the reader turns "," into item breaks first, then "[coma]" into ",",
// and leaves out empty items.
QString UnirListaInforme(const QStringList &items, bool escaparComas);
QStringList SepararListaInforme(const QString &valor, bool escaparComas);
