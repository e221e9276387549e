#include "platform/data/engine/EngineErrors.h"

#include <QHash>
#include <QRegularExpression>

namespace plat {

QString fieldMustHaveValueText(const QString &field)
{
    return QStringLiteral("Field '%1' must have a value").arg(field);
}

namespace {

// What a failure is, before it is worded.
struct Classified
{
    QString text;          // empty: not recognised
    bool standsAlone = false;
    gp::DatabaseErrorKind kind = gp::DatabaseErrorKind::Other;   // Other: the kind of the text
};

// The kind of each engine text a failure is classified as.
gp::DatabaseErrorKind kindOf(const QString &engineText)
{
    using K = gp::DatabaseErrorKind;
    static const QHash<QString, K> kinds = {
        {EngineText::KeyViolation, K::KeyViolation},  {EngineText::RecordLocked, K::RecordLocked},
        {EngineText::RecordDeleted, K::RecordDeleted}, {EngineText::TableReadOnly, K::ReadOnly},
        {EngineText::RecordChanged, K::RecordChanged},
        {EngineText::PathNotFound, K::MissingPath},    {EngineText::TableDoesNotExist, K::MissingTable},
        {EngineText::UnknownUser, K::UnknownUser},
    };
    return kinds.value(engineText, K::Other);
}

QString driverMessage(const QSqlError &e)
{
    QString db = e.databaseText().trimmed();
    const QString drv = e.driverText().trimmed();
    if (db.isEmpty())
        return drv;
    if (drv.isEmpty() || db.contains(drv))
        return db;
    return db + QLatin1Char(' ') + drv;
}

QString named(const QString &field, const std::function<QString(const QString &)> &fieldCase)
{
    return fieldCase ? fieldCase(field) : field;
}

Classified mustHaveValue(const QString &column, const std::function<QString(const QString &)> &fieldCase)
{
    return {fieldMustHaveValueText(named(column, fieldCase)), true, gp::DatabaseErrorKind::RequiredField};
}

Classified classifySqlite(const QString &msg, const std::function<QString(const QString &)> &fc)
{
    static const QRegularExpression notNull(QStringLiteral("NOT NULL constraint failed: (?:\\w+\\.)?(\\w+)"));
    if (auto m = notNull.match(msg); m.hasMatch())
        return mustHaveValue(m.captured(1), fc);
    if (msg.contains(QLatin1String("UNIQUE constraint failed"))
        || msg.contains(QLatin1String("PRIMARY KEY constraint failed")))
        return {EngineText::KeyViolation};
    if (msg.contains(QLatin1String("no such table")))
        return {EngineText::TableDoesNotExist};
    if (msg.contains(QLatin1String("database is locked")) || msg.contains(QLatin1String("database table is locked")))
        return {EngineText::RecordLocked};
    if (msg.contains(QLatin1String("readonly database")))
        return {EngineText::TableReadOnly};
    if (msg.contains(QLatin1String("unable to open database")))
        return {EngineText::PathNotFound};
    if (msg.contains(QLatin1String("no such column")))
        return {QStringLiteral("Invalid field name")};
    return {};
}

Classified classifyPostgres(const QString &state, const QString &msg,
                            const std::function<QString(const QString &)> &fc)
{
    static const QRegularExpression column(QStringLiteral("column \"([^\"]+)\""));
    if (state == QLatin1String("23502") || msg.contains(QLatin1String("violates not-null constraint"))) {
        const auto m = column.match(msg);
        return mustHaveValue(m.hasMatch() ? m.captured(1) : QString(), fc);
    }
    if (state == QLatin1String("23505") || msg.contains(QLatin1String("duplicate key value")))
        return {EngineText::KeyViolation};
    if (state == QLatin1String("42P01")
        || (msg.contains(QLatin1String("relation \"")) && msg.contains(QLatin1String("does not exist"))))
        return {EngineText::TableDoesNotExist};
    // The server's ODBC driver words a lock not granted in time without its SQLSTATE.
    if (state == QLatin1String("55P03") || state == QLatin1String("40P01") || state == QLatin1String("40001")
        || msg.contains(QLatin1String("due to lock timeout")))
        return {EngineText::RecordLocked};
    if (state == QLatin1String("28P01") || state == QLatin1String("28000")
        || msg.contains(QLatin1String("password authentication failed")))
        return {EngineText::UnknownUser};
    if (state == QLatin1String("3D000")
        || (msg.contains(QLatin1String("database \"")) && msg.contains(QLatin1String("does not exist"))))
        return {EngineText::PathNotFound};
    // The server's ODBC driver words a write a read-only transaction refuses without its SQLSTATE.
    if (state == QLatin1String("25006") || msg.contains(QLatin1String("in a read-only transaction")))
        return {EngineText::TableReadOnly};
    if (state == QLatin1String("42703"))
        return {QStringLiteral("Invalid field name")};
    return {};
}

// The SQLSTATE among a driver's native codes.
QString sqlState(const QString &native)
{
    static const QRegularExpression state(QStringLiteral("\\b([0-9A-Z]{5})\\b"));
    const auto m = state.match(native);
    return m.hasMatch() ? m.captured(1) : QString();
}

// ODBC reports the SQL Server error numbers, or the SQLSTATE and text of whichever
// driver sits behind it (FreeTDS, or the PostgreSQL driver in the tests).
Classified classifyOdbc(const QString &native, const QString &msg,
                        const std::function<QString(const QString &)> &fc)
{
    static const QRegularExpression nullInto(QStringLiteral("insert the value NULL into column '([^']+)'"));
    if (auto m = nullInto.match(msg); m.hasMatch())
        return mustHaveValue(m.captured(1), fc);
    if (native.contains(QLatin1String("2627")) || native.contains(QLatin1String("2601"))
        || msg.contains(QLatin1String("Violation of PRIMARY KEY")) || msg.contains(QLatin1String("duplicate key")))
        return {EngineText::KeyViolation};
    if (native.contains(QLatin1String("208")) || msg.contains(QLatin1String("Invalid object name")))
        return {EngineText::TableDoesNotExist};
    if (native.contains(QLatin1String("1222")) || msg.contains(QLatin1String("Lock request time out")))
        return {EngineText::RecordLocked};
    if (native.contains(QLatin1String("18456")) || msg.contains(QLatin1String("Login failed")))
        return {EngineText::UnknownUser};
    if (native.contains(QLatin1String("4060")) || msg.contains(QLatin1String("Cannot open database")))
        return {EngineText::PathNotFound};
    // The PostgreSQL driver behind ODBC words its failures as the server does.
    return classifyPostgres(sqlState(native), msg, fc);
}

} // namespace

bool linkLost(ErrorSource source, const QSqlError &error)
{
    if (source == ErrorSource::SQLite)
        return false;
    const QString state = sqlState(error.nativeErrorCode());
    // 57P01-57P03: the server is shutting down or not yet accepting sessions.
    return state.startsWith(QLatin1String("08")) || state.startsWith(QLatin1String("57P0"));
}

gp::DatabaseError linkLostError(const QSqlError &error)
{
    // The server's or the client library's words; QtSql's own ("Unable to connect") add nothing.
    const QString server = error.databaseText().trimmed();
    const QString reason = server.isEmpty() ? driverMessage(error) : server;
    return gp::DatabaseError(reason.isEmpty() ? EngineText::GeneralSqlError : reason, gp::DatabaseErrorKind::ConnectionLost,
                             reason);
}

gp::DatabaseError engineError(ErrorSource source, const QSqlError &error,
                              const std::function<QString(const QString &)> &fieldCase)
{
    const QString msg = driverMessage(error);
    const QString native = error.nativeErrorCode();
    Classified c;
    switch (source) {
    case ErrorSource::SQLite: c = classifySqlite(msg, fieldCase); break;
    case ErrorSource::PostgreSQL: c = classifyPostgres(native, msg, fieldCase); break;
    case ErrorSource::Odbc: c = classifyOdbc(native, msg, fieldCase); break;
    }
    if (c.text.isEmpty())
        c.text = EngineText::GeneralSqlError;
    const gp::DatabaseErrorKind kind = c.kind != gp::DatabaseErrorKind::Other ? c.kind : kindOf(c.text);
    if (c.standsAlone || msg.isEmpty())
        return gp::DatabaseError(c.text, kind, msg);
    return gp::DatabaseError(c.text + QStringLiteral(".\n") + msg, kind, msg);
}

QString engineErrorText(ErrorSource source, const QSqlError &error,
                        const std::function<QString(const QString &)> &fieldCase)
{
    return engineError(source, error, fieldCase).mensaje();
}

gp::DatabaseError engineFailure(const QString &engineText, const QString &detail)
{
    return gp::DatabaseError(detail.isEmpty() ? engineText : engineText + QStringLiteral(".\n") + detail,
                             kindOf(engineText), detail);
}

} // namespace plat
