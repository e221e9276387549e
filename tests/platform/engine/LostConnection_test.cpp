// The server ends the program's sessions (an administrator's restart): the next statement
// opens the connection anew, a transaction open across the loss fails whole.
#include "tests/platform/engine/EngineFixture.h"
#include "tests/platform/engine/ServidorPrueba.h"

#include "platform/base/Errores.h"

#include <QThread>

using namespace plat;

namespace {

class LostConnection : public gptest::EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        if (isSqlite())
            GTEST_SKIP() << "a file has no server to lose";
        gptest::createFicha(db());
        databaseName = db().scalar("SELECT current_database()").toString();
    }

    // Ends every session of the test database and waits until they are gone.
    void endSessions()
    {
        const QString others = QStringLiteral("FROM pg_stat_activity WHERE datname = '%1' AND pid <> pg_backend_pid()")
                                   .arg(databaseName);
        admin.postgres().query("SELECT pg_terminate_backend(pid) " + others);
        for (int i = 0; i < 500 && admin.postgres().scalar("SELECT COUNT(*) " + others).toInt() > 0; ++i)
            QThread::msleep(10);
    }

    int rows() { return db().scalar("SELECT COUNT(*) FROM FICHA").toInt(); }

    gptest::ServidorPrueba admin;
    QString databaseName;
};

TEST_P(LostConnection, AConnectionLostWhileIdleServesTheNextStatements)
{
    endSessions();
    // The driver's own connection finds out before a statement is sent; through ODBC only the
    // statement that meets the closed link does, and it is not run again.
    const auto first = gptest::failureKind([&] { db().exec("INSERT INTO FICHA (Codigo, Nombre) VALUES (2, 'dos')"); });
    if (GetParam() == gptest::Backend::PostgreSQL)
        EXPECT_EQ(first, std::nullopt);
    else
        EXPECT_EQ(first, gp::DatabaseErrorKind::ConnectionLost);
    EXPECT_EQ(rows(), first ? 1 : 2);
    EXPECT_EQ(db().scalar("SELECT Nombre FROM FICHA WHERE Codigo = 1").toString(), "uno");

    // A statement prepared on the lost session is prepared again on the new one.
    const auto update = db().prepare("UPDATE FICHA SET Nombre = ? WHERE Codigo = ?", SqlOrigin::AsWritten);
    EXPECT_EQ(update->exec({"otro", 1}), 1);
    endSessions();
    const auto again = gptest::failureKind([&] { update->exec({"de nuevo", 1}); });
    EXPECT_EQ(again, first);
    EXPECT_EQ(update->exec({"al fin", 1}), 1);
    EXPECT_EQ(db().scalar("SELECT Nombre FROM FICHA WHERE Codigo = 1").toString(), "al fin");
}

TEST_P(LostConnection, ATransactionOpenAcrossTheLossFailsWhole)
{
    db().startTransaction();
    db().exec("INSERT INTO FICHA (Codigo, Nombre) VALUES (2, 'dos')");
    endSessions();
    using K = gp::DatabaseErrorKind;
    EXPECT_EQ(gptest::failureKind([&] { db().exec("INSERT INTO FICHA (Codigo, Nombre) VALUES (3, 'tres')"); }), K::ConnectionLost);
    // Nothing is opened anew inside it: its first statements would be missing.
    EXPECT_EQ(gptest::failureKind([&] { db().exec("INSERT INTO FICHA (Codigo, Nombre) VALUES (4, 'cuatro')"); }), K::ConnectionLost);
    EXPECT_EQ(gptest::failureKind([&] { db().startTransaction(); }), K::ConnectionLost);
    EXPECT_EQ(gptest::failureKind([&] { db().commit(); }), K::ConnectionLost);
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(rows(), 1);

    // Rolled back, the work is simply gone.
    db().startTransaction();
    db().exec("INSERT INTO FICHA (Codigo, Nombre) VALUES (5, 'cinco')");
    endSessions();
    EXPECT_EQ(gptest::failureKind([&] { db().rollback(); }), std::nullopt);
    EXPECT_EQ(rows(), 1);
}

// A session starts with the connection's settings (its isolation level, the lock wait, the
// messages it is sent), and so does the session that replaces one the server ended.
TEST_P(LostConnection, TheSessionsSettingsComeBackWithTheConnectionOpenedAnew)
{
    session->setLockWait(2500);
    db().close();
    db().setIsolationLevel(IsolationLevel::RepeatableRead);
    const auto settings = [&] {
        db().startTransaction();
        const QString read = db().scalar("SELECT current_setting('transaction_isolation') || ' ' || "
                                         "current_setting('lock_timeout') || ' ' || current_setting('client_min_messages')")
                                 .toString();
        db().commit();
        return read;
    };
    EXPECT_EQ(settings(), "repeatable read 2500ms warning");
    endSessions();
    const auto first = gptest::failureKind([&] { rows(); });
    if (GetParam() == gptest::Backend::PostgreSQL)
        EXPECT_EQ(first, std::nullopt);
    EXPECT_EQ(settings(), "repeatable read 2500ms warning");
}

INSTANTIATE_TEST_SUITE_P(Engines, LostConnection, GP_ENGINE_BACKENDS);

} // namespace
