#pragma once
#include <QString>
#include <QStringList>

// One line of a structure-definition text: pieces cut at every "/", counted from 0.
//   column:    TABLA/C/ordinal/campo/tipo/tamaño/*
//   index:     TABLA/I/ordinal/indice/campo1;campo2/opciones
//   statement: TABLA/SQL/...
// A "Tabla Temporal" text writes the same lines with an empty table name.
namespace estructura {

inline const QString kSaltoLinea = QStringLiteral("\r\n");
inline const QString kClaseCampo = QStringLiteral("C");
inline const QString kClaseIndice = QStringLiteral("I");
inline const QString kClaseSQL = QStringLiteral("SQL");
inline const QString kIndicePrimario = QStringLiteral("<Primary>");

// Piece n of a line cut at "/"; a missing piece reads as empty.
QString Pieza(const QString &linea, int n);

// The lines of a text separated by CR LF (a bare LF is accepted too). A closing line
// break gives no extra empty line.
QStringList DividirLineas(const QString &texto);

// Each line followed by CR LF.
QString UnirLineas(const QStringList &lineas);

// The text after the first "|" of a line (empty when there is none).
QString TextoDescripcion(const QString &linea);

inline QString TablaDeLinea(const QString &linea) { return Pieza(linea, 0); }
inline QString ClaseDeLinea(const QString &linea) { return Pieza(linea, 1); }

// A column line: the pieces that creation reads.
struct LineaCampo
{
    QString nombre;     // piece 3
    QString tipo;       // piece 4, the field-type name as written
    QString tamano;     // piece 5, a number or "MAX"
    bool clave = false; // piece 6 is "*"
};
LineaCampo LeerLineaCampo(const QString &linea);

// An index line.
struct LineaIndice
{
    QString nombre;       // piece 3, "<Primary>" for the primary key
    QString campos;       // piece 4: key fields joined by ";"
    bool descendente = false; // a "-" anywhere in piece 5
};
LineaIndice LeerLineaIndice(const QString &linea);

} // namespace estructura
