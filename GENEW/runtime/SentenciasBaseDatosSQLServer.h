#pragma once
#include <QString>
#include <QStringList>

// The program's statements that make a SQL Server database, with the names that come from
// the settings written so that the server reads each as one name and nothing more.

// A database name as a SQL Server identifier: in brackets, an inner "]" doubled.
QString IdentificadorSQLServer(const QString &nombre);

// "USE master CREATE DATABASE [N]  COLLATE <intercalacion>", "EXEC sp_dbcmptlevel [N], 80",
// "ALTER DATABASE [N] SET RECOVERY SIMPLE", in the order they run.
QStringList SentenciasCrearBaseDatosSQLServer(const QString &nombre, const QString &intercalacion);

// The collation and the isolation level reach SQL text as written, so they are accepted only
// as what they can be: a collation is one word of letters, digits and "_", an isolation level
// one of the server's five. Empty when both are usable, else the start-up error naming the
// setting.
QString MotivoRechazoAjustesSQLServer(const QString &intercalacion, const QString &nivelAislamiento,
                                      const QString &archivoConfiguracion);
