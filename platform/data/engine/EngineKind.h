#pragma once
#include <QString>

namespace plat {

// The engines the data layer drives. The program names them by its stored words
// ("Paradox", "SQL Generica", "Microsoft SQL Server"), kept so settings stay valid.
enum class EngineKind {
    SQLite,      // "Paradox": a folder holding datos.sqlite
    PostgreSQL,  // "SQL Generica"
    SqlServer,   // "Microsoft SQL Server", through ODBC and FreeTDS
};

// The engine of a `TipoBaseDatos` word; an empty word is the default "Paradox".
// "Microsoft Access" and unknown words raise gp::DatabaseError with a clear text.
EngineKind engineFromTypeWord(const QString &word);
QString engineTypeWord(EngineKind kind);

// Text raised when the settings ask for the engine that does not exist on Linux.
QString accessNotAvailableText();

} // namespace plat
