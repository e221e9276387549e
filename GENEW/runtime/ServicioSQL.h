#pragma once
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/Errores.h"

#include <QString>

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

// One statement run without telling anyone of a failure (ResultadoSentenciaSQL, with the
// answers' text, so that the record services take it without the runtime).
ResultadoSentenciaSQL EjecutarSentenciaSQL(plat::Connection &conexion, const QString &sql, const QString &opciones,
                                           FormaSQL forma = FormaSQL::Motor);

// The warning of a failed statement followed by the statement itself: how every failure of
// the SQL service reaches the user. A server that cannot be reached is told once for the
// statements that fail together (AvisoServidorAusente), without them.
void InformarSentenciaErronea(const QString &mensaje, const QString &sentencia, const gp::Fallo &fallo = {});

// The text that EjecutarSQL runs: comparisons with the empty text after WHERE widened to
// NULL; for a SELECT also "=NULL" and "= NULL" written " IS NULL ", and with the option
// "ForzarNULL" " = ''" and ' = ""' as well.
QString PrepararSentenciaSQL(const QString &sql, const QString &opciones);
