// The banded report over a SQLite table of five columns with a group band, 1,000 A4 pages:
// prepared and written to PDF the way the report output does it (page files replayed on a
// PDF writer) and directly, against the anchor: the same texts drawn at the same places
// with QPainter on QPdfWriter. Also the time from the preview call to the first page shown.
#include "ArranqueBenchmarks.h"
#include "bench/PrimeraPagina.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

#include <QFile>
#include <QPdfWriter>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

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

// The anchor: the report's texts, taken once, drawn with QPainter on QPdfWriter.
void AnclaQPainterEnQPdfWriter(benchmark::State &state)
{
    struct Texto { QString texto; QFont fuente; QPointF origen; };
    QVector<QVector<Texto>> paginas;
    {
        Listado listado;
        listado.informe.Prepare();
        for (const PaginaCompartida &pagina : listado.informe.impresora()->paginas()) {
            QVector<Texto> textos;
            for (const BandaImpresa &banda : pagina->bandas)
                for (const Primitiva &p : banda.primitivas)
                    if (const auto *t = std::get_if<TextoPagina>(&p))
                        textos << Texto{t->texto, t->fuente, t->origen};
            paginas << textos;
        }
    }
    for (auto _ : state) {
        QPdfWriter pdf(ficheroPdf("ancla.pdf"));
        pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&pdf);
        painter.scale(pdf.logicalDpiX() / 96.0, pdf.logicalDpiY() / 96.0);
        for (int n = 0; n < paginas.size(); ++n) {
            if (n > 0)
                pdf.newPage();
            for (const Texto &t : paginas[n]) {
                painter.setFont(t.fuente);
                painter.drawText(t.origen, t.texto);
            }
        }
    }
    state.counters["paginas"] = paginas.size();
    state.counters["paginas/s"] = benchmark::Counter(double(paginas.size()) * state.iterations(), benchmark::Counter::kIsRate);
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
