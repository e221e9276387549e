#include "platform/data/engine/Connection.h"
#include "platform/data/engine/HeldUntilChanged.h"
#include "platform/data/engine/PreparedStatement.h"
#include "platform/data/engine/TableChanges.h"
#include "tests/platform/engine/EngineFixture.h"

#include <functional>
#include <gtest/gtest.h>

using namespace plat;

namespace {

TEST(TableChanges, EachStatementMarksWhatItMayChange)
{
    using K = StatementTarget;
    const struct
    {
        const char *sql;
        K::Kind kind;
        const char *table;
    } cases[] = {
        {"SELECT * FROM OPERARIO", K::Nothing, ""},
        {"  -- a note\n /* and another */ (SELECT 1)", K::Nothing, ""},
        {"SET lock_timeout = 10", K::Nothing, ""},
        {"CREATE INDEX ix ON T (a)", K::Nothing, ""},
        {"WITH x AS (SELECT 1) SELECT * FROM x", K::Nothing, ""},
        {"insert into dbo.Operario (a) values (1)", K::Table, "OPERARIO"},
        {"INSERT OR REPLACE INTO \"Lproyect\" VALUES (1)", K::Table, "LPROYECT"},
        {"UPDATE [OPERARIO] SET Nombre = 'a; DELETE FROM X' WHERE Codigo = '1';", K::Table, "OPERARIO"},
        {"DELETE FROM LPROYECT WHERE 1 = 1", K::Table, "LPROYECT"},
        {"TRUNCATE TABLE temp01", K::Table, "TEMP01"},
        {"DROP TABLE IF EXISTS temp01", K::Table, "TEMP01"},
        {"CREATE TEMPORARY TABLE IF NOT EXISTS t (a int)", K::Table, "T"},
        {"ALTER TABLE OPERARIO ADD x int", K::Table, "OPERARIO"},
        // An alias in place of the table, a table made from a query, a second statement,
        // a procedure, a roll-back: anything of the database.
        {"UPDATE o SET Nombre = 'x' FROM OPERARIO o", K::WholeDatabase, ""},
        {"DELETE o FROM OPERARIO o JOIN X ON 1 = 1", K::WholeDatabase, ""},
        {"SELECT a INTO nueva FROM b", K::WholeDatabase, ""},
        {"UPDATE A SET x = 1; DELETE FROM B", K::WholeDatabase, ""},
        {"WITH x AS (DELETE FROM t RETURNING *) SELECT * FROM x", K::WholeDatabase, ""},
        {"EXEC sp_algo", K::WholeDatabase, ""},
        {"ROLLBACK", K::WholeDatabase, ""},
        // A table of another database.
        {"UPDATE otra.dbo.OPERARIO SET a = 1", K::Anywhere, ""},
    };
    for (const auto &c : cases) {
        const StatementTarget t = statementTarget(QString::fromUtf8(c.sql));
        EXPECT_EQ(t.kind, c.kind) << c.sql;
        EXPECT_EQ(t.table, QString::fromUtf8(c.table)) << c.sql;
    }

    // A stamp moves with its table, its database or everything, and only then.
    TableChanges changes;
    const auto stamps = [&] {
        return QList<TableChanges::Stamp>{changes.stamp("a", "T"), changes.stamp("a", "dbo.u"), changes.stamp("b", "T")};
    };
    const QList<TableChanges::Stamp> at0 = stamps();
    changes.changed("a", "\"t\"");
    const QList<TableChanges::Stamp> at1 = stamps();
    EXPECT_NE(at1[0], at0[0]);
    EXPECT_EQ(at1.mid(1), at0.mid(1));
    changes.changedDatabase("a");
    const QList<TableChanges::Stamp> at2 = stamps();
    EXPECT_TRUE(at2[0] != at1[0] && at2[1] != at1[1] && at2[2] == at1[2]);
    changes.changedEverywhere();
    EXPECT_NE(stamps()[2], at2[2]);
}

class TableChangesTest : public gptest::EngineTest
{
};

// What a cache over a table compares: the program's writes move the table's stamp, another
// table's stays; a transaction's writes move it again at the commit (when another connection
// sees them) and a roll-back moves every table of the database.
TEST_P(TableChangesTest, TheProgramsStatementsMoveTheStampsOfWhatTheyChange)
{
    Connection &c = db();
    gptest::createFicha(c);
    c.exec(QStringLiteral("CREATE TABLE OTRA (N INTEGER)"));
    const auto stamp = [&](const char *table) { return c.changeStamp(QString::fromLatin1(table)); };

    TableChanges::Stamp ficha = stamp("FICHA");
    const TableChanges::Stamp otra = stamp("OTRA");
    c.query(QStringLiteral("SELECT * FROM FICHA"));
    EXPECT_EQ(stamp("FICHA"), ficha);
    c.exec(QStringLiteral("UPDATE FICHA SET Nombre = 'uno' WHERE Codigo = 1"));
    EXPECT_NE(stamp("FICHA"), ficha);
    EXPECT_EQ(stamp("OTRA"), otra);

    const std::unique_ptr<PreparedStatement> alta =
        c.prepare(QStringLiteral("INSERT INTO FICHA (Codigo, Nombre) VALUES (?, ?)"));
    ficha = stamp("FICHA");
    alta->exec({2, QStringLiteral("dos")});
    EXPECT_NE(stamp("FICHA"), ficha);

    c.startTransaction();
    c.exec(QStringLiteral("DELETE FROM FICHA WHERE Codigo = 2"));
    ficha = stamp("FICHA");
    c.commit();
    EXPECT_NE(stamp("FICHA"), ficha);
    EXPECT_EQ(stamp("OTRA"), otra);

    c.startTransaction();
    c.exec(QStringLiteral("DELETE FROM FICHA"));
    ficha = stamp("FICHA");
    c.rollback();
    EXPECT_NE(stamp("FICHA"), ficha);
    EXPECT_NE(stamp("OTRA"), otra);
    EXPECT_EQ(c.scalar(QStringLiteral("SELECT COUNT(*) FROM FICHA")).toInt(), 1);

    // Another connection of the session to the same database sees the same stamps.
    Connection &twin = session->connection(QStringLiteral("ADOConnection"));
    twin.setAliasName(c.aliasName());
    twin.setDatabaseName(c.databaseName());
    twin.setParams(c.params());
    EXPECT_EQ(twin.changeStamp(QStringLiteral("FICHA")), stamp("FICHA"));
    twin.markChanged(QStringLiteral("ficha"));
    EXPECT_NE(twin.changeStamp(QStringLiteral("FICHA")), ficha);
    EXPECT_EQ(twin.changeStamp(QStringLiteral("FICHA")), stamp("FICHA"));
}

// What a holder keeps ends with the first of its tables the program writes, through any of
// the session's connections to its database, with a refresh, with a statement that may change
// anything of the database and with clear(); a read, another table's write or another
// database's leave it. A second database, or other tables, asked of the same holder are
// never served what was read for the first: the tables are made by another program, so their
// stamps here are all the session's first.
TEST_P(TableChangesTest, WhatIsHeldEndsWithAChangeToItsTablesAndIsNeverServedForOthers)
{
    gptest::TempDir segundaCarpeta;
    {
        Session otra;
        database.openAgain(otra, dir.path());
        Connection &suya = otra.connection(QStringLiteral("Database"));
        for (const char *tabla : {"FICHA", "OTRA", "TERCERA"})
            gptest::createFicha(suya, QString::fromLatin1(tabla));
        Connection &segunda = otra.connection(QStringLiteral("Segunda"));
        segunda.setDatabaseName(segundaCarpeta.path());
        gptest::createFicha(segunda);
        otra.closeAll();
    }
    Connection &c = db();
    Connection &segunda = session->connection(QStringLiteral("Segunda"));
    segunda.setDatabaseName(segundaCarpeta.path());
    Connection &gemela = session->connection(QStringLiteral("Gemela"));
    gemela.setAliasName(c.aliasName());
    gemela.setDatabaseName(c.databaseName());
    gemela.setParams(c.params());

    HeldUntilChanged<QString> held;
    // Fills what is held, answering whether it had been kept since the last call.
    const auto keptOn = [&](Connection &k) {
        QString &value = held.current(k, {QStringLiteral("FICHA"), QStringLiteral("otra")});
        const bool was = !value.isEmpty();
        value = QStringLiteral("leído");
        return was;
    };
    const auto kept = [&] { return keptOn(c); };

    EXPECT_FALSE(kept());
    EXPECT_FALSE(keptOn(segunda)) << "another database";
    EXPECT_FALSE(kept()) << "back on the first";
    EXPECT_TRUE(held.current(c, {QStringLiteral("TERCERA"), QStringLiteral("otra")}).isEmpty()) << "other tables";
    EXPECT_FALSE(kept());
    const auto run = [](Connection &k, const char *sql) { return [&k, sql] { k.exec(QString::fromLatin1(sql)); }; };
    const struct
    {
        const char *what;
        std::function<void()> change;
        bool ends;
    } changes[] = {
        {"a read", [&] { c.query(QStringLiteral("SELECT * FROM FICHA")); }, false},
        {"another table's write", run(c, "UPDATE TERCERA SET Nombre = 'x'"), false},
        {"another database's write", run(segunda, "UPDATE FICHA SET Nombre = 'x'"), false},
        {"a write", run(c, "UPDATE FICHA SET Nombre = 'y'"), true},
        {"a write through another connection", run(gemela, "DELETE FROM OTRA"), true},
        {"a statement of unsure reach", run(c, "WITH x AS (SELECT 1) UPDATE TERCERA SET Nombre = 'z'"), true},
        {"a roll-back",
         [&] {
             c.startTransaction();
             c.exec(QStringLiteral("UPDATE TERCERA SET Nombre = 'w'"));
             c.rollback();
         },
         true},
        {"a refresh", [&] { c.markDatabaseChanged(); }, true},
        {"clear()", [&] { held.clear(); }, true},
    };
    for (const auto &change : changes) {
        ASSERT_TRUE(kept()) << change.what;
        change.change();
        EXPECT_EQ(!kept(), change.ends) << change.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Engines, TableChangesTest, GP_ENGINE_BACKENDS);

} // namespace
