#include "platform/data/engine/DatabaseLocation.h"

#include <QDir>

namespace plat {

QString DatabaseLocation::sqliteFile() const { return folder + QStringLiteral("/datos.sqlite"); }

QString DatabaseLocation::key() const
{
    if (isFolder())
        return QStringLiteral("sqlite:") + QDir::cleanPath(folder);
    return QStringLiteral("%1:%2:%3:%4:%5").arg(int(engine)).arg(host).arg(port).arg(database.toLower(), user);
}

QString DatabaseLocation::odbcConnectionString() const
{
    QString s = QStringLiteral("DRIVER={%1};SERVER=%2;").arg(odbcDriver, host);
    if (port > 0)
        s += QStringLiteral("PORT=%1;").arg(port);
    s += QStringLiteral("DATABASE=%1;UID=%2;PWD=%3").arg(database, user, password);
    if (odbcDriver.compare(QLatin1String("FreeTDS"), Qt::CaseInsensitive) == 0)
        s += QStringLiteral(";TDS_Version=7.4;ClientCharset=UTF-8");
    return s;
}

QString paramValue(const QStringList &params, const QString &name)
{
    for (const auto &line : params) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

void setParamValue(QStringList &params, const QString &name, const QString &value)
{
    for (auto &line : params) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && line.left(eq).trimmed().compare(name, Qt::CaseInsensitive) == 0) {
            line = line.left(eq) + QLatin1Char('=') + value;
            return;
        }
    }
    params << name + QLatin1Char('=') + value;
}

DatabaseLocation locationFromParams(const QStringList &params, EngineKind engine)
{
    DatabaseLocation loc;
    const QString path = paramValue(params, QStringLiteral("PATH"));
    if (!path.isEmpty()) {
        loc.engine = EngineKind::SQLite;
        loc.folder = QDir(path).absolutePath();
        return loc;
    }
    loc.engine = engine;
    QString server = paramValue(params, QStringLiteral("SERVER NAME"));
    if (server.startsWith(QLatin1String("np:"), Qt::CaseInsensitive))
        server = server.mid(3);
    const int comma = server.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        loc.port = server.mid(comma + 1).trimmed().toInt();
        server = server.left(comma).trimmed();
    }
    loc.host = server;
    loc.database = paramValue(params, QStringLiteral("DATABASE NAME"));
    loc.user = paramValue(params, QStringLiteral("USER NAME"));
    loc.password = paramValue(params, QStringLiteral("PASSWORD"));
    loc.applicationName = paramValue(params, QStringLiteral("APPLICATION NAME"));
    loc.odbcDriver = paramValue(params, QStringLiteral("ODBC DRIVER"));
    if (engine == EngineKind::SqlServer) {
        if (loc.odbcDriver.isEmpty())
            loc.odbcDriver = QStringLiteral("FreeTDS");
        if (loc.port == 0)
            loc.port = 1433;
    }
    if (engine == EngineKind::PostgreSQL)
        loc.database = loc.database.toLower();
    return loc;
}

QStringList paramsFromAdoConnectionString(const QString &connectionString)
{
    QStringList params;
    static const struct { const char *ado; const char *alias; } kKeys[] = {
        {"Data Source", "SERVER NAME"},  {"Initial Catalog", "DATABASE NAME"}, {"User ID", "USER NAME"},
        {"Password", "PASSWORD"},        {"Application Name", "APPLICATION NAME"},
        {"ODBC Driver", "ODBC DRIVER"},
    };
    const QStringList parts = connectionString.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const auto &part : parts) {
        const int eq = part.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString key = part.left(eq).trimmed();
        for (const auto &k : kKeys)
            if (key.compare(QLatin1String(k.ado), Qt::CaseInsensitive) == 0)
                setParamValue(params, QLatin1String(k.alias), part.mid(eq + 1).trimmed());
    }
    return params;
}

} // namespace plat
