#pragma once
#include <QString>
#include <QStringList>
#include <QVector>

// The texts of the programmable listing: filter lines, "Desde-Hasta" ranges, the condition,
// the physical query and the "Tabla Temporal" definition of the sorted copy. Pure functions
// over names, type names ("ftString", "ftDate"...) and typed values, so the dialog only
// gathers what the user typed.

// Physical: SQL over the listed table's engine name; logical: the dataset's filter.
enum class ModoListado { Fisico, Logico };

// A memo, graphic or blob field, which never sorts and goes last in the sorted copy.
bool EsCampoMemoListado(const QString &tipo);

// A typed float with "." and no "," gets its "." replaced by ",", as the value box shows it.
QString AjustarValorFlotante(const QString &valor);

// The typed value as a quoted literal for the field's type in the mode: dates in
// "dd/mm/yyyy" (logical) or the program's SQL date literal (physical), floats as SQL numbers,
// anything else as typed. A date that does not read as one throws gp::ConversionError
// "'<text>' is not a valid date".
QString ValorListado(const QString &tipo, const QString &valor, ModoListado modo);

// Appends to the memo's lines "(campo operador valor)", the previous last line ending in
// " AND"; an empty value adds nothing. Returns whether a line was added.
bool AgregarLineaFiltro(QStringList &lineas, const QString &campo, const QString &operador, const QString &tipo,
                        const QString &valor, ModoListado modo);

struct RangoListado
{
    QString campo;
    QString tipo;
    QString desde;
    QString hasta;
};

// "((A >= 'x') AND (B <= 'y'))"; empty when no bound was typed.
QString TextoRangosListado(const QVector<RangoListado> &rangos, ModoListado modo);

// "(" memo ")" joined with " AND " to the ranges; whichever exists alone.
QString TextoCondicionListado(const QString &memo, const QString &rangos);

struct CampoListado
{
    QString nombre;
    QString tipo;
    int tamanio = 0;
};

// The physical query's lines (CR LF between them): SELECT, FROM, WHERE when there is a
// condition, ORDER BY with the non-memo fields of the first ten selected when sorted.
QString SentenciaListado(const QVector<CampoListado> &seleccion, const QString &tabla, const QString &condicion,
                         bool clasificado);

// The "Tabla Temporal" text of the sorted copy: non-memo fields first (the first ten keyed),
// the key counter "ContadorAutoLP" after them, then the memo fields; the primary index
// names the key columns and the counter, so the copy always sorts by what it keys.
QString DefinicionCopiaClasificada(const QVector<CampoListado> &campos);

// The name of the sorted copy's counter column.
inline constexpr char kContadorCopia[] = "ContadorAutoLP";
