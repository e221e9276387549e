// A large query through the engine: 100,000 rows of five columns (integer, text, decimal,
// date-time, memo) read by Connection::query, and the same rows answered as text, from the
// whole result and read row by row. The sqlite3 command-line tool is the yardstick.
#include "GENEW/runtime/FilasResultadoConsulta.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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
        // The file for the command-line comparison: sqlite3 <path> "<select>" > /dev/null
        qInfo("data file: %s", qPrintable(dir.path() + QStringLiteral("/datos.sqlite")));
    }
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

} // namespace

BENCHMARK_MAIN();
