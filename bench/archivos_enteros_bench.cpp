// The exports written whole or not at all (a temporary file in the destination's folder, every
// write checked, synced to disk, renamed at the end; the workbook read back before it takes the
// name), each at 1, 10 and 100 times its data, against the plain tools doing the same writing
// straight into the file:
// - Excel: a plain libxlsxwriter loop writing the same cells in constant memory;
// - PDF: QPainter on a QPdfWriter over a QFile drawing the same pages.
// Run with --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true.
#include "ArranqueBenchmarks.h"
#include "GENEW/data/ExportacionExcel.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/ClientDataSet.h"
#include "platform/office/ServidorPDF.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <array>
#include <map>
#include <memory>
#include <xlsxwriter.h>

namespace {

QTemporaryDir &carpeta()
{
    static QTemporaryDir dir;
    return dir;
}

// Rows of ten columns (texts, integers, floats, a date, an hour, a two-line memo), as a data
// set for the export and as ready texts and numbers for the anchor.
struct Filas
{
    plat::ClientDataSet dataSet{QStringLiteral("Filas")};
    std::vector<std::array<QByteArray, 10>> textos;
    std::vector<std::array<double, 2>> numeros;

    explicit Filas(int n)
    {
        dataSet.setFieldDefs({plat::fieldDef("Codigo", ftString, 12, true), plat::fieldDef("Nombre", ftString, 40),
                              plat::fieldDef("Ciudad", ftString, 30), plat::fieldDef("Numero", ftInteger),
                              plat::fieldDef("Cantidad", ftInteger), plat::fieldDef("Importe", ftFloat),
                              plat::fieldDef("Precio", ftFloat), plat::fieldDef("Fecha", ftDateTime),
                              plat::fieldDef("HoraInicio", ftDateTime), plat::fieldDef("Notas", ftMemo)});
        dataSet.createDataSet();
        for (int i = 0; i < n; ++i) {
            const QVariantList v = {QStringLiteral("C%1").arg(i, 8, 10, QLatin1Char('0')),
                                    QStringLiteral("Cliente número %1").arg(i),
                                    QStringLiteral("Ciudad %1").arg(i % 50),
                                    i,
                                    i % 1000,
                                    i * 1.25,
                                    (i % 997) * 0.5,
                                    FechaHora(QDate(2024, 1, 1).addDays(i % 300)),
                                    FechaHora(FechaCero().date(), QTime(i % 24, i % 60)),
                                    QStringLiteral("Primera línea %1\r\nsegunda línea").arg(i)};
            dataSet.append();
            std::array<QByteArray, 10> t;
            for (int c = 0; c < 10; ++c) {
                dataSet.field(c).setValue(v.at(c));
                t[c] = v.at(c).toString().toUtf8();
            }
            dataSet.post();
            textos.push_back(t);
            numeros.push_back({v.at(5).toDouble(), v.at(6).toDouble()});
        }
    }
};

Filas &filas(int n)
{
    static std::map<int, std::unique_ptr<Filas>> hechas;
    auto &f = hechas[n];
    if (!f)
        f = std::make_unique<Filas>(n);
    return *f;
}

void ExcelEntero(benchmark::State &estado)
{
    Filas &f = filas(int(estado.range(0)));
    const QString libro = carpeta().filePath(QStringLiteral("libro.xlsx"));
    for (auto _ : estado) {
        QString error;
        if (!exportacionExcel::Exportar(libro, f.dataSet, nullptr, {}, error))
            estado.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(ExcelEntero)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Anchor: the same cells with their column formats, in constant memory, from ready texts.
void AnclaExcelLibxlsxwriter(benchmark::State &estado)
{
    Filas &f = filas(int(estado.range(0)));
    const QByteArray nombre = QFile::encodeName(carpeta().filePath(QStringLiteral("ancla.xlsx")));
    for (auto _ : estado) {
        lxw_workbook_options o{};
        o.constant_memory = LXW_TRUE;
        lxw_workbook *libro = workbook_new_opt(nombre.constData(), &o);
        lxw_worksheet *hoja = workbook_add_worksheet(libro, nullptr);
        lxw_format *texto = workbook_add_format(libro);
        format_set_num_format(texto, "@");
        lxw_format *numero = workbook_add_format(libro);
        format_set_align(numero, LXW_ALIGN_RIGHT);
        for (lxw_col_t c = 0; c < 10; ++c)
            worksheet_set_column(hoja, c, c, 12, (c == 5 || c == 6) ? numero : texto);
        for (size_t i = 0; i < f.textos.size(); ++i)
            for (lxw_col_t c = 0; c < 10; ++c) {
                if (c == 5 || c == 6)
                    worksheet_write_number(hoja, lxw_row_t(i + 2), c, f.numeros[i][c - 5], numero);
                else
                    worksheet_write_string(hoja, lxw_row_t(i + 2), c, f.textos[i][c].constData(), texto);
            }
        workbook_close(libro);
    }
}
BENCHMARK(AnclaExcelLibxlsxwriter)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();

void dibujarPagina(int n, QPainter &pintor)
{
    pintor.drawRect(QRectF(20, 20, 500, 700));
    pintor.drawText(QPointF(60, 100), QStringLiteral("Página %1 del listado de proyectos").arg(n));
}

void PdfEntero(benchmark::State &estado)
{
    const int paginas = int(estado.range(0));
    const QString pdf = carpeta().filePath(QStringLiteral("listado.pdf"));
    for (auto _ : estado) {
        QString error;
        if (!CrearPDF(pdf, QStringLiteral("A4"), paginas, dibujarPagina, error))
            estado.SkipWithError(qPrintable(error));
    }
}
BENCHMARK(PdfEntero)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// Anchor: the same pages drawn by a QPainter on a QPdfWriter over the file itself.
void AnclaPdfQPainter(benchmark::State &estado)
{
    const int paginas = int(estado.range(0));
    for (auto _ : estado) {
        QFile fichero(carpeta().filePath(QStringLiteral("ancla.pdf")));
        fichero.open(QIODevice::WriteOnly);
        QPdfWriter escritor(&fichero);
        escritor.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter pintor(&escritor);
        for (int n = 1; n <= paginas; ++n) {
            if (n > 1)
                escritor.newPage();
            pintor.save();
            dibujarPagina(n, pintor);
            pintor.restore();
        }
        pintor.end();
    }
}
BENCHMARK(AnclaPdfQPainter)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

GP_BENCHMARK_MAIN(Ventanas)
