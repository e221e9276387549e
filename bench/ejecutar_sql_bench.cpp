// The SQL service answering a large SELECT as text: 10,000 / 100,000 / 1,000,000 rows of
// five columns (integer code, 40-character name, decimal amount, date-time, memo with a line
// break) read through the data module's EjecutarSQL from an SQLite file, set in the same
// run against a plain C loop that steps the same SELECT on the same file with the sqlite3
// API and writes each column's text with a separator into a buffer.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"

#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>
#include <string>

namespace {

QString tabla(int filas)
{
    return QStringLiteral("BENCH%1").arg(filas);
}

QString consulta(int filas)
{
    return QStringLiteral("SELECT Codigo, Nombre, Importe, Fecha, Notas FROM %1 ORDER BY Codigo").arg(tabla(filas));
}

struct Entorno
{
    ProgramaArrancado programa{{.argumentos = {QStringLiteral("U=ADMIN")}, .definicionesAdicionales = {}, .conEmpresa = false}};
    QString fichero;

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        plat::Connection &general = programa.inicio->DatabaseGeneral();
        for (int filas : {10000, 100000, 1000000}) {
            general.exec(QStringLiteral("CREATE TABLE %1 (Codigo INTEGER PRIMARY KEY, Nombre VARCHAR(40), "
                                        "Importe DOUBLE, Fecha DATETIME, Notas TEXT)")
                             .arg(tabla(filas)));
            general.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                        "INSERT INTO %2 SELECT i, 'Nombre del cliente número ' || i, i * 1.25, "
                                        "datetime('2024-01-01', '+' || (i % 300) || ' days', '+' || (i % 24) || ' hours'), "
                                        "'texto' || char(13) || char(10) || 'memo' FROM n")
                             .arg(filas)
                             .arg(tabla(filas)),
                         {}, plat::SqlOrigin::AsWritten);
        }
        fichero = general.location().sqliteFile();
        return QFileInfo::exists(fichero);
    }
};

Entorno *entorno = nullptr;

void EjecutarSQL(benchmark::State &estado)
{
    const QString sql = consulta(int(estado.range(0)));
    QString respuesta;
    for (auto _ : estado) {
        respuesta = entorno->programa.modulo->EjecutarSQL(sql, QStringLiteral("DatabaseGeneral"));
        benchmark::DoNotOptimize(respuesta.constData());
    }
    estado.counters["filas"] = double(respuesta.count(u'\n') + 1);
}

// The anchor: the statement stepped with the sqlite3 API, each column's text written with
// a separator into one buffer.
void BucleSqlite3(benchmark::State &estado)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(entorno->fichero).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql = consulta(int(estado.range(0))).toUtf8();
    std::string salida;
    qint64 filas = 0;
    for (auto _ : estado) {
        salida.clear();
        filas = 0;
        sqlite3_stmt *stmt = nullptr;
        sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr);
        const int columnas = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columnas; ++c) {
                if (c > 0)
                    salida += '|';
                const auto *texto = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
                salida.append(texto ? texto : "", size_t(sqlite3_column_bytes(stmt, c)));
            }
            salida += "\r\n";
            ++filas;
        }
        sqlite3_finalize(stmt);
        benchmark::DoNotOptimize(salida.data());
    }
    sqlite3_close(db);
    estado.counters["filas"] = double(filas);
}

BENCHMARK(EjecutarSQL)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BucleSqlite3)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
