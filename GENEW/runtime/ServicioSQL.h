#pragma once
#include <QString>
#include <functional>

namespace plat {
class Connection;
}

// The core of the SQL service: one statement run on one connection, answered as text.
// A SELECT (and, outside the ADO form, an EXEC) answers its rows as the formatter writes
// them; any other statement answers an empty text; a failure answers the error text and,
// unless the options hold "Silenciosa", shows it as a warning followed by the statement.

// The two ways a statement runs: the engine connection's, and the ADO form (EXEC is
// executed, not opened, and the rows have no Name=Value form).
enum class FormaSQL { Motor, ADO };

QString EjecutarSQLEnConexion(plat::Connection &conexion, const QString &sql, const QString &opciones,
                              FormaSQL forma = FormaSQL::Motor);

// The rewriting a statement gets before it runs (comparisons with the empty text widened
// to NULL). The data module installs its full form; nullptr puts the default back.
using PreparacionSentenciaSQL = std::function<QString(const QString &sql, const QString &opciones)>;
void InstalarPreparacionSentenciaSQL(PreparacionSentenciaSQL preparacion);
QString PrepararSentencia(const QString &sql, const QString &opciones);
