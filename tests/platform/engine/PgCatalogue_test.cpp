// PostgreSQL's record of the declared names and types: made in a database with the first
// table recorded there, read once for all the connections of a session and again after any
// of them changes it, and forgotten with the transaction that made it.
#include "tests/platform/engine/EngineFixture.h"

#include "platform/base/Errores.h"
#include "platform/data/Field.h"

#include <functional>

using namespace plat;

namespace {

class PgCatalogueTest : public gptest::EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!IsSkipped() && isSqlite())
            GTEST_SKIP() << "SQLite keeps the declared names itself";
    }

    // A table of one key and one column of a name PostgreSQL folds.
    static TableDef table(const QString &name, const QString &column)
    {
        TableDef t;
        t.name = name;
        t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(column, ftString, 20)};
        IndexDef key;
        key.name = QStringLiteral("Clave1");
        key.fields = {QStringLiteral("Codigo")};
        key.primary = key.unique = true;
        t.indexes = {key};
        return t;
    }

    int recordTables()
    {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM pg_tables WHERE tablename LIKE 'gp_catalogo_%'")).toInt();
    }
};

} // namespace

TEST_P(PgCatalogueTest, TheRecordIsMadeWithTheFirstTableRecordedThere)
{
    EXPECT_EQ(db().tableNames(), QStringList());
    EXPECT_EQ(recordTables(), 0) << "opening and reading record nothing";
    db().createTable(table(QStringLiteral("Primera"), QStringLiteral("NombreLargo")));
    EXPECT_EQ(recordTables(), 2);
    EXPECT_EQ(db().tableNames(), QStringList{QStringLiteral("Primera")});
    EXPECT_EQ(db().columns(QStringLiteral("PRIMERA")).value(1).name, QStringLiteral("NombreLargo"));
}

TEST_P(PgCatalogueTest, TheNamesServeTheSessionsConnectionsAndAreReadAgainAfterAChange)
{
    Connection &other = session->connection(QStringLiteral("DatabaseGeneral"));
    other.setAliasName(db().aliasName());
    db().createTable(table(QStringLiteral("Primera"), QStringLiteral("NombreLargo")));
    EXPECT_EQ(other.query(QStringLiteral("SELECT * FROM Primera")).columns,
              (QStringList{QStringLiteral("Codigo"), QStringLiteral("NombreLargo")}));
    // Made on one connection, its names are the other's at once.
    db().createTable(table(QStringLiteral("Segunda"), QStringLiteral("OtroNombre")));
    EXPECT_EQ(other.query(QStringLiteral("SELECT * FROM Segunda")).columns,
              (QStringList{QStringLiteral("Codigo"), QStringLiteral("OtroNombre")}));
    EXPECT_EQ(other.columns(QStringLiteral("Segunda")).value(1).size, 20);
}

// Whichever way it was made (the definition, or the program's own statement, which goes with
// its record), what the connection knew of it goes with the roll-back.
TEST_P(PgCatalogueTest, ATableWhoseCreationIsRolledBackIsNoLongerReported)
{
    db().createTable(table(QStringLiteral("Primera"), QStringLiteral("OtroNombre")));   // the record's tables
    const std::function<void()> makers[] = {
        [&] { db().createTable(table(QStringLiteral("Efimera"), QStringLiteral("NombreLargo"))); },
        [&] {
            db().exec(QStringLiteral("CREATE TABLE Efimera (Codigo INTEGER NOT NULL, NombreLargo VARCHAR(20), "
                                     "CONSTRAINT Efimera_Clave1 PRIMARY KEY (Codigo))"));
        },
    };
    for (const auto &make : makers) {
        db().startTransaction();
        make();
        EXPECT_EQ(db().columns(QStringLiteral("Efimera")).size(), 2);
        EXPECT_EQ(db().columns(QStringLiteral("Efimera")).value(1).size, 20);
        EXPECT_EQ(db().keyFields(QStringLiteral("Efimera")), QStringList{QStringLiteral("Codigo")});
        db().rollback();
        EXPECT_EQ(gptest::failureKind([&] { db().columns(QStringLiteral("Efimera")); }), gp::DatabaseErrorKind::MissingTable);
        EXPECT_FALSE(db().tableExists(QStringLiteral("Efimera")));
        EXPECT_EQ(db().query(QStringLiteral("SELECT 1 AS NombreLargo")).columns, QStringList{QStringLiteral("nombrelargo")})
            << "a name recorded only by the rolled-back work";
    }
}

// The record is read whole once; a table another program recorded after that is read alone,
// with its declared types and names, and one it made without a record as the server has it.
TEST_P(PgCatalogueTest, TablesMadeElsewhereAfterTheRecordWasReadAreReadAlone)
{
    db().createTable(table(QStringLiteral("Primera"), QStringLiteral("NombreLargo")));
    ASSERT_EQ(db().columns(QStringLiteral("Primera")).size(), 2);
    plat::Session otra;
    database.openAgain(otra, dir.path());
    Connection &otro = otra.connection(QStringLiteral("Database"));
    otro.createTable(table(QStringLiteral("Tardia"), QStringLiteral("NombreTardio")));
    otro.exec(QStringLiteral("CREATE TABLE suelta AS SELECT 1::integer AS a, 'x'::varchar(7) AS b"), {},
              SqlOrigin::AsWritten);
    // Only what the connection read answers without the server: a table made elsewhere since
    // is not held until it is read alone.
    EXPECT_TRUE(db().columnsHeld(QStringLiteral("PRIMERA")));
    EXPECT_FALSE(db().columnsHeld(QStringLiteral("Tardia")));
    EXPECT_FALSE(db().columnsHeld(QStringLiteral("suelta")));
    EXPECT_EQ(db().columns(QStringLiteral("TARDIA")).value(1).name, QStringLiteral("NombreTardio"));
    EXPECT_TRUE(db().columnsHeld(QStringLiteral("Tardia")));
    EXPECT_EQ(db().columns(QStringLiteral("TARDIA")).value(1).size, 20);
    EXPECT_EQ(db().keyFields(QStringLiteral("Tardia")), QStringList{QStringLiteral("Codigo")});
    ASSERT_EQ(db().columns(QStringLiteral("SUELTA")).size(), 2);
    EXPECT_EQ(db().columns(QStringLiteral("SUELTA")).value(1).size, 7);
    EXPECT_TRUE(db().keyFields(QStringLiteral("SUELTA")).isEmpty());
    otra.closeAll();
}

INSTANTIATE_TEST_SUITE_P(Engines, PgCatalogueTest, GP_ENGINE_BACKENDS);
