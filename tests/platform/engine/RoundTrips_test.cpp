// Over a network every exchange with the server costs the link's whole delay: each thing the
// engine does on PostgreSQL is held to the exchanges it needs, counted by the delaying proxy
// between it and the test server.
#include "tests/platform/engine/DelayProxy.h"
#include "tests/platform/engine/EngineFixture.h"

#include "platform/data/engine/Connection.h"

#include <QCoreApplication>
#include <functional>

using namespace plat;

namespace {

class RoundTrips : public ::testing::Test
{
protected:
    void SetUp() override
    {
        owner = std::make_unique<Session>();
        if (const QString skip = database.open(gptest::Backend::PostgreSQL, *owner, dir.path()); !skip.isEmpty())
            GTEST_SKIP() << skip.toStdString();
        if (const QString skip = proxy.start(gptest::PgTestServer::fromEnvironment()); !skip.isEmpty())
            GTEST_FAIL() << skip.toStdString();
        gptest::createFicha(owner->connection(QStringLiteral("Database")));
        database.openAgain(session, dir.path(), proxy.port());
    }

    void TearDown() override
    {
        session.closeAll();
        if (owner)
            owner->closeAll();
        database.drop();
    }

    Connection &db() { return session.connection(QStringLiteral("Database")); }
    QString nombre() { return db().scalar(QStringLiteral("SELECT Nombre FROM FICHA WHERE Codigo = 1")).toString(); }

    gptest::TempDir dir;
    gptest::EngineDatabase database;
    std::unique_ptr<Session> owner;
    gptest::DelayProxy proxy;
    Session session;   // the one through the proxy
};

TEST_F(RoundTrips, EachThingTheEngineDoesCostsTheExchangesItNeeds)
{
    const auto update = [&](const QString &name) {
        EXPECT_EQ(db().exec(QStringLiteral("UPDATE FICHA SET Nombre = :n WHERE Codigo = :c"),
                            {{QStringLiteral("n"), name}, {QStringLiteral("c"), 1}}),
                  1);
    };
    std::unique_ptr<PreparedStatement> prepared;
    const struct
    {
        const char *what;
        int budget;
        std::function<void()> work;
    } cases[] = {
        // TLS asked for and refused, then the start-up: the session's settings are options of
        // it. Its first query reads the declared names as well.
        {"opening the connection, its first query", 4, [&] { EXPECT_EQ(nombre(), "uno"); }},
        // The names serve every connection of the session to the database.
        {"a second connection, its first query", 3,
         [&] {
             Connection &other = session.connection(QStringLiteral("DatabaseGeneral"));
             other.setAliasName(QStringLiteral("PRUEBA"));
             EXPECT_EQ(other.scalar(QStringLiteral("SELECT COUNT(*) FROM FICHA")).toInt(), 1);
         }},
        {"a query with parameters", 1,
         [&] { EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nombre FROM FICHA WHERE Codigo = :c"), {{"c", 1}}), "uno"); }},
        {"a change with parameters", 1, [&] { update(QStringLiteral("dos")); }},
        // The start goes with the statement, and under its savepoint the statement's failure
        // would leave the transaction usable: the commit is the second exchange.
        {"one field saved in a transaction", 2,
         [&] {
             db().startTransaction();
             update(QStringLiteral("tres"));
             db().commit();
         }},
        {"a transaction in which nothing ran", 0,
         [&] {
             db().startTransaction();
             db().startTransaction();
             db().commit();
             db().commit();
         }},
        // The refused statement, the next one (after the roll-back to the refused one's
        // savepoint, in its exchange), the commit.
        {"a refused statement in a transaction", 3,
         [&] {
             db().startTransaction();
             EXPECT_THROW(db().exec(QStringLiteral("INSERT INTO FICHA (Codigo, Nombre) VALUES (1, 'otro')")),
                          gp::DatabaseError);
             update(QStringLiteral("cuatro"));
             db().commit();
         }},
        {"a prepared statement run three times", 3,
         [&] {
             prepared = db().prepare(QStringLiteral("UPDATE FICHA SET Nombre = ? WHERE Codigo = ?"));
             for (const char *name : {"cinco", "seis", "siete"})
                 EXPECT_EQ(prepared->exec({QString::fromLatin1(name), 1}), 1);
         }},
        {"its letting go, with the next statement", 1,
         [&] {
             prepared.reset();
             EXPECT_EQ(nombre(), "siete");
         }},
        // The whole record came with the connection's first query.
        {"a table's columns and indexes read twice", 0,
         [&] {
             for (int i = 0; i < 2; ++i) {
                 EXPECT_EQ(db().columns(QStringLiteral("FICHA")).size(), 2);
                 EXPECT_EQ(db().keyFields(QStringLiteral("FICHA")), QStringList{QStringLiteral("Codigo")});
             }
         }},
        // What the connection recorded of a table it made is what it knows of it: nothing is
        // read back after the table, its record and its row, and it is what a connection
        // opened afterwards reads.
        {"a table made, then its columns and indexes", 3,
         [&] {
             gptest::createFicha(db(), QStringLiteral("FICHA2"));
             const QList<FieldDef> columns = db().columns(QStringLiteral("FICHA2"));
             const QStringList key = db().keyFields(QStringLiteral("FICHA2"));
             Connection &other = owner->connection(QStringLiteral("Database"));
             ASSERT_EQ(columns.size(), other.columns(QStringLiteral("FICHA2")).size());
             for (qsizetype i = 0; i < columns.size(); ++i) {
                 EXPECT_EQ(columns[i].name, other.columns(QStringLiteral("FICHA2"))[i].name);
                 EXPECT_EQ(columns[i].type, other.columns(QStringLiteral("FICHA2"))[i].type);
                 EXPECT_EQ(columns[i].size, other.columns(QStringLiteral("FICHA2"))[i].size);
             }
             EXPECT_EQ(key, other.keyFields(QStringLiteral("FICHA2")));
         }},
        // The creation lock goes with the check under it, the program's CREATE TABLE with its
        // record, then the commit; what was recorded is known without a read.
        {"a table made under the creation lock", 3,
         [&] {
             db().startTransaction();
             db().execWithNext(db().dialect().tableCreationLock(QStringLiteral("HOJA")));
             EXPECT_FALSE(db().tableExists(QStringLiteral("HOJA")));
             db().exec(QStringLiteral("CREATE TABLE HOJA (Codigo INTEGER NOT NULL, Texto VARCHAR(9), "
                                      "CONSTRAINT HOJA_Clave1 PRIMARY KEY (Codigo))"));
             db().commit();
             ASSERT_EQ(db().columns(QStringLiteral("HOJA")).size(), 2);
             EXPECT_EQ(db().columns(QStringLiteral("HOJA"))[1].size, 9);
             EXPECT_EQ(owner->connection(QStringLiteral("Database")).columns(QStringLiteral("HOJA"))[1].name, "Texto");
         }},
        // A table another session made after the record was read: its columns and indexes in
        // one query, in a read-only run that starts no transaction for it nor sets anything.
        {"a read-only run reading a new table's columns", 1,
         [&] {
             owner->connection(QStringLiteral("Database"))
                 .exec(QStringLiteral("CREATE TABLE SUELTA AS SELECT 1 AS a, 'x'::varchar(7) AS b"), {},
                       SqlOrigin::AsWritten);
             db().runReadOnly([&] {
                 const QList<FieldDef> columns = db().columns(QStringLiteral("SUELTA"));
                 ASSERT_EQ(columns.size(), 2);
                 EXPECT_EQ(columns[1].size, 7);
                 EXPECT_TRUE(db().keyFields(QStringLiteral("SUELTA")).isEmpty());
             });
         }},
        // A connection of their own, opened once (the start-up alone: the server said no to
        // TLS for the first connection, and says it to every one); for each, the first batch of
        // rows and the cursor's closing with its commit.
        {"two readers one after the other", 5,
         [&] {
             for (int i = 0; i < 2; ++i) {
                 const auto reader = db().openReader(QStringLiteral("SELECT Codigo, Nombre FROM FICHA"));
                 ASSERT_TRUE(reader->next());
                 EXPECT_EQ(reader->value(1).toString(), "siete");
             }
         }},
        // The first batch, the request after it, and, once the program is idle, the commit
        // that closes the cursor with it: that request held the last rows.
        {"a reader of 1,000 rows looked at, then read to its end", 3,
         [&] {
             const auto reader = db().openReader(QStringLiteral("SELECT g FROM generate_series(1, 1000) g"));
             ASSERT_TRUE(reader->next());
             QCoreApplication::processEvents();
             int rows = 1;
             while (reader->next())
                 ++rows;
             EXPECT_EQ(rows, 1000);
         }},
    };
    for (const auto &c : cases) {
        proxy.reset();
        c.work();
        EXPECT_LE(proxy.roundTrips(), c.budget) << c.what;
    }
    EXPECT_EQ(nombre(), "siete");
}

} // namespace
