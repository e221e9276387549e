// A record another program holds: a save waits for it the configured time at most, then
// fails as a locked record with the edit kept, on every engine; once let go it is saved.
#include "tests/platform/engine/OtherProgramFixture.h"

#include "platform/base/Errores.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/EngineErrors.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using namespace plat;

namespace {

constexpr int kWaitMs = 400;
// Longer than any wait the save may make: a save still waiting when it ends waited for it.
constexpr auto kHeldFor = std::chrono::seconds(6);

// Another program that changes record 1 inside a transaction and keeps it open until told
// to let go (or kHeldFor has passed), on a thread and a session of its own.
class Holder
{
public:
    Holder(const gptest::EngineDatabase &database, const QString &folder)
    {
        worker_ = std::thread([this, &database, folder] {
            gptest::OtherProgram other(database, folder);
            Connection &c = other.db();
            try {
                c.startTransaction();
                c.exec(QStringLiteral("UPDATE FICHA SET Nombre = Nombre WHERE Codigo = 1"));
                held_.set_value(true);
            } catch (const gp::Error &) {
                held_.set_value(false);
                return;
            }
            release_.get_future().wait_for(kHeldFor);
            c.rollback();
            released_ = true;
        });
    }
    ~Holder() { letGo(); }

    bool held() { return heldFuture_.get(); }
    bool released() const { return released_; }
    void letGo()
    {
        if (!worker_.joinable())
            return;
        if (!letGoSent_) {
            letGoSent_ = true;
            release_.set_value();
        }
        worker_.join();
    }

private:
    std::promise<bool> held_;
    std::future<bool> heldFuture_ = held_.get_future();
    std::promise<void> release_;
    bool letGoSent_ = false;
    std::atomic<bool> released_{false};
    std::thread worker_;
};

class LockWait : public gptest::EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        gptest::createFicha(db());
        editor.emplace(database, dir.path());
        editor->session().setLockWait(kWaitMs);
        table = std::make_unique<TableDataSet>("FICHA");
        table->setConnection(&editor->db());
        table->setTableName("FICHA");
        table->open();
    }

    void TearDown() override
    {
        table.reset();
        editor.reset();
        EngineTest::TearDown();
    }

    QString stored() { return db().scalar("SELECT Nombre FROM FICHA WHERE Codigo = 1").toString(); }

    std::optional<gptest::OtherProgram> editor;
    std::unique_ptr<TableDataSet> table;
};

TEST_P(LockWait, ASaveOnAHeldRecordFailsAsLockedAfterTheWaitAndSucceedsOnceLetGo)
{
    ASSERT_TRUE(table->findKey({1}));
    table->edit();
    table->fieldByName("Nombre").setAsString("Escrito aquí");
    Holder holder(database, dir.path());
    ASSERT_TRUE(holder.held());

    QElapsedTimer waited;
    waited.start();
    std::optional<gp::DatabaseErrorKind> failure = gptest::failureKind([&] { table->post(); });
    const qint64 elapsed = waited.elapsed();
    EXPECT_FALSE(holder.released()) << "the save waited for the other program to end";
    EXPECT_EQ(failure, gp::DatabaseErrorKind::RecordLocked);
    EXPECT_GE(elapsed, kWaitMs - 50);
    try {
        table->post();
        ADD_FAILURE() << "posted a record another program holds";
    } catch (const gp::DatabaseError &e) {
        EXPECT_TRUE(e.mensaje().startsWith(EngineText::RecordLocked)) << e.mensaje().toStdString();
    }
    EXPECT_EQ(table->state(), DataSetState::Edit);
    EXPECT_EQ(table->fieldByName("Nombre").asString(), "Escrito aquí");

    holder.letGo();
    EXPECT_EQ(gptest::failureKind([&] { table->post(); }), std::nullopt);
    EXPECT_EQ(table->state(), DataSetState::Browse);
    EXPECT_EQ(stored(), "Escrito aquí");
}

INSTANTIATE_TEST_SUITE_P(Engines, LockWait, GP_ENGINE_BACKENDS);

TEST(LockWaitStatements, EachServerSetsTheWaitAndReportsItsEndAsALockedRecord)
{
    EXPECT_EQ(Dialect::forEngine(EngineKind::SqlServer).lockWaitStatement(10000), "SET LOCK_TIMEOUT 10000");
    EXPECT_EQ(Dialect::forEngine(EngineKind::PostgreSQL).lockWaitStatement(250), "SET lock_timeout = 250");
    EXPECT_EQ(Dialect::forEngine(EngineKind::SQLite).lockWaitStatement(250), "");
    const QSqlError sqlServer("", "[FreeTDS][SQL Server]Lock request time out period exceeded.",
                              QSqlError::StatementError, "1222");
    EXPECT_EQ(engineError(ErrorSource::Odbc, sqlServer).kind(), gp::DatabaseErrorKind::RecordLocked);
    const QSqlError postgres("canceling statement due to lock timeout", "", QSqlError::StatementError, "55P03");
    EXPECT_EQ(engineError(ErrorSource::PostgreSQL, postgres).kind(), gp::DatabaseErrorKind::RecordLocked);
}

} // namespace
