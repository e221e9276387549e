#pragma once
#include "platform/base/EngineKind.h"

#include <QString>
#include <QList>
#include <QStringList>
#include <utility>

namespace plat {

// Where a database lives once its name, alias or parameters are resolved.
struct DatabaseLocation
{
    EngineKind engine = EngineKind::SQLite;
    QString folder;           // SQLite: the folder holding datos.sqlite (absolute)
    QString host;             // servers
    int port = 0;
    QString database;         // servers: the database name
    QString user;
    QString password;
    QString applicationName;
    QString odbcDriver;       // reached through ODBC with this driver ("FreeTDS" on SQL Server)

    bool isFolder() const { return engine == EngineKind::SQLite; }
    QString sqliteFile() const;
    // Names that resolve to one database give one key (one shared SQLite connection).
    QString key() const;
    // The ODBC connection string: DRIVER={..};SERVER=..;PORT=..;DATABASE=..;UID=..;PWD=..
    // (with TDS_Version=7.4;ClientCharset=UTF-8 for FreeTDS).
    QString odbcConnectionString() const;
};

// The value of a "NAME=Value" parameter line (names ignore case); empty when absent.
QString paramValue(const QStringList &params, const QString &name);
// Sets or adds a "NAME=Value" line.
void setParamValue(QStringList &params, const QString &name, const QString &value);

// A server location from the program's alias parameters: "SERVER NAME" ("host" or
// "host,port", an "np:" prefix ignored), "DATABASE NAME", "USER NAME", "PASSWORD",
// "APPLICATION NAME"; "PATH" makes it a folder. `engine` is the configured server engine.
DatabaseLocation locationFromParams(const QStringList &params, EngineKind engine);

// An ADO connection-string value as OLE DB quotes it: in double quotes (inner ones doubled)
// when it holds ";" or starts with a quote or a blank, else as it is.
QString quotedAdoValue(const QString &value);
// The attributes of an ADO connection string, quoted values read back.
QList<std::pair<QString, QString>> adoAttributes(const QString &connectionString);

// The same from an ADO connection string the program writes ("Provider=SQLOLEDB.1;
// User ID=..;Password=..;Initial Catalog=..;Data Source=..;Application Name=..").
// Returns the parameters in alias form.
QStringList paramsFromAdoConnectionString(const QString &connectionString);

} // namespace plat
