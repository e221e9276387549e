// Large results on PostgreSQL (the throwaway server of tools/pg-test-server.sh; the program
// says so and stops when none runs): the SQL service answering a SELECT of 100,000 rows of
// five columns (integer, 40-character text, decimal, timestamp, memo with a line break) as
// text, set in the same run against a libpq loop that runs the same SELECT and writes every
// PQgetvalue text with a separator into a buffer; and a query dataset over 1,000,000 rows
// showing its first 50 rows.
#include "ArranqueBenchmarks.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <libpq-fe.h>
#include <malloc.h>
#include <string>

using namespace plat;

namespace {

QString consulta(int filas)
{
    return QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha, Notas FROM GRANDE WHERE Codigo <= %1 ORDER BY Codigo")
        .arg(filas);
}

struct Servidor
{
    QString host = qEnvironmentVariable("GP_TEST_PGHOST");
    QString port = qEnvironmentVariable("GP_TEST_PGPORT");
    QString user = qEnvironmentVariable("GP_TEST_PGUSER");
    QString base = QStringLiteral("gp_bench_") + QUuid::createUuid().toString(QUuid::Id128).left(10);
    Session sesion;
    PGconn *libpq = nullptr;

    QStringList parametros(const QString &baseDatos) const
    {
        return {QStringLiteral("SERVER NAME=%1,%2").arg(host, port), QStringLiteral("DATABASE NAME=") + baseDatos,
                QStringLiteral("USER NAME=") + user};
    }

    Connection &bd() { return sesion.connection(QStringLiteral("Database")); }

    void preparar()
    {
        sesion.setEngine(EngineKind::PostgreSQL);
        sesion.addAlias(QStringLiteral("BENCH"), QStringLiteral("MSSQL"), parametros(base.toUpper()));
        sesion.createDatabase(QStringLiteral("BENCH"));
        bd().setAliasName(QStringLiteral("BENCH"));
        bd().exec(QStringLiteral("CREATE TABLE GRANDE (Codigo INTEGER PRIMARY KEY, Nombre VARCHAR(40), "
                                 "Importe DOUBLE PRECISION, Fecha TIMESTAMP, Notas TEXT)"),
                  {}, SqlOrigin::AsWritten);
        bd().exec(QStringLiteral("INSERT INTO GRANDE SELECT i, 'Nombre del cliente ' || i, i * 1.25, "
                                 "TIMESTAMP '2024-01-01' + (i % 300) * INTERVAL '1 day' + (i % 24) * INTERVAL '1 hour', "
                                 "'texto' || chr(13) || chr(10) || 'memo' FROM generate_series(1, 1000000) AS i"),
                  {}, SqlOrigin::AsWritten);
        const QByteArray conexion = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                        .arg(host, port, user, base.toLower())
                                        .toUtf8();
        libpq = PQconnectdb(conexion.constData());
    }

    ~Servidor()
    {
        if (libpq)
            PQfinish(libpq);
        sesion.closeAll();
        Session admin;
        admin.setEngine(EngineKind::PostgreSQL);
        admin.addAlias(QStringLiteral("ADMIN"), QString(), parametros(QStringLiteral("postgres")));
        admin.connection(QStringLiteral("x")).setAliasName(QStringLiteral("ADMIN"));
        admin.connection(QStringLiteral("x")).exec(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(base.toLower()));
    }
};

Servidor *servidor = nullptr;

qint64 statusKb(const char *clave)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &linea : f.readAll().split('\n'))
        if (linea.startsWith(clave))
            return linea.mid(qstrlen(clave)).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

void EjecutarSQLPostgreSQL(benchmark::State &estado)
{
    const QString sql = consulta(int(estado.range(0)));
    QString respuesta;
    for (auto _ : estado) {
        respuesta = EjecutarSQLEnConexion(servidor->bd(), sql, QString());
        benchmark::DoNotOptimize(respuesta.constData());
    }
    estado.counters["filas"] = double(respuesta.count(u'\n') + 1);
}

// The anchor: the same SELECT through libpq, every value's text written with a separator.
void BucleLibpq(benchmark::State &estado)
{
    const QByteArray sql = consulta(int(estado.range(0))).toUtf8();
    std::string salida;
    int filas = 0;
    for (auto _ : estado) {
        salida.clear();
        PGresult *res = PQexec(servidor->libpq, sql.constData());
        filas = PQntuples(res);
        const int columnas = PQnfields(res);
        for (int f = 0; f < filas; ++f) {
            for (int c = 0; c < columnas; ++c) {
                if (c > 0)
                    salida += '|';
                salida.append(PQgetvalue(res, f, c), size_t(PQgetlength(res, f, c)));
            }
            salida += "\r\n";
        }
        PQclear(res);
        benchmark::DoNotOptimize(salida.data());
    }
    estado.counters["filas"] = filas;
}

// A query dataset over the whole table: open, first 50 rows read. Arg 1 sorts the rows by
// key (the server then sorts the whole table before it sends the first row), arg 0 reads
// them as stored.
void QueryDataSetPrimeraPantalla(benchmark::State &estado)
{
    const QString sql = estado.range(1) ? consulta(int(estado.range(0)))
                                        : QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha, Notas FROM GRANDE");
    double pico = 0;
    for (auto _ : estado) {
        malloc_trim(0);
        QFile limpiar(QStringLiteral("/proc/self/clear_refs"));
        if (limpiar.open(QIODevice::WriteOnly))
            limpiar.write("5");
        limpiar.close();
        const qint64 inicio = statusKb("VmRSS:");
        QueryDataSet q(QStringLiteral("Query1"));
        q.setConnection(&servidor->bd());
        q.setSql(sql);
        q.open();
        for (int i = 0; i < 50 && !q.eof(); ++i)
            q.next();
        benchmark::DoNotOptimize(q.field(0).value());
        pico = double(statusKb("VmHWM:") - inicio) / 1024.0;
    }
    estado.counters["peak_MiB"] = pico;
}

BENCHMARK(EjecutarSQLPostgreSQL)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BucleLibpq)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(QueryDataSetPrimeraPantalla)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv, ArranqueBenchmarks::Aplicacion::Consola);
    Servidor preparado;
    if (preparado.host.isEmpty()) {
        std::fprintf(stderr, "no PostgreSQL test server: start one with tools/pg-test-server.sh\n");
        return 1;
    }
    preparado.preparar();
    servidor = &preparado;
    return arranque.ejecutar();
}
