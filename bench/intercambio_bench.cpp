// One operator-code pair swapped over every listed table, each of 20,000 rows with 500 of
// them the origin's, on an SQLite company file: the swap (keys read, one bound UPDATE per
// row, the operator renumbered, one transaction) against the anchor, a plain C loop with the
// sqlite3 API running one "UPDATE ... WHERE column = ?" per table in one transaction. Each
// iteration swaps 5 to 12 and back (two pairs), so both sides do the same rows.
#include "ArranqueBenchmarks.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "projects/operarios/EjecutorIntercambioSQL.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

using namespace plat;

namespace {

constexpr int kFilas = 20000;
constexpr int kDelOrigen = 500;

struct Empresa
{
    QTemporaryDir dir;
    Session session;
    sqlite3 *raw = nullptr;
    QList<intercambio::ColumnaOperario> columnas;

    Connection &db() { return session.connection(QStringLiteral("Database")); }

    Empresa()
    {
        db().setDatabaseName(dir.path());
        QSet<QString> hechas;
        columnas = intercambio::ColumnasOperario() + intercambio::ColumnasLateralesOperario();
        for (const auto &c : columnas) {
            if (hechas.contains(c.tabla))
                continue;
            hechas.insert(c.tabla);
            const bool lateral = c.condicion.contains(QLatin1String("NombreTabla"));
            const bool multiparte = c.tabla == QLatin1String("LMULTPOB");
            TableDef t;
            t.name = c.tabla;
            t.fields = {fieldDef(QStringLiteral("Id"), ftInteger, 0, true)};
            if (lateral)
                t.fields << fieldDef(QStringLiteral("NombreTabla"), ftString, 30) << fieldDef(c.columna, ftString, 40);
            else if (multiparte)
                t.fields << fieldDef(QStringLiteral("TipoMultiParte"), ftString, 15)
                         << fieldDef(QStringLiteral("Codigo"), ftString, 20)
                         << fieldDef(QStringLiteral("CodigoOperario"), ftSmallint);
            else
                t.fields << fieldDef(c.columna, ftSmallint);
            IndexDef primaria;
            primaria.name = QStringLiteral("Clave1");
            primaria.fields = {QStringLiteral("Id")};
            primaria.primary = primaria.unique = true;
            t.indexes = {primaria};
            db().createTable(t);
            // Every 40th row is the origin's (500 of 20,000); the others name operators 100..139.
            const QString valor = QStringLiteral("CASE WHEN i % 40 = 0 THEN 5 ELSE 100 + i % 39 END");
            QString columnasInsert = c.columna, valores = valor;
            if (lateral) {
                columnasInsert = QStringLiteral("NombreTabla, ") + c.columna;
                valores = QStringLiteral("'OPERARIO', CAST(") + valor + QStringLiteral(" AS TEXT)");
            } else if (multiparte) {
                columnasInsert = QStringLiteral("TipoMultiParte, Codigo, CodigoOperario");
                valores = QStringLiteral("CASE WHEN i % 2 = 0 THEN 'Trabajo' ELSE 'Maquina' END, CAST(") + valor
                          + QStringLiteral(" AS TEXT), ") + valor;
            }
            db().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                     "INSERT INTO %2 (Id, %3) SELECT i, %4 FROM n")
                          .arg(kFilas)
                          .arg(c.tabla, columnasInsert, valores),
                      {}, SqlOrigin::AsWritten);
        }
        TableDef operario;
        operario.name = QStringLiteral("OPERARIO");
        operario.fields = {fieldDef(QStringLiteral("Codigo"), ftSmallint, 0, true),
                           fieldDef(QStringLiteral("Nombre"), ftString, 40)};
        IndexDef primaria;
        primaria.name = QStringLiteral("Clave1");
        primaria.fields = {QStringLiteral("Codigo")};
        primaria.primary = primaria.unique = true;
        operario.indexes = {primaria};
        db().createTable(operario);
        db().exec(QStringLiteral("INSERT INTO OPERARIO (Codigo, Nombre) VALUES (5, 'Cinco')"));
        const QByteArray fichero = QFile::encodeName(dir.path() + QStringLiteral("/datos.sqlite"));
        sqlite3_open_v2(fichero.constData(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(raw, 5000);
    }
};

Empresa &empresa()
{
    static Empresa e;
    return e;
}

void Intercambio(benchmark::State &state)
{
    Empresa &e = empresa();
    EjecutorIntercambioSQL ejecutor(e.db());
    QStringList incidencias;
    for (auto _ : state) {
        for (const intercambio::ParejaCodigos pareja : {intercambio::ParejaCodigos{5, 12}, intercambio::ParejaCodigos{12, 5}})
            if (intercambio::IntercambiarPareja(pareja, ejecutor, incidencias) != intercambio::ResultadoPareja::Terminada)
                state.SkipWithError("la pareja no terminó");
    }
}
BENCHMARK(Intercambio)->Unit(benchmark::kMillisecond);

void AnclaSqliteUpdatePorTabla(benchmark::State &state)
{
    Empresa &e = empresa();
    std::vector<sqlite3_stmt *> sentencias;
    for (const auto &c : e.columnas) {
        QString sql = QStringLiteral("UPDATE %1 SET %2 = ?1 WHERE %2 = ?2").arg(c.tabla, c.columna);
        if (!c.condicion.isEmpty())
            sql += QStringLiteral(" AND ") + c.condicion;
        sqlite3_stmt *s = nullptr;
        sqlite3_prepare_v2(e.raw, sql.toUtf8().constData(), -1, &s, nullptr);
        sentencias.push_back(s);
    }
    for (auto _ : state) {
        for (const auto [origen, destino] : {std::pair{5, 12}, std::pair{12, 5}}) {
            sqlite3_exec(e.raw, "BEGIN", nullptr, nullptr, nullptr);
            for (sqlite3_stmt *s : sentencias) {
                sqlite3_bind_int(s, 1, destino);
                sqlite3_bind_int(s, 2, origen);
                sqlite3_step(s);
                sqlite3_reset(s);
            }
            sqlite3_exec(e.raw, "COMMIT", nullptr, nullptr, nullptr);
        }
    }
    for (sqlite3_stmt *s : sentencias)
        sqlite3_finalize(s);
}
BENCHMARK(AnclaSqliteUpdatePorTabla)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv, ArranqueBenchmarks::Aplicacion::Consola);
    empresa();   // made before any timing
    return arranque.ejecutar();
}
