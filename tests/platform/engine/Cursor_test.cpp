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
