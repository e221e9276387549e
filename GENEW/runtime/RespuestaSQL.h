#pragma once
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/TipoCampo.h"

#include <QString>
#include <QVariant>

// The SQL service answers a statement as plain text: rows separated by CR LF, columns
// joined by "|" (or written as Name=Value pairs joined by "·" with "FormatoINI"), values
// written with the program's Spanish conventions. Everything here works on a row source,
// so the text is the same whatever engine or dataset produced the rows.

// Words of the option text of the SQL service; options are tested by substring.
namespace OpcionSQL {
inline const QString Silenciosa = QStringLiteral("Silenciosa");
inline const QString ForzarNULL = QStringLiteral("ForzarNULL");
inline const QString FormatoINI = QStringLiteral("FormatoINI");
inline const QString DelimitadorCRLFMemo = QStringLiteral("DelimitadorCRLFMemo");
inline const QString NoEliminarUltimoCRLF = QStringLiteral("NoEliminarUltimoCRLF");
inline const QString NoCrearTabla = QStringLiteral("No Crear Tabla");
inline const QString ServerName = QStringLiteral("ServerName=");
inline const QString ADOConnection = QStringLiteral("ADOConnection");
} // namespace OpcionSQL

// The answer of a statement that failed begins with this text; callers test for it.
inline const QString PrefijoErrorSQL = QStringLiteral("Error. No es posible ejecutar la sentencia SQL. Motivo: ");

// One statement run without telling anyone of a failure: the answer (the error text on a
// failure), the text that ran, and how it failed.
struct ResultadoSentenciaSQL
{
    QString respuesta;
    QString sentencia;   // as prepared and run
    gp::Fallo fallo;
};

// The error answer for the engine's message.
QString RespuestaErrorSQL(const QString &motivo);
bool EsRespuestaErrorSQL(const QString &respuesta);

// One value of the current row as the engine holds it, read without a QVariant: an integer,
// a double, or UTF-8 text that stays valid until the row moves. `Otro` sends the writer to
// `valor()`.
struct CeldaSQL
{
    enum class Tipo { Otro, Nulo, Entero, Real, Texto };
    Tipo tipo = Tipo::Otro;
    qint64 entero = 0;
    double real = 0;
    const char *texto = nullptr;
    qsizetype largo = 0;
};

// The rows of a result set, read forward once. A query result of the data layer
// implements it; column names come in the case the table declared them.
class FilasRespuestaSQL
{
public:
    virtual ~FilasRespuestaSQL() = default;
    virtual int numeroColumnas() const = 0;
    virtual QString nombreColumna(int columna) const = 0;
    virtual TFieldType tipoColumna(int columna) const = 0;
    // Moves to the next row (the first one on the first call); false past the last row.
    virtual bool siguienteFila() = 0;
    // The value of a column of the current row; a null QVariant is SQL NULL. May throw
    // gp::DatabaseError when the engine cannot read the value.
    virtual QVariant valor(int columna) const = 0;
    // The same value without a QVariant, where the source can give it so.
    virtual CeldaSQL celda(int columna) const
    {
        Q_UNUSED(columna);
        return {};
    }
};

// How a row is written out, read once from the option text.
struct FormatoRespuestaSQL
{
    bool formatoINI = false;
    bool conservarUltimoCRLF = false;
    QString delimitadorMemo = QStringLiteral(" ");   // what replaces a line break inside a memo

    static FormatoRespuestaSQL deOpciones(const QString &opciones);
};

// One value as the answer writes it: NULL empty, numbers with a decimal comma and no
// thousands separator, dates as dd/mm/yyyy with " hh:nn:ss" only when the time is not
// midnight (so the zero date reads "30/12/1899"), times as hh:nn:ss.
QString TextoValorSQL(const QVariant &valor, TFieldType tipo);

// The whole answer of a SELECT; an empty result set gives an empty text.
QString FormatearRespuestaSQL(FilasRespuestaSQL &filas, const FormatoRespuestaSQL &formato);
QString FormatearRespuestaSQL(FilasRespuestaSQL &filas, const QString &opciones);
