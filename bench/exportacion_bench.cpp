// The text and Excel exports of 100,000 rows of ten columns (texts, integers, floats, a date,
// an hour and a two-line memo) against the plain tools doing the same writing:
// - text: the sqlite3 C API walking the same table and writing "|"-separated lines;
// - Excel: a plain libxlsxwriter loop writing the same 1,000,000 cells in constant memory.
#include "ArranqueBenchmarks.h"
#include "FilasExportacion.h"
#include "GENEW/data/servicios/ExportacionExcel.h"
#include "GENEW/data/servicios/TextoRegistros.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>
#include <sys/resource.h>

namespace {

constexpr int kFilas = 100000;

struct Datos
{
    QTemporaryDir dir;
    plat::Session sesion;
    plat::ClientDataSet memoria{QStringLiteral("Memoria")};
    QString fichero;

    Datos()
    {
        plat::Connection &db = sesion.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        plat::TableDef t;
        t.name = QStringLiteral("EXPORTA");
        t.fields = columnasExportacion();
        plat::IndexDef primario;
        primario.name = QStringLiteral("Clave1");
        primario.fields = {QStringLiteral("Codigo")};
        primario.primary = primario.unique = true;
        t.indexes = {primario};
        db.createTable(t);
        memoria.setFieldDefs(columnasExportacion());
        memoria.createDataSet();
        db.startTransaction();
        plat::TableDataSet tabla(QStringLiteral("Exporta"));
        tabla.setConnection(&db);
        tabla.setTableName(t.name);
        tabla.open();
        for (int i = 0; i < kFilas; ++i) {
            const QVariantList valores = filaExportacion(i);
            tabla.append();
            memoria.append();
            for (int c = 0; c < valores.size(); ++c) {
                tabla.field(c).setValue(valores.at(c));
                memoria.field(c).setValue(valores.at(c));
            }
            tabla.post();
            memoria.post();
        }
        db.commit();
        fichero = dir.path() + QStringLiteral("/datos.sqlite");
    }
};

Datos &datos()
{
    static Datos d;
    return d;
}

long maximoResidenteKB()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

void TextoDesdeMemoria(benchmark::State &estado)
{
    Datos &d = datos();
    for (auto _ : estado) {
        QFile salida(d.dir.path() + QStringLiteral("/memoria.txt"));
        salida.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(textoRegistros::ExportarDataSet(salida, d.memoria, nullptr, {}, 0, true));
    }
}
BENCHMARK(TextoDesdeMemoria)->Unit(benchmark::kMillisecond);

void TextoDesdeTabla(benchmark::State &estado)
{
    Datos &d = datos();
    plat::TableDataSet tabla(QStringLiteral("Exporta"));
    tabla.setConnection(&d.sesion.connection(QStringLiteral("Database")));
    tabla.setTableName(QStringLiteral("EXPORTA"));
    tabla.setPageSize(1000);
    tabla.open();
    for (auto _ : estado) {
        QFile salida(d.dir.path() + QStringLiteral("/tabla.txt"));
        salida.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(textoRegistros::ExportarDataSet(salida, tabla, nullptr, {}, 0, true));
    }
}
BENCHMARK(TextoDesdeTabla)->Unit(benchmark::kMillisecond);

// Anchor: the C API walking the table and writing each column followed by "|".
void AnclaTextoApiSqlite(benchmark::State &estado)
{
    Datos &d = datos();
    sqlite3 *db = nullptr;
    sqlite3_open_v2(d.fichero.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    const QByteArray nombre = (d.dir.path() + QStringLiteral("/ancla.txt")).toUtf8();
    for (auto _ : estado) {
        FILE *f = std::fopen(nombre.constData(), "wb");
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM EXPORTA ORDER BY Codigo", -1, &st, nullptr);
        const int n = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < n; ++c) {
                const unsigned char *t = sqlite3_column_text(st, c);
                if (t)
                    std::fputs(reinterpret_cast<const char *>(t), f);
                std::fputc('|', f);
            }
            std::fputs("\r\n", f);
        }
        sqlite3_finalize(st);
        std::fclose(f);
    }
    sqlite3_close(db);
}
BENCHMARK(AnclaTextoApiSqlite)->Unit(benchmark::kMillisecond);

void ExcelDesdeMemoria(benchmark::State &estado)
{
    Datos &d = datos();
    const long antes = maximoResidenteKB();
    for (auto _ : estado) {
        QString error;
        benchmark::DoNotOptimize(
            exportacionExcel::Exportar(d.dir.path() + QStringLiteral("/libro.xlsx"), d.memoria, nullptr, {}, error));
    }
    estado.counters["crecimiento_max_rss_kb"] = double(maximoResidenteKB() - antes);
}
BENCHMARK(ExcelDesdeMemoria)->Unit(benchmark::kMillisecond)->UseRealTime();

// Anchor: the same 1,000,000 cells (texts, and numbers in the two float columns) with their
// column formats, in constant memory, straight from prepared UTF-8 texts.
void AnclaExcelLibxlsxwriter(benchmark::State &estado)
{
    Datos &d = datos();
    const CeldasPlanas celdas(kFilas);
    const QByteArray nombre = (d.dir.path() + QStringLiteral("/ancla.xlsx")).toUtf8();
    const long antes = maximoResidenteKB();
    for (auto _ : estado)
        escribirLibroPlano(nombre, celdas);
    estado.counters["crecimiento_max_rss_kb"] = double(maximoResidenteKB() - antes);
}
BENCHMARK(AnclaExcelLibxlsxwriter)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv, ArranqueBenchmarks::Aplicacion::Consola);
    datos();   // made before any timing
    return arranque.ejecutar();
}
