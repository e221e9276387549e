#pragma once
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include "platform/base/Errores.h"
#include "platform/data/Field.h"

#include <QUuid>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace gptest {

// How the work failed: the engine failure's kind, or nothing when it did not.
inline std::optional<gp::DatabaseErrorKind> failureKind(const std::function<void()> &work)
{
    try {
        work();
    } catch (const gp::DatabaseError &e) {
        return e.kind();
    }
    return std::nullopt;
}

// The back ends every engine case runs on: SQLite always; PostgreSQL natively and
// through ODBC when the throwaway server is running.
enum class Backend { SQLite, PostgreSQL, OdbcPostgreSQL };

inline std::string backendName(const ::testing::TestParamInfo<Backend> &info)
{
    switch (info.param) {
    case Backend::SQLite: return "SQLite";
    case Backend::PostgreSQL: return "PostgreSQL";
    case Backend::OdbcPostgreSQL: return "OdbcPostgreSQL";
    }
    return "Unknown";
}

// The PostgreSQL ODBC driver, by file so that no system registration is needed.
inline QString postgresOdbcDriver()
{
    for (const char *p : {"/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so", "/usr/lib/aarch64-linux-gnu/odbc/psqlodbcw.so",
                          "/usr/lib/odbc/psqlodbcw.so"})
        if (QFile::exists(QLatin1String(p)))
            return QLatin1String(p);
    return {};
}

// FICHA (Codigo, the key, and Nombre) holding record 1, "uno": the one record of the cases
// where a connection is held up, lost or cut off.
inline void createFicha(plat::Connection &db, const QString &name = QStringLiteral("FICHA"))
{
    plat::TableDef t;
    t.name = name;
    t.fields = {plat::fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), plat::fieldDef(QStringLiteral("Nombre"), ftString, 20)};
    plat::IndexDef key;
    key.name = QStringLiteral("Clave1");
    key.fields = {QStringLiteral("Codigo")};
    key.primary = key.unique = true;
    t.indexes = {key};
    db.createTable(t);
    db.exec(QStringLiteral("INSERT INTO %1 (Codigo, Nombre) VALUES (1, 'uno')").arg(name));
}

// A fresh database of one back end behind the connection "Database" of a session: a
// folder for SQLite, or a new PostgreSQL database that `drop` removes.
class EngineDatabase
{
public:
    // Empty when the database is ready, else why this back end cannot run here.
    QString open(Backend backend, plat::Session &session, const QString &folder)
    {
        if (backend == Backend::SQLite) {
            session.connection(QStringLiteral("Database")).setDatabaseName(folder);
            return {};
        }
        const auto pg = PgTestServer::fromEnvironment();
        if (!pg.available())
            return QStringLiteral("no PostgreSQL test server");
        if (backend == Backend::OdbcPostgreSQL && postgresOdbcDriver().isEmpty())
            return QStringLiteral("no PostgreSQL ODBC driver");
        databaseName_ = QStringLiteral("gp_t_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        session.setEngine(plat::EngineKind::PostgreSQL);
        aliasParams_ = {QStringLiteral("SERVER NAME=%1,%2").arg(pg.host).arg(pg.port),
                        QStringLiteral("DATABASE NAME=") + databaseName_.toUpper(),
                        QStringLiteral("USER NAME=") + pg.user};
        if (backend == Backend::OdbcPostgreSQL)
            aliasParams_ << QStringLiteral("ODBC DRIVER=") + postgresOdbcDriver();
        session.addAlias(QStringLiteral("PRUEBA"), QStringLiteral("MSSQL"), aliasParams_);
        session.createDatabase(QStringLiteral("PRUEBA"));
        session.connection(QStringLiteral("Database")).setAliasName(QStringLiteral("PRUEBA"));
        created_ = true;
        return {};
    }

    // Points the connection "Database" of another session at the same database: another
    // program using it (reaching the server through `port` of the loopback when given).
    void openAgain(plat::Session &other, const QString &folder, int port = 0) const
    {
        if (!created_) {
            other.connection(QStringLiteral("Database")).setDatabaseName(folder);
            return;
        }
        other.setEngine(plat::EngineKind::PostgreSQL);
        QStringList params = aliasParams_;
        if (port > 0)
            params[0] = QStringLiteral("SERVER NAME=127.0.0.1,%1").arg(port);
        other.addAlias(QStringLiteral("PRUEBA"), QStringLiteral("MSSQL"), params);
        other.connection(QStringLiteral("Database")).setAliasName(QStringLiteral("PRUEBA"));
    }

    // Call once the session that used it is closed.
    void drop()
    {
        if (!created_)
            return;
        created_ = false;
        plat::Session admin;
        admin.setEngine(plat::EngineKind::PostgreSQL);
        QStringList p = aliasParams_.mid(0, 1);
        p << QStringLiteral("DATABASE NAME=postgres") << aliasParams_.at(2);
        admin.addAlias(QStringLiteral("ADMIN"), QString(), p);
        admin.connection(QStringLiteral("x")).setAliasName(QStringLiteral("ADMIN"));
        admin.connection(QStringLiteral("x")).exec(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName_.toLower()));
    }

private:
    QString databaseName_;
    QStringList aliasParams_;
    bool created_ = false;
};

// A fresh database per test on each back end; `db()` is the connection "Database" pointed at it.
class EngineTest : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        session = std::make_unique<plat::Session>();
        const QString skip = database.open(GetParam(), *session, dir.path());
        if (!skip.isEmpty())
            GTEST_SKIP() << skip.toStdString();
    }

    void TearDown() override
    {
        if (!session)
            return;
        session->closeAll();
        session.reset();
        database.drop();
    }

    plat::Connection &db() { return session->connection(QStringLiteral("Database")); }
    bool isSqlite() const { return GetParam() == Backend::SQLite; }

    TempDir dir;
    std::unique_ptr<plat::Session> session;
    EngineDatabase database;
};

#define GP_ENGINE_BACKENDS                                                                                    \
    ::testing::Values(gptest::Backend::SQLite, gptest::Backend::PostgreSQL, gptest::Backend::OdbcPostgreSQL), \
        gptest::backendName

} // namespace gptest
