#pragma once
#include <QString>
#include <QVariant>

// Routines that write values and conditions into SQL text and recognise tables by name.
// Every literal written from a value is quoted safely (inner single quotes doubled); every
// date goes through LiteralFechaSQL (LiteralFechaSQL.h).

// The table named after the first " FROM " (upper case, one blank each side), upper-cased;
// empty when there is none.
QString ObtenerTablaDeSQL(const QString &sql);

// The value as an SQL literal: floating numbers with six decimals and a point, integers as
// digits, texts quoted, dates quoted in the SQL date form (the zero date as its text),
// null as ''; any other type (unset, small integers, bytes, Booleans...) gives "".
QString ValorASQL(const QVariant &valor);

// The value as text: element 0 of a list, texts as they are, integers as digits, dates and
// floating numbers in the system's form; "" for null, bytes and anything unconvertible.
QString VarianteATexto(const QVariant &valor);

// Widens the comparisons with the empty text that follow WHERE so that NULL counts as empty:
// "A = ''" -> "(A = '' OR A IS NULL)", "A <> ''" -> "(A <> '' AND A IS NOT NULL)". Quoted
// literals are left alone.
QString AjustarComparacionesVacias(const QString &sql);

// The statement's first word as written (up to the first blank), "SELECT" and "EXEC"
// being compared exactly.
QString PrimeraPalabraSQL(const QString &sql);

// Every occurrence of buscado outside quoted literals (single or double quotes, doubled
// quotes inside them) is replaced. When buscado ends in a quote, an occurrence followed by
// the same quote opens a literal and is left alone: " = '''a'" compares with "'a".
QString SustituirFueraDeLiterales(const QString &texto, const QString &buscado, const QString &nuevo);

// A condition for a field between two typed bounds; tipo is "ftInteger", "ftSmallint",
// "CAST_AS_INTEGER", "ftFloat", "ftString", "ftDate" or "ftDateTime" (other words work as
// "ftString").
QString ConstruirCondicionRango(const QString &campo, const QString &desde, const QString &hasta,
                                const QString &tipo);

// One of the tables of the general database (exact case; of "owner.table" the table).
bool EsTablaGeneral(const QString &tabla);
// A temporary table: "TEMP" in any case and at least 9 characters.
bool EsTablaTemporal(const QString &tabla);
// The engine's error says the table does not exist.
bool EsErrorTablaInexistente(const QString &error);
