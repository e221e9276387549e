// The exports written whole or not at all (a temporary file in the destination's folder, every
// write checked, synced to disk, renamed at the end; the workbook read back before it takes the
// name), each at 1, 10 and 100 times its data, against the plain tools doing the same writing
// straight into the file:
// - Excel: a plain libxlsxwriter loop writing the same cells in constant memory;
// - PDF: QPainter on a QPdfWriter over a QFile drawing the same pages.
// Run with --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true.
#include "ArranqueBenchmarks.h"
#include "FilasExportacion.h"
#include "GENEW/data/servicios/ExportacionExcel.h"
#include "platform/data/ClientDataSet.h"
#include "platform/office/ServidorPDF.h"

#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <map>
#include <memory>

namespace {

QTemporaryDir &carpeta()
{
    static QTemporaryDir dir;
    return dir;
}

// The rows as a data set for the export and as ready cells for the anchor.
struct Filas
{
    plat::ClientDataSet dataSet{QStringLiteral("Filas")};
    CeldasPlanas celdas;

    explicit Filas(int n) : celdas(n)
    {
        dataSet.setFieldDefs(columnasExportacion());
        dataSet.createDataSet();
        for (int i = 0; i < n; ++i) {
            const QVariantList v = filaExportacion(i);
            dataSet.append();
            for (int c = 0; c < v.size(); ++c)
                dataSet.field(c).setValue(v.at(c));
            dataSet.post();
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
    for (auto _ : estado)
        escribirLibroPlano(nombre, f.celdas);
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
