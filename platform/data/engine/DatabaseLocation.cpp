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

// An ODBC value that holds a separator goes in braces ("}" doubled), so that a ";" in a
// password or a name is part of the value and not the start of another attribute. Plain
// values stay bare: not every driver takes braces around every attribute.
QString bracedOdbcValue(const QString &value)
{
    const bool plain = !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('{'))
        && !value.contains(QLatin1Char('}')) && value.trimmed() == value;
    if (plain)
        return value;
    return QLatin1Char('{') + QString(value).replace(QLatin1String("}"), QLatin1String("}}")) + QLatin1Char('}');
}

QString DatabaseLocation::odbcConnectionString() const
{
    QString s = QStringLiteral("DRIVER={%1};SERVER=%2;").arg(odbcDriver, host);
    if (port > 0)
        s += QStringLiteral("PORT=%1;").arg(port);
    s += QStringLiteral("DATABASE=%1;UID=%2;PWD=%3")
             .arg(bracedOdbcValue(database), bracedOdbcValue(user), bracedOdbcValue(password));
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

QString quotedAdoValue(const QString &value)
{
    const bool plain = !value.contains(QLatin1Char(';')) && !value.startsWith(QLatin1Char('"'))
        && !value.startsWith(QLatin1Char('\'')) && value.trimmed() == value;
    if (plain)
        return value;
    return QLatin1Char('"') + QString(value).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

QList<std::pair<QString, QString>> adoAttributes(const QString &connectionString)
{
    QList<std::pair<QString, QString>> out;
    qsizetype i = 0;
    const qsizetype n = connectionString.size();
    while (i < n) {
        const qsizetype eq = connectionString.indexOf(QLatin1Char('='), i);
        const qsizetype semi = connectionString.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {   // a part without "=": skipped
            if (semi < 0)
                break;
            i = semi + 1;
            continue;
        }
        const QString key = connectionString.mid(i, eq - i).trimmed();
        qsizetype j = eq + 1;
        while (j < n && connectionString[j] == QLatin1Char(' '))
            ++j;
        QString value;
        if (j < n && (connectionString[j] == QLatin1Char('"') || connectionString[j] == QLatin1Char('\''))) {
            // A quoted value: a doubled quote is one quote; it ends at the lone closing one.
            const QChar quote = connectionString[j];
            for (++j; j < n; ++j) {
                if (connectionString[j] == quote) {
                    if (j + 1 < n && connectionString[j + 1] == quote) {
                        value += quote;
                        ++j;
                        continue;
                    }
                    ++j;
                    break;
                }
                value += connectionString[j];
            }
            const qsizetype end = connectionString.indexOf(QLatin1Char(';'), j);
            i = end < 0 ? n : end + 1;
        } else {
            const qsizetype end = connectionString.indexOf(QLatin1Char(';'), j);
            value = connectionString.mid(j, (end < 0 ? n : end) - j).trimmed();
            i = end < 0 ? n : end + 1;
        }
        if (!key.isEmpty())
            out.append({key, value});
    }
    return out;
}

QStringList paramsFromAdoConnectionString(const QString &connectionString)
{
    QStringList params;
    static const struct { const char *ado; const char *alias; } kKeys[] = {
        {"Data Source", "SERVER NAME"},  {"Initial Catalog", "DATABASE NAME"}, {"User ID", "USER NAME"},
        {"Password", "PASSWORD"},        {"Application Name", "APPLICATION NAME"},
        {"ODBC Driver", "ODBC DRIVER"},
    };
    for (const auto &[key, value] : adoAttributes(connectionString)) {
        for (const auto &k : kKeys)
            if (key.compare(QLatin1String(k.ado), Qt::CaseInsensitive) == 0)
                setParamValue(params, QLatin1String(k.alias), value);
    }
    return params;
}

} // namespace plat
