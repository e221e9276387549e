// The run-time listing over SQLite tables of 5,300, 53,000 and 530,000 rows of ten
// columns, grouped by forty, with sums (some 100, 1,000 and 10,000 pages): all pages to
// PDF, generated first or shown by the preview first, with the peak resident memory of each
// run; against the anchor in the same run: the rows read through a prepared sqlite3
// statement and the same marks (page header and captions, group header, nine texts a row,
// group sums, total, page footer) drawn with plain QPainter on a QPdfWriter. Also the time
// from the preview call to the first page shown.
#include "ArranqueBenchmarks.h"
#include "bench/PrimeraPagina.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

constexpr int kCien = 5300, kMil = 53000, kDiezMil = 530000;   // rows for about so many pages
constexpr int kPorGrupo = 40;

// A table of the first n rows: LISTADO_<n>.
QString tablaDe(int filas) { return QStringLiteral("LISTADO_%1").arg(filas); }

struct Datos
{
    QTemporaryDir dir;
    plat::Session session;

    Datos()
    {
        plat::Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        for (const int filas : {kCien, kMil, kDiezMil})
            crear(db, filas);
    }

    static void crear(plat::Connection &db, int filas)
    {
        plat::TableDef t;
        t.name = tablaDe(filas);
        t.fields = {plat::fieldDef("Codigo", ftInteger, 0, true), plat::fieldDef("Grupo", ftString, 10),
                    plat::fieldDef("Nombre", ftString, 40),        plat::fieldDef("Importe", ftFloat),
                    plat::fieldDef("Cantidad", ftFloat),           plat::fieldDef("Precio", ftFloat),
                    plat::fieldDef("Fecha", ftDateTime),           plat::fieldDef("Hora", ftDateTime),
                    plat::fieldDef("Zona", ftString, 10),          plat::fieldDef("Notas", ftString, 30)};
        plat::IndexDef primaria;
        primaria.name = QStringLiteral("Clave1");
        primaria.fields = {QStringLiteral("Codigo")};
        primaria.primary = primaria.unique = true;
        t.indexes = {primaria};
        db.createTable(t);
        db.startTransaction();
        QSqlQuery q(QSqlDatabase::database(db.qtConnectionName()));
        q.prepare(QStringLiteral("INSERT INTO %1 VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)").arg(t.name));
        for (int i = 1; i <= filas; ++i) {
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("G%1").arg((i - 1) / kPorGrupo, 5, 10, QChar(u'0')));
            q.addBindValue(QStringLiteral("Cliente número %1").arg(i));
            q.addBindValue(i % 1000 / 10.0);
            q.addBindValue(i % 17);
            q.addBindValue(i % 300 / 4.0);
            q.addBindValue(QStringLiteral("2024-03-01 00:00:00"));
            q.addBindValue(QStringLiteral("1899-12-30 08:30:00"));
            q.addBindValue(i % 2 ? QStringLiteral("Norte") : QStringLiteral("Sur"));
            q.addBindValue(QStringLiteral("Sin observaciones"));
            q.exec();
        }
        db.commit();
    }
};

Datos &datos()
{
    static Datos d;
    return d;
}

struct Tabla
{
    plat::TableDataSet tabla;
    explicit Tabla(int filas) : tabla(tablaDe(filas))
    {
        tabla.setConnection(&datos().session.connection(QStringLiteral("Database")));
        tabla.setTableName(tablaDe(filas));
        tabla.open();
    }
};

// The run-time listing as its callers make it: grouped by the hidden Grupo, every sum.
struct ListadoProgramable : Tabla
{
    TfGENELPRO *listado = plat::createForm<TfGENELPRO>();

    explicit ListadoProgramable(int filas) : Tabla(filas)
    {
        listado->QuickReport->DataSet = &tabla;
        listado->QuickReport->ReportTitle = QStringLiteral("Listado de clientes");
        listado->Sumatorios = QStringLiteral("Todas");
        listado->Grupos = QStringLiteral("Grupo");
        tabla.fieldByName(QStringLiteral("Grupo")).tag = 999;
    }
    ~ListadoProgramable() { listado->Free(); }
};

QString ficheroPdf(const char *nombre)
{
    return datos().dir.filePath(QString::fromLatin1(nombre));
}

// The peak resident memory of the process since the last call to empezarPico, in MiB.
void empezarPico()
{
    QFile borrar(QStringLiteral("/proc/self/clear_refs"));
    if (borrar.open(QIODevice::WriteOnly))
        borrar.write("5");
}

double picoMiB()
{
    QFile estado(QStringLiteral("/proc/self/status"));
    if (!estado.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &linea : estado.readAll().split('\n'))
        if (linea.startsWith("VmHWM:"))
            return linea.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

void contar(benchmark::State &state, int paginas, double pico)
{
    state.counters["paginas"] = paginas;
    state.counters["pico_MiB"] = pico;
    state.counters["us/pagina"] = benchmark::Counter(double(paginas) * state.iterations(),
                                                     benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Generated whole, then every page to the PDF.
void ListadoAPdf(benchmark::State &state)
{
    int paginas = 0;
    double pico = 0;
    for (auto _ : state) {
        empezarPico();
        {
            ListadoProgramable l(int(state.range(0)));
            Informe &r = *l.listado->QuickReport;
            r.Prepare();
            paginas = r.pageCount();
            escribirPdf(r.impresora()->paginas(), ficheroPdf("listado.pdf"), r.paper(), r.orientation());
        }
        pico = picoMiB();
    }
    contar(state, paginas, pico);
}
BENCHMARK(ListadoAPdf)->Arg(kCien)->Arg(kMil)->Arg(kDiezMil)->Unit(benchmark::kMillisecond)->Iterations(1);

// Shown by the preview while it is generated, then every page to the PDF from the preview.
void ListadoPorVistaPreviaAPdf(benchmark::State &state)
{
    int paginas = 0;
    double pico = 0;
    for (auto _ : state) {
        empezarPico();
        {
            ListadoProgramable l(int(state.range(0)));
            Informe &r = *l.listado->QuickReport;
            r.OnPreview = [&](QObject *) {
                auto *vista = new VistaPreviaInforme();
                vista->setAttribute(Qt::WA_DeleteOnClose);
                vista->resize(800, 1000);
                vista->setQRPrinter(r.impresora());
                vista->show();
                QObject::connect(r.impresora(), &ImpresoraInforme::generacionTerminada, vista, [&r, vista] {
                    escribirPdf(r.impresora()->paginas(), ficheroPdf("vista.pdf"), r.paper(), r.orientation());
                    vista->close();
                });
            };
            r.Preview();
            paginas = r.pageCount();
        }
        pico = picoMiB();
    }
    contar(state, paginas, pico);
}
BENCHMARK(ListadoPorVistaPreviaAPdf)->Arg(kCien)->Arg(kMil)->Arg(kDiezMil)->Unit(benchmark::kMillisecond)->Iterations(1);

// The anchor: the rows read once through a prepared statement and the listing's marks drawn
// raw, page by page: title and captions, a silver group header, nine texts a row, the
// group's sums, the total, the page number.
void AnclaControlesFijosAPdf(benchmark::State &state)
{
    const int filas = int(state.range(0));
    int paginas = 0;
    double pico = 0;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(datos().dir.filePath(QStringLiteral("datos.sqlite")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql = QStringLiteral("SELECT Grupo, Codigo, Nombre, Importe, Cantidad, Precio, Fecha, Hora, Zona, "
                                          "Notas FROM %1 ORDER BY Codigo").arg(tablaDe(filas)).toUtf8();
    for (auto _ : state) {
        empezarPico();
        {
            sqlite3_stmt *filasLeidas = nullptr;
            sqlite3_prepare_v2(db, sql.constData(), -1, &filasLeidas, nullptr);
            QPdfWriter pdf(ficheroPdf("ancla.pdf"));
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            QPainter p(&pdf);
            p.scale(pdf.logicalDpiX() / 96.0, pdf.logicalDpiY() / 96.0);
            const QFont titulo(QStringLiteral("Arial"), 12, QFont::Bold), texto(QStringLiteral("Arial"), 8),
                negrita(QStringLiteral("Arial"), 8, QFont::Bold);
            constexpr double kIzquierda = 18.9, kAlto = 1122.5, kAbajo = kAlto - 18.9 - 45, kColumna = 83;
            const auto cifra = [](double v) { return QLocale(QLocale::Spanish).toString(v, 'f', 2); };
            double y = kAlto, sumaGrupo = 0, total = 0;
            QByteArray grupo;
            paginas = 0;
            const auto pie = [&] {
                p.setFont(texto);
                p.drawText(QPointF(kIzquierda + 350, kAlto - 40), QStringLiteral("Página  %1").arg(paginas));
            };
            const auto sitio = [&](double alto) {
                if (y + alto <= kAbajo)
                    return;
                if (paginas > 0) {
                    pie();
                    pdf.newPage();
                }
                ++paginas;
                p.setFont(titulo);
                p.setPen(QColor(0, 128, 128));
                p.drawText(QPointF(kIzquierda + 280, 40), QStringLiteral("Listado de clientes"));
                p.setFont(negrita);
                p.setPen(Qt::black);
                for (int c = 0; c < 9; ++c)
                    p.drawText(QPointF(kIzquierda + c * kColumna, 110), QStringLiteral("Columna %1").arg(c + 1));
                y = 120;
            };
            const auto cerrarGrupo = [&] {
                sitio(17);
                p.setFont(negrita);
                p.drawText(QPointF(kIzquierda + 3 * kColumna, y + 12), cifra(sumaGrupo));
                y += 17;
                sumaGrupo = 0;
            };
            while (sqlite3_step(filasLeidas) == SQLITE_ROW) {
                const QByteArray esteGrupo(reinterpret_cast<const char *>(sqlite3_column_text(filasLeidas, 0)));
                if (esteGrupo != grupo) {
                    if (!grupo.isEmpty())
                        cerrarGrupo();
                    sitio(32);
                    p.fillRect(QRectF(kIzquierda, y, 750, 32), QColor(192, 192, 192));
                    p.setFont(negrita);
                    p.drawText(QPointF(kIzquierda + 4, y + 20), QString::fromUtf8(esteGrupo));
                    y += 32;
                    grupo = esteGrupo;
                }
                sitio(15);
                p.setFont(texto);
                for (int c = 1; c <= 9; ++c) {
                    const QString valor = sqlite3_column_type(filasLeidas, c) == SQLITE_FLOAT
                        ? cifra(sqlite3_column_double(filasLeidas, c))
                        : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(filasLeidas, c)));
                    p.drawText(QPointF(kIzquierda + (c - 1) * kColumna, y + 11), valor);
                }
                sumaGrupo += sqlite3_column_double(filasLeidas, 3);
                total += sqlite3_column_double(filasLeidas, 3);
                y += 15;
            }
            cerrarGrupo();
            sitio(32);
            p.drawText(QPointF(kIzquierda + 3 * kColumna, y + 20), cifra(total));
            pie();
            sqlite3_finalize(filasLeidas);
        }
        pico = picoMiB();
    }
    sqlite3_close(db);
    contar(state, paginas, pico);
}
BENCHMARK(AnclaControlesFijosAPdf)->Arg(kCien)->Arg(kMil)->Arg(kDiezMil)->Unit(benchmark::kMillisecond)->Iterations(1);

// From the preview call to the first page painted in the preview control.
void PrimeraPaginaEnVistaPrevia(benchmark::State &state)
{
    for (auto _ : state) {
        ListadoProgramable l(kDiezMil);
        Informe &informe = *l.listado->QuickReport;
        state.SetIterationTime(segundosHastaPrimeraPagina(informe));
    }
}
BENCHMARK(PrimeraPaginaEnVistaPrevia)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    datos();   // made before any timing
    return arranque.ejecutar();
}
