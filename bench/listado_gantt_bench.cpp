// The Gantt listing of the project master (SQLite), over the master's own lines of a
// 1,000-line and a 10,000-line project (ten-line chapters): every page to a PDF file
// through the data module's report output, and from the preview call to the first page
// painted in the preview control. Anchor in the same run: the project and its lines read
// once through prepared sqlite3 statements, and the same marks drawn with plain QPainter
// on a QPdfWriter (title, band labels, the chapter bars, day, week and month marks as the
// one-pixel fills the program's pictures keep, the month names under every page's header,
// the footer).
#include "ProgramaArrancado.h"
#include "ProyectoGrande.h"
#include "app/PRQRLGRA.h"
#include "bench/PrimeraPagina.h"
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QApplication>
#include <QDate>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

const QString kMil = QStringLiteral("P1000");
const QString kDiezMil = QStringLiteral("P10000");

// A started program with both projects and the project master open on an MDI frame.
struct Programa : ProgramaArrancado
{
    plat::Form *marco = nullptr;
    TfPROYPROY *ventana = nullptr;

    Programa()
    {
        CrearMDProyectos();
        LlenarProyectoGrande(*modulo, inicio->Database(), kMil, 1000);
        LlenarProyectoGrande(*modulo, inicio->Database(), kDiezMil, 10000);
        marco = plat::createForm<plat::Form>();
        marco->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco);
        marco->Show();
        ventana = plat::createForm<TfPROYPROY>();
        QCoreApplication::processEvents();
    }

    ~Programa()
    {
        delete ventana;
        plat::application().setMainForm(nullptr);
        delete marco;
        LiberarMDProyectos();
    }

    // The request of the master's portrait print button on the project.
    PeticionListadoGrafico peticion(const QString &codigo)
    {
        ventana->Table1->dataSet().locate(QStringLiteral("Codigo"), codigo);
        const PlanProyecto plan = MDProyectos->CalcularPlanProyecto(codigo, QString());
        PeticionListadoGrafico p;
        p.FechaInicioInforme = plan.FechaInicio;
        p.FechaFinalInforme = plan.FechaFinal;
        p.ModoInforme = QStringLiteral("Capitulos");
        p.DataSet = &ventana->Table2->dataSet();
        p.Titulo = QStringLiteral("Proyecto: ") + codigo;
        p.VistaPrevia = false;
        return p;
    }
};

// Made in main after the application and gone before it.
Programa *programa_ = nullptr;
Programa &programa() { return *programa_; }

void PrimeraPaginaEnVistaPrevia(benchmark::State &state, const QString &codigo)
{
    Programa &p = programa();
    const PeticionListadoGrafico peticion = p.peticion(codigo);
    for (auto _ : state) {
        auto *listado = plat::createForm<TfPRQRLGRA>();
        listado->FechaInicioInforme = peticion.FechaInicioInforme;
        listado->FechaFinalInforme = peticion.FechaFinalInforme;
        listado->ModoInforme = peticion.ModoInforme;
        listado->QuickReport->DataSet = peticion.DataSet;
        listado->QuickReport->ReportTitle = peticion.Titulo;
        Informe &informe = *listado->QuickReport;
        state.SetIterationTime(segundosHastaPrimeraPagina(informe));
        delete listado;
    }
}
BENCHMARK_CAPTURE(PrimeraPaginaEnVistaPrevia, MilLineas, kMil)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(PrimeraPaginaEnVistaPrevia, DiezMilLineas, kDiezMil)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

QString ficheroPdf(const char *nombre) { return programa().carpeta.filePath(QString::fromLatin1(nombre)); }

void ListadoAPdf(benchmark::State &state, const QString &codigo, int lineas)
{
    Programa &p = programa();
    const PeticionListadoGrafico peticion = p.peticion(codigo);
    const QString pdf = ficheroPdf("gantt.pdf");
    for (auto _ : state)
        ImprimirListadoGraficoConInforme(peticion, QStringLiteral("PDF:") + pdf);
    QFile fichero(pdf);
    if (!fichero.exists() || fichero.size() == 0)
        state.SkipWithError("no PDF was written");
    state.counters["us/linea"] = benchmark::Counter(double(lineas) * state.iterations(),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(ListadoAPdf, MilLineas, kMil, 1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(ListadoAPdf, DiezMilLineas, kDiezMil, 10000)->Unit(benchmark::kMillisecond)->Iterations(1);

// ---- the anchor --------------------------------------------------------------------------------

// A line as the anchor reads it: its chapter, label, days (0: none), progress.
struct LineaCruda
{
    QByteArray capitulo;
    QString etiqueta;
    double inicio = 0, fin = 0;
    QByteArray avance;
};

double DiaCrudo(const unsigned char *texto)
{
    if (!texto)
        return 0;
    const QDate d = QDate::fromString(QString::fromLatin1(reinterpret_cast<const char *>(texto), 10), Qt::ISODate);
    return d.isValid() ? double(d.toJulianDay() - 2415019) : 0;
}

QString ficheroSQLite() { return programa().inicio->Database().databaseName() + QStringLiteral("/datos.sqlite"); }

// The project's dates and its lines in chapter order, each statement prepared once.
std::vector<LineaCruda> LeerCrudo(sqlite3 *db, const QByteArray &codigo, double &s0, double &s1)
{
    sqlite3_stmt *proyecto = nullptr, *lineas = nullptr;
    sqlite3_prepare_v2(db, "SELECT FechaAceptacion, FechaEntrega FROM PROYECT WHERE Codigo = ?1", -1, &proyecto, nullptr);
    sqlite3_prepare_v2(db,
                       "SELECT Capitulo, DescripcionAbreviada, FechaInicio, FechaFinal, GradoAvance FROM LPROYECT "
                       "WHERE CodigoProyecto = ?1 ORDER BY CodigoProyecto, Capitulo, Linea",
                       -1, &lineas, nullptr);
    sqlite3_bind_text(proyecto, 1, codigo.constData(), int(codigo.size()), SQLITE_STATIC);
    if (sqlite3_step(proyecto) == SQLITE_ROW) {
        s0 = DiaCrudo(sqlite3_column_text(proyecto, 0));
        s1 = DiaCrudo(sqlite3_column_text(proyecto, 1));
    }
    std::vector<LineaCruda> leidas;
    sqlite3_bind_text(lineas, 1, codigo.constData(), int(codigo.size()), SQLITE_STATIC);
    while (sqlite3_step(lineas) == SQLITE_ROW) {
        LineaCruda l;
        l.capitulo = reinterpret_cast<const char *>(sqlite3_column_text(lineas, 0));
        l.etiqueta = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(lineas, 1)));
        l.inicio = DiaCrudo(sqlite3_column_text(lineas, 2));
        l.fin = DiaCrudo(sqlite3_column_text(lineas, 3));
        l.avance = reinterpret_cast<const char *>(sqlite3_column_text(lineas, 4));
        if (l.inicio != 0)
            s0 = std::min(s0, l.inicio);
        s1 = std::max(s1, l.fin);
        leidas.push_back(std::move(l));
    }
    sqlite3_finalize(proyecto);
    sqlite3_finalize(lineas);
    return leidas;
}

// A whole listing drawn raw: page header with the month names, a band a line (label, the
// chapter's bar from its own and its sub-chapters' days, the scale's marks), page footer.
void DibujarCrudo(QPdfWriter &pdf, const std::vector<LineaCruda> &lineas, double s0, double s1, const QString &titulo)
{
    constexpr double kIzquierda = 18.9, kImagen = 172, kAncho = 750 - kImagen, kAlto = 1122.5;
    const double d = s1 - s0 + 1;
    const auto x = [&](double dia) { return std::round((dia - s0) * kAncho / d); };
    QPainter p(&pdf);
    p.scale(pdf.logicalDpiX() / 96.0, pdf.logicalDpiY() / 96.0);
    const QFont fTitulo(QStringLiteral("Arial"), 12, QFont::Bold), fEtiqueta(QStringLiteral("Arial"), 8),
        fNegrita(QStringLiteral("Arial"), 8, QFont::Bold);
    const QPen plata(QColor(192, 192, 192)), negra(Qt::black);
    int pagina = 0;
    double y = kAlto;
    const auto meses = [&](double arriba, double alto, bool nombres) {
        QDate mes = QDate::fromJulianDay(qint64(s0) + 2415019);
        mes = mes.day() == 1 ? mes : QDate(mes.year(), mes.month(), 1).addMonths(1);
        for (; mes.toJulianDay() - 2415019 <= s1; mes = mes.addMonths(1)) {
            const double px = kIzquierda + kImagen + x(double(mes.toJulianDay() - 2415019));
            if (nombres)
                p.drawText(QPointF(px + 2, arriba + 11), QLocale(QLocale::Spanish).monthName(mes.month()).left(3));
            else
                p.fillRect(QRectF(px, arriba, 1, alto), Qt::black);
        }
    };
    const auto empezarPagina = [&] {
        if (pagina++ > 0) {
            p.setFont(fEtiqueta);
            p.setPen(negra);
            p.drawText(QPointF(kIzquierda + 350, kAlto - 40), QStringLiteral("Página %1").arg(pagina - 1));
            pdf.newPage();
        }
        p.setFont(fTitulo);
        p.setPen(QColor(0, 128, 128));
        p.drawText(QPointF(kIzquierda + 300, 30), titulo);
        p.fillRect(QRectF(kIzquierda, 99 + 18.9, 169, 15), QColor(192, 192, 192));
        p.fillRect(QRectF(kIzquierda + kImagen, 99 + 18.9, kAncho + 2, 17), QColor(192, 192, 192));
        p.setFont(fNegrita);
        p.setPen(negra);
        p.drawText(QPointF(kIzquierda + 50, 99 + 30), QStringLiteral("Identificación"));
        meses(99 + 18.9, 15, true);
        y = 99 + 18.9 + 15;
    };
    for (size_t i = 0; i < lineas.size(); ++i) {
        const LineaCruda &l = lineas[i];
        const bool cabecera = l.inicio == 0 && l.fin == 0;
        const double alto = cabecera ? 20 : 15;
        if (y + alto > kAlto - 18.9 - 45)
            empezarPagina();
        // The chapter's days: its own and its sub-chapters', which follow it in order.
        double c0 = l.inicio, c1 = l.fin;
        for (size_t j = i + 1; j < lineas.size() && lineas[j].capitulo.startsWith(l.capitulo); ++j) {
            if (lineas[j].inicio != 0)
                c0 = c0 == 0 ? lineas[j].inicio : std::min(c0, lineas[j].inicio);
            c1 = std::max(c1, lineas[j].fin);
        }
        p.setFont(cabecera ? fNegrita : fEtiqueta);
        p.setPen(negra);
        p.drawText(QPointF(kIzquierda, y + (cabecera ? 5 : 0) + 11), l.etiqueta);
        const double izquierda = kIzquierda + kImagen;
        p.fillRect(QRectF(izquierda, y, kAncho + 2, alto + 2), Qt::white);
        p.setPen(plata);
        if (c0 != 0) {
            p.setBrush(cabecera ? QColor(Qt::black) : (l.avance == "Terminado" ? QColor(Qt::blue) : QColor(Qt::green)));
            p.drawRect(QRectF(izquierda + x(c0), y + (cabecera ? 9 : 1), x(c1 + 1) - x(c0), cabecera ? 5 : 14));
        }
        // Day marks merged where days are closer than two pixels, then weeks and months: one
        // pixel wide fills, as a bitmap canvas draws its lines.
        const QColor gris(192, 192, 192);
        const double medio = y + alto / 2;
        double desde = -1, hasta = -2;
        for (double dia = s0; dia <= s1; dia += 1) {
            const double px = x(dia);
            if (hasta >= desde && px <= hasta + 1) {
                hasta = px;
                continue;
            }
            if (hasta >= desde)
                p.fillRect(QRectF(izquierda + desde, medio, hasta + 1 - desde, 1), gris);
            desde = hasta = px;
        }
        p.fillRect(QRectF(izquierda + desde, medio, hasta + 1 - desde, 1), gris);
        const int diaSemana = QDate::fromJulianDay(qint64(s0) + 2415019).dayOfWeek();
        for (double dia = diaSemana == 1 ? s0 : s0 + 8 - diaSemana; dia <= s1; dia += 7)
            p.fillRect(QRectF(izquierda + x(dia), y, 1, alto), gris);
        p.setPen(negra);
        meses(y, alto, false);
        y += alto;
    }
    p.setFont(fEtiqueta);
    p.drawText(QPointF(kIzquierda + 350, kAlto - 40), QStringLiteral("Página %1").arg(pagina));
}

void AnclaSqliteYQPainterEnQPdfWriter(benchmark::State &state, const QString &codigo, int lineas)
{
    Programa &p = programa();
    p.peticion(codigo);
    sqlite3 *db = nullptr;
    sqlite3_open_v2(ficheroSQLite().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        double s0 = 1e9, s1 = 0;
        const std::vector<LineaCruda> leidas = LeerCrudo(db, codigo.toUtf8(), s0, s1);
        QPdfWriter pdf(ficheroPdf("ancla.pdf"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        DibujarCrudo(pdf, leidas, s0, s1, QStringLiteral("Proyecto: ") + codigo);
        if (int(leidas.size()) != lineas)
            state.SkipWithError("the project's lines were not read");
    }
    sqlite3_close(db);
    state.counters["us/linea"] = benchmark::Counter(double(lineas) * state.iterations(),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK_CAPTURE(AnclaSqliteYQPainterEnQPdfWriter, MilLineas, kMil, 1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(AnclaSqliteYQPainterEnQPdfWriter, DiezMilLineas, kDiezMil, 10000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Programa programa;
    if (!programa.arrancado) {
        fprintf(stderr, "%s\n", qPrintable(programa.motivoFallo()));
        return 1;
    }
    programa_ = &programa;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
