// Symbols drawn at 300 dpi must read back through a real scanner decoder (zbar); the ones
// zbar does not know are measured on the picture against their published patterns.
#include "tests/reporting/graficos/ImagenBarras.h"
#include "tests/support/TempDir.h"

#include <QPdfWriter>
#include <QProcess>
#include <gtest/gtest.h>

using namespace imagenbarras;

namespace {

struct Lectura
{
    TBarCodeType tipo;
    const char *texto;
    const char *leido;
    QSize tamano = QSize(300, 60);
    QStringList opciones = {};
};

class LecturaEscaner : public ::testing::TestWithParam<Lectura>
{
protected:
    void SetUp() override
    {
        if (!hayZbar())
            GTEST_SKIP() << "zbarimg is not installed (tools/packages.txt lists zbar-tools)";
    }
    gptest::TempDir dir_;
};

TEST_P(LecturaEscaner, ElEscanerLeeElSimboloDibujado)
{
    const Lectura &l = GetParam();
    TPrintBarcode c;
    preparar(c, l.tipo, QString::fromLatin1(l.texto), l.tamano);
    const QString fichero = dir_.file(QStringLiteral("simbolo.png"));
    ASSERT_TRUE(dibujar(c, 300).save(fichero));
    EXPECT_EQ(leerConZbar(fichero, l.opciones).toStdString(), l.leido);
}

const QStringList kI25Corto{QStringLiteral("-Si25.min-length=4")};

INSTANTIATE_TEST_SUITE_P(
    Simbologias, LecturaEscaner,
    ::testing::Values(
        Lectura{TBarCodeType::EAN13, "590123412345", "EAN-13:5901234123457"},
        Lectura{TBarCodeType::EAN13, "003600029145", "EAN-13:0036000291452"},
        Lectura{TBarCodeType::EAN, "5901234123457", "EAN-13:5901234123457"},
        Lectura{TBarCodeType::EAN8, "1234567", "EAN-8:12345670"},
        Lectura{TBarCodeType::Code39, "ABC", "CODE-39:ABC"},
        Lectura{TBarCodeType::Code39, "0123456789-. $/+%", "CODE-39:0123456789-. $/+%", QSize(700, 60)},
        Lectura{TBarCodeType::Code39, "DEFGHIJKLMNOPQRSTUVWXYZ", "CODE-39:DEFGHIJKLMNOPQRSTUVWXYZ", QSize(760, 60)},
        Lectura{TBarCodeType::Code128, "Hello123456", "CODE-128:Hello123456"},
        Lectura{TBarCodeType::Code128, "12345678", "CODE-128:12345678"},
        Lectura{TBarCodeType::Code128, "ab\tCD", "CODE-128:ab\tCD"},
        Lectura{TBarCodeType::EAN128, "0112345678901231", "CODE-128:0112345678901231"},
        Lectura{TBarCodeType::Interleaved2Of5, "1234567", "I2/5:01234567", QSize(300, 60), kI25Corto},
        Lectura{TBarCodeType::Interleaved2Of5, "123", "I2/5:0123", QSize(300, 60), kI25Corto},
        Lectura{TBarCodeType::ITF14, "123456789012", "I2/5:01234567890128", QSize(500, 60)}));

TEST(LecturaEscanerPDF, UnEAN13DibujadoEnUnaPaginaPDFSeLeeIgual)
{
    if (!hayZbar() || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "zbarimg or pdftoppm is not installed";
    gptest::TempDir dir;
    const QString pdf = dir.file(QStringLiteral("pagina.pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        plat::Canvas canvas(&writer);
        TPrintBarcode c;
        preparar(c, TBarCodeType::EAN13, QStringLiteral("590123412345"));
        c.DrawBarcode(canvas, 0);   // the page's own resolution
    }
    QProcess p;
    p.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                                         QStringLiteral("-singlefile"), pdf, dir.file(QStringLiteral("pagina"))});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(leerConZbar(dir.file(QStringLiteral("pagina.png"))), QStringLiteral("EAN-13:5901234123457"));
}

// ---- symbols zbar does not read: measured -----------------------------------------------

struct Postnet
{
    TBarCodeType tipo;
    const char *texto;
    const char *digitos;   // as drawn, check digit included
};

class MedidasPostnet : public ::testing::TestWithParam<Postnet>
{
};

TEST_P(MedidasPostnet, BarrasSegunElPatronPublicadoYLasMedidasA300ppp)
{
    const Postnet &caso = GetParam();
    TPrintBarcode c;
    preparar(c, caso.tipo, QString::fromLatin1(caso.texto));
    const QImage img = dibujar(c, 300);
    const int base = kMargen + 38 - 1;   // bottom row: every bar reaches it
    const auto barras = tramosOscuros(img, base);
    const QString digitos = QString::fromLatin1(caso.digitos);
    ASSERT_EQ(barras.size(), size_t(digitos.size() * 5 + 2));
    QString patron;
    for (size_t i = 0; i < barras.size(); ++i) {
        EXPECT_EQ(barras[i].second, 7) << "bar " << i;
        if (i > 0) {
            EXPECT_EQ(barras[i].first - barras[i - 1].first, 14) << "pitch at bar " << i;
        }
        const int alto = altoColumna(img, barras[i].first, base);
        EXPECT_TRUE(alto == 38 || alto == 15) << "bar " << i << " is " << alto << " high";
        patron += alto == 38 ? u'1' : u'0';
    }
    QString esperado = QStringLiteral("1");
    const char *publicados[] = {"11000", "00011", "00101", "00110", "01001", "01010", "01100", "10001", "10010", "10100"};
    for (QChar d : digitos)
        esperado += QString::fromLatin1(publicados[d.unicode() - u'0']);
    esperado += u'1';
    EXPECT_EQ(patron, esperado);
}

INSTANTIATE_TEST_SUITE_P(Tipos, MedidasPostnet,
                         ::testing::Values(Postnet{TBarCodeType::PostnetZip, "12345", "123455"},
                                           Postnet{TBarCodeType::PostNet, "12345", "123455"},
                                           Postnet{TBarCodeType::PostNetZipPlus4, "123456789", "1234567895"},
                                           Postnet{TBarCodeType::Postnet11, "12345678901", "123456789014"}));

struct Fim
{
    TBarCodeType tipo;
    const char *patron;
};

class MedidasFIM : public ::testing::TestWithParam<Fim>
{
};

TEST_P(MedidasFIM, NuevePosicionesDeUnTreintaydosavoDePulgada)
{
    TPrintBarcode c;
    preparar(c, GetParam().tipo, QString());
    const QImage img = dibujar(c, 300);
    const int fila = kMargen + 100;
    QString patron;
    for (int i = 0; i < 9; ++i)
        patron += oscuro(img, kMargen + 9 * i + 4, fila) ? u'1' : u'0';
    EXPECT_EQ(patron, QString::fromLatin1(GetParam().patron));
    const auto barras = tramosOscuros(img, fila);
    ASSERT_FALSE(barras.empty());
    EXPECT_EQ(barras.front().first, kMargen);
    EXPECT_EQ(altoColumna(img, kMargen, fila), 188);
    EXPECT_EQ(barras.back().first + barras.back().second, kMargen + 81);   // nine places of 9 pixels
}

INSTANTIATE_TEST_SUITE_P(Marcas, MedidasFIM,
                         ::testing::Values(Fim{TBarCodeType::FIMA, "110010011"}, Fim{TBarCodeType::FIMB, "101101101"},
                                           Fim{TBarCodeType::FIMC, "110101011"}));

} // namespace
