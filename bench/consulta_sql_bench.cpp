// A large query through the engine: 100,000 rows of five columns (integer, text, decimal,
// date-time, memo) read by Connection::query, and the same rows answered as text, from the
// whole result and read row by row. The anchors, in the same run, are raw: the same statement
// stepped with the sqlite3 C API on the same file, every value read in its column's type, and
// for the answers the same text written into one buffer.
#include "AnclaSqlite3Textos.h"
#include "GENEW/runtime/FilasResultadoConsulta.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <string>

using namespace plat;

namespace {

constexpr int kRows = 100000;
const QString kSelect = QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha, Notas FROM GRANDE");

struct BenchData
{
    QTemporaryDir dir;
    Session session;

    BenchData()
    {
        Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        TableDef t;
        t.name = QStringLiteral("GRANDE");
        t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Nombre"), ftString, 40),
                    fieldDef(QStringLiteral("Importe"), ftFloat), fieldDef(QStringLiteral("Fecha"), ftDateTime),
                    fieldDef(QStringLiteral("Notas"), ftMemo)};
        db.createTable(t);
        db.startTransaction();
        QSqlQuery q(QSqlDatabase::database(db.qtConnectionName()));
        q.prepare(QStringLiteral("INSERT INTO GRANDE (Codigo, Nombre, Importe, Fecha, Notas) VALUES (?, ?, ?, ?, ?)"));
        for (int i = 0; i < kRows; ++i) {
            q.addBindValue(i + 1);
            q.addBindValue(QStringLiteral("Cliente %1").arg(i + 1));
            q.addBindValue(double(i % 1000) / 8.0);
            q.addBindValue(QDate(2024, 1, 1).addDays(i % 300).toString(Qt::ISODate)
                           + QStringLiteral(" %1:30:00").arg(i % 24, 2, 10, QLatin1Char('0')));
            q.addBindValue(QStringLiteral("texto\r\nmemo"));
            q.exec();
        }
        db.commit();
    }

    QString file() const { return dir.path() + QStringLiteral("/datos.sqlite"); }
};

BenchData &data()
{
    static BenchData d;
    return d;
}

void ConsultaDeCienMilFilas(benchmark::State &state)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    for (auto _ : state)
        benchmark::DoNotOptimize(db.query(kSelect));
}
BENCHMARK(ConsultaDeCienMilFilas)->Unit(benchmark::kMillisecond);

void RespuestaSQLDeCienMilFilas(benchmark::State &state)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    for (auto _ : state) {
        const QueryResult result = db.query(kSelect);
        FilasResultadoConsulta rows(result);
        benchmark::DoNotOptimize(FormatearRespuestaSQL(rows, QString()));
    }
}
BENCHMARK(RespuestaSQLDeCienMilFilas)->Unit(benchmark::kMillisecond);

// The SQL service's way: the answer written while the rows are read.
void RespuestaSQLLeyendoFilaAFila(benchmark::State &state)
{
    Connection &db = data().session.connection(QStringLiteral("Database"));
    for (auto _ : state) {
        const std::unique_ptr<QueryCursor> cursor = db.openQuery(kSelect);
        FilasCursorConsulta rows(*cursor);
        benchmark::DoNotOptimize(FormatearRespuestaSQL(rows, QString()));
    }
}
BENCHMARK(RespuestaSQLLeyendoFilaAFila)->Unit(benchmark::kMillisecond);

// The raw side: the same file opened read-only and the statement prepared once per run.
struct Raw
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    Raw()
    {
        sqlite3_open_v2(QFile::encodeName(data().file()).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        const QByteArray sql = kSelect.toUtf8();
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
    }
    ~Raw()
    {
        sqlite3_finalize(stmt);
        sqlite3_close(db);
    }
};

// The rows read as Connection::query reads them: every value in its column's type.
void AnclaSqlite3LeerFilas(benchmark::State &state)
{
    Raw raw;
    if (!raw.stmt) {
        state.SkipWithError("cannot prepare the statement");
        return;
    }
    int rows = 0;
    for (auto _ : state) {
        rows = 0;
        while (sqlite3_step(raw.stmt) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int64(raw.stmt, 0));
            benchmark::DoNotOptimize(sqlite3_column_text(raw.stmt, 1));
            benchmark::DoNotOptimize(sqlite3_column_double(raw.stmt, 2));
            benchmark::DoNotOptimize(sqlite3_column_text(raw.stmt, 3));
            benchmark::DoNotOptimize(sqlite3_column_text(raw.stmt, 4));
            ++rows;
        }
        sqlite3_reset(raw.stmt);
    }
    if (rows != kRows)
        state.SkipWithError("wrong number of rows");
}
BENCHMARK(AnclaSqlite3LeerFilas)->Unit(benchmark::kMillisecond);

void AnclaSqlite3TextoDeLaRespuesta(benchmark::State &state)
{
    Raw raw;
    if (!raw.stmt) {
        state.SkipWithError("cannot prepare the statement");
        return;
    }
    // The anchor must write the program's very text, or it would not be doing the same work.
    std::string out;
    EscribirRespuestaCincoColumnas(raw.stmt, out);
    {
        Connection &db = data().session.connection(QStringLiteral("Database"));
        const std::unique_ptr<QueryCursor> cursor = db.openQuery(kSelect);
        FilasCursorConsulta rows(*cursor);
        if (FormatearRespuestaSQL(rows, QString()).toUtf8() != QByteArray::fromStdString(out)) {
            state.SkipWithError("the raw answer differs from the program's");
            return;
        }
    }
    for (auto _ : state) {
        EscribirRespuestaCincoColumnas(raw.stmt, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = double(out.size());
}
BENCHMARK(AnclaSqlite3TextoDeLaRespuesta)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
