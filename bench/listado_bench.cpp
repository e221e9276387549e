// The run-time listing over SQLite tables of 5,300, 53,000 and 530,000 rows of ten
// columns, grouped by forty, with sums (97, 967 and 9,662 pages): all pages to PDF,
// generated first or shown by the preview first, with the peak resident memory of each run;
// against the anchor in the same run: the rows read through a prepared sqlite3 statement
// and the same marks on as many pages (page header and captions, group header, a silver
// band and nine texts a row, group sums, total, page footer) laid out and drawn with plain
// QPainter on a QPdfWriter. Also the time from the preview call to the first page shown.
#include "ArranqueBenchmarks.h"
#include "bench/PrimeraPagina.h"
#include "bench/TextosAncla.h"
#include "GENEW/reporting/informes/GENELPRO.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QDateTime>
#include <QFile>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSet>
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
    QSet<int> hechas;

    Datos() { session.connection(QStringLiteral("Database")).setDatabaseName(dir.path()); }

    // Made once, by the first case that lists so many rows, before its timing: a run of the
    // short cases alone does not wait for the 530,000 rows.
    void asegurar(int filas)
    {
        if (!hechas.contains(filas))
            crear(session.connection(QStringLiteral("Database")), filas);
        hechas.insert(filas);
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
    datos().asegurar(int(state.range(0)));
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
    datos().asegurar(int(state.range(0)));
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

// The listing's number mask, "#,###.##".
QString cifra(double valor)
{
    return cifraConMascara(valor, 0, 0, 2);
}

// The text cut by whole characters until it fits the width, on the side away from its
// alignment.
QString cortado(QString texto, const QFontMetricsF &medidas, double ancho, bool porDelante)
{
    while (!texto.isEmpty() && medidas.horizontalAdvance(texto) > ancho + 0.5) {
        if (porDelante)
            texto.remove(0, 1);
        else
            texto.chop(1);
    }
    return texto;
}

// The anchor: the rows stepped through one prepared sqlite3 statement and the listing's
// marks laid out and drawn raw with QPainter on QPdfWriter, page by page as the listing
// breaks them: the centred title and the captions on black, per group a silver band with
// the white picture of "Grupo:" and its value, per row a silver band and nine texts (the
// three floats through the mask, measured and right-aligned; the date and time formatted),
// per group a rule and its three sums, the total, the centred page number and the print
// date on the right.
void AnclaSqliteYQPainterEnQPdfWriter(benchmark::State &state)
{
    const int filas = int(state.range(0));
    datos().asegurar(filas);
    int paginas = 0;
    double pico = 0;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(datos().dir.filePath(QStringLiteral("datos.sqlite")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY, nullptr);
    const QByteArray sql = QStringLiteral("SELECT Codigo, Grupo, Nombre, Importe, Cantidad, Precio, Fecha, Hora, Zona, "
                                          "Notas FROM %1 ORDER BY Codigo").arg(tablaDe(filas)).toUtf8();
    // A4 portrait in page pixels; margins of 5 mm on the sides, 10 mm above and below.
    constexpr double kMm = 96 / 25.4, kIzquierda = 5 * kMm, kArriba = 10 * kMm, kAnchoBanda = 200 * kMm;
    constexpr double kAbajo = 287 * kMm, kLimite = kAbajo - 45, kAncho = 750;
    // The nine columns (all but the group): left, width, right-aligned.
    struct Columna
    {
        double izquierda, ancho;
        bool derecha;
    };
    constexpr Columna kColumnas[] = {{0, 49, false},   {51, 186, false}, {239, 45, true},
                                     {286, 45, true},  {333, 45, true},  {380, 87, false},
                                     {469, 87, false}, {558, 45, false}, {605, 139, false}};
    const QString kTitulos[] = {QStringLiteral("Codigo"), QStringLiteral("Nombre"), QStringLiteral("Importe"),
                                QStringLiteral("Cantidad"), QStringLiteral("Precio"), QStringLiteral("Fecha"),
                                QStringLiteral("Hora"), QStringLiteral("Zona"), QStringLiteral("Notas")};
    const QColor plata(192, 192, 192);
    for (auto _ : state) {
        empezarPico();
        {
            sqlite3_stmt *filasLeidas = nullptr;
            sqlite3_prepare_v2(db, sql.constData(), -1, &filasLeidas, nullptr);
            QPdfWriter pdf(ficheroPdf("ancla.pdf"));
            pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
            QPainter p(&pdf);
            p.scale(pdf.logicalDpiX() / 96.0, pdf.logicalDpiY() / 96.0);
            const QFont titulo = fuentePixeles(16, true), texto = fuentePixeles(11, false),
                        negrita = fuentePixeles(11, true);
            // The group's picture keeps the 8-point bold font at 96 dpi, measured hinted.
            QFont grupoFuente(QStringLiteral("Arial"), 8, QFont::Bold);
            const QFontMetrics medidasGrupo(grupoFuente);
            grupoFuente.setPointSizeF(8.0 * 96 / pdf.logicalDpiY());
            const QFontMetricsF medidasTitulo(titulo), medidas(texto), medidasNegrita(negrita);
            const QString impreso = QStringLiteral("Impreso el ")
                                    + QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
            QString titulos[9];
            for (int c = 0; c < 9; ++c)
                titulos[c] = cortado(kTitulos[c], medidasNegrita, kColumnas[c].ancho, false);

            const auto escribir = [&](const QFontMetricsF &m, const Columna &col, double y, const QString &t,
                                      bool derecha) {
                const double x = kIzquierda + col.izquierda + (derecha ? col.ancho - m.horizontalAdvance(t) : 0);
                p.drawText(QPointF(x, y + m.ascent()), t);
            };
            double y = 0;
            bool abierta = false;
            paginas = 0;
            const auto pie = [&] {
                p.setFont(texto);
                p.setPen(Qt::black);
                const QString numero = QStringLiteral("Página  %1").arg(paginas);
                p.drawText(QPointF(kIzquierda + (kAncho - medidas.horizontalAdvance(numero)) / 2,
                                   kLimite + 8 + medidas.ascent()), numero);
                escribir(medidas, {kAncho - 200, 200, true}, kLimite + 24, impreso, true);
            };
            const auto sitio = [&](double banda) {
                if (abierta && y + banda <= kLimite + 0.01)
                    return;
                if (abierta) {
                    pie();
                    pdf.newPage();
                }
                abierta = true;
                ++paginas;
                p.setFont(titulo);
                p.setPen(QColor(0, 128, 128));
                const QString t = QStringLiteral("Listado de clientes");
                p.drawText(QPointF(kIzquierda + (kAncho - medidasTitulo.horizontalAdvance(t)) / 2,
                                   kArriba + 12 + medidasTitulo.ascent()), t);
                p.setFont(negrita);
                p.setPen(Qt::white);
                for (int c = 0; c < 9; ++c) {
                    p.fillRect(QRectF(kIzquierda + kColumnas[c].izquierda, kArriba + 79, kColumnas[c].ancho, 15),
                               Qt::black);
                    escribir(medidasNegrita, kColumnas[c], kArriba + 79, titulos[c], false);
                }
                y = kArriba + 99;
            };
            double sumasGrupo[3] = {}, totales[3] = {};
            // A rule at raya (its pixel row) and the three sums at arriba.
            const auto sumas = [&](double raya, double arriba, double (&valores)[3]) {
                p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::FlatCap));
                p.drawLine(QLineF(kIzquierda, raya + 0.5, kIzquierda + kAncho, raya + 0.5));
                p.setFont(negrita);
                for (int c = 0; c < 3; ++c)
                    escribir(medidasNegrita, kColumnas[2 + c], arriba,
                             cortado(cifra(valores[c]), medidasNegrita, kColumnas[2 + c].ancho, true), true);
            };
            const auto cerrarGrupo = [&] {
                sitio(17);
                p.fillRect(QRectF(kIzquierda, y, kAnchoBanda, 17), plata);
                sumas(y, y + 2, sumasGrupo);
                y += 17;
                std::fill(std::begin(sumasGrupo), std::end(sumasGrupo), 0.0);
            };
            const auto rotulo = [&](int &x, double arriba, const QString &t, const QColor &color) {
                const int ancho = medidasGrupo.horizontalAdvance(t);
                p.fillRect(QRectF(kIzquierda + x, arriba + 4, ancho, medidasGrupo.height()), Qt::white);
                p.setPen(color);
                p.drawText(QPointF(kIzquierda + x, arriba + 4 + medidasGrupo.ascent()), t);
                x += ancho;
            };
            QByteArray grupo;
            while (sqlite3_step(filasLeidas) == SQLITE_ROW) {
                const QByteArray esteGrupo(reinterpret_cast<const char *>(sqlite3_column_text(filasLeidas, 1)));
                if (esteGrupo != grupo) {
                    if (!grupo.isEmpty())
                        cerrarGrupo();
                    sitio(32);
                    p.fillRect(QRectF(kIzquierda, y, kAnchoBanda, 32), plata);
                    p.fillRect(QRectF(kIzquierda, y, kAncho, 32), Qt::white);
                    p.setFont(grupoFuente);
                    int x = 0;
                    rotulo(x, y, QStringLiteral("Grupo:"), QColor(0, 0, 128));
                    x += 4;
                    rotulo(x, y, QString::fromUtf8(esteGrupo), Qt::black);
                    y += 32;
                    grupo = esteGrupo;
                }
                sitio(15);
                p.fillRect(QRectF(kIzquierda, y, kAnchoBanda, 15), plata);
                p.setFont(texto);
                p.setPen(Qt::black);
                const auto textoDe = [&](int columna) {
                    return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(filasLeidas, columna)));
                };
                const QDateTime fecha = QDateTime::fromString(textoDe(6), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                const QDateTime hora = QDateTime::fromString(textoDe(7), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
                const QString valores[9] = {QString::number(sqlite3_column_int(filasLeidas, 0)),
                                            textoDe(2),
                                            cifra(sqlite3_column_double(filasLeidas, 3)),
                                            cifra(sqlite3_column_double(filasLeidas, 4)),
                                            cifra(sqlite3_column_double(filasLeidas, 5)),
                                            fecha.toString(QStringLiteral("dd/MM/yyyy")),
                                            hora.toString(QStringLiteral("hh:mm:ss")),
                                            textoDe(8),
                                            textoDe(9)};
                for (int c = 0; c < 9; ++c)
                    escribir(medidas, kColumnas[c], y, valores[c], kColumnas[c].derecha);
                for (int c = 0; c < 3; ++c) {
                    sumasGrupo[c] += sqlite3_column_double(filasLeidas, 3 + c);
                    totales[c] += sqlite3_column_double(filasLeidas, 3 + c);
                }
                y += 15;
            }
            cerrarGrupo();
            sitio(17);
            sumas(y + 5, y + 8, totales);
            y += 17;
            pie();
            sqlite3_finalize(filasLeidas);
        }
        pico = picoMiB();
    }
    sqlite3_close(db);
    contar(state, paginas, pico);
}
BENCHMARK(AnclaSqliteYQPainterEnQPdfWriter)->Arg(kCien)->Arg(kMil)->Arg(kDiezMil)->Unit(benchmark::kMillisecond)->Iterations(1);

// From the preview call to the first page painted in the preview control.
void PrimeraPaginaEnVistaPrevia(benchmark::State &state)
{
    datos().asegurar(kDiezMil);
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
    datos();   // the folder and its connection, before any timing
    return arranque.ejecutar();
}
