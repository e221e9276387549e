#pragma once
#include "platform/base/EngineKind.h"

#include <QString>

// The only two things the program writes into its settings file. Both raise gp::Error when
// the file cannot be written.

// Stores the SQL Server login password, scrambled, in section "Microsoft SQL Server".
void GuardarPasswordInicioSesion(const QString &archivo, const QString &password);

// Whether a failure to open a table on this engine asks for the table to be rebuilt (a damaged
// index or file of the folder engine).
bool FalloPideReconstruccion(plat::EngineKind motor, const QString &mensajeFallo);

// Adds the table (its database folder, "/", its name) to the sorted list of tables to rebuild,
// key "Tablas" of section "Reconstrucción Automática de Tablas"; a table already listed
// (whatever its case) is not added again. The rebuilding happens outside the program.
void AnotarTablaParaReconstruir(const QString &archivo, const QString &tabla);
