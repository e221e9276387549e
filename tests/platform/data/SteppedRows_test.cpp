// Rows a stepped query keeps as the engine gave them and turns into values when first shown:
// the same values, errors and behaviour as rows converted on arrival.
#include "tests/platform/data/DataFixture.h"

#include "platform/data/ClientDataSet.h"

#include <cmath>

using namespace plat;
using gptest::errorText;

namespace {

class SteppedRows : public gptest::DataTest
{
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        if (IsSkipped())
            return;
        // Only SQLite keeps a text longer than its column's declared size.
        exec(QStringLiteral("CREATE TABLE MEZCLA (Codigo INTEGER PRIMARY KEY, Corto VARCHAR(%1), Ciudad VARCHAR(20), "
                            "Importe FLOAT, Cantidad INTEGER, Fecha TIMESTAMP, Notas TEXT, Medida NUMERIC)")
                 .arg(sqlite() ? 5 : 20));
        // Rows past the first packet, a city repeated from the row before, NULLs in every
        // column but the key.
        const QString fecha = sqlite() ? QStringLiteral("'2026-01-01 10:00:00'")
                                                                    : QStringLiteral("TIMESTAMP '2026-01-01 10:00:00'");
        exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2600) "
             "INSERT INTO MEZCLA SELECT i, CASE WHEN i % 7 = 0 THEN NULL ELSE 'corto ' || i END, "
             "CASE WHEN i % 11 = 0 THEN NULL ELSE 'Ciudad ' || (i / 3) END, "
             "CASE WHEN i % 13 = 0 THEN NULL ELSE i * 0.25 END, "
                            "CASE WHEN i % 17 = 0 THEN NULL WHEN i % 3 = 0 THEN i * 0.5 ELSE i % 5 END, "
             "CASE WHEN i % 19 = 0 THEN NULL ELSE %1 END, "
             "CASE WHEN i % 23 = 0 THEN NULL ELSE 'nota ' || i END, CASE WHEN i % 2 = 0 THEN i % 4 ELSE i * 0.5 END "
                            "FROM n").arg(fecha));
    }
    void exec(const QString &sql) { db().exec(sql, {}, SqlOrigin::AsWritten); }
    bool sqlite() const { return GetParam() == gptest::Backend::SQLite; }

    std::unique_ptr<QueryDataSet> query(const QString &sql, bool stepped)
    {
        auto q = std::make_unique<QueryDataSet>("Consulta");
        q->setConnection(&db());
        q->setStepRows(stepped);
        q->setSql(sql);
        return q;
    }

    // A client fed by `source`: passing its rows through as the query keeps them, or walking
    // and copying them.
    struct Client
    {
        std::unique_ptr<QueryDataSet> source;
        DataSetProvider provider;
        ClientDataSet client{"Cliente"};
        Client(std::unique_ptr<QueryDataSet> query, bool through) : source(std::move(query)), provider(source.get())
        {
            provider.setPassThrough(through);
            client.setProvider(&provider);
        }
    };
    std::unique_ptr<Client> client(const QString &sql, bool through)
    {
        return std::make_unique<Client>(query(sql, through), through);
    }

    // The current record's values, read from the last field to the first.
    static QVariantList recordOf(DataSet &ds)
    {
        QVariantList values(ds.fieldCount());
        for (int i = ds.fieldCount() - 1; i >= 0; --i)
            values[i] = ds.field(i).value();
        return values;
    }
    static QVector<QVariantList> walk(DataSet &ds)
    {
        QVector<QVariantList> rows;
        for (ds.first(); !ds.eof(); ds.next())
            rows << recordOf(ds);
        return rows;
    }
    static void expectSame(const QVector<QVariantList> &got, const QVector<QVariantList> &expected)
    {
        ASSERT_EQ(got.size(), expected.size());
        for (qsizetype i = 0; i < got.size(); ++i) {
            ASSERT_EQ(got[i].size(), expected[i].size()) << "row " << i;
            for (qsizetype c = 0; c < got[i].size(); ++c) {
                EXPECT_EQ(got[i][c].typeId(), expected[i][c].typeId()) << "row " << i << " column " << c;
                EXPECT_EQ(got[i][c], expected[i][c]) << "row " << i << " column " << c;
            }
        }
    }

    // Every row's values, shown in the order given.
    static QVector<QVariantList> valuesOf(QueryDataSet &q, bool lastFirst)
    {
        const qint64 count = q.rowCount();
        QVector<QVariantList> rows(count);
        for (qint64 i = 0; i < count; ++i) {
            const qint64 row = lastFirst ? count - 1 - i : i;
            rows[row] = q.rowValues(row, 1).value(0);
        }
        return rows;
    }
};

} // namespace

TEST_P(SteppedRows, GiveTheValuesOfRowsConvertedOnArrival)
{
    // On SQLite a whole number of a NUMERIC column is stored as an integer, and a fraction
    // in an INTEGER column as a float.
    const QString sql = "SELECT Codigo, Corto, Ciudad, Importe, Cantidad, Fecha, Notas, Medida FROM MEZCLA ORDER BY Codigo";
    auto read = query(sql, false);
    read->open();
    auto stepped = query(sql, true);
    stepped->open();
    const QVector<QVariantList> expected = valuesOf(*read, false);
    ASSERT_EQ(expected.size(), 2600);
    EXPECT_EQ(expected[5].value(1).toString(), sqlite() ? "corto" : "corto 6");   // cut to its declared size
    EXPECT_EQ(expected[5].value(5).typeId(), QMetaType::QDateTime);
    // The last rows are asked for first: rows are turned into values out of order.
    const QVector<QVariantList> got = valuesOf(*stepped, true);
    ASSERT_EQ(got.size(), expected.size());
    for (qsizetype i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].size(), expected[i].size()) << "row " << i;
        for (qsizetype c = 0; c < got[i].size(); ++c) {
            EXPECT_EQ(got[i][c].typeId(), expected[i][c].typeId()) << "row " << i << " column " << c;
            EXPECT_EQ(got[i][c], expected[i][c]) << "row " << i << " column " << c;
        }
    }
}

// A query read whole holds every row once open, as the ordinary read gives them, and its
// connection is free for the next statement while they are used: what that statement
// changes is not in the rows read before it.
TEST_P(SteppedRows, AQueryReadWholeHoldsEveryRowOnceOpenAndLeavesItsConnectionFree)
{
    const QString sql = "SELECT Codigo, Corto, Ciudad, Importe, Cantidad, Fecha, Notas, Medida FROM MEZCLA ORDER BY Codigo";
    auto read = query(sql, false);
    read->open();
    const QVector<QVariantList> expected = walk(*read);
    read->close();
    auto whole = query(sql, false);
    whole->setReadWhole(true);
    whole->open();
    EXPECT_EQ(whole->rowCountWithoutReading(), 2600);
    exec(QStringLiteral("UPDATE MEZCLA SET Ciudad = 'Cambiada' WHERE Codigo >= 2500"));
    expectSame(walk(*whole), expected);
}

TEST_P(SteppedRows, AStoredDateThatIsNoDateFailsAsItArrives)
{
    if (!sqlite())
        GTEST_SKIP() << "only SQLite stores a text that is no date in a date column";
    exec("UPDATE MEZCLA SET Fecha = 'mañana' WHERE Codigo = 2500");
    const QString sql = "SELECT Codigo, Fecha FROM MEZCLA ORDER BY Codigo";
    auto read = query(sql, false);
    auto stepped = query(sql, true);
    read->open();
    const std::string expected = errorText([&] { read->rowCount(); });
    EXPECT_EQ(expected, "'mañana' is not a valid date");
    stepped->open();
    // Counting reads every row: the bad one fails there, not later when shown.
    EXPECT_EQ(errorText([&] { stepped->rowCount(); }), expected);
}

TEST_P(SteppedRows, KeepFiltersOrderBookmarksAndEdits)
{
    auto q = query("SELECT Codigo, Ciudad, Importe FROM MEZCLA ORDER BY Codigo", true);
    q->setRequestLive(true);
    q->open();
    // A filter and an order over rows never shown.
    q->setFilter("Importe >= 600");
    q->setFiltered(true);
    q->setIndexFieldNames("Ciudad;Codigo");
    q->first();
    // Rows without a city come first.
    EXPECT_TRUE(q->fieldByName("Ciudad").isNull());
    EXPECT_EQ(q->fieldByName("Codigo").asInteger(),
              db().scalar("SELECT MIN(Codigo) FROM MEZCLA WHERE Importe >= 600 AND Ciudad IS NULL").toInt());
    const Bookmark mark = q->bookmark();
    const int first = q->fieldByName("Codigo").asInteger();
    EXPECT_EQ(q->recordCount(), db().scalar("SELECT COUNT(*) FROM MEZCLA WHERE Importe >= 600").toInt());
    EXPECT_TRUE(q->locate("Codigo", 2402));
    q->next();
    EXPECT_EQ(q->fieldByName("Ciudad").asString(), "Ciudad 801");
    EXPECT_EQ(q->fieldByName("Codigo").asInteger(), 2403);
    q->setFiltered(false);
    q->setIndexFieldNames(QString());
    EXPECT_EQ(q->recordCount(), 2600);
    EXPECT_TRUE(q->locate("Codigo", 2599));
    q->edit();
    q->fieldByName("Ciudad").setAsString("Otra");
    q->post();
    EXPECT_TRUE(q->locate("Codigo", 2598));
    q->remove();
    EXPECT_EQ(q->recordCount(), 2599);
    q->last();
    EXPECT_EQ(q->fieldByName("Codigo").asInteger(), 2600);
    q->prior();
    EXPECT_EQ(q->fieldByName("Codigo").asInteger(), 2599);
    EXPECT_EQ(q->fieldByName("Ciudad").asString(), "Otra");
    q->gotoBookmark(mark);
    EXPECT_EQ(q->fieldByName("Codigo").asInteger(), first);
    EXPECT_EQ(db().scalar("SELECT Ciudad FROM MEZCLA WHERE Codigo = 2599").toString(), "Otra");
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM MEZCLA").toInt(), 2599);
}

TEST_P(SteppedRows, AClientFedThroughMakesTheValuesOfRowsConvertedOnArrival)
{
    const QString sql = "SELECT Codigo, Corto, Ciudad, Importe, Cantidad, Fecha, Notas, Medida FROM MEZCLA ORDER BY Codigo";
    auto copied = client(sql, false);
    copied->client.open();
    const QVector<QVariantList> expected = walk(copied->client);
    ASSERT_EQ(expected.size(), 2600);
    EXPECT_EQ(expected[6].value(1), QVariant());
    EXPECT_EQ(expected[5].value(5).typeId(), QMetaType::QDateTime);
    auto through = client(sql, true);
    through->client.open();
    // Each record has one field read first, made alone from the row's bytes, then the rest.
    QVector<QVariantList> got;
    DataSet &ds = through->client;
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.field(int(got.size() % ds.fieldCount())).value();
        got << recordOf(ds);
    }
    expectSame(got, expected);
    // Backwards, and as the grids read them.
    QVector<QVariantList> backwards;
    for (ds.last(); !ds.bof(); ds.prior())
        backwards.prepend(recordOf(ds));
    expectSame(backwards, expected);
    ds.first();
    ds.moveBy(2000);
    expectSame(ds.rowValues(1990, 20), expected.mid(1990, 20));
    EXPECT_EQ(recordOf(ds), expected[2000]);
}

TEST_P(SteppedRows, AClientFedThroughFailsOnAStoredDateThatIsNoDateAsItArrives)
{
    if (!sqlite())
        GTEST_SKIP() << "only SQLite stores a text that is no date in a date column";
    exec("UPDATE MEZCLA SET Fecha = 'mañana' WHERE Codigo = 2500");
    const QString sql = "SELECT Codigo, Fecha FROM MEZCLA ORDER BY Codigo";
    auto copied = client(sql, false);
    const std::string expected = errorText([&] { copied->client.open(); });
    EXPECT_EQ(expected, "'mañana' is not a valid date");
    auto through = client(sql, true);
    EXPECT_EQ(errorText([&] { through->client.open(); }), expected);
}

TEST_P(SteppedRows, AClientFedThroughKeepsChangesOrderFilterAndBookmarks)
{
    auto through = client("SELECT Codigo, Ciudad, Importe FROM MEZCLA ORDER BY Codigo", true);
    ClientDataSet &ds = through->client;
    ds.open();
    // The query goes and another statement reuses it: the rows kept stay readable.
    through->source->close();
    through->source->setSql("SELECT Codigo FROM MEZCLA WHERE Codigo < 3");
    through->source->open();
    through->source->close();
    ds.first();
    ds.moveBy(1999);
    // Only the number read: the record's other values are still to be made.
    ASSERT_EQ(ds.fieldByName("Codigo").asInteger(), 2000);
    const Bookmark mark = ds.bookmark();
    ds.edit();
    ds.fieldByName("Importe").setAsFloat(-1);
    ds.post();
    ds.next();
    ds.remove();   // 2001, never read
    ASSERT_EQ(ds.changeCount(), 2);
    const QVector<ClientDataSet::Change> changes = ds.changes();
    // The rows as they arrived, whole.
    EXPECT_EQ(changes[0].original, Row({2000, "Ciudad 666", 500.0}));
    EXPECT_EQ(changes[0].current, Row({2000, "Ciudad 666", -1.0}));
    EXPECT_EQ(changes[1].kind, ClientDataSet::ChangeKind::Deleted);
    EXPECT_EQ(changes[1].original, Row({2001, "Ciudad 667", 500.25}));
    EXPECT_EQ(ds.fieldByName("Codigo").asInteger(), 2002);
    EXPECT_TRUE(ds.fieldByName("Ciudad").isNull());
    ds.gotoBookmark(mark);
    EXPECT_EQ(ds.fieldByName("Importe").asFloat(), -1.0);
    EXPECT_EQ(ds.fieldByName("Ciudad").asString(), "Ciudad 666");
    ds.setFilter("Importe >= 600");
    ds.setFiltered(true);
    EXPECT_EQ(ds.recordCount(), db().scalar("SELECT COUNT(*) FROM MEZCLA WHERE Importe >= 600 AND Codigo <> 2001").toInt());
    ds.setFiltered(false);
    ds.setIndexFieldNames("Ciudad;Codigo");
    ds.first();
    EXPECT_TRUE(ds.fieldByName("Ciudad").isNull());
    ds.last();
    EXPECT_EQ(ds.fieldByName("Codigo").asInteger(),
              db().scalar("SELECT MAX(Codigo) FROM MEZCLA WHERE Ciudad = (SELECT MAX(Ciudad) FROM MEZCLA)").toInt());
    ds.setIndexFieldNames(QString());
    EXPECT_TRUE(ds.locate("Ciudad", "Ciudad 801"));
    EXPECT_EQ(ds.fieldByName("Codigo").asInteger(), 2403);
    EXPECT_EQ(ds.recordCount(), 2599);
}

// Stored values read without making records (a totals-only listing sums them so): the values
// the records give, in the order and under the filter shown, edits and deletions included.
TEST_P(SteppedRows, AClientFedThroughGivesTheStoredValuesItsRecordsGive)
{
    auto through = client("SELECT Codigo, Ciudad, Importe, Cantidad FROM MEZCLA ORDER BY Codigo", true);
    ClientDataSet &ds = through->client;
    ds.open();
    ds.moveBy(1499);
    ds.edit();
    ds.fieldByName("Importe").setAsFloat(-7.5);
    ds.post();
    ds.next();
    ds.remove();
    const auto storedAgainstWalked = [&ds](const char *stage) {
        const QList<int> fields{ds.fieldByName("Importe").index(), ds.fieldByName("Ciudad").index()};
        QVector<QVariantList> stored;
        DataSet::StoredRows reader(ds, fields);
        for (QVector<QVariantList> batch = reader.next(700); !batch.isEmpty(); batch = reader.next(700))
            stored += batch;
        QVector<QVariantList> walked;
        for (ds.first(); !ds.eof(); ds.next())
            walked << QVariantList{ds.field(fields[0]).value(), ds.field(fields[1]).value()};
        SCOPED_TRACE(stage);
        expectSame(stored, walked);
    };
    storedAgainstWalked("as arrived");
    ds.setFilter("Importe < 100");
    ds.setFiltered(true);
    storedAgainstWalked("filtered");
    ds.setFiltered(false);
    ds.setIndexFieldNames("Ciudad;Codigo");
    storedAgainstWalked("ordered");
}

// Each value is read from its own place in the packed row (after a text too long for short
// offsets too, NULLs among them), in the order the fields are asked for, rows deleted or
// filtered out skipped; a record reached with one value read keeps its others when edited.
TEST_P(SteppedRows, AClientFedThroughHandsEachValueFromItsPlace)
{
    exec(sqlite() ? "UPDATE MEZCLA SET Notas = printf('%.*c', 70000, 'n') WHERE Codigo IN (800, 1500)"
                  : "UPDATE MEZCLA SET Notas = repeat('n', 70000) WHERE Codigo IN (800, 1500)");
    const QString sql = "SELECT Codigo, Notas, Corto, Ciudad, Importe, Cantidad FROM MEZCLA ORDER BY Codigo";
    auto copied = client(sql, false);
    auto through = client(sql, true);
    QVector<Bookmark> edited;
    for (ClientDataSet *ds : {&copied->client, &through->client}) {
        ds->open();
        ds->moveBy(1498);
        recordOf(*ds);   // the record before holds every value made
        ds->next();
        ds->fieldByName("Codigo").asInteger();
        edited << ds->bookmark();
        ds->edit();
        ds->fieldByName("Ciudad").setAsString("Otra");
        ds->post();
        ds->next();
        ds->fieldByName("Ciudad").asString();
        ds->next();
        ds->remove();
    }
    const QList<int> fields{4, 1, 0, 3, 5, 2};
    const auto visited = [&fields](DataSet &ds) {
        QVector<QVariantList> rows;
        DataSet::StoredRows reader(ds, fields);
        const auto keep = [&](const QVariant *values) {
            rows << QVariantList(values, values + fields.size());
            return true;
        };
        while (reader.visit(333, keep) > 0) {
        }
        return rows;
    };
    const auto picked = [&fields](const QVector<QVariantList> &records) {
        QVector<QVariantList> rows;
        for (const QVariantList &record : records) {
            QVariantList row;
            for (int field : fields)
                row << record[field];
            rows << row;
        }
        return rows;
    };
    ClientDataSet &ds = through->client;
    for (const auto &[stage, shown] : {std::pair("as arrived", 2599), std::pair("filtered", 2498)}) {
        SCOPED_TRACE(stage);
        const QVector<QVariantList> expected = walk(copied->client);
        ASSERT_EQ(expected.size(), shown);
        expectSame(visited(ds), picked(expected));
        ds.gotoBookmark(edited[1]);
        copied->client.gotoBookmark(edited[0]);
        ds.next();
        copied->client.next();
        ds.fieldByName("Importe").asFloat();
        ds.rowValues(0, 3);   // a grid's read leaves the record as it was
        EXPECT_EQ(recordOf(ds), recordOf(copied->client));
        ds.prior();
        copied->client.prior();
        EXPECT_EQ(recordOf(ds), recordOf(copied->client));
        EXPECT_EQ(ds.fieldByName("Notas").asString().size(), 70000);
        EXPECT_EQ(ds.fieldByName("Ciudad").asString(), "Otra");
        for (ClientDataSet *filtered : {&copied->client, &through->client}) {
            filtered->setFilter("Codigo < 1200 OR Codigo > 1300");
            filtered->setFiltered(true);
        }
    }
    // A walk told to stop is over at the row that stopped it.
    DataSet::StoredRows reader(ds, fields);
    int seen = 0;
    EXPECT_EQ(reader.visit(50, [&seen](const QVariant *) { return ++seen < 3; }), 3);
}

TEST_P(SteppedRows, AClientFedThroughInPacketsGoesOnAfterTheQueryClosesBetweenThem)
{
    const QString sql = "SELECT Codigo, Corto, Ciudad, Importe, Fecha FROM MEZCLA ORDER BY Codigo";
    auto copied = client(sql, false);
    copied->client.open();
    const QVector<QVariantList> expected = walk(copied->client);
    auto through = client(sql, true);
    ClientDataSet &ds = through->client;
    ds.setPacketRecords(100);
    ds.open();
    ds.moveBy(349);
    EXPECT_EQ(ds.fieldByName("Codigo").asInteger(), 350);
    // Reopened for the next packet, the query skips the rows it gave: those come with the
    // conversions of this opening, the earlier ones keep theirs.
    through->source->close();
    ds.moveBy(1000);
    EXPECT_EQ(ds.fieldByName("Codigo").asInteger(), 1350);
    through->source->close();
    QVector<QVariantList> got;
    for (ds.first(); !ds.eof(); ds.next())
        got << recordOf(ds);
    expectSame(got, expected);
}

TEST_P(SteppedRows, AClientFedThroughComputesItsFieldsAndMovesThem)
{
    auto through = client("SELECT Codigo, Ciudad, Importe FROM MEZCLA ORDER BY Codigo", true);
    ClientDataSet &ds = through->client;
    ds.addCalculatedField("Doble", ftFloat);
    ds.OnCalcFields = [](DataSet &d) { d.fieldByName("Doble").setAsFloat(2 * d.fieldByName("Importe").asFloat()); };
    ds.open();
    ds.first();
    ds.moveBy(1235);
    EXPECT_EQ(ds.fieldByName("Doble").asFloat(), 1236 * 0.5);
    EXPECT_EQ(ds.fieldByName("Codigo").asInteger(), 1236);
    ds.next();
    // A field moved on a record whose values are not all made: each stays with its field.
    ds.fieldByName("Importe").setIndex(0);
    EXPECT_EQ(ds.field(0).fieldName(), "Importe");
    EXPECT_EQ(ds.field(0).asFloat(), 1237 * 0.25);
    EXPECT_EQ(ds.fieldByName("Ciudad").asString(), "Ciudad 412");
    EXPECT_EQ(ds.fieldByName("Codigo").asInteger(), 1237);
    ds.next();
    EXPECT_EQ(ds.field(0).asFloat(), 1238 * 0.25);
    EXPECT_EQ(ds.fieldByName("Doble").asFloat(), 1238 * 0.5);
}

INSTANTIATE_TEST_SUITE_P(Engines, SteppedRows, GP_DATA_BACKENDS);

namespace {

// Doubles compared by their bits' meaning: NaN equals NaN.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.typeId() == QMetaType::Double && b.typeId() == QMetaType::Double && std::isnan(a.toDouble()))
        return std::isnan(b.toDouble());
    return a == b;
}

} // namespace

// Every row read at once (counting them), more than one request of batches long: the values
// and their types are those of rows read a packet at a time and converted on arrival, at the
// limits of integers and doubles, with NULLs, and the texts of numbers too long to keep.
TEST_P(SteppedRows, ReadWholeInLongRequestsGiveTheValuesOfRowsConvertedOnArrival)
{
    exec("CREATE TABLE LIMITES (Codigo INTEGER PRIMARY KEY, Entero INTEGER, Grande BIGINT, Doble DOUBLE PRECISION, "
         "Exacto NUMERIC, Texto VARCHAR(30))");
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 150000) "
         "INSERT INTO LIMITES SELECT i, "
         "CASE i % 4 WHEN 0 THEN 2147483647 WHEN 1 THEN -2147483648 WHEN 2 THEN NULL ELSE i END, "
         "CASE i % 3 WHEN 0 THEN 9223372036854775807 WHEN 1 THEN -9223372036854775807 - 1 ELSE NULL END, "
         "CASE i % 7 WHEN 0 THEN 1.7976931348623157e308 WHEN 1 THEN -2.2250738585072014e-308 WHEN 2 THEN NULL "
         "WHEN 3 THEN 0.1 WHEN 4 THEN i * -0.125 WHEN 5 THEN 123456789012345678 ELSE 0 END, "
         "CASE i % 5 WHEN 0 THEN 1234567890123456789012345.678 WHEN 1 THEN -0.5 WHEN 2 THEN NULL ELSE i END, "
         "CASE WHEN i % 6 = 0 THEN NULL ELSE 'texto ' || i END FROM n");
    if (!sqlite())   // values only the server keeps
        exec("INSERT INTO LIMITES (Codigo, Doble, Exacto) VALUES (150001, 'NaN', 'NaN'), (150002, 'Infinity', 1), "
             "(150003, '-Infinity', 2)");
    const QString sql = "SELECT * FROM LIMITES ORDER BY Codigo";
    auto packets = query(sql, false);
    packets->open();
    const QVector<QVariantList> expected = walk(*packets);
    packets->close();
    ASSERT_EQ(expected.size(), sqlite() ? 150000 : 150003);
    EXPECT_EQ(expected[2].value(2).toLongLong(), Q_INT64_C(9223372036854775807));
    EXPECT_EQ(expected[6].value(3).toDouble(), 1.7976931348623157e308);

    auto stepped = query(sql, true);
    stepped->open();
    ASSERT_EQ(stepped->rowCount(), expected.size());
    const QVector<QVariantList> got = valuesOf(*stepped, true);
    for (qsizetype i = 0; i < got.size(); ++i) {
        ASSERT_EQ(got[i].size(), expected[i].size()) << "row " << i;
        for (qsizetype c = 0; c < got[i].size(); ++c) {
            ASSERT_EQ(got[i][c].typeId(), expected[i][c].typeId()) << "row " << i << " column " << c;
            ASSERT_TRUE(sameValue(got[i][c], expected[i][c]))
                << "row " << i << " column " << c << ": " << got[i][c].toString().toStdString() << " against "
                << expected[i][c].toString().toStdString();
        }
    }
}

// A failure met by the server after many requests of the rest were answered is raised as the
// whole statement raises it, and the next statements read every row.
TEST_P(SteppedRows, AFailureAmidARowsReadWholeIsRaisedAndTheNextStatementsReadWhole)
{
    exec("CREATE TABLE MUCHAS (Codigo INTEGER)");
    exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 120000) "
         "INSERT INTO MUCHAS SELECT i FROM n");
    const QString failing = "SELECT Codigo, abs(CASE WHEN Codigo = 110000 THEN -9223372036854775807 - 1 ELSE Codigo END) "
                            "FROM MUCHAS";   // no sort: the server meets the failure as it sends the rows
    // The engine's failure as its first line tells it, and its kind.
    const auto failure = [](const std::function<void()> &work) {
        try {
            work();
        } catch (const gp::DatabaseError &e) {
            return std::make_pair(int(e.kind()), e.mensaje().section(QLatin1Char('\n'), 0, 0).toStdString());
        }
        return std::make_pair(-1, std::string());
    };
    const auto expected = failure([&] { db().query(failing, {}, SqlOrigin::AsWritten); });
    ASSERT_FALSE(expected.second.empty());
    for (int time = 0; time < 2; ++time) {
        // Where an engine reads every row on opening (a column's type told by its values), it fails there.
        auto stepped = query(failing, true);
        EXPECT_EQ(failure([&] {
                      stepped->open();
                      stepped->rowCount();
                  }),
                  expected);
        auto next = query("SELECT Codigo FROM MUCHAS ORDER BY Codigo", true);
        next->open();
        ASSERT_EQ(next->rowCount(), 120000);
        EXPECT_EQ(next->rowValues(119999, 1).value(0).value(0).toInt(), 120000);
        EXPECT_EQ(next->rowValues(54321, 1).value(0).value(0).toInt(), 54322);
    }
}
