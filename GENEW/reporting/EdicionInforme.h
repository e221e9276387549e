#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace plat {
class Dialect;
}

// The custom-report designer's edits of the report's lists, without widgets: the items its
// add dialogs offer and make, the references a deletion takes along, titles and their
// propagation, and the widths of the format grid.
namespace edicionInforme {

// An item holding "(" is an expression column.
bool esExpresion(const QString &elemento);
// The text before the first blank of an item: the column it names.
QString columnaDe(const QString &elemento);
// Whether a column item carries its own title (" AS " after an expression's parentheses).
bool tieneTitulo(const QString &elemento);
// The title of a column item, untranslated: the text after " AS " without its quotes, else
// the column name (after ".") made readable.
QString tituloColumna(const QString &elemento);
// What an ordering, group or sum item is for a column item: "_Expresion AS " + its quoted
// title for an expression, else the item itself.
QString referenciaColumna(const QString &columna);
// Whether a column item is one of the groups (as itself or through its expression title).
bool esGrupo(const QString &columna, const QStringList &grupos);

// A column of a listed table ("TABLA.Campo") and its type name ("ftString", "ftFloat"...).
struct CampoInforme
{
    QString nombre;
    QString tipo;
};
// The type of a "TABLA.Campo" among the fields; empty when absent.
QString tipoDe(const QString &columna, const QList<CampoInforme> &campos);

// The add dialogs' candidates: every column item as written ("_Expresion AS" form for
// expressions); group candidates are text, integer and date columns and expressions; sum
// candidates float columns and titled expressions.
QStringList candidatosOrdenacion(const QStringList &columnas);
QStringList candidatosGrupos(const QStringList &columnas, const QList<CampoInforme> &campos);
QStringList candidatosSumatorios(const QStringList &columnas, const QList<CampoInforme> &campos);

// Appends the items not yet listed; whether anything was appended.
bool anadirAusentes(QStringList &lista, const QStringList &elementos);

// ---- restrictions and links --------------------------------------------------------------

struct Relacion
{
    QString texto;      // as the dialog offers it: "Igual a"...
    QString operador;   // "="...
};
const QList<Relacion> &relaciones();
bool esRelacionMultiple(const QString &operador);

// A typed constant as a single-quoted literal (inner quotes doubled).
QString valorConstante(const QString &texto);
// A typed list "a , b," as "('a','b')": one trailing "," dropped, blanks around the commas
// closed, each item a single-quoted literal.
QString valorListaConstantes(const QString &texto);
// A variable of the column's type: ":#" numbers, ":&" dates, ":$" otherwise; blanks removed.
QString valorVariable(const QString &nombre, const QString &tipo);
QString valorListaVariable(const QString &nombre);

// ---- the analysis-group column -------------------------------------------------------------

// The column that reads a record's analysis group of a category: the group's Descripcion of
// the table's row, keyed by its key columns joined with "|" as GRANTAB keeps them. On SQL
// Server the text reads "(SELECT TOP 1 ..." with "+" joins; other engines get their own
// first-row and concatenation forms.
QString columnaGrupoAnalisis(const QString &tabla, const QStringList &camposClave, const QString &categoria,
                             const plat::Dialect &dialecto);

// ---- deletions and titles -----------------------------------------------------------------

// The report's lists the designer edits together.
struct ListasInforme
{
    QStringList &columnas;
    QStringList &restricciones;
    QStringList &ordenacion;
    QStringList &vinculos;
    QStringList &grupos;
    QStringList &sumatorios;
};

// Removes every item that refers to the table: columns, ordering, groups and sums naming it
// before "."; restrictions and links naming it so, or holding " " + table + "." anywhere.
void quitarReferenciasTabla(const QString &tabla, ListasInforme listas);
// Removes the ordering, group and sum items that name the column.
void quitarReferenciasColumna(const QString &columna, ListasInforme listas);

// The column item with the title typed for it: an expression keeps its part before " AS ";
// a plain column with no title, or one equal to its readable or own name, stays plain.
QString columnaConTitulo(const QString &columna, const QString &titulo);
// The ordering, group and sum items that referred to the old column item now refer to the
// new one (an ordering keeps its " DESC").
void propagarTitulo(const QString &anterior, const QString &nueva, ListasInforme listas);

// ---- the format grid ----------------------------------------------------------------------

// The grid's widths after the column list changed: a column already in the grid keeps its
// width (a hidden one gets its title's width again); a new one its title's width; a group -1.
// `anteriores` maps an old grid column's item (text before " AS ") to its width.
QList<int> anchosRejilla(const QStringList &columnas, const QStringList &grupos,
                         const QList<std::pair<QString, int>> &anteriores,
                         const std::function<int(const QString &columna)> &anchoTitulo);

// The visible widths (hidden ones are -1) scaled by `objetivo` over their total, counted
// with one pixel after each but the last; each width truncated, the last column, when
// visible, takes the difference to `objetivo`; a visible column keeps at least one pixel.
// Nothing changes when the total is not positive.
QList<int> autoajustar(const QList<int> &anchos, int objetivo);

// ---- the export file ------------------------------------------------------------------------

// The values an "INFORME.TXT" carries: one Name=Value line per FILTRO column, line breaks
// inside a value written "·". A missing key is an empty value.
struct InformeExportado
{
    QString descripcion;
    QString filtro;
    QString instrucciones;
};
InformeExportado leerInformeExportado(const QString &texto);

} // namespace edicionInforme
