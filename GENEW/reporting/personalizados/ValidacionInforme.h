#pragma once
#include "GENEW/reporting/personalizados/DefinicionInforme.h"

#include <QString>
#include <functional>

// The designer's check of a custom report: the ordering must begin with the groups (the user
// may have it corrected), and the statement shown must run on the company database. The
// trial run takes one row with dummy values in place of the variables, inside a transaction
// that is always rolled back, so a statement that writes changes nothing.
//
// `definicion`'s ordering is corrected in place; `regenerarSentencia` then rebuilds what the
// designer shows and answers the new statement (without it, the statement of the lists).
// With "Silenciosa" in the options nothing is shown after the run. The answer is the SQL
// service's: it begins with "Error" when the statement fails.
QString ValidarInforme(const QString &opciones, DefinicionInforme &definicion, const QString &sentenciaMostrada,
                       const std::function<QString()> &regenerarSentencia = {});
