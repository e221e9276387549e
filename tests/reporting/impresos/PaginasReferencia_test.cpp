#include "tests/reporting/impresos/MotorPrueba.h"

#include "GENEW/reporting/impresos/OrdenesCampo.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

namespace {

using gptest::MotorPrueba;

// A word of a PDF with its page and box (points), as pdftotext places it; a file of words
// that pdftotext wrote before is read as it is.
struct PalabraPDF
{
    int pagina = 0;
    QRectF caja;
    QString texto;
};

QList<PalabraPDF> PalabrasPDF(const QString &fichero)
{
    QString html;
    if (fichero.endsWith(QLatin1String(".html"))) {
        QFile f(fichero);
        if (f.open(QIODevice::ReadOnly))
            html = QString::fromUtf8(f.readAll());
    } else {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), fichero, QStringLiteral("-")});
        p.waitForFinished(30000);
        html = QString::fromUtf8(p.readAllStandardOutput());
    }
    static const QRegularExpression marca(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<PalabraPDF> palabras;
    int pagina = 0;
    for (auto it = marca.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == QLatin1String("<page ")) {
            ++pagina;
            continue;
        }
        palabras.append({pagina, QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                        QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())),
                         m.captured(5)});
    }
    return palabras;
}

// The pages of a layout that uses every drawing command (fills, rounded corners, fonts and
// styles, aligned and clipped texts, page variables, fields and sums, a picture, a turned
// barcode, dotted and wide lines, a running total at the page break), against what the
// engine drew for the same run when its pages were recorded pictures: the files in
// "referencia-paginas". GP_GUARDAR_PAGINAS names a folder to write the run's own pages to.
class PaginasReferencia : public MotorPrueba
{
protected:
    static QString referencia(const QString &nombre)
    {
        return QStringLiteral(GP_IMPRESOS_DIR "/referencia-paginas/") + nombre;
    }

    void preparar()
    {
        QFile f(QStringLiteral(GP_IMPRESOS_DIR "/referencia-paginas.imp"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QString impreso = QString::fromUtf8(f.readAll());
        impreso.replace(QStringLiteral("sello.png"), dir.file(QStringLiteral("sello.png")));
        QStringList lineas = impreso.split(QStringLiteral("\r\n"));
        lineas.removeLast();
        anadirImpreso(QStringLiteral("REFERENCIA"), lineas);

        QImage sello(60, 24, QImage::Format_RGB32);
        sello.fill(QColor(200, 30, 30));
        for (int x = 0; x < sello.width(); x += 6)
            for (int y = 0; y < sello.height(); ++y)
                sello.setPixel(x, y, qRgb(255, 255, 255));
        ASSERT_TRUE(sello.save(dir.file(QStringLiteral("sello.png"))));

        crearMotor(QStringLiteral("REFERENCIA"),
                   {plat::fieldDef("Cliente", ftString, 40), plat::fieldDef("Fecha", ftDateTime)},
                   {plat::fieldDef("Concepto", ftMemo), plat::fieldDef("Cantidad", ftFloat),
                    plat::fieldDef("Precio", ftFloat), plat::fieldDef("Importe", ftFloat)});
        motor->InstalarOrdenesCampo(&motor->ordenesCampoPropias());
        const QStringList clientes = {QStringLiteral("Construcciones Ribera"), QStringLiteral("Ñúñez e Hijos"),
                                      QStringLiteral("Obras del Norte")};
        const int lineasDocumento[] = {30, 3, 2};
        for (int d = 1; d <= 3; ++d) {
            documento(d, {{"Cliente", clientes.at(d - 1)}, {"Fecha", QDateTime(QDate(2026, 12, d), QTime(0, 0))}});
            for (int l = 1; l <= lineasDocumento[d - 1]; ++l) {
                const QString concepto =
                    d == 3 && l == 1 ? QStringLiteral("Excavación de zanjas para la cimentación del bloque norte")
                                     : QStringLiteral("Partida %1.%2").arg(d).arg(l);
                const double cantidad = l * 1.5;
                const double precio = 100.0 + 7.25 * l;
                linea(d, l, {{"Concepto", concepto}, {"Cantidad", cantidad}, {"Precio", precio},
                             {"Importe", cantidad * precio}});
            }
        }
    }

    static void guardar(const QString &nombre, const std::function<void(const QString &)> &escribir)
    {
        if (qEnvironmentVariableIsSet("GP_GUARDAR_PAGINAS"))
            escribir(QDir(qEnvironmentVariable("GP_GUARDAR_PAGINAS")).filePath(nombre));
    }
};

TEST_F(PaginasReferencia, ScreenPagesArePixelForPixelThoseOfTheReference)
{
    preparar();
    QList<QImage> paginas;
    ServiciosImpresion conVista;
    conVista.vistaPrevia = [&](TfGENELIMP &m) {
        for (int n = 1; n <= m.paginas().cuenta(); ++n) {
            QImage pagina(m.paginas().tamano(n), QImage::Format_RGB32);
            pagina.fill(Qt::white);
            QPainter p(&pagina);
            DibujarPagina(p, m.paginas().pagina(n));
            p.end();
            paginas << pagina;
        }
    };
    const ServiciosImpresionInstalados vistaInstalada(conVista);
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    ASSERT_EQ(paginas.size(), 4);
    for (int n = 1; n <= paginas.size(); ++n) {
        SCOPED_TRACE(n);
        const QString nombre = QStringLiteral("pagina-%1.png").arg(n);
        guardar(nombre, [&](const QString &fichero) { paginas.at(n - 1).save(fichero); });
        const QImage esperada = QImage(referencia(nombre)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(paginas.at(n - 1).size(), esperada.size());
        int distintos = 0;
        for (int y = 0; y < esperada.height(); ++y)
            for (int x = 0; x < esperada.width(); ++x)
                distintos += paginas.at(n - 1).pixel(x, y) != esperada.pixel(x, y);
        EXPECT_EQ(distintos, 0);
    }
}

// The texts, page by page in reading order, are those of the reference; each word stands where
// it stood to a fifth of a point. (A recorded page placed each text again from its font's
// rounded ascent when it was played into the writer: the same texts stood up to 0.14 pt
// higher or lower than the engine put them, which moved no word from its line.)
TEST_F(PaginasReferencia, PdfTextsAndWordsAreThoseOfTheReference)
{
    preparar();
    VistaPreviaImpreso = false;
    const QString salida = dir.file(QStringLiteral("referencia.pdf"));
    motor->SalidaImpresion = QStringLiteral("PDF:") + salida;
    motor->Imprimir();
    EXPECT_TRUE(mensajes.textos().isEmpty()) << mensajes.textos().join('\n').toStdString();
    guardar(QStringLiteral("referencia.pdf"), [&](const QString &fichero) { QFile::copy(salida, fichero); });
    ASSERT_EQ(gptest::PaginasPDF(salida), 4);

    QFile texto(referencia(QStringLiteral("texto.txt")));
    ASSERT_TRUE(texto.open(QIODevice::ReadOnly));
    EXPECT_EQ(gptest::TextoPDF(salida, false).toStdString(), texto.readAll().toStdString());

    const QList<PalabraPDF> palabras = PalabrasPDF(salida);
    const QList<PalabraPDF> esperadas = PalabrasPDF(referencia(QStringLiteral("palabras.html")));
    ASSERT_EQ(palabras.size(), esperadas.size());
    ASSERT_GT(palabras.size(), 250);
    for (qsizetype i = 0; i < palabras.size(); ++i) {
        SCOPED_TRACE(esperadas.at(i).texto.toStdString());
        EXPECT_EQ(palabras.at(i).texto, esperadas.at(i).texto);
        EXPECT_EQ(palabras.at(i).pagina, esperadas.at(i).pagina);
        EXPECT_LE((palabras.at(i).caja.topLeft() - esperadas.at(i).caja.topLeft()).manhattanLength(), 0.2);
        EXPECT_LE((palabras.at(i).caja.bottomRight() - esperadas.at(i).caja.bottomRight()).manhattanLength(), 0.2);
    }
}

} // namespace
