// The SQL service answering a large SELECT as text: 10,000 / 100,000 / 1,000,000 rows of
// five columns (integer code, 40-character name, decimal amount, date-time, memo with a line
// break) read through the data module's EjecutarSQL from an SQLite file, set in the same
// run against a plain C loop that steps the same SELECT on the same file with the sqlite3
// API and writes each column's text with a separator into a buffer.
#include "AnclaSqlite3Textos.h"
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

// The anchor: the statement prepared once with the sqlite3 API and the answer's very text
// written from its rows into one buffer. Before timing, its text is checked against the
// program's answer: an anchor writing anything else would not be doing the same work.
void AnclaSqlite3TextoDeLaRespuesta(benchmark::State &estado)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(entorno->fichero).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QString sql = consulta(int(estado.range(0)));
    const QByteArray texto = sql.toUtf8();
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, texto.constData(), int(texto.size()), &stmt, nullptr) != SQLITE_OK) {
        estado.SkipWithError(sqlite3_errmsg(db));
        sqlite3_close(db);
        return;
    }
    std::string salida;
    EscribirRespuestaCincoColumnas(stmt, salida);
    if (entorno->programa.modulo->EjecutarSQL(sql, QStringLiteral("DatabaseGeneral")).toUtf8()
        != QByteArray::fromStdString(salida)) {
        estado.SkipWithError("the raw answer differs from the program's");
    } else {
        for (auto _ : estado) {
            EscribirRespuestaCincoColumnas(stmt, salida);
            benchmark::DoNotOptimize(salida.data());
        }
    }
    estado.counters["bytes"] = double(salida.size());
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

BENCHMARK(EjecutarSQL)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaSqlite3TextoDeLaRespuesta)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
