// The SQL console's F9 on a SELECT of 100,000 rows and 10 columns, from the key press to the
// grid's first screen painted, and then Ctrl+End to the last row painted, against anchors
// measured in the same run: for the last row, raw sqlite3 on the same file stepping every row
// and copying every value's text into one buffer; for the first screen, Qt's own model and
// view fetching what the view shows first.
//
// With GP_BENCH_MOTOR=PostgreSQL (and the throwaway server of tools/pg-test-server.sh in the
// GP_TEST_PG* variables) the program's databases are on that server, and the last row's
// anchor is libpq: PQexec of the same SELECT on the company database, every value's text
// copied into one buffer.
#include "AnclaSqlite3Textos.h"
#include "ArranqueBenchmarks.h"
#include "GENEW/reporting/GENECSQL.h"
#include "ProgramaArrancado.h"
#include "VentasMuestra.h"
#include "platform/ui/Application.h"
#include "platform/ui/Controls.h"
#include "platform/data/engine/Dialect.h"
#include "platform/ui/data/DBGrid.h"

#include <QKeyEvent>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQueryModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <libpq-fe.h>

namespace {

const QString kSentencia = QStringLiteral("SELECT * FROM VENTAS");

bool enPostgreSQL()
{
    return qEnvironmentVariable("GP_BENCH_MOTOR") == QStringLiteral("PostgreSQL");
}

// The program's general and company databases on the test server, new ones each run.
OpcionesArranque opcionesMotor()
{
    OpcionesArranque opciones;
    if (!enPostgreSQL())
        return opciones;
    const QString sufijo = QString::number(QRandomGenerator::global()->bounded(1000000, 9999999));
    const QString servidor = qEnvironmentVariable("GP_TEST_PGHOST") + u',' + qEnvironmentVariable("GP_TEST_PGPORT");
    opciones.archivos = {
        {QStringLiteral("BASESDATOS.TXT"),
         QStringLiteral("TipoBaseDatos=SQL Generica\r\nAliasBaseDatosGeneral=GENERAL\r\nAliasBaseDatos=EMP%1\r\n")
             .arg(sufijo).toUtf8()},
        {QStringLiteral("ALIAS.INI"), QStringLiteral("[GENERAL]\nSERVER NAME=%1\nDATABASE NAME=gpg_%2\nUSER NAME=%3\n"
                                                     "[EMP%2]\nSERVER NAME=%1\nDATABASE NAME=gpe_%2\nUSER NAME=%3\n")
                                          .arg(servidor, sufijo, qEnvironmentVariable("GP_TEST_PGUSER"))
                                          .toUtf8()}};
    return opciones;
}

struct Entorno
{
    ProgramaArrancado programa{opcionesMotor()};
    plat::Form *marco = nullptr;

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        plat::Connection &empresa = programa.inicio->Database();
        crearVentasMuestra(empresa, 100000);
        marco = new plat::Form();
        marco->setFormStyle(plat::fsMDIForm);
        marco->resize(1000, 700);
        plat::application().setMainForm(marco);
        marco->Show();
        fGENECSQL = plat::createForm<TfGENECSQL>();
        fGENECSQL->resize(900, 600);
        return programa.modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM VENTAS")) == QStringLiteral("100000");
    }
};
Entorno *entorno = nullptr;

void F9PrimeraPantalla(benchmark::State &estado)
{
    fGENECSQL->SentenciaSQL->setText(kSentencia);
    for (auto _ : estado) {
        fGENECSQL->pbEjecutar->click();
        benchmark::DoNotOptimize(fGENECSQL->DBGrid1->viewport()->grab());
    }
    estado.counters["filas_leidas"] = double(fGENECSQL->DBGrid1->fetchedRows());
}

// F9, then Ctrl+End in the grid: the last row's screen painted.
void F9UltimaFila(benchmark::State &estado)
{
    fGENECSQL->SentenciaSQL->setText(kSentencia);
    fGENECSQL->Show();
    for (auto _ : estado) {
        fGENECSQL->pbEjecutar->click();
        fGENECSQL->DBGrid1->setFocus();
        QKeyEvent tecla(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
        QCoreApplication::sendEvent(fGENECSQL->DBGrid1, &tecla);
        benchmark::DoNotOptimize(fGENECSQL->DBGrid1->viewport()->grab());
    }
    const QModelIndex actual = fGENECSQL->DBGrid1->currentIndex();
    estado.counters["fila_final"] = double(actual.row() + 1);
}

void AnclaSqlite3TextosEnUnBuffer(benchmark::State &estado)
{
    if (enPostgreSQL()) {
        estado.SkipWithError("the program's databases are on PostgreSQL");
        return;
    }
    const QString fichero = fGENEINIC->Database().location().sqliteFile();
    std::string buffer;
    for (auto _ : estado)
        if (LeerTextosConSqlite3(fichero, kSentencia, buffer) < 0) {
            estado.SkipWithError("cannot read the file");
            break;
        }
    estado.counters["bytes"] = double(buffer.size());
}

// libpq on the company database: the SELECT run with PQexec, every value's text appended,
// with a separator, to one buffer.
void AnclaLibpqTextosEnUnBuffer(benchmark::State &estado)
{
    const plat::DatabaseLocation sitio = fGENEINIC->Database().location();
    if (sitio.engine != plat::EngineKind::PostgreSQL) {
        estado.SkipWithError("the program's databases are not on PostgreSQL");
        return;
    }
    const QByteArray conexion = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                    .arg(sitio.host, QString::number(sitio.port), sitio.user, sitio.database)
                                    .toUtf8();
    PGconn *pg = PQconnectdb(conexion.constData());
    if (PQstatus(pg) != CONNECTION_OK) {
        estado.SkipWithError(PQerrorMessage(pg));
        PQfinish(pg);
        return;
    }
    const QByteArray sql = kSentencia.toUtf8();
    std::string buffer;
    for (auto _ : estado) {
        PGresult *r = PQexec(pg, sql.constData());
        if (PQresultStatus(r) != PGRES_TUPLES_OK) {
            estado.SkipWithError(PQresultErrorMessage(r));
            PQclear(r);
            break;
        }
        buffer.clear();
        const int filas = PQntuples(r), columnas = PQnfields(r);
        for (int f = 0; f < filas; ++f) {
            for (int c = 0; c < columnas; ++c) {
                buffer.append(PQgetvalue(r, f, c), size_t(PQgetlength(r, f, c)));
                buffer.push_back('|');
            }
            buffer.push_back('\n');
        }
        PQclear(r);
    }
    PQfinish(pg);
    estado.counters["bytes"] = double(buffer.size());
}

// Qt's own classes on the same file: QSqlQueryModel fetching what a QTableView of the
// console's size shows first.
void AnclaQTableViewPrimeraPantalla(benchmark::State &estado)
{
    if (enPostgreSQL()) {
        estado.SkipWithError("the program's databases are on PostgreSQL");
        return;
    }
    const QString nombre = QStringLiteral("ancla");
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
    db.setDatabaseName(entorno->programa.inicio->Database().location().sqliteFile());
    db.open();
    {
        QTableView vista;
        vista.resize(900, 600);
        for (auto _ : estado) {
            QSqlQueryModel modelo;
            modelo.setQuery(kSentencia, db);
            vista.setModel(&modelo);
            benchmark::DoNotOptimize(vista.viewport()->grab());
            vista.setModel(nullptr);
        }
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(nombre);
}

// A typed statement of about `bytes` characters: one SELECT whose IN list holds quoted texts
// with doubled quotes, and comments between its lines; its only ";" is the final one, so that
// the anchor reads the whole text too.
QString sentenciaLarga(qsizetype bytes)
{
    QString sql = QStringLiteral("SELECT * FROM VENTAS -- todas\r\nWHERE Cliente IN (");
    for (int i = 0; sql.size() < bytes; ++i)
        sql += QStringLiteral("'cliente %1, O''Brien', /* %1 */ \r\n").arg(i);
    return sql + QStringLiteral("'fin');");
}

// The console's one-statement check of each dialect on the text, against the anchor in the
// same run: QString::indexOf(u';') over the same text.
void UnaSentencia(benchmark::State &estado, plat::EngineKind motor)
{
    const QString sql = sentenciaLarga(estado.range(0));
    const plat::Dialect &dialecto = plat::Dialect::forEngine(motor);
    for (auto _ : estado)
        benchmark::DoNotOptimize(dialecto.isSingleStatement(sql));
    estado.SetBytesProcessed(estado.iterations() * sql.size() * qsizetype(sizeof(QChar)));
}

void AnclaIndexOfPuntoYComa(benchmark::State &estado)
{
    const QString sql = sentenciaLarga(estado.range(0));
    for (auto _ : estado)
        benchmark::DoNotOptimize(sql.indexOf(u';'));
    estado.SetBytesProcessed(estado.iterations() * sql.size() * qsizetype(sizeof(QChar)));
}

BENCHMARK(F9PrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(F9UltimaFila)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaSqlite3TextosEnUnBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaLibpqTextosEnUnBuffer)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaQTableViewPrimeraPantalla)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(UnaSentencia, SQLite, plat::EngineKind::SQLite)
    ->Arg(100 << 10)->Arg(1000 << 10)->Arg(10000 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(UnaSentencia, PostgreSQL, plat::EngineKind::PostgreSQL)
    ->Arg(100 << 10)->Arg(1000 << 10)->Arg(10000 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(UnaSentencia, SQLServer, plat::EngineKind::SqlServer)
    ->Arg(100 << 10)->Arg(1000 << 10)->Arg(10000 << 10)->Unit(benchmark::kMicrosecond);
BENCHMARK(AnclaIndexOfPuntoYComa)->Arg(100 << 10)->Arg(1000 << 10)->Arg(10000 << 10)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
