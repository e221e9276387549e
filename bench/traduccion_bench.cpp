// Translation of a form's captions through TXIDIOMA (10,000 rows, SQLite): the 300
// captions of a form, half of them keys and half without translation, on the first pass
// (empty cache) and on the second (every answer cached), and one look-up of a key not yet
// cached. The look-up's anchor, in the same run: the same key looked up with a prepared
// statement of the sqlite3 C API on the same file, both sides folded so that no index serves
// it, as the program's look-up. The passes stand against their goals alone.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/servicios/SentenciasModulo.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "ProgramaArrancado.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <sqlite3.h>

namespace {

constexpr int kFilas = 10000;
constexpr int kComponentes = 300;
const QString kClaveBuscada = QStringLiteral("Clave de prueba 9876");

struct Entorno
{
    ProgramaArrancado programa{{.argumentos = {QStringLiteral("U=ADMIN"), QStringLiteral("T=Ingles")}, .definicionesAdicionales = {}, .conEmpresa = false}};
    TModuloDatos *modulo = programa.modulo;
    QStringList captions;
    sqlite3 *db = nullptr;

    // The statements sent so far to the general database, where TXIDIOMA lives.
    quint64 sentencias() const { return programa.inicio->DatabaseGeneral().statementsSent(); }

    ~Entorno()
    {
        sqlite3_close(db);
    }

    bool preparar()
    {
        if (!programa.arrancado)
            return false;
        plat::Connection &general = programa.inicio->DatabaseGeneral();
        // Created through the SQL service, as the program makes it when first needed.
        modulo->EjecutarSQL(QStringLiteral("SELECT COUNT(*) FROM TXIDIOMA"), QStringLiteral("DatabaseGeneral"));
        general.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                    "INSERT INTO TXIDIOMA (Idioma, ClaveTexto, Texto) "
                                    "SELECT 'Ingles', 'Clave de prueba ' || i, 'Test key ' || i FROM n")
                         .arg(kFilas),
                     {}, plat::SqlOrigin::AsWritten);
        for (int i = 0; i < kComponentes; ++i)
            captions << (i % 2 ? QStringLiteral("&Etiqueta %1").arg(i) : QStringLiteral("Clave de prueba %1").arg(i * 30));
        return sqlite3_open_v2(general.location().sqliteFile().toUtf8().constData(), &db, SQLITE_OPEN_READONLY,
                               nullptr) == SQLITE_OK;
    }

    void traducirFormulario()
    {
        for (const QString &caption : captions)
            benchmark::DoNotOptimize(modulo->Traducir(caption));
    }
};

Entorno *entorno = nullptr;

void PrimeraPasadaFormulario(benchmark::State &estado)
{
    int porPasada = 0;
    for (auto _ : estado) {
        estado.PauseTiming();
        CacheTraducciones::instancia().vaciar();
        const quint64 antes = entorno->sentencias();
        estado.ResumeTiming();
        entorno->traducirFormulario();
        porPasada = int(entorno->sentencias() - antes);
    }
    estado.counters["sentencias"] = porPasada;
}
BENCHMARK(PrimeraPasadaFormulario)->Unit(benchmark::kMillisecond)->UseRealTime();

void SegundaPasadaFormulario(benchmark::State &estado)
{
    CacheTraducciones::instancia().vaciar();
    entorno->traducirFormulario();
    const quint64 antes = entorno->sentencias();
    for (auto _ : estado)
        entorno->traducirFormulario();
    estado.counters["sentencias"] = double(entorno->sentencias() - antes);
}
BENCHMARK(SegundaPasadaFormulario)->Unit(benchmark::kMicrosecond);

void TraducirClaveSinCache(benchmark::State &estado)
{
    QString respuesta;
    for (auto _ : estado) {
        estado.PauseTiming();
        CacheTraducciones::instancia().vaciar();
        estado.ResumeTiming();
        respuesta = entorno->modulo->TraducirClave(kClaveBuscada);
    }
    if (respuesta != QLatin1String("Test key 9876"))
        estado.SkipWithError("wrong translation");
}
BENCHMARK(TraducirClaveSinCache)->Unit(benchmark::kMillisecond)->UseRealTime();

// The look-up folding both sides as the program's does (no index can serve it).
void Sqlite3BusquedaPlegada(benchmark::State &estado)
{
    sqlite3_stmt *sentencia = nullptr;
    sqlite3_prepare_v2(entorno->db,
                       "SELECT Texto FROM TXIDIOMA WHERE Idioma = ? AND lower(ClaveTexto) = lower(?) LIMIT 1", -1,
                       &sentencia, nullptr);
    const QByteArray clave = kClaveBuscada.toUtf8();
    for (auto _ : estado) {
        sqlite3_bind_text(sentencia, 1, "Ingles", -1, SQLITE_STATIC);
        sqlite3_bind_text(sentencia, 2, clave.constData(), int(clave.size()), SQLITE_STATIC);
        if (sqlite3_step(sentencia) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(sentencia, 0));
        sqlite3_reset(sentencia);
    }
    sqlite3_finalize(sentencia);
}
BENCHMARK(Sqlite3BusquedaPlegada)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    return ArranqueBenchmarks(argc, argv).ejecutarSobre(entorno);
}
