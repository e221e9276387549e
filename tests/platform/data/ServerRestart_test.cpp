// The server is stopped and started again while the program runs: the record typed meanwhile
// waits in its dataset and the next post stores it; a transaction open across the stop fails
// whole; nothing needs the program restarted.
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/engine/StoppedServerFixture.h"

using namespace plat;

namespace {

class ServerRestart : public gptest::StoppedServerTest<::testing::TestWithParam<gptest::Backend>>
{
protected:
    void SetUp() override
    {
        StoppedServerTest::SetUp();
        if (IsSkipped())
            return;
        QStringList params = server().aliasParams(QStringLiteral("GP_REINICIO_%1").arg(int(GetParam())));
        if (GetParam() == gptest::Backend::OdbcPostgreSQL) {
            if (gptest::postgresOdbcDriver().isEmpty())
                GTEST_SKIP() << "no PostgreSQL ODBC driver";
            params << QStringLiteral("ODBC DRIVER=") + gptest::postgresOdbcDriver();
        }
        session.setEngine(EngineKind::PostgreSQL);
        session.addAlias("PRUEBA", "MSSQL", params);
        session.createDatabase("PRUEBA");
        db().setAliasName("PRUEBA");
        db().dropTable("FICHA");
        gptest::createFicha(db());
        ficha.setConnection(&db());
        ficha.setTableName("FICHA");
        ficha.open();
    }

    void TearDown() override
    {
        ficha.close();
        session.closeAll();
        StoppedServerTest::TearDown();
    }

    Connection &db() { return session.connection("Database"); }

    QString stored(int codigo) { return db().scalar(QStringLiteral("SELECT Nombre FROM FICHA WHERE Codigo = %1").arg(codigo)).toString(); }

    Session session;
    TableDataSet ficha;
};

TEST_P(ServerRestart, TheRecordTypedWhileTheServerIsAwayIsStoredByTheNextPost)
{
    ASSERT_TRUE(ficha.findKey({1}));
    ficha.edit();
    ficha.fieldByName("Nombre").setAsString("escrito");
    stopServer();
    // Every post while it is away fails as a lost server, and the record stays as typed.
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_EQ(gptest::failureKind([&] { ficha.post(); }), gp::DatabaseErrorKind::ConnectionLost) << attempt;
        EXPECT_EQ(ficha.state(), DataSetState::Edit);
        EXPECT_EQ(ficha.fieldByName("Nombre").asString(), "escrito");
    }
    startServer();
    EXPECT_EQ(gptest::failureKind([&] { ficha.post(); }), std::nullopt);
    EXPECT_EQ(stored(1), "escrito");

    // A new record typed across a stop and a start goes in with the next post too.
    ficha.append();
    ficha.fieldByName("Codigo").setAsInteger(2);
    ficha.fieldByName("Nombre").setAsString("nuevo");
    stopServer();
    startServer();
    const auto first = gptest::failureKind([&] { ficha.post(); });
    if (first)
        EXPECT_EQ(first, gp::DatabaseErrorKind::ConnectionLost);   // only where the loss shows on a statement
    if (ficha.state() == DataSetState::Insert)
        ficha.post();
    EXPECT_EQ(stored(2), "nuevo");
}

TEST_P(ServerRestart, ATransactionOpenAcrossTheStopFailsWhole)
{
    ASSERT_TRUE(ficha.findKey({1}));
    db().startTransaction();
    db().exec("INSERT INTO FICHA (Codigo, Nombre) VALUES (2, 'dos')");
    stopServer();
    startServer();
    EXPECT_EQ(gptest::failureKind([&] {
                  ficha.edit();
                  ficha.fieldByName("Nombre").setAsString("escrito");
                  ficha.post();
              }),
              gp::DatabaseErrorKind::ConnectionLost);
    EXPECT_EQ(gptest::failureKind([&] { db().commit(); }), gp::DatabaseErrorKind::ConnectionLost);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM FICHA").toInt(), 1);
    EXPECT_EQ(stored(1), "uno");
    // Out of it, the record still typed is stored.
    if (ficha.state() == DataSetState::Browse)
        ficha.edit();
    ficha.fieldByName("Nombre").setAsString("escrito");
    ficha.post();
    EXPECT_EQ(stored(1), "escrito");
}

INSTANTIATE_TEST_SUITE_P(Engines, ServerRestart,
                         ::testing::Values(gptest::Backend::PostgreSQL, gptest::Backend::OdbcPostgreSQL), gptest::backendName);

} // namespace
