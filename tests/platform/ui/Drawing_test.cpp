#include "platform/ui/Canvas.h"
#include "platform/ui/Drawing.h"

#include <QBuffer>
#include <QDataStream>
#include <QPainter>
#include <gtest/gtest.h>

using namespace plat;

namespace {

constexpr int kAncho = 80, kAlto = 24;

// Fills in several colours between shapes that set pens and brushes of their own, a
// diagonal line, texts (one clipped), a clip a cell painter sets and ends, an image and a
// moved origin: everything a report picture's painters do.
void dibujar(Canvas &canvas)
{
    canvas.brush().Color = clRed;
    canvas.FillRect(QRect(0, 0, 10, 4));
    canvas.pen().Color = clSilver;
    for (int x = 0; x < 30; x += 3) {
        canvas.MoveTo(x, 6);
        canvas.LineTo(x + 2, 6);
    }
    canvas.brush().Color = clBlue;
    canvas.pen().Color = clBlack;
    canvas.Ellipse(12, 0, 20, 8);
    canvas.brush().Color = clRed;
    canvas.FillRect(QRect(22, 0, 6, 4));
    canvas.MoveTo(0, 23);
    canvas.LineTo(9, 14);
    canvas.brush().Color = clSilver;
    canvas.font().Color = clBlack;
    canvas.TextOut(32, 2, QStringLiteral("Ene"));
    canvas.brush().Color = clYellow;
    canvas.TextRect(QRect(50, 12, 14, 10), 50, 12, QStringLiteral("Febrero"));
    QPainter &painter = *canvas.painter();
    painter.save();
    painter.setClipRect(QRect(66, 0, 4, 24), Qt::IntersectClip);
    canvas.brush().Color = clGreen;
    canvas.FillRect(QRect(62, 0, 18, 6));
    painter.restore();
    canvas.FillRect(QRect(62, 8, 18, 2));
    QImage imagen(3, 3, QImage::Format_RGB32);
    imagen.fill(QColor(0, 128, 128));
    canvas.Draw(12, 12, imagen);
    painter.translate(20, 10);
    canvas.brush().Color = clFuchsia;
    canvas.FillRect(QRect(0, 0, 5, 5));
}

QImage blanca(const QSize &tamano, int dpi = 96)
{
    QImage imagen(tamano, QImage::Format_RGB32);
    imagen.setDotsPerMeterX(qRound(dpi / 0.0254));
    imagen.setDotsPerMeterY(qRound(dpi / 0.0254));
    imagen.fill(Qt::white);
    return imagen;
}

QImage reproducir(const Drawing &dibujo, QSize tamano = QSize(kAncho, kAlto))
{
    QImage imagen = blanca(tamano);
    QPainter painter(&imagen);
    dibujo.play(painter);
    return imagen;
}

Drawing grabar()
{
    Drawing dibujo;
    Canvas canvas(static_cast<QPaintDevice *>(&dibujo));
    dibujar(canvas);
    return dibujo;
}

// The rows holding a pixel darker than silver between columns x0 and x1.
std::pair<int, int> filasConTinta(const QImage &imagen, int x0, int x1)
{
    int primera = -1, ultima = -1;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = x0; x < x1; ++x)
            if (qGray(imagen.pixel(x, y)) < 96) {
                if (primera < 0)
                    primera = y;
                ultima = y;
                break;
            }
    return {primera, ultima};
}

} // namespace

TEST(Drawing, PlaysBackWhatTheCanvasDrewOnABitmapPixelForPixel)
{
    Bitmap directo(kAncho, kAlto);
    directo.canvas().brush().Color = clWhite;
    directo.canvas().FillRect(QRect(0, 0, kAncho, kAlto));
    dibujar(directo.canvas());
    const QImage esperada = directo.image().convertToFormat(QImage::Format_RGB32);
    const Drawing dibujo = grabar();
    EXPECT_EQ(reproducir(dibujo), esperada);

    // Placed as a report places it: moved, inside the player's clip, which survives the
    // drawing's own clips.
    QImage colocada = blanca(QSize(kAncho + 10, kAlto + 10));
    {
        QPainter painter(&colocada);
        painter.setClipRect(QRect(10, 10, 60, kAlto));
        painter.translate(10, 10);
        dibujo.play(painter);
        painter.resetTransform();
        painter.setClipping(false);
        painter.fillRect(QRect(0, 0, 10, 10), Qt::blue);   // the painter's state is its own again
    }
    QImage esperadaColocada = blanca(colocada.size());
    {
        QPainter painter(&esperadaColocada);
        painter.drawImage(QRect(10, 10, 60, kAlto), esperada, QRect(0, 0, 60, kAlto));
        painter.fillRect(QRect(0, 0, 10, 10), Qt::blue);
    }
    EXPECT_EQ(colocada, esperadaColocada);

    // Through a stream and back; a cut stream fails and gives nothing to draw.
    QByteArray bytes;
    {
        QDataStream s(&bytes, QIODevice::WriteOnly);
        s << dibujo;
    }
    Drawing leido;
    {
        QDataStream s(bytes);
        s >> leido;
        EXPECT_EQ(s.status(), QDataStream::Ok);
    }
    EXPECT_EQ(reproducir(leido), esperada);
    for (const int corte : {2, 40, int(bytes.size()) - 3}) {
        QDataStream s(bytes.left(corte));
        Drawing cortado = dibujo;
        s >> cortado;
        EXPECT_NE(s.status(), QDataStream::Ok) << corte;
        EXPECT_TRUE(cortado.isEmpty()) << corte;
    }
}

// A PDF page is drawn at 1200 dots per inch under a scale from 96: texts keep the size they
// were drawn with, not the one their point size would take on the finer device.
TEST(Drawing, TextsKeepTheirSizeOnADeviceOfAnotherResolution)
{
    const Drawing dibujo = grabar();
    const auto [arriba, abajo] = filasConTinta(reproducir(dibujo), 32, 48);
    ASSERT_GE(arriba, 0);

    constexpr double kEscala = 1200.0 / 96;
    QImage fina = blanca(QSize(kAncho, kAlto) * kEscala, 1200);
    {
        QPainter painter(&fina);
        painter.scale(kEscala, kEscala);
        dibujo.play(painter);
    }
    const auto [arribaFina, abajoFina] = filasConTinta(fina, int(32 * kEscala), int(48 * kEscala));
    EXPECT_NEAR(arribaFina / kEscala, arriba, 1.5);
    EXPECT_NEAR(abajoFina / kEscala, abajo, 1.5);
}
