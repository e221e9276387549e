// The operator calendar (SQLite), as the questal program paints it: one repaint of the 49
// cells of a month of an operator whose personal calendar holds three years, among 500
// operators (365,000 personal days), over a company calendar of the same three years. The
// repaint reads the month's personal and company days and paints the grid. Anchor in the
// same run: the same two month reads through prepared statements of the sqlite3 C API.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"
#include "platform/ui/Application.h"
#include "projects/calendario/RRHHCAOP.h"

#include <QImage>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

struct Programa : ProgramaArrancado
{
    plat::Form *marco = nullptr;
    TfRRHHCAOP *ventana = nullptr;

    Programa()
    {
        const char *sentencias[] = {
            "WITH RECURSIVE o(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM o WHERE n < 500), "
            "d(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < 1095) "
            "INSERT INTO CALENOPE (CodigoOperario, Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, EsDiaPermiso, "
            "EsDiaPuente, NumeroHorario, Situacion) SELECT o.n, strftime('%Y-%m-%d 00:00:00', '2024-01-01', '+' || d.n || "
            "' days'), 'SI', CASE WHEN d.n % 7 = 6 THEN 'SI' ELSE 'NO' END, 'NO', 'NO', CASE WHEN d.n % 11 = 0 THEN 'SI' "
            "ELSE 'NO' END, 1, CASE WHEN d.n % 5 = 0 THEN 'Maternidad' ELSE 'Alta' END FROM o, d WHERE d.n % 3 <> 0",
            "WITH RECURSIVE d(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM d WHERE n < 1095) "
            "INSERT INTO CALENDAR (Codigo, Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, EsDiaPuente, NumeroHorario) "
            "SELECT 3, strftime('%Y-%m-%d 00:00:00', '2024-01-01', '+' || d.n || ' days'), 'SI', 'NO', 'NO', 'NO', 1 FROM d"};
        // Made from their definitions when missing.
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM CALENOPE"));
        modulo->EjecutarSQL(QStringLiteral("DELETE FROM CALENDAR"));
        for (const char *s : sentencias)
            inicio->Database().exec(QString::fromLatin1(s));
        marco = plat::createForm<plat::Form>();
        marco->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco);
        marco->resize(800, 700);
        marco->Show();
        ventana = AbrirCalendarioOperario(250, 2025, 3, 3);
        ventana->setBounds(0, 0, 780, 660);
        QCoreApplication::processEvents();
    }

    ~Programa()
    {
        delete ventana;
        plat::application().setMainForm(nullptr);
        delete marco;
    }

    QString ficheroSQLite() const { return inicio->Database().databaseName() + QStringLiteral("/datos.sqlite"); }
};

Programa &programa()
{
    static Programa p;
    return p;
}

void RepintarMes(benchmark::State &state)
{
    Programa &p = programa();
    plat::StringGrid &rejilla = *p.ventana->SGrid;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        p.ventana->FormActivate(p.ventana);
        rejilla.viewport()->render(&imagen);
    }
    state.counters["dias_personales"] = double(p.inicio->Database().scalar(QStringLiteral("SELECT COUNT(*) FROM CALENOPE")).toLongLong());
}
BENCHMARK(RepintarMes)->Unit(benchmark::kMillisecond);

// The floor: the month's personal and company days read by range on their keys.
void AnclaSQLite(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(programa().ficheroSQLite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *personal = nullptr, *empresa = nullptr;
    sqlite3_prepare_v2(db, "SELECT * FROM CALENOPE WHERE CodigoOperario = ?1 AND Fecha >= ?2 AND Fecha <= ?3", -1,
                       &personal, nullptr);
    sqlite3_prepare_v2(db, "SELECT * FROM CALENDAR WHERE Codigo = ?1 AND Fecha >= ?2 AND Fecha <= ?3", -1, &empresa,
                       nullptr);
    const auto leer = [](sqlite3_stmt *st, int codigo) {
        sqlite3_bind_int(st, 1, codigo);
        sqlite3_bind_text(st, 2, "2025-03-01 00:00:00", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, "2025-03-31 00:00:00", -1, SQLITE_STATIC);
        while (sqlite3_step(st) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                benchmark::DoNotOptimize(sqlite3_column_text(st, c));
        sqlite3_reset(st);
    };
    for (auto _ : state) {
        leer(personal, 250);
        leer(empresa, 3);
    }
    sqlite3_finalize(personal);
    sqlite3_finalize(empresa);
    sqlite3_close(db);
}
BENCHMARK(AnclaSQLite)->Unit(benchmark::kMillisecond);

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
