#include "tests/reporting/informes/InformePrueba.h"

#include "GENEW/data/modulo/SalidaInforme.h"
#include "tests/reporting/informes/ImpresoraGrabadora.h"
#include "tests/support/LimiteArchivos.h"
#include "tests/support/TempDir.h"

#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace gptest;

namespace {

// The first page's size in points, rounded.
QSize tamanioPdf(const QString &fichero)
{
    const auto m = QRegularExpression("Page size:\\s+([\\d.]+) x ([\\d.]+) pts").match(ejecutar("pdfinfo", {fichero}));
    return QSize(qRound(m.captured(1).toDouble()), qRound(m.captured(2).toDouble()));
}

struct Palabra
{
    QString texto;
    double x1, y1, x2, y2;
};

QVector<Palabra> palabras(const QString &fichero)
{
    const QString html = ejecutar("pdftotext", {"-bbox", fichero, "-"});
    QVector<Palabra> lista;
    static const QRegularExpression re(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>");
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        lista << Palabra{m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).toDouble()};
    }
    return lista;
}

// Writes a PDF as the report output does through page files: each page stored in a file,
// read back and drawn on the PDF page.
void pdfDesdeFicherosDePagina(Informe &informe, const QString &carpeta, const QString &pdf)
{
    QStringList ficheros;
    for (int n = 1; n <= informe.pageCount(); ++n) {
        ficheros << QString("%1/TEMP_prueba_%2.pag").arg(carpeta).arg(n);
        QFile f(ficheros.last());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(informe.pageFile(n));
    }
    QPdfWriter escritor(pdf);
    escritor.setPageLayout(QPageLayout(QPageSize(plat::pageSizeId(informe.paper())), informe.orientation(), QMarginsF(0, 0, 0, 0)));
    QPainter painter(&escritor);
    for (int n = 0; n < ficheros.size(); ++n) {
        if (n > 0)
            escritor.newPage();
        QFile f(ficheros[n]);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        ASSERT_TRUE(informe.drawPageFile(f.readAll(), painter));
    }
}

class Renderizadores : public ::testing::Test
{
protected:
    void SetUp() override
    {
        datos = datosPrueba(130);
        ventana.ponerDatos(datos.get());
        ventana.activarGrupo();
        ventana.informe->ReportTitle = QStringLiteral("Listado de prueba");
        ventana.informe->Prepare();
        ASSERT_EQ(ventana.informe->pageCount(), 3);
    }
    TempDir carpeta;
    VentanaInforme ventana;
    std::unique_ptr<plat::ClientDataSet> datos;
};

} // namespace

TEST_F(Renderizadores, PaginaEnImagenFueraDePantalla)
{
    QImage imagen(ventana.informe->pageSize().toSize(), QImage::Format_RGB32);
    imagen.setDotsPerMeterX(3780);   // 96 dpi
    imagen.setDotsPerMeterY(3780);
    imagen.fill(Qt::white);
    {
        QPainter painter(&imagen);
        ventana.informe->drawPage(1, painter);
    }
    if (qEnvironmentVariableIsSet("GP_GUARDAR_IMAGENES"))
        imagen.save(qEnvironmentVariable("GP_GUARDAR_IMAGENES") + "/informe_pagina1.png");
    // The title in teal near the top, the silver group band, black detail text.
    const QRectF imprimible = ventana.informe->page()->imprimible();
    int teal = 0, plata = 0, negro = 0;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x) {
            const QColor c = imagen.pixelColor(x, y);
            if (c.red() < 60 && c.green() > 90 && c.blue() > 90 && c.green() < 160 && y < imprimible.top() + 40)
                ++teal;
            plata += c == QColor(192, 192, 192);
            negro += c.red() < 80 && c.green() < 80 && c.blue() < 80;
        }
    EXPECT_GT(teal, 20);
    EXPECT_GT(plata, 10000);
    EXPECT_GT(negro, 500);
}

TEST_F(Renderizadores, PdfConSusTextosYSuTamanio)
{
    const QString pdf = carpeta.file("informe.pdf");
    ASSERT_TRUE(escribirPdf(ventana.informe->impresora()->paginas(), pdf, plat::ReportPaper::A4, QPageLayout::Portrait));
    if (qEnvironmentVariableIsSet("GP_GUARDAR_IMAGENES"))
        QFile::copy(pdf, qEnvironmentVariable("GP_GUARDAR_IMAGENES") + "/informe.pdf");
    EXPECT_EQ(paginasPdf(pdf), 3);
    EXPECT_EQ(tamanioPdf(pdf), QSize(595, 842));
    const QString texto = textoPdf(pdf);
    for (const char *esperado : {"Listado de prueba", "Registro 1 ", "Registro 130", "Página 3", "Impreso el ", "Grupo: G01",
                                 "8.515,00"})
        EXPECT_TRUE(texto.contains(esperado)) << esperado;
}

TEST_F(Renderizadores, UnPdfQueNoCabeEnElDiscoDejaEnteroElAnterior)
{
    const QString pdf = carpeta.file("informe.pdf");
    {
        QFile anterior(pdf);
        ASSERT_TRUE(anterior.open(QIODevice::WriteOnly));
        anterior.write("%PDF del listado de ayer");
    }
    const QStringList antes = QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden);
    {
        LimiteArchivos discoLleno(4096);
        EXPECT_FALSE(escribirPdf(ventana.informe->impresora()->paginas(), pdf, plat::ReportPaper::A4,
                                 QPageLayout::Portrait));
    }
    QFile anterior(pdf);
    ASSERT_TRUE(anterior.open(QIODevice::ReadOnly));
    EXPECT_EQ(anterior.readAll(), "%PDF del listado de ayer");
    EXPECT_EQ(QDir(carpeta.path()).entryList(QDir::Files | QDir::Hidden), antes);
}

TEST_F(Renderizadores, ImpresoraGrabadoraSoloPaginasDosATres)
{
    ImpresoraGrabadora grabadora(carpeta.file("impresora.pdf"));
    plat::ScopedPrinterProvider instalada(grabadora);
    ventana.informe->PrinterSettings.firstPage = 2;
    ventana.informe->PrinterSettings.lastPage = 3;
    ventana.informe->PrinterSettings.copies = 2;
    ventana.informe->Print();
    ASSERT_EQ(grabadora.pedidos.size(), 1);
    EXPECT_EQ(grabadora.pedidos[0].copies, 2);
    EXPECT_EQ(paginasPdf(carpeta.file("impresora.pdf")), 2);
    const QString texto = textoPdf(carpeta.file("impresora.pdf"));
    EXPECT_TRUE(texto.contains("Página 2"));
    EXPECT_TRUE(texto.contains("Página 3"));
    EXPECT_FALSE(texto.contains("Página 1"));
    EXPECT_EQ(tamanioPdf(carpeta.file("impresora.pdf")), QSize(595, 842));

    // An orientation chosen for printing lays the report out again on it.
    ventana.informe->PrinterSettings.orientation = QPageLayout::Landscape;
    ventana.informe->PrinterSettings.lastPage = 0;
    ventana.informe->Print();
    EXPECT_EQ(tamanioPdf(carpeta.file("impresora.pdf")), QSize(842, 595));
    EXPECT_EQ(paginasPdf(carpeta.file("impresora.pdf")), ventana.informe->pageCount() - 1);
    EXPECT_GT(ventana.informe->pageCount(), 3);
}

TEST_F(Renderizadores, FicherosDePaginaDanLasMismasPalabrasQueElPdfDirecto)
{
    const QString directo = carpeta.file("directo.pdf"), porFicheros = carpeta.file("ficheros.pdf");
    ASSERT_TRUE(escribirPdf(ventana.informe->impresora()->paginas(), directo, plat::ReportPaper::A4, QPageLayout::Portrait));
    pdfDesdeFicherosDePagina(*ventana.informe, carpeta.path(), porFicheros);
    const QVector<Palabra> a = palabras(directo), b = palabras(porFicheros);
    ASSERT_GT(a.size(), 300);
    ASSERT_EQ(a.size(), b.size());
    for (int i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].texto, b[i].texto);
        EXPECT_NEAR(a[i].x1, b[i].x1, 0.5) << a[i].texto.toStdString();
        EXPECT_NEAR(a[i].y1, b[i].y1, 0.5) << a[i].texto.toStdString();
        EXPECT_NEAR(a[i].x2, b[i].x2, 0.5) << a[i].texto.toStdString();
        EXPECT_NEAR(a[i].y2, b[i].y2, 0.5) << a[i].texto.toStdString();
    }
}

TEST_F(Renderizadores, TresPaginasApaisadasPorFicherosDePagina)
{
    ventana.informe->page()->Orientation = QPageLayout::Landscape;
    ventana.informe->Prepare();
    datos = datosPrueba(70);
    ventana.ponerDatos(datos.get());
    ventana.informe->Prepare();
    ASSERT_EQ(ventana.informe->pageCount(), 3);
    const QString pdf = carpeta.file("apaisado.pdf");
    pdfDesdeFicherosDePagina(*ventana.informe, carpeta.path(), pdf);
    EXPECT_EQ(paginasPdf(pdf), 3);
    EXPECT_EQ(tamanioPdf(pdf), QSize(842, 595));
    EXPECT_TRUE(textoPdf(pdf).contains("Registro 70"));
}


TEST_F(Renderizadores, FicheroDePaginaDaniadoNoDibujaNada)
{
    const QByteArray bueno = ventana.informe->pageFile(1);
    ASSERT_FALSE(bueno.isEmpty());
    QImage imagen(100, 100, QImage::Format_RGB32);
    QPainter painter(&imagen);
    EXPECT_TRUE(ventana.informe->drawPageFile(bueno, painter));
    for (const QByteArray &malo : {QByteArray(), QByteArray("texto cualquiera"), bueno.left(bueno.size() / 2),
                                   bueno + QByteArray("x")})
        EXPECT_FALSE(ventana.informe->drawPageFile(malo, painter));
    EXPECT_TRUE(ventana.informe->pageFile(99).isEmpty());
}

// The data module's PDF output on a real listing: the pages as vector page files, then the
// PDF server over them.
TEST_F(Renderizadores, ElModuloDeDatosEscribeElListadoEnPDFPorSusPaginas)
{
    ventana.informe->page()->Orientation = QPageLayout::Landscape;
    datos = datosPrueba(70);
    ventana.ponerDatos(datos.get());
    ventana.informe->Prepare();
    ASSERT_EQ(ventana.informe->pageCount(), 3);
    const QByteArray tmpAnterior = qgetenv("TMPDIR");
    TempDir temporal;
    qputenv("TMPDIR", temporal.path().toUtf8());
    const QString pdf = carpeta.file("modulo.pdf");
    EscribirInformePDF(*ventana.informe, pdf);
    qputenv("TMPDIR", tmpAnterior);
    EXPECT_EQ(paginasPdf(pdf), 3);
    EXPECT_EQ(tamanioPdf(pdf), QSize(842, 595));
    const QStringList paginas = textoPdf(pdf).split(u'\f');
    ASSERT_GE(paginas.size(), 3);
    EXPECT_TRUE(paginas[0].contains("Registro 1 ")) << paginas[0].toStdString();
    EXPECT_TRUE(paginas[2].contains("Registro 70")) << paginas[2].toStdString();
    EXPECT_TRUE(QDir(temporal.path()).entryList(QDir::Files).isEmpty());
}
