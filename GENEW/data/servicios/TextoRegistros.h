#pragma once
#include "platform/base/TipoCampo.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

class QIODevice;

namespace plat {
class DataSet;
class Field;
} // namespace plat

// Records as text: the record buffer's two forms, and the delimited text files of the
// export and the import. Works on any data set; no widgets, no database, no messages.
namespace textoRegistros {

// D, the field delimiter, and L, what a line break inside a value is written as.
struct Delimitadores
{
    QString campo = QStringLiteral("|");
    QString salto = QStringLiteral("·");
};
// The settings' delimiters; an empty one takes the standard.
Delimitadores DelimitadoresDe(const QString &campo, const QString &salto);

// The display text of a date-time value without a format of its own, digit by digit:
// "dd/mm/yyyy", and " hh:nn:ss" when the type is not ftDate and the time is not midnight;
// empty for a year outside 1..9999.
QString TextoFechaHora(const QDateTime &valor, TFieldType tipo);

// A field's value as the texts write it: a time field ("Hora" date-time) as "hh:nn:ss",
// a memo as its text, any other as its display text.
QString TextoCampo(const plat::Field &campo);

// The current record, each value followed by "|"; empty for an empty data set.
QString RegistroATexto(const plat::DataSet &dataSet);
// Name=value pairs of the non-empty values, each followed by "|", or by CR LF with
// "FormatoINI" (line breaks inside a value then written as "·"); "SoloCamposTabla" leaves
// calculated fields out.
QString RegistroATextoOpciones(const plat::DataSet &dataSet, const QString &opciones);
// Writes the pieces of a RegistroATexto text into the current record by position
// ("SinIndices": the current index's fields are left alone). The data set is put into edit
// state unless it is editing already; a piece a field cannot take is skipped.
void TextoARegistro(plat::DataSet &dataSet, const QString &texto, const QString &opciones);

// ---- export ---------------------------------------------------------------------------------

// Writes the lines of an export (each ending with CR LF, UTF-8) to a device. A text holding D
// or L, a CR or LF outside a CR LF pair, blanks at its ends, or quotes around the whole goes
// between quotes, with "\\" for a backslash, "\r" and "\n" for the line ends and "\d" for D.
class EscritorTexto
{
public:
    // k: the main table's key fields; the line marker "0" follows them when there are details.
    EscritorTexto(QIODevice &salida, Delimitadores delimitadores, int k, bool conDetalle);
    void cabeceras(const plat::DataSet &principal, const plat::DataSet *detalle);
    void principal(const plat::DataSet &dataSet);
    void detalle(const plat::DataSet &dataSet);
    // Hands what is left to the device; false when the device refused some of it.
    bool terminar();

private:
    void valor(const QString &texto, bool puedeTenerSaltos = true);
    void valor(const plat::Field &campo);
    void finLinea();
    void volcar();
    QIODevice &salida_;
    Delimitadores d_;
    int k_;
    bool conDetalle_;
    QString texto_;   // lines not yet handed to the device
    bool fallo_ = false;
};

// Main records from first to last, each followed by the detail's records (the detail
// follows its master through its link).
bool ExportarDataSet(QIODevice &salida, plat::DataSet &principal, plat::DataSet *detalle, const Delimitadores &d,
                     int k, bool cabeceras);

// ---- import ---------------------------------------------------------------------------------

struct OpcionesImportacion
{
    Delimitadores delimitadores;
    int k = 0;            // key fields of the main table (0 for a query)
    bool nuevo = false;   // lines without field names: key and marker columns are not read
};

// Reads the lines of an export back into the data sets. A value a field cannot keep whole (a
// text longer than the field, a date, time or number that does not read as one) fails its
// record, which is not written. The first failure asks whether to go on (the callback answers
// true to continue); every failure becomes an incidence.
class ImportacionTexto
{
public:
    using Pregunta = std::function<bool(const QString &pregunta)>;
    ImportacionTexto(plat::DataSet &principal, plat::DataSet *detalle, OpcionesImportacion opciones,
                     Pregunta continuar);
    void importar(const QString &contenido);
    // Numbered entries, at most 1001, then "¡Hay demasiados errores!" when there were more.
    QStringList incidencias() const;

private:
    enum class Tipo { Principal, Detalle };
    bool linea(const QStringList &piezas);
    void escribir(plat::DataSet &dataSet, const QStringList &piezas, const QStringList &nombres, Tipo tipo);
    void escribirCampo(plat::Field &campo, const QString &pieza);
    bool fallo(Tipo tipo, const QString &clave, const QString &marca, const QString &motivo);

    plat::DataSet &principal_;
    plat::DataSet *detalle_;
    OpcionesImportacion opciones_;
    Pregunta continuar_;
    QStringList nombresPrincipal_, nombresDetalle_;
    QStringList incidencias_;
    int fallos_ = 0;
    bool preguntado_ = false;
};

// The value a piece of a file line writes: trimmed, L turned back into CR LF; a piece between
// quotes (what the export writes for a text the plain form would not give back) read exactly.
QString ValorImportado(const QString &pieza, const Delimitadores &d);

} // namespace textoRegistros
