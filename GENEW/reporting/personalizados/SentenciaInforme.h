#pragma once
#include "GENEW/reporting/personalizados/DefinicionInforme.h"

#include <QString>
#include <QStringList>

// The SQL text of a custom report, generated from its lists, shown as HTML, scanned for its
// titles and variables, and prepared for its trial run. Plain text in, plain text out.

// ---- the statement -------------------------------------------------------------------

// The Name=Value text the builder reads: "Tablas=", "Campos=", "Restricciones=",
// "Ordenacion=", "Vinculos=" joined by CR LF; restrictions joined by "·", the others by ",".
QString ParametrosSentencia(const DefinicionInforme &definicion);
// The SQL text of the lists, or empty when it would say nothing but "SELECT ". Never fails:
// inconsistent lists give whatever text follows from them.
QString ConstruirSentenciaSQL(const QString &parametros);
QString ConstruirSentenciaSQL(const DefinicionInforme &definicion);

// The statement for display: HTML with its keywords bold, column titles blue and variables
// red; the statement's own text is escaped first.
QString SentenciaSQLAHTML(const QString &sentencia);
// The column titles (the quoted aliases after " AS "), each in single quotes, one per line
// (CR LF after each), each listed once.
QString ListaTitulosColumnas(const QString &sentencia);
// The variables (":#", ":&", ":$", ":*" and a name), one per line (CR LF after each), each
// listed once, whole names (":#A" and ":#AB" are two).
QString ListaVariablesSQL(const QString &sentencia);

// ---- ordering and groups ----------------------------------------------------------------

// The text before the first blank of an item: the column it names.
QString ColumnaDeElemento(const QString &elemento);
// Whether the ordering begins with the groups, in the same order.
bool OrdenacionEmpiezaPorGrupos(const QStringList &ordenacion, const QStringList &grupos);
// The groups put at the head of the ordering, each later item naming the same column as an
// earlier one dropped once.
QStringList CorregirOrdenacion(const QStringList &ordenacion, const QStringList &grupos);

// ---- the trial run --------------------------------------------------------------------

// How the trial run writes the list variable's dummy: SQL Server reads `""` as an empty text;
// SQLite and PostgreSQL read it as a column name, so they get `''`.
enum class ListaVaciaPrueba { ComillasDobles, ComillasSimples };
// The statement on one line, "SELECT TOP 1 " for its first "SELECT ", and every variable
// replaced by its dummy: ":#" 0, ":&" '1/1/1900', ":$" '', ":*" as given.
QString SentenciaPruebaInforme(const QString &sentencia, ListaVaciaPrueba listaVacia);

// ---- result fields ------------------------------------------------------------------------

// The name a list item's column takes in the result: the title after " AS " without its
// quotes, else the column name after ".".
QString NombreCampoResultado(const QString &elemento);
