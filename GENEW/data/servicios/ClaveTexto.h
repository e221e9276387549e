#pragma once
#include <QString>
#include <QStringList>
#include <QVariant>

namespace plat {
class DataSet;
class Field;
} // namespace plat

// The two text forms of a record key.
//
// Between routines a key is the values of its key fields in key order, each followed by
// ";" (the writer, TModuloDatos::ClaveRegistro, ends the last one too; readers take the
// n-th piece, so a text without the final ";" reads the same and missing pieces are empty).
// The side tables keep the values of a record's first k fields joined by "|".
// A date-time field whose name holds "Hora" (in any case) is written as its time.
namespace claveTexto {

// Piece i (from 0) of a ";" key text.
QString Pieza(const QString &clave, int i);

// A date-time field that carries a time of day: its name holds "HORA" in upper case.
bool EsCampoHoraClave(const plat::Field &campo);

// The time of a "Hora" field as the key writes it ("hh:nn:ss").
QString TextoHora(const QDateTime &valor);

// The text a key writes for the field's current value.
QString TextoCampo(const plat::Field &campo);

// The piece as the key compares it: a "Hora" field's piece read as a time and written back
// as time text; every other piece unchanged.
QString PiezaNormalizada(const plat::Field &campo, const QString &pieza);

// The field's value read from its text in a key: numbers with the settings' separators
// (thousands included), dates as the program writes them, "Hora" fields as a time on the
// zero date. An empty text of a number or date field is a null value.
QVariant ValorDeTexto(const plat::Field &campo, const QString &texto);

// A key text whose last piece carries "Ant:" names the record before the one with that key.
struct ClaveLeida
{
    QStringList piezas;   // one per key field, "Ant:" removed
    bool anterior = false;
};
ClaveLeida LeerClave(const QString &clave, int numeroCampos);

// The "|" key of the side tables: the current values of the first k fields.
QString ClaveLateral(const plat::DataSet &dataSet, int k);

// A piece of the form day "/" month "/" year (exactly two "/") rewritten as a date in the
// settings' SQL date format (two-digit years completed); any other piece unchanged.
QString PiezaFechaSQL(const QString &pieza);

} // namespace claveTexto
