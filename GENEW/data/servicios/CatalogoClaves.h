#pragma once
#include "GENEW/data/servicios/CacheRespuestasSQL.h"
#include "GENEW/data/servicios/NombresMotor.h"

#include <QString>
#include <functional>

namespace plat {
class Connection;
class Dialect;
}

// The key fields and columns of tables as the server's catalogue tells them, asked
// through the SQL service in the engine's own catalogue statement (on SQL Server the
// program's SYSINDEXES / SYSCOLUMNS texts). Answers come as names joined by ";".
// Where the engine's connection holds its catalogue's record in memory (PostgreSQL reads it
// whole once per connection and reads a table it changes again), the answers come from that
// record without a statement; a temporary table, which another connection may have made
// anew, is still asked of the server.
class CatalogoClaves
{
public:
    // Runs a statement on a database word with options and gives the service's answer.
    using Ejecutor = std::function<QString(const QString &sql, const QString &baseDatos, const QString &opciones)>;
    // The connection of a database word; empty or null: every question goes to the server.
    using Conexion = std::function<plat::Connection *(const QString &baseDatos)>;

    // cache: the data module's answer cache; null while the module does not exist yet,
    // and then every question goes to the server.
    CatalogoClaves(const NombresMotor &nombres, const plat::Dialect &dialecto, Ejecutor ejecutar,
                   CacheRespuestasSQL *cache, Conexion conexion = {})
        : nombres_(nombres), dialecto_(dialecto), ejecutar_(std::move(ejecutar)), cache_(cache),
          conexion_(std::move(conexion)) {}

    // The key fields of an index of the table ("" the primary one), in key order.
    QString CamposClaveSQL(const QString &tabla, const QString &indice);
    int NumeroCamposClaveSQL(const QString &tabla);
    // The columns of the table in their order; "SinMemos" leaves memo columns out.
    QString ColumnasTablaSQL(const QString &tabla, const QString &opciones);
    // The same, one name a line ("Sin Campos Memo" also leaves memos out).
    QString ListaColumnasTabla(const QString &tabla, const QString &opciones);

    QString sentenciaCamposClave(const QString &tabla, const QString &indice) const;
    QString sentenciaColumnas(const QString &tabla, const QString &opciones) const;

private:
    QString preguntar(const QString &sql, const QString &baseDatos, bool usarCache);
    // The connection whose record answers for the table, or null.
    plat::Connection *registro(const QString &tabla, const QString &baseDatos) const;

    const NombresMotor &nombres_;
    const plat::Dialect &dialecto_;
    Ejecutor ejecutar_;
    CacheRespuestasSQL *cache_;
    Conexion conexion_;
};
