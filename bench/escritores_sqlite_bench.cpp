// Several programs writing one company's SQLite folder at once: 1, 4, 16 and 64 writer
// processes, each through the program's table dataset (a new record, an edit of one of ten
// records every writer edits, a read by key, in turn, each write its own transaction) for a
// fixed time, on a disk and on a memory file system (/dev/shm), where a write costs so little
// that the waiting itself is what takes the time. Measured: operations a second of all
// writers together, and the median, 99th percentile and worst time of a save (a post, the
// wait for the write lock included). The anchor, in the same run on the same kind of file, is
// the same writers with SQLite's own busy handler (`sqlite3_busy_timeout`) put back on their
// connections.
#include "bench/ArranqueBenchmarks.h"
#include "platform/base/Errores.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/PhysicalConnection.h"
#include "platform/data/engine/Session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDriver>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <sqlite3.h>
#include <unistd.h>
#include <vector>

using namespace plat;

namespace {

constexpr int kHotRecords = 10;
constexpr int kRunMs = 4000;
const char *const kWriterFlag = "--escritor";

enum class Handler { SqliteDefault, Program };
enum class Storage { Disk, Memory };

TableDef writesTable()
{
    TableDef t;
    t.name = QStringLiteral("ESCRITOS");
    t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Texto"), ftString, 40),
                fieldDef(QStringLiteral("Importe"), ftFloat)};
    IndexDef primary;
    primary.name = QStringLiteral("Clave1");
    primary.fields = {QStringLiteral("Codigo")};
    primary.primary = primary.unique = true;
    t.indexes = {primary};
    return t;
}

void putBackSqliteHandler(Connection &db)
{
    const QVariant handle = db.physical()->database().driver()->handle();
    if (auto *raw = *static_cast<sqlite3 *const *>(handle.constData()))
        sqlite3_busy_timeout(raw, Dialect::kLockWaitMs);
}

// One writer process: told "go" on its input, it writes for kRunMs and then prints one line
// per save (its microseconds) and a last line "ops <n> failed <n> changed <n>".
int writer(const QString &folder, int number, Handler handler)
{
    Session session;
    Connection &db = session.connection(QStringLiteral("Database"));
    db.setDatabaseName(folder);
    db.open();
    if (handler == Handler::SqliteDefault)
        putBackSqliteHandler(db);
    TableDataSet table(QStringLiteral("ESCRITOS"));
    table.setConnection(&db);
    table.setTableName(QStringLiteral("ESCRITOS"));
    table.open();
    std::printf("ready\n");
    std::fflush(stdout);
    char go[16];
    if (!std::fgets(go, sizeof go, stdin))
        return 2;

    std::mt19937 random(number);
    std::vector<qint64> saves;
    saves.reserve(200000);
    qint64 ops = 0, failed = 0, changed = 0, inserted = 0;
    const auto save = [&] {
        QElapsedTimer t;
        t.start();
        try {
            table.post();
        } catch (const gp::DatabaseError &e) {
            (e.kind() == gp::DatabaseErrorKind::RecordChanged ? changed : failed)++;
            table.cancel();
        }
        saves.push_back(t.nsecsElapsed() / 1000);
    };
    QElapsedTimer running;
    running.start();
    while (running.elapsed() < kRunMs) {
        switch (ops % 3) {
        case 0:
            table.append();
            table.fieldByName(QStringLiteral("Codigo")).setAsInteger(1000000 * (number + 1) + ++inserted);
            table.fieldByName(QStringLiteral("Texto")).setAsString(QStringLiteral("Escritor %1").arg(number));
            table.fieldByName(QStringLiteral("Importe")).setAsFloat(double(inserted));
            save();
            break;
        case 1:
            if (table.findKey({int(random() % kHotRecords) + 1})) {
                table.edit();
                table.fieldByName(QStringLiteral("Importe")).setAsFloat(table.fieldByName(QStringLiteral("Importe")).asFloat() + 1);
                save();
            }
            break;
        default:
            table.findKey({int(random() % kHotRecords) + 1});
            break;
        }
        ++ops;
    }
    table.close();
    for (qint64 us : saves)
        std::printf("%lld\n", static_cast<long long>(us));
    std::printf("ops %lld failed %lld changed %lld\n", static_cast<long long>(ops), static_cast<long long>(failed),
                static_cast<long long>(changed));
    return 0;
}

struct Outcome
{
    std::vector<qint64> saves;   // microseconds
    qint64 ops = 0, failed = 0, changed = 0;
};

bool readWriter(QProcess &p, Outcome &out)
{
    if (!p.waitForFinished(kRunMs + 60000) || p.exitCode() != 0)
        return false;
    QTextStream text(p.readAllStandardOutput());
    QString line;
    while (text.readLineInto(&line)) {
        if (line.startsWith(QLatin1String("ops "))) {
            const QStringList w = line.split(u' ');
            out.ops += w.value(1).toLongLong();
            out.failed += w.value(3).toLongLong();
            out.changed += w.value(5).toLongLong();
        } else if (!line.isEmpty() && line != QLatin1String("ready")) {
            out.saves.push_back(line.toLongLong());
        }
    }
    return true;
}

double percentileMs(std::vector<qint64> &sorted, double p)
{
    if (sorted.empty())
        return 0;
    const size_t at = std::min(sorted.size() - 1, size_t(p * double(sorted.size() - 1) + 0.5));
    return double(sorted[at]) / 1000.0;
}

// One run of `writers` processes with one handler on a new folder.
bool runWriters(int writers, Handler handler, Storage storage, Outcome &all, const char *&error)
{
    QTemporaryDir dir(storage == Storage::Memory ? QStringLiteral("/dev/shm/gp-escritores-XXXXXX")
                                                 : QDir::tempPath() + QStringLiteral("/gp-escritores-XXXXXX"));
    if (!dir.isValid()) {
        error = "no folder on that file system";
        return false;
    }
    {
        Session session;
        Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        db.createTable(writesTable());
        for (int i = 1; i <= kHotRecords; ++i)
            db.exec(QStringLiteral("INSERT INTO ESCRITOS (Codigo, Texto, Importe) VALUES (%1, 'Caliente', 0)").arg(i));
        session.closeAll();
    }
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < writers; ++i) {
        auto p = std::make_unique<QProcess>();
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {QString::fromLatin1(kWriterFlag), dir.path(), QString::number(i), QString::number(int(handler))});
        processes.push_back(std::move(p));
    }
    bool ready = true;
    for (auto &p : processes) {
        while (ready && !p->canReadLine())
            ready = p->waitForReadyRead(30000);
        if (ready)
            p->readLine();
    }
    if (!ready) {
        error = "a writer did not start";
        return false;
    }
    // Written out at once: a QProcess without an event loop keeps what is written until it
    // is waited for, and the writers would start one after another.
    for (auto &p : processes) {
        p->write("go\n");
        p->waitForBytesWritten(5000);
    }
    for (auto &p : processes) {
        if (!readWriter(*p, all)) {
            error = "a writer failed";
            return false;
        }
    }
    std::sort(all.saves.begin(), all.saves.end());
    // What the run left for the disk is written now, not during the next run.
    ::sync();
    return true;
}

// Both handlers on the same writers, one run each, back to back and in turn first, so that
// each pair meets the same machine: the ratio of each pair is what tells them apart on a
// machine whose load comes and goes.
void Writers(benchmark::State &state)
{
    const int writers = int(state.range(0));
    const auto storage = Storage(state.range(1));
    // Counted for each point, so that an even number of repetitions puts each handler first
    // equally often there, however the points are interleaved.
    static std::map<std::pair<int, Storage>, int> pairs;
    for (auto _ : state) {
        Outcome outcome[2];
        const char *error = nullptr;
        const bool programFirst = pairs[{writers, storage}]++ % 2 == 1;
        for (const Handler handler : {programFirst ? Handler::Program : Handler::SqliteDefault,
                                      programFirst ? Handler::SqliteDefault : Handler::Program}) {
            if (!runWriters(writers, handler, storage, outcome[int(handler)], error)) {
                state.SkipWithError(error);
                return;
            }
        }
        state.SetIterationTime(2 * kRunMs / 1000.0);
        for (const Handler handler : {Handler::SqliteDefault, Handler::Program}) {
            Outcome &o = outcome[int(handler)];
            const std::string who = handler == Handler::Program ? "program_" : "sqlite_";
            state.counters[who + "ops_s"] = double(o.ops) / (kRunMs / 1000.0);
            state.counters[who + "median_ms"] = percentileMs(o.saves, 0.5);
            state.counters[who + "p99_ms"] = percentileMs(o.saves, 0.99);
            state.counters[who + "worst_ms"] = o.saves.empty() ? 0 : double(o.saves.back()) / 1000.0;
            state.counters[who + "locked"] = double(o.failed);
        }
        state.counters["ops_ratio"] = double(outcome[int(Handler::Program)].ops)
                                      / double(std::max<qint64>(outcome[int(Handler::SqliteDefault)].ops, 1));
    }
}

// Arguments: writers, file system (0: the temporary folder's disk; 1: memory).
BENCHMARK(Writers)
    ->ArgNames({"writers", "memory"})
    ->ArgsProduct({{1, 4, 16, 64}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 5 && std::strcmp(argv[1], kWriterFlag) == 0) {
        QCoreApplication app(argc, argv);
        return writer(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), Handler(std::atoi(argv[4])));
    }
    return ArranqueBenchmarks(argc, argv, ArranqueBenchmarks::Aplicacion::Consola).ejecutar();
}
