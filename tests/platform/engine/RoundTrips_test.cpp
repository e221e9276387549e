// Over a network every exchange with the server costs the link's whole delay: each thing the
// engine does on PostgreSQL is held to the exchanges it needs, counted by the delaying proxy
// between it and the test server.
#include "tests/platform/engine/DelayProxy.h"
#include "tests/platform/engine/EngineFixture.h"

#include "platform/data/TableDataSet.h"
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
        // The lock with the check under it; the table with its record; its index with its
        // record and the commit, the creation's last statement.
        {"a table and its index made, the commit with the last", 3,
         [&] {
             db().startTransaction();
             db().execWithNext(db().dialect().tableCreationLock(QStringLiteral("HOJA2")));
             EXPECT_FALSE(db().tableExists(QStringLiteral("HOJA2")));
             db().exec(QStringLiteral("CREATE TABLE HOJA2 (Codigo INTEGER NOT NULL, Texto VARCHAR(9), "
                                      "CONSTRAINT HOJA2_Clave1 PRIMARY KEY (Codigo))"));
             db().commitWithNext();
             db().exec(QStringLiteral("CREATE INDEX HOJA2_Clave2 ON HOJA2 (Texto)"));
             db().commit();
             const QList<IndexDef> indexes = owner->connection(QStringLiteral("Database")).indexes(QStringLiteral("HOJA2"));
             ASSERT_EQ(indexes.size(), 2);
             EXPECT_EQ(indexes[1].fields, QStringList{QStringLiteral("Texto")});
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
        // The first batch with the request after it, and, once the program is idle, the
        // commit that closes the cursor with it: that request held the last rows.
        {"a reader of 1,000 rows looked at, then read to its end", 2,
         [&] {
             const auto reader = db().openReader(QStringLiteral("SELECT g FROM generate_series(1, 1000) g"));
             ASSERT_TRUE(reader->next());
             QCoreApplication::processEvents();
             int rows = 1;
             while (reader->next())
                 ++rows;
             EXPECT_EQ(rows, 1000);
         }},
        // Its first batch with the next request, the commit once idle (that batch was full),
        // two more requests; the cursor, by then outside its transaction, closed in the first
        // exchange of the next reader, which ends in two.
        {"a reader of 5,000 rows looked at, read to its end, then another", 6,
         [&] {
             int rows = 0;
             {
                 const auto reader = db().openReader(QStringLiteral("SELECT g FROM generate_series(1, 5000) g"));
                 ASSERT_TRUE(reader->next());
                 QCoreApplication::processEvents();
                 for (rows = 1; reader->next();)
                     ++rows;
             }
             EXPECT_EQ(rows, 5000);
             EXPECT_EQ(db().openReader(QStringLiteral("SELECT COUNT(*) FROM FICHA"))->next(), true);
         }},
    };
    for (const auto &c : cases) {
        proxy.reset();
        c.work();
        EXPECT_LE(proxy.roundTrips(), c.budget) << c.what;
    }
    EXPECT_EQ(nombre(), "siete");
}

// A record's save is one exchange: its transaction's start, the statement and the commit go
// together. What is reported saved is stored for another program at once; a refused save
// keeps its kind, stores nothing and leaves the connection ready for the next one; inside a
// transaction of the program's, a refused save leaves that transaction usable.
TEST_F(RoundTrips, EverySaveOfARecordIsOneExchange)
{
    TableDataSet ficha(QStringLiteral("FICHA"));
    ficha.setConnection(&db());
    ficha.setTableName(QStringLiteral("FICHA"));
    ficha.open();
    const auto stored = [&](int codigo) {
        return owner->connection(QStringLiteral("Database")).scalar(QStringLiteral("SELECT Nombre FROM FICHA WHERE Codigo = %1").arg(codigo));
    };
    const auto post = [&](const QVariant &codigo, const char *name) {
        if (codigo.isValid()) {
            ficha.append();
            ficha.fieldByName(QStringLiteral("Codigo")).setValue(codigo);
        }
        ficha.fieldByName(QStringLiteral("Nombre")).setValue(QString::fromLatin1(name));
        ficha.post();
    };
    const auto refused = [&](int codigo) {
        EXPECT_EQ(gptest::failureKind([&] { post(codigo, "otro"); }), gp::DatabaseErrorKind::KeyViolation);
        ficha.cancel();
    };
    const struct
    {
        const char *what;
        std::function<void()> before, save;   // before: not counted
        int budget, codigo;
        QVariant seen;   // what the other program reads after it
    } saves[] = {
        {"a record added", [] {}, [&] { post(2, "dos"); }, 1, 2, "dos"},
        {"a field edited", [&] { ASSERT_TRUE(ficha.findKey({2})); ficha.edit(); }, [&] { post({}, "tres"); }, 1, 2, "tres"},
        // The records around it read first (where the data set goes after it), then the delete.
        {"a record deleted", [&] { ASSERT_TRUE(ficha.findKey({2})); }, [&] { ficha.remove(); }, 3, 2, {}},
        // The statement and its commit refused together, then the roll-back.
        {"a record refused for its key", [] {}, [&] { refused(1); }, 2, 1, "uno"},
        {"the next record added", [] {}, [&] { post(3, "tres"); }, 1, 3, "tres"},
        // Under the savepoints of the program's transaction and of each save: the refused
        // one, its roll-back, the good one, the commit.
        {"a refused and a good record in the program's transaction", [] {},
         [&] {
             db().startTransaction();
             refused(3);
             post(4, "cuatro");
             db().commit();
         },
         4, 4, "cuatro"},
    };
    for (const auto &s : saves) {
        s.before();
        proxy.reset();
        s.save();
        EXPECT_LE(proxy.roundTrips(), s.budget) << s.what;
        EXPECT_EQ(stored(s.codigo), s.seen) << s.what;
    }
    EXPECT_EQ(stored(3), "tres");
}

} // namespace
