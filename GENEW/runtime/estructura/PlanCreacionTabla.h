#pragma once
#include "GENEW/runtime/comun/TipoCampo.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <utility>

// What creating one table needs, worked out from its definition lines without touching
// any database: the statements of the server engines, or the field and index
// definitions that the file engine creates a table from.
namespace estructura {

// A row of the user-fields table CAMPOUSR.
struct FilaCampoUsuario
{
    QString NombreTabla;
    int OrdenCampo = 0;
    QString NombreCampo;
    QString TipoCampo;      // "Alfanumerico", "Numerico", "Entero", "Fecha" or "Texto"
    QString LongitudCampo;
};

// The lines to build, in order: the "C" lines of the table's first block (the table
// name compared ignoring case; in a "Tabla Temporal" text every line is the table's),
// one line per user field of the table (an unknown type word is skipped), then the "I"
// lines of the block. The user fields are already those of this table.
QStringList LineasAConstruir(const QString &tabla, const QString &texto, bool temporal,
                             const QList<FilaCampoUsuario> &camposUsuario);

// A structure text split into lines once, with the first block of each table found in one
// pass: the start makes its tables from one text, each otherwise splitting and scanning it.
class TextoDividido
{
public:
    explicit TextoDividido(const QString &texto);
    const QStringList &lineas() const { return lineas_; }
    // As PrimerBloque ignoring case.
    QStringList primerBloque(const QString &tabla) const;

private:
    QStringList lineas_;
    QHash<QString, std::pair<qsizetype, qsizetype>> bloques_;   // by folded table name: first line, past the last
};

QStringList LineasAConstruir(const QString &tabla, const TextoDividido &texto, bool temporal,
                             const QList<FilaCampoUsuario> &camposUsuario);

// Server statements.
enum class DialectoSQL { SQLServer, SQLGenerica };

struct OpcionesSentencias
{
    DialectoSQL dialecto = DialectoSQL::SQLGenerica;
    QString formatoFechaSQL;   // "dd/mm/yyyy" writes the zero date day first
    QString versionSQLServer;  // a 2000 server has no VARCHAR(MAX)
    bool temporal = false;     // temporary tables on SQL Server have no owner
};

struct SentenciasCreacion
{
    QString crearTabla;        // empty when the lines have no column
    QStringList crearIndices;  // one per index other than the primary key
};

// Field and index names on SQL Server: every "ñ" becomes "_"; a name without "ñ" loses
// every "-". Other engines take the names as written.
QString NombreCampoSQL(const QString &nombre, DialectoSQL dialecto);

// The column text of one "C" line: the field name and its type's text, which is empty
// for the types the server engines cannot create.
QString TextoColumna(const QString &linea, const OpcionesSentencias &opciones);

// The CREATE TABLE and CREATE INDEX statements of a table (its name without owner).
SentenciasCreacion SentenciasCrearTabla(const QString &tabla, const QStringList &lineas,
                                        const OpcionesSentencias &opciones);

// File-engine definitions.
struct DefinicionCampo
{
    QString nombre;
    TFieldType tipo = ftUnknown;
    int tamano = 0;            // 0 for types without size and for "MAX"
    bool requerido = false;
    bool clave = false;
};

struct DefinicionIndice
{
    QString nombre;            // the engine's index name
    QString campos;            // joined by ";"
    bool primario = false;
    bool unico = false;
    bool sinMayusculas = false; // case-insensitive
    bool descendente = false;
};

struct DefinicionesTabla
{
    QList<DefinicionCampo> campos;
    QList<DefinicionIndice> indices;
};

// nombreIndice turns a definition's index name ("<Primary>", "Clave2") into the
// engine's index name for the table.
DefinicionesTabla DefinicionesCrearTabla(const QString &tabla, const QStringList &lineas,
                                         const std::function<QString(const QString &tabla,
                                                                     const QString &indice)> &nombreIndice);

} // namespace estructura
