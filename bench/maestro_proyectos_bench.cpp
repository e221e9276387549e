// The project master's Gantt page (SQLite). A repaint of a screen of 40 chapter rows of a
// 100-line project: the rows' calculated fields (one chapter plan each) and the Gantt
// column's painting (the project's and the chapter's plan per row). And opening the page of
// a 10,000-line project to its first screen: the lines re-read, the columns fitted, the
// first screen painted. The anchor, in the same run, is raw: what the screen shows read
// through prepared statements of the sqlite3 C API on the same file and drawn with plain
// QPainter on an image of the grid's viewport.
#include "ArranqueBenchmarks.h"
#include "DiaCrudo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "ProgramaArrancado.h"
#include "ProyectoGrande.h"
#include "platform/ui/Application.h"
#include "projects/proyectos/PROYPROY.h"
#include "projects/proyectos/Proymodu.h"

#include <QDate>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <sqlite3.h>
#include <vector>

namespace {

constexpr int kFilasPantalla = 40;
const QString kPequeno = QStringLiteral("P100");
const QString kGrande = QStringLiteral("P10000");

// A started program with the two projects, and the project master open on an MDI frame
// large enough for 40 rows.
struct Programa : ProgramaArrancado
{
    plat::Form *marco = nullptr;
    TfPROYPROY *ventana = nullptr;

    Programa()
    {
        CrearMDProyectos();
        llenar(kPequeno, 100);
        llenar(kGrande, 10000);
        marco = plat::createForm<plat::Form>();
        marco->setFormStyle(plat::fsMDIForm);
        plat::application().setMainForm(marco);
        marco->resize(1100, 1000);
        marco->Show();
        ventana = plat::createForm<TfPROYPROY>();
        ventana->setBounds(0, 0, 1080, 980);
        QCoreApplication::processEvents();
    }

    ~Programa()
    {
        delete ventana;
        plat::application().setMainForm(nullptr);
        delete marco;
        LiberarMDProyectos();
    }

    void llenar(const QString &codigo, int lineas) { LlenarProyectoGrande(*modulo, inicio->Database(), codigo, lineas); }

    // The Gantt page of the project shown.
    void mostrar(const QString &codigo)
    {
        ventana->Table1->dataSet().locate(QStringLiteral("Codigo"), codigo);
        ventana->PageControl1->setActivePage(ventana->PagGrafico);
        QCoreApplication::processEvents();
    }

    QString ficheroSQLite() const { return inicio->Database().databaseName() + QStringLiteral("/datos.sqlite"); }
};

// Made in main after the application and gone before it.
Programa *programa_ = nullptr;
Programa &programa() { return *programa_; }

// The first screen of the Gantt grid as it paints it.
void PintarPantalla(plat::DBGrid &rejilla, QImage &imagen) { rejilla.viewport()->render(&imagen); }

void RepintarPantallaGantt(benchmark::State &state)
{
    Programa &p = programa();
    p.mostrar(kPequeno);
    plat::DBGrid &rejilla = *p.ventana->DBGrid2;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    plat::DataSet &lineas = p.ventana->Table2->dataSet();
    for (auto _ : state) {
        benchmark::DoNotOptimize(lineas.rowDisplayTexts(0, kFilasPantalla));
        PintarPantalla(rejilla, imagen);
    }
    state.counters["filas_visibles"] = rejilla.rowAt(rejilla.viewport()->height() - 1) + 1;
}
BENCHMARK(RepintarPantallaGantt)->Unit(benchmark::kMillisecond);

void AbrirPaginaGanttDiezMilLineas(benchmark::State &state)
{
    Programa &p = programa();
    p.mostrar(kGrande);
    plat::DBGrid &rejilla = *p.ventana->DBGrid2;
    QImage imagen(rejilla.viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        p.ventana->PageControl1->setActivePage(p.ventana->PagGeneral);
        p.ventana->Table2->dataSet().refresh();
        p.ventana->PageControl1->setActivePage(p.ventana->PagGrafico);
        PintarPantalla(rejilla, imagen);
    }
}
BENCHMARK(AbrirPaginaGanttDiezMilLineas)->Unit(benchmark::kMillisecond);

// ---- the raw anchor --------------------------------------------------------------------------

// A span of days (0 = none) widened by a line's.
struct Tramo
{
    double inicio = 0, fin = 0;
    void anadir(double i, double f)
    {
        if (i != 0 && (inicio == 0 || i < inicio))
            inicio = i;
        if (f > fin)
            fin = f;
    }
};

// Where the grid puts its cells, taken from the program's grid before any timing: a raw
// program would hold the same fixed layout.
struct Disposicion
{
    QSize tamano;
    QFont fuente;
    int filas = 0, alto = 0;
    int x[3] = {}, ancho[3] = {};   // Capitulo, Descripcion, the Gantt column
    bool verDias = false;            // the day ticks, as the page's check box says
};

Disposicion DisposicionDe(plat::DBGrid &rejilla, bool verDias)
{
    Disposicion d;
    d.verDias = verDias;
    d.tamano = rejilla.viewport()->size();
    d.fuente = rejilla.font();
    d.alto = rejilla.rowHeight(0);
    d.filas = rejilla.rowAt(rejilla.viewport()->height() - 1) + 1;
    for (int c = 0; c < 3; ++c) {
        d.x[c] = rejilla.columnViewportPosition(c);
        d.ancho[c] = rejilla.columnWidth(c);
    }
    return d;
}

// One screen of the Gantt page read and drawn raw: the screen's lines in chapter order, then
// the project's dates and its lines once, each line widening the project's span and the span
// of every shown chapter it belongs to (the chapter itself and its sub-chapters: those whose
// number starts with it); then per row the two text cells (the heading in bold), the Gantt
// cell (the chapter's bar framed in silver, a tick a day when the page shows them, Monday and
// month lines, today's line) and the grid's lines, each mark a fill as a bitmap canvas makes
// it.
class AnclaPantalla
{
public:
    AnclaPantalla(const QString &fichero, const QString &codigo, Disposicion disposicion)
        : clave_(codigo.toUtf8()), d_(std::move(disposicion)), imagen_(d_.tamano, QImage::Format_RGB32)
    {
        sqlite3_open_v2(fichero.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_prepare_v2(db_,
                           "SELECT Capitulo, Descripcion, FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance FROM "
                           "LPROYECT WHERE CodigoProyecto = ?1 ORDER BY CodigoProyecto, Capitulo, Linea LIMIT ?2",
                           -1, &pantalla_, nullptr);
        sqlite3_prepare_v2(db_, "SELECT FechaAceptacion, FechaEntrega, FechaFinalizacion FROM PROYECT WHERE Codigo = ?1",
                           -1, &proyecto_, nullptr);
        sqlite3_prepare_v2(db_, "SELECT Capitulo, FechaInicio, FechaFinal FROM LPROYECT WHERE CodigoProyecto = ?1", -1,
                           &todas_, nullptr);
        negrita_ = d_.fuente;
        negrita_.setBold(true);
    }
    ~AnclaPantalla()
    {
        for (sqlite3_stmt *s : {pantalla_, proyecto_, todas_})
            sqlite3_finalize(s);
        sqlite3_close(db_);
    }

    // The rows drawn, or -1 when a statement could not be prepared.
    int pintar()
    {
        if (!pantalla_ || !proyecto_ || !todas_)
            return -1;
        // The rows shown.
        filas_.clear();
        sqlite3_bind_text(pantalla_, 1, clave_.constData(), int(clave_.size()), SQLITE_STATIC);
        sqlite3_bind_int(pantalla_, 2, d_.filas);
        while (sqlite3_step(pantalla_) == SQLITE_ROW) {
            const auto texto = [this](int c) { return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(pantalla_, c))); };
            filas_.push_back(Fila{QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(pantalla_, 0))), texto(0),
                                  texto(1),
                                  sqlite3_column_type(pantalla_, 2) == SQLITE_NULL && sqlite3_column_type(pantalla_, 3) == SQLITE_NULL
                                      && sqlite3_column_double(pantalla_, 4) == 0,
                                  QByteArray(reinterpret_cast<const char *>(sqlite3_column_text(pantalla_, 5))), {}});
        }
        sqlite3_reset(pantalla_);
        // The project's span and the shown chapters' spans, from one walk over its lines.
        Tramo proyecto;
        sqlite3_bind_text(proyecto_, 1, clave_.constData(), int(clave_.size()), SQLITE_STATIC);
        if (sqlite3_step(proyecto_) == SQLITE_ROW) {
            proyecto.inicio = DiaCrudo(sqlite3_column_text(proyecto_, 0));
            const double finalizacion = DiaCrudo(sqlite3_column_text(proyecto_, 2));
            proyecto.fin = finalizacion != 0 ? finalizacion : DiaCrudo(sqlite3_column_text(proyecto_, 1));
        }
        sqlite3_reset(proyecto_);
        indice_.clear();
        for (int i = 0; i < int(filas_.size()); ++i)
            indice_.insert(filas_[size_t(i)].capitulo, i);
        sqlite3_bind_text(todas_, 1, clave_.constData(), int(clave_.size()), SQLITE_STATIC);
        while (sqlite3_step(todas_) == SQLITE_ROW) {
            const double i = DiaCrudo(sqlite3_column_text(todas_, 1)), f = DiaCrudo(sqlite3_column_text(todas_, 2));
            proyecto.anadir(i, f);
            const char *capitulo = reinterpret_cast<const char *>(sqlite3_column_text(todas_, 0));
            const int largo = sqlite3_column_bytes(todas_, 0);
            for (int n = 1; n <= largo; ++n)
                if (const auto fila = indice_.constFind(QByteArray::fromRawData(capitulo, n)); fila != indice_.cend())
                    filas_[size_t(*fila)].tramo.anadir(i, f);
        }
        sqlite3_reset(todas_);
        const double s0 = proyecto.inicio, s1 = proyecto.fin;
        const double dias = s1 - s0 + 1;
        const double hoy = double(QDate::currentDate().toJulianDay() - 2415019);

        QPainter p(&imagen_);
        p.fillRect(imagen_.rect(), Qt::white);
        const QColor plata(192, 192, 192), gris(160, 160, 160);
        const int xg = d_.x[2], wg = d_.ancho[2];
        const auto x = [&](double dia) { return int(std::nearbyint(wg * (dia - s0) / dias)); };
        const int primerLunes = int(s0) + (8 - QDate::fromJulianDay(qint64(s0) + 2415019).dayOfWeek()) % 7;

        for (int fila = 0; fila < int(filas_.size()); ++fila) {
            const Fila &f = filas_[size_t(fila)];
            const int t = fila * d_.alto;
            const bool titulo = f.titulo;
            const QByteArray &avance = f.avance;

            // The text cells; the current row shows selected.
            const QColor fondo = fila == 0 ? QColor(48, 140, 198) : QColor(Qt::white);
            p.setPen(fila == 0 ? QColor(Qt::white) : QColor(Qt::black));
            p.setFont(titulo ? negrita_ : d_.fuente);
            for (int c = 0; c < 2; ++c) {
                const QRect celda(d_.x[c], t, d_.ancho[c] - 1, d_.alto - 1);
                p.fillRect(celda, fondo);
                p.drawText(celda.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                           c == 0 ? f.textoCapitulo : f.descripcion);
            }

            // The Gantt cell, its marks clipped to it.
            const QRect celda(xg, t, wg - 1, d_.alto - 1);
            p.save();
            p.setClipRect(celda);
            p.fillRect(celda, Qt::white);
            double c0 = f.tramo.inicio, c1 = f.tramo.fin;
            if (c0 == 0 && c1 != 0)
                c0 = c1 - 7;
            if (c0 != 0 && dias > 0) {
                const int x1 = xg + x(c0), x2 = xg + x(c1 + 1);
                const QRect barra = titulo ? QRect(x1, t + 6, x2 - x1, 4) : QRect(x1, t + 2, x2 - x1, 12);
                const QColor color = titulo ? QColor(Qt::black)
                    : avance == "Terminado"  ? QColor(Qt::red)
                    : avance >= "50"         ? QColor(Qt::magenta)
                    : avance > "00"          ? QColor(Qt::blue)
                                             : QColor(Qt::darkGreen);
                p.fillRect(barra, color);
                p.fillRect(QRect(barra.left(), barra.top(), barra.width(), 1), plata);
                p.fillRect(QRect(barra.left(), barra.bottom(), barra.width(), 1), plata);
                p.fillRect(QRect(barra.left(), barra.top(), 1, barra.height()), plata);
                p.fillRect(QRect(barra.right(), barra.top(), 1, barra.height()), plata);
            }
            if (dias > 0) {
                int anterior = -1;
                for (double dia = s0; d_.verDias && dia <= s1; dia += 1) {
                    const int px = x(dia);
                    if (px != anterior)
                        p.fillRect(QRect(xg + px, t + 8, 1, 1), plata);
                    anterior = px;
                }
                for (double dia = primerLunes; dia <= s1; dia += 7)
                    p.fillRect(QRect(xg + x(dia), t, 1, 18), plata);
                QDate mes = QDate::fromJulianDay(qint64(s0) + 2415019);
                mes = mes.day() == 1 ? mes : QDate(mes.year(), mes.month(), 1).addMonths(1);
                for (; double(mes.toJulianDay() - 2415019) <= s1; mes = mes.addMonths(1))
                    p.fillRect(QRect(xg + x(double(mes.toJulianDay() - 2415019)), t, 1, 18), Qt::black);
                p.fillRect(QRect(xg + x(hoy), t, 1, 18), Qt::magenta);
            }
            p.restore();

            // The grid's lines, right and below each cell.
            for (int c = 0; c < 3; ++c)
                p.fillRect(QRect(d_.x[c] + d_.ancho[c] - 1, t, 1, d_.alto), gris);
            p.fillRect(QRect(0, t + d_.alto - 1, d_.x[2] + wg, 1), gris);
        }
        return int(filas_.size());
    }

private:
    struct Fila
    {
        QByteArray capitulo;
        QString textoCapitulo, descripcion;
        bool titulo;
        QByteArray avance;
        Tramo tramo;
    };

    QByteArray clave_;
    Disposicion d_;
    QImage imagen_;
    QFont negrita_;
    sqlite3 *db_ = nullptr;
    sqlite3_stmt *pantalla_ = nullptr, *proyecto_ = nullptr, *todas_ = nullptr;
    std::vector<Fila> filas_;
    QHash<QByteArray, int> indice_;
};

void AnclaSqlite3YQPainter(benchmark::State &state, const QString &codigo)
{
    Programa &p = programa();
    p.mostrar(codigo);
    AnclaPantalla ancla(p.ficheroSQLite(), codigo, DisposicionDe(*p.ventana->DBGrid2, p.ventana->VerDias->isChecked()));
    int filas = 0;
    for (auto _ : state)
        filas = ancla.pintar();
    if (filas < kFilasPantalla)
        state.SkipWithError("the anchor did not draw a whole screen");
    state.counters["filas_visibles"] = filas;
}
BENCHMARK_CAPTURE(AnclaSqlite3YQPainter, Cien, kPequeno)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(AnclaSqlite3YQPainter, DiezMil, kGrande)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    Programa programa;
    programa_ = &programa;
    return arranque.ejecutar();
}
