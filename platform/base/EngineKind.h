#pragma once
#include <QString>

namespace plat {

// The engines the program runs on, read once from the setting `TipoBaseDatos` and carried as
// this value everywhere. The program names them by its stored words ("Paradox",
// "SQL Generica", "Microsoft SQL Server"), kept so that settings stay valid.
enum class EngineKind {
    SQLite,      // "Paradox": a folder holding datos.sqlite
    PostgreSQL,  // "SQL Generica"
    SqlServer,   // "Microsoft SQL Server", through ODBC and FreeTDS
};

// Empty when the `TipoBaseDatos` word names an engine (an empty word is the default
// "Paradox"); else the message that refuses it: "Microsoft Access", which does not exist
// on Linux, or an unknown word.
QString engineRefusal(const QString &word);

// The engine of a `TipoBaseDatos` word; a refused word raises gp::DatabaseError with its
// refusal.
EngineKind engineFromTypeWord(const QString &word);
QString engineTypeWord(EngineKind kind);

} // namespace plat
