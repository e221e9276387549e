// The banded report over a SQLite table of five columns with a group band, 1,000 A4 pages:
// prepared and written to PDF the way the report output does it (page files replayed on a
// PDF writer) and directly, against the anchor: the rows read through a prepared sqlite3
// statement, laid out band by band and drawn (the group's silver fill, texts aligned as the
// controls align them, sums) with QPainter on QPdfWriter. Also the time from the preview
// call to the first page shown.
#include "ArranqueBenchmarks.h"
#include "bench/PrimeraPagina.h"
#include "bench/TextosAncla.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QDateTime>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <sqlite3.h>

namespace {

constexpr int kFilas = 52000;   // about 1,000 pages

struct Datos
{
    QTemporaryDir dir;
    plat::Session session;

    Datos()
    {
        plat::Connection &db = session.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        plat::TableDef t;
        t.name = QStringLiteral("LISTADO");
        t.fields = {plat::fieldDef("Codigo", ftInteger, 0, true), plat::fieldDef("Grupo", ftString, 10),
                    plat::fieldDef("Nombre", ftString, 40), plat::fieldDef("Importe", ftFloat),
                    plat::fieldDef("Fecha", ftDateTime)};
        plat::IndexDef primaria;
        primaria.name = QStringLiteral("Clave1");
        primaria.fields = {QStringLiteral("Codigo")};
        primaria.primary = primaria.unique = true;
        t.indexes = {primaria};
        db.createTable(t);
        db.startTransaction();
        QSqlQuery q(QSqlDatabase::database(db.qtConnectionName()));
        q.prepare(QStringLiteral("INSERT INTO LISTADO (Codigo, Grupo, Nombre, Importe, Fecha) VALUES (?, ?, ?, ?, ?)"));
        for (int i = 1; i <= kFilas; ++i) {
            q.addBindValue(i);
            q.addBindValue(QStringLiteral("G%1").arg((i - 1) / 25, 5, 10, QChar(u'0')));
            q.addBindValue(QStringLiteral("Cliente número %1").arg(i));
            q.addBindValue(i % 1000 / 10.0);
            q.addBindValue(QStringLiteral("2024-03-01 08:30:00"));
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

// The listing: page header with the title, group band, five columns, group footer with the
// sum, summary, page footer with the page number and the print date.
struct Listado
{
    plat::TableDataSet tabla{QStringLiteral("LISTADO")};
    Informe informe;

    Listado()
    {
        tabla.setConnection(&datos().session.connection(QStringLiteral("Database")));
        tabla.setTableName(QStringLiteral("LISTADO"));
        tabla.open();
        informe.DataSet = &tabla;
        informe.ReportTitle = QStringLiteral("Listado de clientes");
        const int ancho = int(informe.page()->imprimible().width());

        auto *cabecera = new BandaInforme(&informe, TipoBanda::CabeceraPagina);
        cabecera->Height = 99;
        auto *titulo = new DatoSistemaInforme(cabecera);
        titulo->Data = qrsReportTitle;
        titulo->Top = 12;
        titulo->Width = ancho;
        titulo->Alignment = plat::taCenter;
        titulo->Font = QFont(QStringLiteral("Arial"), 12, QFont::Bold);

        auto *grupo = new GrupoInforme(&informe);
        grupo->Expression = QStringLiteral("Grupo");
        grupo->Height = 32;
        grupo->Color = plat::clSilver;
        auto *valorGrupo = new TextoDatoInforme(grupo);
        valorGrupo->DataSet = &tabla;
        valorGrupo->DataField = QStringLiteral("Grupo");
        valorGrupo->Top = 8;

        auto *detalle = new BandaInforme(&informe, TipoBanda::Detalle);
        detalle->Height = 15;
        detalle->Font = QFont(QStringLiteral("Arial"), 8);
        const char *campos[] = {"Codigo", "Grupo", "Nombre", "Importe", "Fecha"};
        const int izquierdas[] = {0, 80, 180, 450, 560};
        const int anchos[] = {70, 90, 260, 100, 150};
        for (int i = 0; i < 5; ++i) {
            auto *columna = new TextoDatoInforme(detalle);
            columna->DataSet = &tabla;
            columna->DataField = QString::fromLatin1(campos[i]);
            columna->Left = izquierdas[i];
            columna->Width = anchos[i];
            columna->Height = 15;
            if (i == 3) {
                columna->Mask = QStringLiteral("#,##0.00");
                columna->Alignment = plat::taRightJustify;
            }
        }
        auto *pieGrupo = new BandaInforme(&informe, TipoBanda::PieGrupo);
        pieGrupo->Height = 17;
        grupo->FooterBand = pieGrupo;
        auto *suma = new ExpresionInforme(pieGrupo);
        suma->Expression = QStringLiteral("Sum(Importe)");
        suma->Mask = QStringLiteral("#,##0.00");
        suma->ResetAfterPrint = true;
        suma->Left = 450;
        suma->Width = 100;
        suma->Alignment = plat::taRightJustify;

        auto *totales = new BandaInforme(&informe, TipoBanda::Resumen);
        totales->Height = 32;
        auto *total = new ExpresionInforme(totales);
        total->Expression = QStringLiteral("Sum(Importe)");
        total->Mask = QStringLiteral("#,##0.00");
        total->Left = 450;
        total->Width = 100;

        auto *pie = new BandaInforme(&informe, TipoBanda::PiePagina);
        pie->Height = 45;
        auto *numero = new DatoSistemaInforme(pie);
        numero->Text = QStringLiteral("Página  ");
        numero->Top = 8;
        numero->Width = ancho;
        numero->Alignment = plat::taCenter;
        auto *fecha = new DatoSistemaInforme(pie);
        fecha->Data = qrsDateTime;
        fecha->Text = QStringLiteral("Impreso el ");
        fecha->Top = 24;
        fecha->Left = ancho - 200;
        fecha->Width = 200;
        fecha->Alignment = plat::taRightJustify;
    }
};

QString ficheroPdf(const char *nombre)
{
    return datos().dir.filePath(QString::fromLatin1(nombre));
}

void PrepararInforme(benchmark::State &state)
{
    int paginas = 0;
    for (auto _ : state) {
        Listado listado;
        listado.informe.Prepare();
        paginas = listado.informe.pageCount();
    }
    state.counters["paginas/s"] = benchmark::Counter(double(paginas) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(PrepararInforme)->Unit(benchmark::kMillisecond)->Iterations(2);

// The report output's way: each page as a page file, stored, read back and drawn on the
// PDF page.
void InformeAPdfPorFicherosDePagina(benchmark::State &state)
{
    const bool enDisco = state.range(0) != 0;
    int paginas = 0;
    for (auto _ : state) {
        Listado listado;
        listado.informe.Prepare();
        paginas = listado.informe.pageCount();
        QPdfWriter pdf(ficheroPdf("ficheros.pdf"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&pdf);
        for (int n = 1; n <= paginas; ++n) {
            QByteArray pagina = listado.informe.pageFile(n);
            if (enDisco) {
                QFile fichero(datos().dir.filePath(QStringLiteral("TEMP_pagina_%1.pag").arg(n)));
                fichero.open(QIODevice::WriteOnly);
                fichero.write(pagina);
                fichero.close();
                fichero.open(QIODevice::ReadOnly);
                pagina = fichero.readAll();
            }
            if (n > 1)
                pdf.newPage();
            listado.informe.drawPageFile(pagina, painter);
        }
    }
    state.counters["paginas"] = paginas;
    state.counters["paginas/s"] = benchmark::Counter(double(paginas) * state.iterations(), benchmark::Counter::kIsRate);
}
// Argument 1: each page file goes through the disk, as the report output keeps them; 0: in memory.
BENCHMARK(InformeAPdfPorFicherosDePagina)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(2);

void InformeAPdfDirecto(benchmark::State &state)
{
    int paginas = 0;
    for (auto _ : state) {
        Listado listado;
        listado.informe.Prepare();
        paginas = listado.informe.pageCount();
        escribirPdf(listado.informe.impresora()->paginas(), ficheroPdf("directo.pdf"), plat::ReportPaper::A4,
                    QPageLayout::Portrait);
    }
    state.counters["paginas"] = paginas;
    state.counters["paginas/s"] = benchmark::Counter(double(paginas) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(InformeAPdfDirecto)->Unit(benchmark::kMillisecond)->Iterations(2);

// The anchor: the same listing read and laid out raw, in the report's page fonts (10 points:
// 13 page pixels; 8 points: 11; the 12-point title: 16), every text in its control's place:
// the centred title, the group's value on its silver band, five texts a row (the amount
// through its mask and right-aligned, the date formatted), the group's sum right-aligned, the
// total, the centred page number and the print date on the right.
void AnclaQPainterEnQPdfWriter(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(datos().dir.filePath(QStringLiteral("datos.sqlite")).toUtf8().constData(), &db,
                    SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *filas = nullptr;
    sqlite3_prepare_v2(db, "SELECT Codigo, Grupo, Nombre, Importe, Fecha FROM LISTADO ORDER BY Codigo", -1, &filas,
                       nullptr);
    int paginas = 0;
    for (auto _ : state) {
        QPdfWriter pdf(ficheroPdf("ancla.pdf"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter p(&pdf);
        p.scale(pdf.logicalDpiX() / 96.0, pdf.logicalDpiY() / 96.0);
        const QFont titulo = fuentePixeles(16, true), texto = fuentePixeles(11, false), normal = fuentePixeles(13, false);
        const QFontMetricsF medidas(texto), medidasNormal(normal), medidasTitulo(titulo);
        const double margen = 10 * 96 / 25.4, alto = 297 * 96 / 25.4, banda = 210 * 96 / 25.4 - 2 * margen;
        const double ancho = 718, abajo = alto - margen - 45;
        const auto importe = [](double valor) { return cifraConMascara(valor, 1, 2, 2); };
        const QString impreso = QStringLiteral("Impreso el ") + QDateTime::currentDateTime().toString("dd/MM/yyyy hh:mm:ss");
        const auto derecha = [&](const QFontMetricsF &m, double izquierda, double anchura, double y, const QString &t) {
            p.drawText(QPointF(margen + izquierda + anchura - m.horizontalAdvance(t), y + m.ascent()), t);
        };
        double y = alto, sumaGrupo = 0, total = 0;
        QByteArray grupo;
        paginas = 0;
        const auto pie = [&] {
            p.setFont(normal);
            const QString numero = QStringLiteral("Página  %1").arg(paginas);
            p.drawText(QPointF(margen + (ancho - medidasNormal.horizontalAdvance(numero)) / 2,
                               abajo + 8 + medidasNormal.ascent()), numero);
            derecha(medidasNormal, ancho - 200, 200, abajo + 24, impreso);
        };
        const auto sitio = [&](double alturaBanda) {
            if (y + alturaBanda <= abajo + 0.01)
                return;
            if (paginas > 0) {
                pie();
                pdf.newPage();
            }
            ++paginas;
            p.setFont(titulo);
            const QString t = QStringLiteral("Listado de clientes");
            p.drawText(QPointF(margen + (ancho - medidasTitulo.horizontalAdvance(t)) / 2,
                               margen + 12 + medidasTitulo.ascent()), t);
            y = margen + 99;
        };
        const auto cerrarGrupo = [&] {
            sitio(17);
            p.setFont(normal);
            derecha(medidasNormal, 450, 100, y, importe(sumaGrupo));
            y += 17;
            sumaGrupo = 0;
        };
        while (sqlite3_step(filas) == SQLITE_ROW) {
            const QByteArray esteGrupo(reinterpret_cast<const char *>(sqlite3_column_text(filas, 1)));
            if (esteGrupo != grupo) {
                if (!grupo.isEmpty())
                    cerrarGrupo();
                sitio(32);
                p.fillRect(QRectF(margen, y, banda, 32), QColor(192, 192, 192));
                p.setFont(normal);
                p.drawText(QPointF(margen, y + 8 + medidasNormal.ascent()), QString::fromUtf8(esteGrupo));
                y += 32;
                grupo = esteGrupo;
            }
            sitio(15);
            p.setFont(texto);
            const double linea = y + medidas.ascent();
            const double cantidad = sqlite3_column_double(filas, 3);
            const QDateTime fecha = QDateTime::fromString(
                QString::fromLatin1(reinterpret_cast<const char *>(sqlite3_column_text(filas, 4))),
                QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            p.drawText(QPointF(margen, linea), QString::number(sqlite3_column_int(filas, 0)));
            p.drawText(QPointF(margen + 80, linea), QString::fromUtf8(esteGrupo));
            p.drawText(QPointF(margen + 180, linea),
                       QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(filas, 2))));
            derecha(medidas, 450, 100, y, importe(cantidad));
            p.drawText(QPointF(margen + 560, linea), fecha.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")));
            sumaGrupo += cantidad;
            total += cantidad;
            y += 15;
        }
        sqlite3_reset(filas);
        cerrarGrupo();
        sitio(32);
        p.setFont(normal);
        p.drawText(QPointF(margen + 450, y + medidasNormal.ascent()), importe(total));
        pie();
    }
    sqlite3_finalize(filas);
    sqlite3_close(db);
    state.counters["paginas"] = paginas;
    state.counters["paginas/s"] = benchmark::Counter(double(paginas) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(AnclaQPainterEnQPdfWriter)->Unit(benchmark::kMillisecond)->Iterations(2);

// From the preview call to the first page painted in the preview control.
void PrimeraPaginaEnVistaPrevia(benchmark::State &state)
{
    for (auto _ : state) {
        Listado listado;
        state.SetIterationTime(segundosHastaPrimeraPagina(listado.informe));
    }
}
BENCHMARK(PrimeraPaginaEnVistaPrevia)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    ArranqueBenchmarks arranque(argc, argv);
    datos();   // made before any timing
    return arranque.ejecutar();
}
