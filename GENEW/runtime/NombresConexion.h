#pragma once
#include "platform/base/EngineKind.h"

#include <QString>
#include <QStringList>

// The names and texts from which the connections are built: database names of companies,
// ADO connection strings, the parameter lines of a company connection. They depend only on
// the settings and the session values passed in, so the connection owner computes them here.

// The company's database: on "Paradox" the folder of the general database (code 0) or its
// subfolder named after the code; on the server engines the company alias base (code 0) or
// the base followed by the code.
QString NombreBaseDatosEmpresa(plat::EngineKind motor, const QString &pathBaseDatosGeneral,
                               const QString &baseAliasEmpresa, int codigoEmpresa);

// The server name of a connection: the alias's "SERVER NAME", with "np:" put in front under
// Windows authentication when it has none.
QString NombreServidor(const QString &servidorAlias, bool autenticacionWindows);

// What an ADO connection string is made of, besides its selector and server.
struct DatosCadenaADO
{
    bool autenticacionWindows = false;
    QString usuario;                    // SQL Server login name
    QString password;                   // clear text
    QString servidor;                   // the connection's server name (may hold "np:")
    QString baseDatosGeneral;           // database name of DatabaseGeneral
    QString baseDatosAlt;               // database name of DatabaseAlt
    QString catalogoForzado;            // set by the SQL service for the duration of a call
    QString baseDatosEmpresaActual;     // NombreBaseDatosEmpresa of the current company
    QString ejecutable;                 // the executable's file name
    QString usuarioActual;              // current user code
};

// selector: "?" + name, "DatabaseGeneral", "DatabaseAlt", "Database" or empty, or a
// database name; an empty servidor takes the one of datos.
QString CadenaConexionADO(const DatosCadenaADO &datos, const QString &selector, const QString &servidor);

// The twelve parameter lines with which a company connection is re-pointed.
QStringList ParametrosConexionEmpresa(const QString &servidor, const QString &nombreBaseDatos,
                                      const QString &usuario, const QString &password,
                                      const QString &ejecutable, const QString &usuarioActual);

// A table or field name as the engine accepts it in a CREATE statement.
QString AdaptarNombreSQL(const QString &nombre, plat::EngineKind motor);

// The decimal column type of a numeric field: exchange rates and factors keep more decimals.
QString TipoDecimalSQL(const QString &nombreCampo);
