// Rows read one at a time are the rows a whole query answers, on every engine.
#include "platform/base/Errores.h"
#include "platform/base/FechaHora.h"
#include "platform/data/Field.h"
#include "tests/platform/engine/EngineFixture.h"

using namespace plat;
using gptest::EngineTest;

namespace {

QList<QVariantList> readAll(QueryCursor &cursor)
{
    QList<QVariantList> rows;
    while (cursor.next()) {
        QVariantList row;
        for (int i = 0; i < cursor.columns().size(); ++i)
            row << cursor.value(i);
        rows << row;
    }
    return rows;
}

} // namespace

TEST_P(EngineTest, CursorsReadTheRowsOfTheWholeQuery)
{
    TableDef t;
    t.name = QStringLiteral("PEDIDOS");
    t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Cliente"), ftString, 20),
                fieldDef(QStringLiteral("Fecha"), ftDateTime), fieldDef(QStringLiteral("Importe"), ftFloat)};
    db().createTable(t);
    db().exec(QStringLiteral("INSERT INTO PEDIDOS (Codigo, Cliente, Fecha, Importe) VALUES (1, 'Íñigo', :F, 10.5)"),
              {{"F", FechaHora(QDate(2024, 3, 31), QTime(2, 30))}});
    db().exec(QStringLiteral("INSERT INTO PEDIDOS (Codigo, Cliente, Importe) VALUES (2, 'Ana', NULL)"));
    db().exec(QStringLiteral("INSERT INTO PEDIDOS (Codigo, Cliente, Importe) VALUES (3, 'Zoe', -1)"));

    const QString sql = QStringLiteral("SELECT Codigo, Cliente, Fecha, Importe FROM PEDIDOS WHERE Codigo >= :Desde "
                                       "ORDER BY Codigo");
    const QueryResult whole = db().query(sql, {{"Desde", 1}});
    const std::unique_ptr<QueryCursor> cursor = db().openQuery(sql, {{"Desde", 1}});
    EXPECT_EQ(cursor->columns(), whole.columns);
    EXPECT_EQ(cursor->types(), whole.types);
    const QList<QVariantList> rows = readAll(*cursor);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows, whole.rows);
    EXPECT_EQ(rows[0][2].toDateTime(), FechaHora(QDate(2024, 3, 31), QTime(2, 30)));
    EXPECT_FALSE(cursor->next()) << "past the end it stays there";

    const std::unique_ptr<QueryCursor> none = db().openQuery(sql, {{"Desde", 9}});
    EXPECT_EQ(none->columns().size(), 4);
    EXPECT_FALSE(none->next());
}

TEST_P(EngineTest, CursorsRaiseTheEngineFailures)
{
    try {
        db().openQuery(QStringLiteral("SELECT * FROM NOEXISTE"));
        FAIL() << "a missing table must raise";
    } catch (const gp::DatabaseError &e) {
        EXPECT_TRUE(e.mensaje().startsWith(QStringLiteral("Table does not exist"))) << e.mensaje().toStdString();
    }

    // A failure on the third row (unsorted, so that SQLite meets it while stepping; the
    // servers meet it before answering): it is raised and no row after it is given.
    db().exec(QStringLiteral("CREATE TABLE N (Codigo INTEGER)"), {}, SqlOrigin::AsWritten);
    db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (1), (2), (3)"), {}, SqlOrigin::AsWritten);
    int read = 0;
    EXPECT_THROW(
        {
            const auto cursor = db().openQuery(
                QStringLiteral("SELECT CASE WHEN Codigo = 3 THEN abs(-9223372036854775807 - 1) ELSE Codigo END "
                               "FROM N"),
                {}, SqlOrigin::AsWritten);
            while (cursor->next())
                ++read;
        },
        gp::DatabaseError);
    EXPECT_EQ(read, isSqlite() ? 2 : 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM N")).toInt(), 3) << "the connection is still usable";
}

TEST_P(EngineTest, ACursorThatFailsOrIsLeftHalfReadLeavesTheTransactionUsable)
{
    db().exec(QStringLiteral("CREATE TABLE N (Codigo INTEGER)"), {}, SqlOrigin::AsWritten);
    db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (1), (2), (3), (4)"), {}, SqlOrigin::AsWritten);
    db().startTransaction();
    // A failure met while the rows stream (an integer overflow on the third row).
    int read = 0;
    EXPECT_THROW(
        {
            const auto cursor = db().openQuery(QStringLiteral("SELECT abs(CASE WHEN Codigo = 3 THEN "
                                                              "(-9223372036854775807 + 2) - Codigo ELSE Codigo END) "
                                                              "FROM N ORDER BY Codigo"), {},
                                               SqlOrigin::AsWritten);
            while (cursor->next())
                ++read;
        },
        gp::DatabaseError);
    EXPECT_LE(read, 2);
    db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (5)"), {}, SqlOrigin::AsWritten);
    {
        // Read in part and given up: the rest of the rows go, the connection goes on.
        const auto cursor = db().openQuery(QStringLiteral("SELECT Codigo FROM N ORDER BY Codigo"), {}, SqlOrigin::AsWritten);
        ASSERT_TRUE(cursor->next());
        EXPECT_EQ(cursor->value(0).toInt(), 1);
    }
    db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (6)"), {}, SqlOrigin::AsWritten);
    db().commit();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM N")).toInt(), 6);
}

TEST_P(EngineTest, NullsOfEveryTypeAreWrittenAsNull)
{
    db().exec(QStringLiteral("CREATE TABLE V (Codigo INTEGER, Importe DOUBLE PRECISION, Fecha TIMESTAMP, Nota VARCHAR(10))"),
              {}, SqlOrigin::AsWritten);
    for (int i = 1; i <= 2; ++i)   // twice: the second runs the kept statement
        db().exec(QStringLiteral("INSERT INTO V (Codigo, Importe, Fecha, Nota) VALUES (:c, :i, :f, :n)"),
                  {{"c", i}, {"i", QVariant(QMetaType(QMetaType::Double))},
                   {"f", QVariant(QMetaType(QMetaType::QDateTime))}, {"n", QString()}},
                  SqlOrigin::AsWritten);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM V WHERE Importe IS NULL AND Fecha IS NULL")).toInt(), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM V WHERE Nota = ''")).toInt(), 2) << "'' is never NULL";
}

TEST_P(EngineTest, AStatementRunAgainAfterTheTableIsMadeAnewSeesItsNewColumns)
{
    const QString select = QStringLiteral("SELECT A, B FROM W WHERE A = :a");
    db().exec(QStringLiteral("CREATE TABLE W (A INTEGER, B VARCHAR(20))"), {}, SqlOrigin::AsWritten);
    db().exec(QStringLiteral("INSERT INTO W (A, B) VALUES (1, '2024-05-01 10:00:00')"), {}, SqlOrigin::AsWritten);
    EXPECT_EQ(db().query(select, {{"a", 1}}, SqlOrigin::AsWritten).types.value(1), ftString);
    db().exec(QStringLiteral("DROP TABLE W"), {}, SqlOrigin::AsWritten);
    db().exec(QStringLiteral("CREATE TABLE W (A INTEGER, B TIMESTAMP)"), {}, SqlOrigin::AsWritten);
    db().exec(QStringLiteral("INSERT INTO W (A, B) VALUES (1, '2024-05-01 10:00:00')"), {}, SqlOrigin::AsWritten);
    const QueryResult again = db().query(select, {{"a", 1}}, SqlOrigin::AsWritten);
    EXPECT_EQ(again.types.value(1), ftDateTime);
    ASSERT_EQ(again.rows.size(), 1);
    EXPECT_EQ(again.rows[0][1].toDateTime(), FechaHora(QDate(2024, 5, 1), QTime(10, 0)));
}
