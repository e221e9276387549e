// Queries on SQLite are read straight from the engine; these cases cover what QtSql used
// to decide for them: placeholders, several statements, column names, stored values.
#include "platform/base/Errores.h"
#include "platform/base/FechaHora.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

class SqliteQueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db().setDatabaseName(dir.path());
        db().exec(QStringLiteral("CREATE TABLE T (Codigo INTEGER, Nombre VARCHAR(20), Momento DATETIME, Dia DATE, "
                                 "Hora TIME, Importe DOUBLE)"));
    }
    Connection &db() { return session.connection(QStringLiteral("Database")); }
    int count() { return db().scalar(QStringLiteral("SELECT COUNT(*) FROM T")).toInt(); }

    gptest::TempDir dir;
    Session session;
};

TEST_F(SqliteQueryTest, PlaceholdersBindByNameEvenWhenRepeated)
{
    db().exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (1, 'uno'), (2, 'dos'), (3, 'tres')"));
    const QueryResult r = db().query(QStringLiteral("SELECT Nombre FROM T WHERE Codigo = :C OR Codigo = :C + 1 "
                                                    "OR Nombre = :N ORDER BY Codigo"),
                                     {{":C", 1}, {"N", QStringLiteral("tres")}});
    ASSERT_EQ(r.rows.size(), 3);
    EXPECT_EQ(r.rows[2][0].toString(), QStringLiteral("tres"));
    // Dates and booleans are bound as the engine stores them.
    db().exec(QStringLiteral("INSERT INTO T (Codigo, Momento) VALUES (4, '2024-03-31 02:30:00')"));
    const QVariant found = db().scalar(QStringLiteral("SELECT Codigo FROM T WHERE Momento = :M AND :B = 1"),
                                       {{"M", FechaHora(QDate(2024, 3, 31), QTime(2, 30))}, {"B", true}});
    EXPECT_EQ(found.toInt(), 4);
}

TEST_F(SqliteQueryTest, UnboundPlaceholdersAndSeveralStatementsFailWithoutRunningAnything)
{
    db().exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (1)"));
    EXPECT_THROW(db().query(QStringLiteral("SELECT * FROM T WHERE Codigo = :Falta")), gp::DatabaseError);
    EXPECT_THROW(db().query(QStringLiteral("SELECT * FROM T; DELETE FROM T")), gp::DatabaseError);
    EXPECT_EQ(count(), 1) << "the second statement must not run";
    // A closing semicolon is no second statement.
    EXPECT_EQ(db().query(QStringLiteral("SELECT Codigo FROM T;  ")).rows.size(), 1);
}

TEST_F(SqliteQueryTest, FailuresWhileReadingCarryTheEngineText)
{
    try {
        db().query(QStringLiteral("SELECT abs(-9223372036854775807 - 1)"));
        FAIL() << "an overflow while stepping must raise";
    } catch (const gp::DatabaseError &e) {
        EXPECT_TRUE(e.mensaje().contains(QStringLiteral("integer overflow"))) << e.mensaje().toStdString();
    }
    // The connection is still usable.
    EXPECT_EQ(count(), 0);
}

TEST_F(SqliteQueryTest, ColumnNamesAndTypesAsDeclared)
{
    db().exec(QStringLiteral("INSERT INTO T (Codigo, Nombre, Importe) VALUES (1, 'Íñigo', 2.5)"));
    const QueryResult r = db().query(QStringLiteral("SELECT Codigo AS \"Código\", Nombre, Importe, Momento, "
                                                    "Codigo + 1 FROM T"));
    EXPECT_EQ(r.columns, (QStringList{"Código", "Nombre", "Importe", "Momento", "Codigo + 1"}));
    EXPECT_EQ(r.types, (QList<TFieldType>{ftInteger, ftString, ftFloat, ftDateTime, ftUnknown}));
    EXPECT_EQ(r.rows[0][0].typeId(), QMetaType::LongLong);
    EXPECT_EQ(r.rows[0][1].toString(), QStringLiteral("Íñigo"));
    EXPECT_EQ(r.rows[0][2].typeId(), QMetaType::Double);
    EXPECT_FALSE(r.rows[0][3].isValid()) << "NULL";
    // An empty answer still names and types its columns.
    const QueryResult empty = db().query(QStringLiteral("SELECT Momento FROM T WHERE Codigo = 99"));
    EXPECT_EQ(empty.columns, QStringList{"Momento"});
    EXPECT_EQ(empty.types, QList<TFieldType>{ftDateTime});
}

struct StoredCase
{
    const char *stored;
    QVariant momento, dia, hora;
};

TEST_F(SqliteQueryTest, StoredTextsReadAsTheColumnsDeclareThem)
{
    const StoredCase cases[] = {
        {"'2024-03-31 02:30:00'", FechaHora(QDate(2024, 3, 31), QTime(2, 30)), QDate(2024, 3, 31), QTime(2, 30)},
        {"'2024-03-31'", FechaHora(QDate(2024, 3, 31)), QDate(2024, 3, 31), QTime(0, 0)},
        {"'1899-12-30 10:05'", FechaHora(QDate(1899, 12, 30), QTime(10, 5)), QDate(1899, 12, 30), QTime(10, 5)},
        {"'10:05:30'", QVariant(QStringLiteral("10:05:30")), QVariant(QStringLiteral("10:05:30")), QTime(10, 5, 30)},
        {"'mañana'", QVariant(QStringLiteral("mañana")), QVariant(QStringLiteral("mañana")),
         QVariant(QStringLiteral("mañana"))},
        {"45000", QVariant(qlonglong(45000)), QVariant(qlonglong(45000)), QVariant(qlonglong(45000))},
    };
    int code = 0;
    for (const StoredCase &c : cases) {
        db().exec(QStringLiteral("INSERT INTO T (Codigo, Momento, Dia, Hora) VALUES (%1, %2, %2, %2)")
                      .arg(++code)
                      .arg(QString::fromUtf8(c.stored)));
    }
    const QueryResult r = db().query(QStringLiteral("SELECT Momento, Dia, Hora FROM T ORDER BY Codigo"));
    ASSERT_EQ(r.rows.size(), qsizetype(std::size(cases)));
    for (qsizetype i = 0; i < r.rows.size(); ++i) {
        const StoredCase &c = cases[i];
        EXPECT_EQ(r.rows[i][0], c.momento) << c.stored;
        EXPECT_EQ(r.rows[i][1], c.dia) << c.stored;
        EXPECT_EQ(r.rows[i][2], c.hora) << c.stored;
    }
}

} // namespace

TEST_F(SqliteQueryTest, AKeptSelectSeesTheColumnsAnotherProgramGaveItsTable)
{
    const QString select = QStringLiteral("SELECT Codigo, Nombre FROM T WHERE Codigo = :C");
    db().exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (1, '2024-05-01 10:00:00')"));
    EXPECT_EQ(db().query(select, {{"C", 1}}).types.value(1), ftString);
    {
        // Another program on the same file makes the table anew with a date column.
        Session other;
        Connection &c = other.connection(QStringLiteral("Otra"));
        c.setDatabaseName(dir.path());
        c.exec(QStringLiteral("DROP TABLE T"));
        c.exec(QStringLiteral("CREATE TABLE T (Codigo INTEGER, Nombre DATETIME)"));
        c.exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (1, '2024-05-01 10:00:00')"));
        other.closeAll();
    }
    const QueryResult again = db().query(select, {{"C", 1}});
    EXPECT_EQ(again.types.value(1), ftDateTime);
    ASSERT_EQ(again.rows.size(), 1);
    EXPECT_EQ(again.rows[0][1].toDateTime(), FechaHora(QDate(2024, 5, 1), QTime(10, 0)));
}
