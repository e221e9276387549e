// The sorted copy of a logical-mode listing: 10,000 records of 10 fields (strings, a date,
// amounts, an integer, a memo) copied into the temporary table keyed by the first ten
// non-memo fields and a counter, inside one transaction, then read back in key order and
// dropped. The anchor, in the same run on the same SQLite file: the sqlite3 API making the
// same table, inserting the same rows from a SELECT with one prepared statement inside one
// transaction, stepping them back in key order and dropping the table.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/modulo/CopiaClasificada.h"
#include "ProgramaArrancado.h"
#include "platform/data/TableDataSet.h"

#include <QFile>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kFilas = 10000;

QByteArray definiciones()
{
    const char *campos[] = {"Codigo/ftString/10/*/", "Nombre/ftString/40//", "Ciudad/ftString/30//",
                            "Fecha/ftDateTime/0//",  "Importe/ftFloat/0//",  "Cantidad/ftInteger/0//",
                            "Notas/ftMemo/0//",      "Telefono/ftString/20//", "Activo/ftString/2//",
                            "Precio/ftFloat/0//"};
    QByteArray lineas;
    for (int i = 0; i < 10; ++i)
        lineas += QStringLiteral("LPRO10/C/%1/%2|Listado\r\n").arg(i + 1).arg(QLatin1String(campos[i])).toUtf8();
    return lineas + "LPRO10/I/1/<Primary>/Codigo//|Listado\r\n";
}

struct Entorno
{
    ProgramaArrancado programa{{.argumentos = {QStringLiteral("U=ADMIN")}, .definicionesAdicionales = definiciones(), .conEmpresa = true}};
    plat::TableDataSet origen{QStringLiteral("LPRO10")};
    plat::TableDataSet copia{QStringLiteral("Temporal")};
    QString fichero;

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        TModuloDatos *modulo = programa.modulo;
        plat::Connection &empresa = programa.inicio->Database();
        modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM LPRO10"));   // made from its definition
        // Names repeat every 500 rows, so the sort is not the key's order.
        empresa.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                    "INSERT INTO LPRO10 SELECT printf('%08d', i), 'Cliente ' || (i * 7919 % 500), "
                                    "'Ciudad ' || (i % 40), '2024-01-01 00:00:00', i * 1.25, i % 17, "
                                    "'nota' || char(13) || char(10) || 'segunda', '600 ' || i, "
                                    "CASE WHEN i % 2 = 0 THEN 'SI' ELSE 'NO' END, i * 0.5 FROM n")
                         .arg(kFilas),
                     {}, plat::SqlOrigin::AsWritten);
        fichero = empresa.location().sqliteFile();
        origen.setTableName(QStringLiteral("LPRO10"));
        return modulo->AbrirTabla(origen) && origen.recordCount() == kFilas;
    }
};

Entorno *entorno = nullptr;

void CopiaClasificada(benchmark::State &estado)
{
    // Sorted by name first, as a listing of these fields in this order would be.
    entorno->origen.fieldByName(QStringLiteral("Nombre")).setIndex(0);
    qint64 leidas = 0;
    for (auto _ : estado) {
        if (!CrearCopiaClasificada(entorno->origen, entorno->copia, QStringLiteral("fGENECPRO"))) {
            estado.SkipWithError("the copy could not be made");
            break;
        }
        leidas = 0;
        for (entorno->copia.first(); !entorno->copia.eof(); entorno->copia.next())
            benchmark::DoNotOptimize(entorno->copia.field(0).value()), ++leidas;
        BorrarCopiaClasificada(entorno->copia);
    }
    estado.counters["filas"] = double(leidas);
}

void AnclaSqlite3(benchmark::State &estado)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(entorno->fichero).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    const char *crear = "CREATE TABLE ANCLA (Nombre VARCHAR(40), Codigo VARCHAR(10), Ciudad VARCHAR(30), "
                        "Fecha TIMESTAMP, Importe DOUBLE, Cantidad INTEGER, Telefono VARCHAR(20), Activo VARCHAR(2), "
                        "Precio DOUBLE, ContadorAutoLP INTEGER, Notas TEXT, PRIMARY KEY (Nombre, Codigo, Ciudad, "
                        "Fecha, Importe, Cantidad, Telefono, Activo, Precio, ContadorAutoLP))";
    const char *leer = "SELECT Nombre, Codigo, Ciudad, Fecha, Importe, Cantidad, Telefono, Activo, Precio, Notas "
                       "FROM LPRO10";
    const char *insertar = "INSERT INTO ANCLA VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
    qint64 leidas = 0;
    for (auto _ : estado) {
        sqlite3_exec(db, crear, nullptr, nullptr, nullptr);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt *origen = nullptr, *destino = nullptr;
        sqlite3_prepare_v2(db, leer, -1, &origen, nullptr);
        sqlite3_prepare_v2(db, insertar, -1, &destino, nullptr);
        for (int numero = 1; sqlite3_step(origen) == SQLITE_ROW; ++numero) {
            for (int c = 0; c < 9; ++c)
                sqlite3_bind_value(destino, c + 1, sqlite3_column_value(origen, c));
            sqlite3_bind_int(destino, 10, numero);
            sqlite3_bind_value(destino, 11, sqlite3_column_value(origen, 9));
            sqlite3_step(destino);
            sqlite3_reset(destino);
        }
        sqlite3_finalize(origen);
        sqlite3_finalize(destino);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_stmt *orden = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM ANCLA ORDER BY Nombre, Codigo, Ciudad, Fecha, Importe, Cantidad, "
                               "Telefono, Activo, Precio, ContadorAutoLP", -1, &orden, nullptr);
        leidas = 0;
        while (sqlite3_step(orden) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(orden, 0)), ++leidas;
        sqlite3_finalize(orden);
        sqlite3_exec(db, "DROP TABLE ANCLA", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    estado.counters["filas"] = double(leidas);
}

BENCHMARK(CopiaClasificada)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(AnclaSqlite3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
