// Rows read one at a time are the rows a whole query answers, on every engine.
#include "platform/base/Errores.h"
#include "platform/base/FechaHora.h"
#include "platform/data/Field.h"
#include "tests/platform/engine/EngineFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QThread>
#include <QtGlobal>

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

namespace {

// N holding the codes 1 to `rows`, made by the engine itself.
void fillNumbers(Connection &db, int rows)
{
    db.exec(QStringLiteral("CREATE TABLE N (Codigo INTEGER)"), {}, SqlOrigin::AsWritten);
    db.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                           "INSERT INTO N (Codigo) SELECT i FROM n")
                .arg(rows),
            {}, SqlOrigin::AsWritten);
}

using Opener = std::unique_ptr<QueryCursor> (Connection::*)(const QString &, const QVariantMap &, SqlOrigin);

struct Way
{
    const char *name;
    Opener open;
};

const Way kWays[] = {{"cursor", &Connection::openQuery}, {"reader", &Connection::openReader}};

// The first line of a failure's text: what the engine's failure was classified as.
QString firstLine(const QString &text)
{
    return text.section(QLatin1Char('\n'), 0, 0);
}

} // namespace

TEST_P(EngineTest, CursorsAndReadersGiveTheValuesAWholeQueryGivesForEveryType)
{
    db().exec(QStringLiteral("CREATE TABLE T (Codigo INTEGER, Grande BIGINT, Corto SMALLINT, Nombre VARCHAR(20), "
                             "Nota TEXT, Importe DOUBLE PRECISION, Exacto NUMERIC(12,3), Ratio REAL, Hecho BOOLEAN, "
                             "Momento TIMESTAMP, Dia DATE, Hora TIME, Datos BYTEA)"),
              {}, SqlOrigin::AsWritten);
    const QString insert = QStringLiteral(
        "INSERT INTO T (Codigo, Grande, Corto, Nombre, Nota, Importe, Exacto, Ratio, Hecho, Momento, Dia, Hora, Datos) "
        "VALUES (:c, :g, :s, :n, :t, :i, :e, :r, :h, :m, :d, :o, :b)");
    db().exec(insert,
              {{"c", 1}, {"g", Q_INT64_C(-9000000000)}, {"s", 7}, {"n", QStringLiteral("Íñigo")},
               {"t", QStringLiteral("línea\nsegunda")}, {"i", -1.25}, {"e", QStringLiteral("12.500")}, {"r", 0.5},
               {"h", true}, {"m", FechaHora(QDate(2024, 3, 31), QTime(2, 30))}, {"d", QDate(2024, 2, 29)},
               {"o", QTime(23, 59, 58)}, {"b", QByteArray("\0\x01\xff'\\", 5)}},
              SqlOrigin::AsWritten);
    db().exec(insert,
              {{"c", 2}, {"g", Q_INT64_C(9000000000)}, {"s", QVariant()}, {"n", QString()}, {"t", QVariant()},
               {"i", QVariant()}, {"e", QVariant()}, {"r", QVariant()}, {"h", false}, {"m", QVariant()},
               {"d", QVariant()}, {"o", QVariant()}, {"b", QVariant()}},
              SqlOrigin::AsWritten);
    if (!isSqlite())   // a date the server keeps beyond every calendar one
        db().exec(QStringLiteral("INSERT INTO T (Codigo, Momento) VALUES (3, 'infinity')"), {}, SqlOrigin::AsWritten);

    const QString sql = QStringLiteral("SELECT * FROM T ORDER BY Codigo");
    const QueryResult whole = db().query(sql, {}, SqlOrigin::AsWritten);
    ASSERT_EQ(whole.rows.size(), isSqlite() ? 2 : 3);
    for (const Way &way : kWays) {
        SCOPED_TRACE(way.name);
        const std::unique_ptr<QueryCursor> cursor = (db().*way.open)(sql, {}, SqlOrigin::AsWritten);
        EXPECT_EQ(cursor->columns(), whole.columns);
        EXPECT_EQ(cursor->types(), whole.types);
        const QList<QVariantList> rows = readAll(*cursor);
        ASSERT_EQ(rows.size(), whole.rows.size());
        for (qsizetype r = 0; r < rows.size(); ++r)
            for (qsizetype c = 0; c < whole.columns.size(); ++c) {
                const QVariant &got = rows[r].value(c), &expected = whole.rows[r].value(c);
                EXPECT_EQ(got, expected) << "row " << r << ", " << whole.columns[c].toStdString();
                EXPECT_EQ(got.typeId(), expected.typeId()) << "row " << r << ", " << whole.columns[c].toStdString();
            }
    }
    EXPECT_EQ(whole.rows[0][12].toByteArray(), QByteArray("\0\x01\xff'\\", 5));
    EXPECT_EQ(whole.rows[0][9].toDateTime(), FechaHora(QDate(2024, 3, 31), QTime(2, 30)));
}

TEST_P(EngineTest, ACursorOrReaderGivenUpHalfWayLeavesTheConnectionReadyForTheNextStatement)
{
    fillNumbers(db(), 20000);
    const QString sql = QStringLiteral("SELECT Codigo FROM N ORDER BY Codigo");
    for (const Way &way : kWays)
        for (const bool inTransaction : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (inTransaction ? " in a transaction" : ""));
            if (inTransaction)
                db().startTransaction();
            {
                const std::unique_ptr<QueryCursor> cursor = (db().*way.open)(sql, {}, SqlOrigin::AsWritten);
                for (int i = 1; i <= 150; ++i) {
                    ASSERT_TRUE(cursor->next());
                    ASSERT_EQ(cursor->value(0).toInt(), i);
                }
            }
            db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (0)"), {}, SqlOrigin::AsWritten);
            const std::unique_ptr<QueryCursor> again = (db().*way.open)(
                QStringLiteral("SELECT COUNT(*), MIN(Codigo), MAX(Codigo) FROM N"), {}, SqlOrigin::AsWritten);
            ASSERT_TRUE(again->next());
            EXPECT_EQ(again->value(1).toInt(), 0);
            EXPECT_EQ(again->value(2).toInt(), 20000);
            const int counted = again->value(0).toInt();
            EXPECT_EQ(counted, 20001);
            EXPECT_FALSE(again->next());
            if (inTransaction)
                db().commit();
            EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM N"), {}, SqlOrigin::AsWritten).toInt(), counted)
                << "the row inserted after the cursor is kept";
            db().exec(QStringLiteral("DELETE FROM N WHERE Codigo = 0"), {}, SqlOrigin::AsWritten);
        }
    // Nothing given up holds the table: its structure changes without waiting.
    db().exec(QStringLiteral("ALTER TABLE N ADD COLUMN Nota VARCHAR(10)"), {}, SqlOrigin::AsWritten);
    EXPECT_EQ(readAll(*db().openReader(QStringLiteral("SELECT COUNT(Nota) FROM N"), {}, SqlOrigin::AsWritten)),
              (QList<QVariantList>{{0}}));
}

TEST_P(EngineTest, AReaderAfterTheServerEndedTheSessionsOfEarlierOnesReadsItsRows)
{
    if (GetParam() != gptest::Backend::PostgreSQL)
        GTEST_SKIP() << "only PostgreSQL streams readers on connections of their own";
    fillNumbers(db(), 3000);
    const QString sql = QStringLiteral("SELECT SUM(Codigo) FROM N");
    EXPECT_EQ(readAll(*db().openReader(sql, {}, SqlOrigin::AsWritten)), (QList<QVariantList>{{4501500}}));
    // Every other session of the database ended by the server (the one that read above too).
    db().exec(QStringLiteral("SELECT pg_terminate_backend(pid, 5000) FROM pg_stat_activity "
                             "WHERE datname = current_database() AND pid <> pg_backend_pid()"),
              {}, SqlOrigin::AsWritten);
    const quint64 openings = serverOpenings();
    EXPECT_EQ(readAll(*db().openReader(sql, {}, SqlOrigin::AsWritten)), (QList<QVariantList>{{4501500}}));
    EXPECT_EQ(serverOpenings(), openings) << "the reader's ended session is not taken for the program's own";
    EXPECT_EQ(readAll(*db().openReader(QStringLiteral("SELECT Codigo FROM N ORDER BY Codigo"), {}, SqlOrigin::AsWritten))
                  .size(),
              3000);
}

TEST_P(EngineTest, AFailureAmidTheRowsIsRaisedAsTheWholeQueryRaisesItAndTheConnectionGoesOn)
{
    fillNumbers(db(), 30000);
    // The engine meets the failure (an integer overflow) on row 25000, after sending those before it.
    const QString sql = QStringLiteral("SELECT abs(CASE WHEN Codigo = 25000 THEN -9223372036854775807 - 1 "
                                       "ELSE Codigo END) FROM N");
    const auto wholeKind = gptest::failureKind([&] { db().query(sql, {}, SqlOrigin::AsWritten); });
    ASSERT_TRUE(wholeKind.has_value());
    QString wholeText;
    try {
        db().query(sql, {}, SqlOrigin::AsWritten);
    } catch (const gp::DatabaseError &e) {
        wholeText = e.mensaje();
    }
    for (const Way &way : kWays)
        for (const bool inTransaction : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (inTransaction ? " in a transaction" : ""));
            if (inTransaction) {
                db().startTransaction();
                db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (-1)"), {}, SqlOrigin::AsWritten);
            }
            int read = 0;
            try {
                const std::unique_ptr<QueryCursor> cursor = (db().*way.open)(sql, {}, SqlOrigin::AsWritten);
                while (cursor->next())
                    ++read;
                ADD_FAILURE() << "the overflow must raise";
            } catch (const gp::DatabaseError &e) {
                EXPECT_EQ(e.kind(), *wholeKind);
                EXPECT_EQ(firstLine(e.mensaje()), firstLine(wholeText)) << e.mensaje().toStdString();
            }
            EXPECT_LT(read, 25000) << "no row after the failure is given";
            // Where the rows stream (not through ODBC, nor a reader that reads whole first),
            // those before the failure came as they were read.
            const bool streams = GetParam() != gptest::Backend::OdbcPostgreSQL
                                 && (way.open == &Connection::openQuery || (!isSqlite() && !inTransaction));
            if (streams) {
                EXPECT_GT(read, 20000);
            }
            if (inTransaction) {
                // The transaction's earlier work survives the failed statement.
                db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (-2)"), {}, SqlOrigin::AsWritten);
                db().commit();
                EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM N WHERE Codigo < 0"), {}, SqlOrigin::AsWritten)
                              .toInt(),
                          2);
                db().exec(QStringLiteral("DELETE FROM N WHERE Codigo < 0"), {}, SqlOrigin::AsWritten);
            }
            EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM N"), {}, SqlOrigin::AsWritten).toInt(), 30000);
        }
}

TEST_P(EngineTest, AReaderOfAStatementThatWritesCarriesItOut)
{
    if (isSqlite())
        GTEST_SKIP() << "SQLite takes no writing statement in a WITH";
    fillNumbers(db(), 10);
    // A server's cursor refuses a WITH that writes: the statement runs as it was written.
    const std::unique_ptr<QueryCursor> reader = db().openReader(
        QStringLiteral("WITH d AS (DELETE FROM N WHERE Codigo > 8 RETURNING Codigo) SELECT Codigo FROM d ORDER BY 1"), {},
        SqlOrigin::AsWritten);
    const QList<QVariantList> rows = readAll(*reader);
    EXPECT_EQ(rows, (QList<QVariantList>{{9}, {10}}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM N"), {}, SqlOrigin::AsWritten).toInt(), 8);

    // A reader read whole: its snapshot's transaction ended, the table can be changed at once.
    const std::unique_ptr<QueryCursor> all = db().openReader(QStringLiteral("SELECT Codigo FROM N;"), {}, SqlOrigin::AsWritten);
    EXPECT_EQ(readAll(*all).size(), 8);
    db().exec(QStringLiteral("DROP TABLE N"), {}, SqlOrigin::AsWritten);
}

// A reader told that every row is wanted, given up a long way before its end: the statement
// stops on the server, the reader's connection serves the next reader, and rows read to the
// end come whole and in order.
TEST_P(EngineTest, AReaderGivenUpAmidAReadOfEveryRowLeavesItsConnectionReadyForTheNext)
{
    fillNumbers(db(), 120000);
    // The server's session of each statement, where there is one.
    const QString session = isSqlite() ? QStringLiteral("0") : QStringLiteral("pg_backend_pid()");
    const QString sql = QStringLiteral("SELECT Codigo, %1 FROM N ORDER BY Codigo").arg(session);
    for (const Way &way : kWays) {
        SCOPED_TRACE(way.name);
        QVariant givenUpSession;
        {
            const std::unique_ptr<QueryCursor> reader = (db().*way.open)(sql, {}, SqlOrigin::AsWritten);
            for (int i = 1; i <= 30000; ++i) {
                ASSERT_TRUE(reader->next());
                ASSERT_EQ(reader->value(0).toInt(), i);
                if (i == 150)
                    reader->readingAll();
            }
            givenUpSession = reader->value(1);
        }
        const std::unique_ptr<QueryCursor> count = (db().*way.open)(
            QStringLiteral("SELECT COUNT(*), MIN(Codigo), MAX(Codigo), %1 FROM N").arg(session), {}, SqlOrigin::AsWritten);
        EXPECT_EQ(readAll(*count), (QList<QVariantList>{{120000, 1, 120000, givenUpSession}}))
            << "the connection given up is the one reused";

        const std::unique_ptr<QueryCursor> whole = (db().*way.open)(sql, {}, SqlOrigin::AsWritten);
        whole->readingAll();
        qint64 expected = 0;
        while (whole->next()) {
            ++expected;
            if (whole->value(0).toLongLong() != expected) {
                ADD_FAILURE() << "row " << expected << " reads " << whole->value(0).toLongLong();
                break;
            }
        }
        EXPECT_EQ(expected, 120000);
    }
    // Nothing given up holds the table.
    db().exec(QStringLiteral("ALTER TABLE N ADD COLUMN Nota VARCHAR(10)"), {}, SqlOrigin::AsWritten);
}

namespace {

// Qt's warnings while it lives.
class QtWarnings
{
public:
    QtWarnings() { previous_ = qInstallMessageHandler(&QtWarnings::keep); }
    ~QtWarnings() { qInstallMessageHandler(previous_); }
    QtWarnings(const QtWarnings &) = delete;
    QtWarnings &operator=(const QtWarnings &) = delete;
    static QStringList &said()
    {
        static QStringList texts;
        return texts;
    }

private:
    static void keep(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type != QtDebugMsg && type != QtInfoMsg)
            said() << text;
    }
    QtMessageHandler previous_ = nullptr;
};

// The connections readers hold: the driver's, and the server's sessions on the database
// besides the program's own (a session that goes ends on the server a moment later).
QStringList readerConnections(Connection &db)
{
    QStringList names;
    for (const QString &name : QSqlDatabase::connectionNames())
        if (name.contains(QLatin1String("_lector")))
            names << name;
    if (db.engine() != EngineKind::PostgreSQL)
        return names;
    const QString others = QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                          "AND pid <> pg_backend_pid() AND backend_type = 'client backend'");
    int sessions = db.scalar(others, {}, SqlOrigin::AsWritten).toInt();
    for (int i = 0; i < 100 && sessions > 0; ++i) {
        QThread::msleep(20);
        sessions = db.scalar(others, {}, SqlOrigin::AsWritten).toInt();
    }
    for (int i = 0; i < sessions; ++i)
        names << QStringLiteral("session");
    return names;
}

// Sessions of the database idle inside a transaction, once the program has been idle: a
// commit sent without waiting for its answer reaches the server a moment later, so the count
// is read until it falls to none or a second has passed.
int sessionsIdleInTransaction(Connection &db)
{
    int held = 0;
    for (int tries = 0; tries < 20; ++tries) {
        QCoreApplication::processEvents();
        held = db.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                        "AND state LIKE 'idle in transaction%'"),
                         {}, SqlOrigin::AsWritten)
                   .toInt();
        if (held == 0)
            break;
        QThread::msleep(50);
    }
    return held;
}

} // namespace

// A reader whose statement fails closes its own connection, with or without parameters, as
// no longer held (QtSql says so of one removed while held; the server's session ends), and
// the next reader reads.
TEST_P(EngineTest, AReaderWhoseStatementFailsLetsGoOfItsConnection)
{
    db().exec(QStringLiteral("CREATE TABLE N (Codigo INTEGER)"), {}, SqlOrigin::AsWritten);
    db().exec(QStringLiteral("INSERT INTO N (Codigo) VALUES (1), (2)"), {}, SqlOrigin::AsWritten);
    const QStringList before = readerConnections(db());
    QtWarnings warnings;
    QtWarnings::said().clear();
    for (const QVariantMap &params : {QVariantMap(), QVariantMap{{QStringLiteral("c"), 1}}}) {
        const QString sql = params.isEmpty() ? QStringLiteral("SELECT * FROM NOEXISTE")
                                             : QStringLiteral("SELECT * FROM NOEXISTE WHERE Codigo = :c");
        EXPECT_EQ(gptest::failureKind([&] { db().openReader(sql, params, SqlOrigin::AsWritten); }),
                  gp::DatabaseErrorKind::MissingTable);
        EXPECT_EQ(readerConnections(db()), before);
    }
    EXPECT_EQ(QtWarnings::said().filter(QStringLiteral("in use")), QStringList()) << "removed while held";
    EXPECT_EQ(readAll(*db().openReader(QStringLiteral("SELECT Codigo FROM N ORDER BY Codigo"), {}, SqlOrigin::AsWritten)),
              (QList<QVariantList>{{1}, {2}}));
}

// Rows a reader has shown and that are only looked at (the program idle, its event loop
// running) hold nothing on the server: the reader's transaction ends, the server keeping the
// rest of the rows, so that another session may lock or change the table at once; the
// reader reads on, from rows read before and after the idle moment alike.
TEST_P(EngineTest, AReaderWhoseRowsAreLookedAtHoldsNoTransaction)
{
    if (GetParam() != gptest::Backend::PostgreSQL)
        GTEST_SKIP() << "only PostgreSQL streams readers on connections of their own";
    fillNumbers(db(), 5000);
    const auto reader = db().openReader(QStringLiteral("SELECT Codigo FROM N ORDER BY Codigo"), {}, SqlOrigin::AsWritten);
    for (int i = 1; i <= 50; ++i) {
        ASSERT_TRUE(reader->next());
        ASSERT_EQ(reader->value(0).toInt(), i);
    }
    QCoreApplication::processEvents();
    Session other;
    database.openAgain(other, dir.path());
    Connection &admin = other.connection(QStringLiteral("Database"));
    admin.startTransaction();
    admin.exec(QStringLiteral("SET LOCAL lock_timeout = '5s'"), {}, SqlOrigin::AsWritten);
    EXPECT_EQ(gptest::failureKind([&] { admin.exec(QStringLiteral("LOCK TABLE N IN ACCESS EXCLUSIVE MODE"), {}, SqlOrigin::AsWritten); }),
              std::nullopt);
    EXPECT_EQ(admin.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() "
                                          "AND state LIKE 'idle in transaction%'"),
                           {}, SqlOrigin::AsWritten)
                  .toInt(),
              0);
    admin.rollback();
    int last = 50;
    while (reader->next())
        EXPECT_EQ(reader->value(0).toInt(), ++last);
    EXPECT_EQ(last, 5000);
    other.closeAll();
}

// A reader opened in a read-only run (the SQL console's SELECT) streams as any other: its
// first rows come before the rest is computed and its transaction ends once they are looked
// at; a write its statement attempts is still refused, however it is worded.
TEST_P(EngineTest, AReadOnlyRunsReaderStreamsAndStillRefusesWrites)
{
    if (GetParam() != gptest::Backend::PostgreSQL)
        GTEST_SKIP() << "only PostgreSQL streams readers on connections of their own";
    const auto readOnlyReader = [&](const QString &sql) {
        std::unique_ptr<QueryCursor> reader;
        db().runReadOnly([&] { reader = db().openReader(sql, {}, SqlOrigin::AsWritten); });
        return reader;
    };
    // Each row says when the server made it: the rows after the first batch are made after
    // the run has ended, not read whole inside it.
    const QString now = QStringLiteral("extract(epoch FROM clock_timestamp())::float8");
    const auto reader = readOnlyReader(QStringLiteral("SELECT i, %1 FROM generate_series(1, 5000) i").arg(now));
    ASSERT_TRUE(reader->next());
    const double runEnded = db().scalar(QStringLiteral("SELECT ") + now, {}, SqlOrigin::AsWritten).toDouble();
    EXPECT_EQ(sessionsIdleInTransaction(db()), 0);
    int rows = 1;
    double lastMade = 0;
    while (reader->next()) {
        ASSERT_EQ(reader->value(0).toInt(), ++rows);
        lastMade = reader->value(1).toDouble();
    }
    EXPECT_EQ(rows, 5000);
    EXPECT_GT(lastMade, runEnded);

    fillNumbers(db(), 300);
    db().exec(QStringLiteral("CREATE FUNCTION borra() RETURNS integer LANGUAGE sql AS 'DELETE FROM n RETURNING 1'"), {},
              SqlOrigin::AsWritten);
    for (const char *sql : {"SELECT * INTO NUEVA FROM N", "SELECT borra(), Codigo FROM N",
                            "WITH x AS (DELETE FROM N RETURNING Codigo) SELECT * FROM x",
                            "DELETE FROM N RETURNING Codigo"}) {
        EXPECT_EQ(gptest::failureKind([&] { readAll(*readOnlyReader(QLatin1String(sql))); }),
                  gp::DatabaseErrorKind::ReadOnly)
            << sql;
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM N")).toInt(), 300);
    EXPECT_FALSE(db().tableExists(QStringLiteral("NUEVA")));
}

// A reader's first batch comes as soon as the server has it, though the batch after it is
// asked for in the same exchange: a statement whose later rows are slow to make shows its
// first rows at once, read plainly or in a read-only run. A failure in any batch (the first,
// the one asked for with it, a later one) is raised as the whole query raises it, after the
// rows before it and none after, and the reader's connection reads the next statement.
TEST_P(EngineTest, AReadersFirstRowsComeAtOnceAndAFailureInAnyBatchIsRaisedInItsPlace)
{
    if (GetParam() != gptest::Backend::PostgreSQL)
        GTEST_SKIP() << "only PostgreSQL streams readers on connections of their own";
    const auto open = [&](const QString &sql, bool readOnly) {
        std::unique_ptr<QueryCursor> reader;
        const auto opening = [&] { reader = db().openReader(sql, {}, SqlOrigin::AsWritten); };
        readOnly ? db().runReadOnly(opening) : opening();
        return reader;
    };
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "in a read-only run" : "plainly");
        // Row 150 takes the server a second and a half to make.
        QElapsedTimer clock;
        clock.start();
        const auto slow = open(QStringLiteral("SELECT CASE WHEN i = 150 THEN (SELECT i FROM pg_sleep(1.5)) ELSE i END "
                                              "FROM generate_series(1, 1000) i"),
                               readOnly);
        ASSERT_TRUE(slow->next());
        EXPECT_LT(clock.elapsed(), 1000) << "the first rows waited for the next batch";
        int rows = 1;
        while (slow->next())
            EXPECT_EQ(slow->value(0).toInt(), ++rows);
        EXPECT_EQ(rows, 1000);
        EXPECT_GE(clock.elapsed(), 1500);

        for (const int failing : {50, 150, 2500}) {
            SCOPED_TRACE(failing);
            const QString sql = QStringLiteral("SELECT abs(CASE WHEN i = %1 THEN -2147483647 - 1 ELSE i END) "
                                               "FROM generate_series(1, 3000) i")
                                    .arg(failing);
            const auto wholeKind = gptest::failureKind([&] { db().query(sql, {}, SqlOrigin::AsWritten); });
            ASSERT_TRUE(wholeKind.has_value());
            int read = 0;
            const auto kind = gptest::failureKind([&] {
                const auto reader = open(sql, readOnly);
                while (reader->next())
                    EXPECT_EQ(reader->value(0).toInt(), ++read);
            });
            EXPECT_EQ(kind, wholeKind);
            EXPECT_LT(read, failing);
            EXPECT_EQ(open(QStringLiteral("SELECT 7"), readOnly)->next(), true);
        }
    }
    EXPECT_EQ(sessionsIdleInTransaction(db()), 0);
}
