#pragma once
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include <QUuid>
#include <gtest/gtest.h>
#include <memory>

namespace gptest {

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

// A fresh database per test: a temporary folder, or a new PostgreSQL database that is
// dropped afterwards. `db()` is the connection "Database" pointed at it.
class EngineTest : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        session = std::make_unique<plat::Session>();
        if (GetParam() == Backend::SQLite) {
            session->connection(QStringLiteral("Database")).setDatabaseName(dir.path());
            return;
        }
        const auto pg = PgTestServer::fromEnvironment();
        if (!pg.available())
            GTEST_SKIP() << "no PostgreSQL test server";
        if (GetParam() == Backend::OdbcPostgreSQL && postgresOdbcDriver().isEmpty())
            GTEST_SKIP() << "no PostgreSQL ODBC driver";
        databaseName = QStringLiteral("gp_t_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        session->setEngine(plat::EngineKind::PostgreSQL);
        aliasParams = {QStringLiteral("SERVER NAME=%1,%2").arg(pg.host).arg(pg.port),
                       QStringLiteral("DATABASE NAME=") + databaseName.toUpper(),
                       QStringLiteral("USER NAME=") + pg.user};
        if (GetParam() == Backend::OdbcPostgreSQL)
            aliasParams << QStringLiteral("ODBC DRIVER=") + postgresOdbcDriver();
        session->addAlias(QStringLiteral("PRUEBA"), QStringLiteral("MSSQL"), aliasParams);
        session->createDatabase(QStringLiteral("PRUEBA"));
        session->connection(QStringLiteral("Database")).setAliasName(QStringLiteral("PRUEBA"));
        created = true;
    }

    void TearDown() override
    {
        if (!session)
            return;
        session->closeAll();
        session.reset();
        if (created) {
            plat::Session admin;
            admin.setEngine(plat::EngineKind::PostgreSQL);
            QStringList p = aliasParams.mid(0, 1);
            p << QStringLiteral("DATABASE NAME=postgres") << aliasParams.at(2);
            admin.addAlias(QStringLiteral("ADMIN"), QString(), p);
            admin.connection(QStringLiteral("x")).setAliasName(QStringLiteral("ADMIN"));
            admin.connection(QStringLiteral("x")).exec(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(databaseName.toLower()));
        }
    }

    plat::Connection &db() { return session->connection(QStringLiteral("Database")); }
    bool isSqlite() const { return GetParam() == Backend::SQLite; }

    TempDir dir;
    std::unique_ptr<plat::Session> session;
    QString databaseName;
    QStringList aliasParams;
    bool created = false;
};

#define GP_ENGINE_BACKENDS                                                                                    \
    ::testing::Values(gptest::Backend::SQLite, gptest::Backend::PostgreSQL, gptest::Backend::OdbcPostgreSQL), \
        gptest::backendName

} // namespace gptest
