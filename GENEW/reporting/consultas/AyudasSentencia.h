#pragma once
#include <QStringList>

// What the console's insertion panel and column titles write into the statement, line by
// line. "Last line" is the statement's last line (an empty statement has one empty line).
namespace ayudasSentencia {

// A keyword: "FROM", "WHERE", "ON", "ORDER BY" and "GROUP BY" open a new line indented by
// four blanks; an aggregate ("SUM( )"...) is written on the chosen table's field
// ("SUM(T1.Importe), "); any other keyword is appended followed by a blank. A "," ending the
// last line goes first (blanks after it stay), except before an aggregate.
void insertarComando(QStringList &lineas, const QString &comando, int tabla, const QString &campo);
// An operator and a blank, after the last line's "," is removed.
void insertarOperador(QStringList &lineas, const QString &operador);
// " " + table + " T" + its index.
void insertarTabla(QStringList &lineas, const QString &tabla, int indice);
// "T" + the table's index + "." + field + ", ".
void insertarCampo(QStringList &lineas, const QString &campo, int tabla);

// Every line holding "ORDER BY" (any case) becomes "ORDER BY " + field; without one, such a
// line is added at the end.
void ordenarPor(QStringList &lineas, const QString &campo);
// The first line holding "ORDER BY" goes; false when there is none.
bool quitarOrden(QStringList &lineas);

} // namespace ayudasSentencia
