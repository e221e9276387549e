#include "GENEW/reporting/graficos/PrintBarcode.h"
#include "platform/data/ClientDataSet.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/data/DataSource.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

TEST(PrintBarcode, ValoresIniciales)
{
    TPrintBarcode c;
    EXPECT_EQ(c.text(), QStringLiteral("1234"));
    EXPECT_EQ(c.barCodeType(), TBarCodeType::Interleaved2Of5);
    EXPECT_TRUE(c.clearZone());
    EXPECT_FALSE(c.autoPosition());
    EXPECT_TRUE(c.autoSizing());
    EXPECT_EQ(c.magnification(), 1.0);
    EXPECT_EQ(c.barColor(), plat::clBlack);
    EXPECT_EQ(c.color(), plat::clWhite);
    EXPECT_GE(c.width(), 100);
    EXPECT_TRUE(c.Movible);
    // Published by name, in the order layouts and forms know them.
    EXPECT_TRUE(c.setProperty("BarCodeType", 9));
    EXPECT_EQ(c.barCodeType(), TBarCodeType::EAN13);
}

TEST(PrintBarcode, ElTextoGuarda280Caracteres)
{
    TPrintBarcode c;
    c.setText(QString(300, u'7'));
    EXPECT_EQ(c.text(), QString(280, u'7'));
}

struct Aumento
{
    TBarCodeType tipo;
    double pedido;
    double queda;
};

class MagnificationPorTipo : public ::testing::TestWithParam<Aumento>
{
};

TEST_P(MagnificationPorTipo, LimitesYTiposQueLaGuardan)
{
    TPrintBarcode c;
    c.setBarCodeType(GetParam().tipo);
    c.setMagnification(GetParam().pedido);
    EXPECT_DOUBLE_EQ(c.magnification(), GetParam().queda);
}

INSTANTIATE_TEST_SUITE_P(Casos, MagnificationPorTipo,
                         ::testing::Values(Aumento{TBarCodeType::EAN13, 3.0, 2.0}, Aumento{TBarCodeType::EAN, 0.5, 0.8},
                                           Aumento{TBarCodeType::EAN8, 1.5, 1.5}, Aumento{TBarCodeType::Code128, 3.0, 1.25},
                                           Aumento{TBarCodeType::EAN128, 0.1, 0.2}, Aumento{TBarCodeType::Code39, 3.0, 1.0},
                                           Aumento{TBarCodeType::PostNet, 0.5, 1.0}));

TEST(PrintBarcode, LosTiposPostnetActivanAutoSizing)
{
    TPrintBarcode c;
    c.setAutoSizing(false);
    c.setBarCodeType(TBarCodeType::EAN13);
    EXPECT_FALSE(c.autoSizing());
    c.setBarCodeType(TBarCodeType::PostNetZipPlus4);
    EXPECT_TRUE(c.autoSizing());
}

TEST(PrintBarcode, PulgadasConLaResolucionDeLaPantalla)
{
    TPrintBarcode c;
    c.setPixelesPorPulgadaPantalla(96);
    c.setHeightInInches(0.5);
    c.setWidthInInches(1.25);
    c.setLeftInInches(0.2);
    c.setTopInInches(1.0);
    EXPECT_EQ(c.geometry(), QRect(19, 96, 120, 48));   // 19.2 and 48
    EXPECT_DOUBLE_EQ(c.leftInInches(), 0.198);
    EXPECT_DOUBLE_EQ(c.widthInInches(), 1.25);
    c.setPixelesPorPulgadaPantalla(144);
    EXPECT_DOUBLE_EQ(c.heightInInches(), 0.333);
}

QImage lienzoPropio(TPrintBarcode &c)
{
    QImage img(c.size(), QImage::Format_RGB32);
    img.fill(Qt::green);
    c.render(&img);
    return img;
}

TEST(PrintBarcode, LoQueNoCabeEnmarcaElControlYNoPintaNadaEnOtroLienzo)
{
    TPrintBarcode c;
    c.setPixelesPorPulgadaPantalla(96);
    c.setBarColor(plat::clRed);
    c.setBarCodeType(TBarCodeType::Code39);
    c.setText(QStringLiteral("abc"));
    c.setGeometry(10, 10, 200, 50);
    const QImage propio = lienzoPropio(c);
    EXPECT_EQ(propio.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(propio.pixel(199, 49), qRgb(255, 0, 0));
    EXPECT_EQ(propio.pixel(100, 25), qRgb(255, 255, 255));

    plat::Bitmap pagina(400, 200);
    c.DrawBarcode(pagina.canvas(), 96);
    const QImage otro = pagina.image();
    for (int y = 0; y < otro.height(); y += 3)
        for (int x = 0; x < otro.width(); x += 3)
            ASSERT_EQ(otro.pixel(x, y), qRgb(255, 255, 255)) << x << "," << y;
}

TEST(PrintBarcode, ElLienzoDeDestinoConservaPincelBrochaYLetra)
{
    TPrintBarcode c;
    c.setPixelesPorPulgadaPantalla(96);
    c.setBarCodeType(TBarCodeType::EAN13);
    c.setText(QStringLiteral("590123412345"));
    c.setGeometry(0, 0, 300, 100);
    plat::Bitmap pagina(600, 400);
    plat::Canvas &canvas = pagina.canvas();
    canvas.pen() = plat::Pen{plat::clBlue, 3, plat::psDash};
    canvas.brush() = plat::Brush{plat::clYellow, plat::bsClear};
    canvas.setFont(QFont(QStringLiteral("DejaVu Serif"), 17));
    canvas.font().Color = plat::clGreen;
    c.DrawBarcode(canvas, 300);
    EXPECT_EQ(canvas.pen().Color, plat::clBlue);
    EXPECT_EQ(canvas.pen().Width, 3);
    EXPECT_EQ(canvas.pen().Style, plat::psDash);
    EXPECT_EQ(canvas.brush().Color, plat::clYellow);
    EXPECT_EQ(canvas.brush().Style, plat::bsClear);
    EXPECT_EQ(canvas.font().Font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(canvas.font().Color, plat::clGreen);
    // Something was drawn: the left guard bar 11 modules (of 4 pixels) in.
    EXPECT_EQ(canvas.Pixel(45, 10), plat::clBlack);
}

TEST(PrintBarcode, EnSuPropioLienzoTomaElTamanoDelSimbolo)
{
    TPrintBarcode c;
    c.setPixelesPorPulgadaPantalla(96);
    c.setBarCodeType(TBarCodeType::EAN13);
    c.setText(QStringLiteral("590123412345"));
    c.setGeometry(0, 0, 300, 100);
    lienzoPropio(c);
    QCoreApplication::processEvents();
    EXPECT_EQ(c.size(), QSize(113, 66));
}

TEST(PrintBarcode, ElCampoEnlazadoDaElTextoRellenoSegunElTipo)
{
    plat::ClientDataSet ds{QStringLiteral("Articulos")};
    ds.setFieldDefs({plat::fieldDef(QStringLiteral("Codigo"), ftString, 20)});
    ds.createDataSet();
    plat::DataSource fuente;
    fuente.setDataSet(&ds);
    TPrintBarcode c;
    c.setBarCodeType(TBarCodeType::EAN8);
    c.setDataSource(&fuente);
    c.setDataField(QStringLiteral("Codigo"));
    ds.append();
    ds.fieldByName(QStringLiteral("Codigo")).setText(QStringLiteral("4567"));
    ds.post();
    EXPECT_EQ(c.text(), QStringLiteral("0004567"));
    c.setBarCodeType(TBarCodeType::ITF14);
    ds.edit();
    ds.fieldByName(QStringLiteral("Codigo")).setText(QStringLiteral("98765"));
    ds.post();
    EXPECT_EQ(c.text(), QStringLiteral("000000098765"));
}

// ---- moving and resizing with the mouse ------------------------------------------------------

void raton(QWidget *w, QEvent::Type tipo, QPoint local, Qt::MouseButtons botones)
{
    const QPointF global = w->mapToGlobal(QPointF(local));
    QMouseEvent e(tipo, QPointF(local), global, Qt::LeftButton, botones, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

struct Arrastre
{
    const char *nombre;
    QPoint desde;
    QPoint desplazamiento;
    QRect resultado;
};

class ArrastreConRaton : public ::testing::TestWithParam<Arrastre>
{
};

TEST_P(ArrastreConRaton, BordeRedimensionaYCentroMueve)
{
    QWidget padre;
    padre.resize(800, 600);
    auto *c = new TPrintBarcode(&padre);
    c->setGeometry(100, 100, 200, 80);
    padre.show();
    const Arrastre &a = GetParam();
    raton(c, QEvent::MouseButtonPress, a.desde, Qt::LeftButton);
    raton(c, QEvent::MouseMove, a.desde + a.desplazamiento, Qt::LeftButton);
    QWidget *marco = c->marcoArrastre();
    ASSERT_NE(marco, nullptr);
    EXPECT_EQ(marco->geometry(), a.resultado);
    EXPECT_EQ(c->geometry(), QRect(100, 100, 200, 80));   // unchanged until released
    raton(c, QEvent::MouseButtonRelease, a.desde + a.desplazamiento, Qt::NoButton);
    EXPECT_EQ(c->geometry(), a.resultado);
    EXPECT_EQ(c->marcoArrastre(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ArrastreConRaton,
    ::testing::Values(Arrastre{"centro_mueve", QPoint(100, 40), QPoint(30, -20), QRect(130, 80, 200, 80)},
                      Arrastre{"borde_derecho", QPoint(198, 40), QPoint(50, 10), QRect(100, 100, 250, 80)},
                      Arrastre{"borde_izquierdo", QPoint(1, 40), QPoint(-20, 0), QRect(80, 100, 220, 80)},
                      Arrastre{"esquina_inferior_derecha", QPoint(199, 79), QPoint(10, 20), QRect(100, 100, 210, 100)},
                      Arrastre{"a_3_pixeles_ya_mueve", QPoint(3, 40), QPoint(5, 0), QRect(105, 100, 200, 80)}),
    [](const auto &info) { return std::string(info.param.nombre); });

TEST(PrintBarcode, SinPermisoDeMoverElRatonNoHaceNada)
{
    QWidget padre;
    auto *c = new TPrintBarcode(&padre);
    c->setGeometry(100, 100, 200, 80);
    c->Movible = false;
    raton(c, QEvent::MouseButtonPress, QPoint(100, 40), Qt::LeftButton);
    raton(c, QEvent::MouseMove, QPoint(150, 40), Qt::LeftButton);
    raton(c, QEvent::MouseButtonRelease, QPoint(150, 40), Qt::NoButton);
    EXPECT_EQ(c->geometry(), QRect(100, 100, 200, 80));
}

} // namespace
