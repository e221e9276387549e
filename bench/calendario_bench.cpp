// The operator calendar (SQLite), as the questal program paints it: one repaint of the 49
// cells of a month of an operator whose personal calendar holds three years, among 500
// operators (365,000 personal days), over a company calendar of the same three years. The
// repaint reads the month's personal and company days and paints the grid. The anchor, in
// the same run, is raw: the same two month reads through prepared statements of the sqlite3
// C API and the same marks drawn with plain QPainter on an image of the grid's viewport.
#include "ArranqueBenchmarks.h"
#include "ProgramaArrancado.h"
#include "platform/ui/Application.h"
#include "projects/calendario/RRHHCAOP.h"

#include <QDate>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
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

// Made in main after the application and gone before it.
Programa *programa_ = nullptr;
Programa &programa() { return *programa_; }

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

// ---- the raw anchor --------------------------------------------------------------------------

// A day of a calendar as the cell shows it.
struct DiaLeido
{
    bool hay = false;
    bool trabajado = false, festivo = false, laborable = false, vacaciones = false, puente = false, permiso = false;
    QByteArray situacion;
};

// The month's days of one calendar by range on its key, each kept by its day of the month.
void LeerMes(sqlite3_stmt *st, int codigo, DiaLeido (&dias)[32], bool personal)
{
    for (DiaLeido &d : dias)
        d = DiaLeido();
    sqlite3_bind_int(st, 1, codigo);
    sqlite3_bind_text(st, 2, "2025-03-01 00:00:00", -1, SQLITE_STATIC);
    sqlite3_bind_text(st, 3, "2025-03-31 00:00:00", -1, SQLITE_STATIC);
    const auto si = [st](int c) {
        const char *t = reinterpret_cast<const char *>(sqlite3_column_text(st, c));
        return t && (t[0] == 'S' || t[0] == 's') && (t[1] == 'I' || t[1] == 'i') && !t[2];
    };
    while (sqlite3_step(st) == SQLITE_ROW) {
        const char *fecha = reinterpret_cast<const char *>(sqlite3_column_text(st, 0));
        DiaLeido &d = dias[(fecha[8] - '0') * 10 + (fecha[9] - '0')];
        d.hay = true;
        d.trabajado = si(1);
        d.festivo = si(2);
        const char *festivo = reinterpret_cast<const char *>(sqlite3_column_text(st, 2));
        d.laborable = festivo && qstrcmp(festivo, "NO") == 0;
        d.vacaciones = si(3);
        d.puente = si(4);
        if (personal) {
            d.permiso = si(5);
            d.situacion = reinterpret_cast<const char *>(sqlite3_column_text(st, 6));
        }
    }
    sqlite3_reset(st);
}

// Colours as the program keeps them (0xBBGGRR).
QColor Bgr(int c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

// One repaint raw: the month's personal and company days read through prepared statements,
// then the 49 cells drawn with plain QPainter on an image of the grid's viewport: the weekday
// titles, and per day its colour, its codes ("Tr", "Fe" or "La", "Va", "Pu", "Pe"), the
// situation's abbreviation right-aligned, its number, and the grid's lines. The cells' places
// and texts are taken from the program's grid before any timing.
void AnclaSqlite3YQPainter(benchmark::State &state)
{
    Programa &p = programa();
    plat::StringGrid &rejilla = *p.ventana->SGrid;
    const int columnas = rejilla.columnCount(), filas = rejilla.rowCount();
    QVector<QRect> celdas;
    QStringList textos;
    for (int r = 0; r < filas; ++r)
        for (int c = 0; c < columnas; ++c) {
            celdas << QRect(rejilla.columnViewportPosition(c), rejilla.rowViewportPosition(r), rejilla.columnWidth(c),
                            rejilla.rowHeight(r));
            textos << rejilla.cell(c, r);
        }
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    const QFont normal = rejilla.font();
    QFont titulo = normal, numero = normal, pequena(QStringLiteral("Small Fonts"));
    titulo.setPointSize(8);
    titulo.setBold(true);
    numero.setBold(true);
    pequena.setPointSize(6);
    pequena.setBold(true);
    const QFontMetrics medidas(pequena);
    const QString abreviaturas[][2] = {{QStringLiteral("Alta"), QStringLiteral("Alta")},
                                       {QStringLiteral("No Retribuido Cotizable"), QStringLiteral("N.R.C.")},
                                       {QStringLiteral("No Retribuido No Cotizable"), QStringLiteral("N.R.N.C.")},
                                       {QStringLiteral("Enfermedad"), QStringLiteral("Enf.")},
                                       {QStringLiteral("Accidente Trabajo"), QStringLiteral("A.T.")},
                                       {QStringLiteral("Maternidad"), QStringLiteral("Mat.")},
                                       {QStringLiteral("Maternidad Parcial"), QStringLiteral("M.P.")},
                                       {QStringLiteral("Regulacion Empleo"), QStringLiteral("R.E.")}};
    const QDate hoy = QDate::currentDate();

    sqlite3 *db = nullptr;
    sqlite3_open_v2(p.ficheroSQLite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *personal = nullptr, *empresa = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, EsDiaPuente, EsDiaPermiso, Situacion "
                       "FROM CALENOPE WHERE CodigoOperario = ?1 AND Fecha >= ?2 AND Fecha <= ?3",
                       -1, &personal, nullptr);
    sqlite3_prepare_v2(db,
                       "SELECT Fecha, EsDiaTrabajado, EsDiaFestivo, EsDiaVacaciones, EsDiaPuente FROM CALENDAR "
                       "WHERE Codigo = ?1 AND Fecha >= ?2 AND Fecha <= ?3",
                       -1, &empresa, nullptr);
    DiaLeido personales[32], deEmpresa[32];
    int pintados = 0;
    for (auto _ : state) {
        LeerMes(personal, 250, personales, true);
        LeerMes(empresa, 3, deEmpresa, false);
        QPainter pintor(&imagen);
        pintor.fillRect(imagen.rect(), Qt::white);
        pintados = 0;
        for (int i = 0; i < celdas.size(); ++i) {
            const QRect &r = celdas[i];
            const QRect dentro = r.adjusted(0, 0, -1, -1);
            pintor.fillRect(dentro, Qt::white);
            if (i < columnas) {
                pintor.setFont(titulo);
                pintor.setPen(Bgr(0xFF0000));
                pintor.drawText(r.left() + 2, r.top() + 2 + QFontMetrics(titulo).ascent(), textos[i]);
            } else if (const int dia = textos[i].toInt(); dia > 0 && dia < 32) {
                const bool esPersonal = personales[dia].hay;
                const DiaLeido &d = esPersonal ? personales[dia] : deEmpresa[dia];
                if (d.hay) {
                    pintor.fillRect(dentro, Bgr(esPersonal ? 0xD2FFFF : 0xFFFFFF));
                    pintor.setFont(pequena);
                    const int linea = r.top() + 20 + medidas.ascent();
                    const auto marca = [&](bool puesta, const char *texto, int x, int color) {
                        if (!puesta)
                            return;
                        pintor.setPen(Bgr(color));
                        pintor.drawText(r.left() + x, linea, QString::fromLatin1(texto));
                    };
                    marca(d.trabajado, "Tr", 26, 0xFF0000);
                    marca(d.festivo, "Fe", 38, 0x0000FF);
                    marca(!d.festivo && d.laborable, "La", 38, 0x008000);
                    marca(d.vacaciones, "Va", 50, 0x000080);
                    marca(d.puente, "Pu", 62, 0x0080FF);
                    marca(esPersonal && d.permiso, "Pe", 74, 0xFF00FF);
                    for (const auto &a : abreviaturas)
                        if (esPersonal && d.situacion == a[0].toLatin1()) {
                            pintor.setPen(Bgr(0xF0CAA6));
                            pintor.drawText(r.right() + 1 - medidas.horizontalAdvance(a[1]) - 3, r.top() + 12 + medidas.ascent(),
                                            a[1]);
                        }
                }
                pintor.setFont(numero);
                pintor.setPen(hoy == QDate(2025, 3, dia) ? QColor(Qt::red) : QColor(Qt::black));
                pintor.drawText(r.left() + 2, r.top() + 2 + QFontMetrics(numero).ascent(), textos[i]);
                ++pintados;
            }
            pintor.fillRect(QRect(r.right(), r.top(), 1, r.height()), QColor(160, 160, 160));
            pintor.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), QColor(160, 160, 160));
        }
    }
    sqlite3_finalize(personal);
    sqlite3_finalize(empresa);
    sqlite3_close(db);
    if (pintados != 31)
        state.SkipWithError("the anchor did not draw the month's 31 days");
    state.counters["dias"] = pintados;
}
BENCHMARK(AnclaSqlite3YQPainter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    Programa programa;
    programa_ = &programa;
    return arranque.ejecutar();
}
