#include "platform/ui/Canvas.h"


#include <QPainter>
#include <QPicture>
#include <gtest/gtest.h>

using namespace plat;

namespace {

// The pixels of a row of the image that are not white, as "x" / "." from x = 0.
QString row(const QImage &image, int y, int width)
{
    QString s;
    for (int x = 0; x < width; ++x)
        s += image.pixel(x, y) == qRgb(255, 255, 255) ? QLatin1Char('.') : QLatin1Char('x');
    return s;
}

} // namespace

TEST(CanvasRules, RectanglesLeaveOutTheirRightAndBottomEdges)
{
    Bitmap bitmap(12, 10);
    Canvas &canvas = bitmap.canvas();
    canvas.pen().Color = clBlack;
    canvas.brush().Color = clRed;
    canvas.Rectangle(2, 1, 7, 5);   // covers x 2..6, y 1..4
    const QImage &image = bitmap.image();
    EXPECT_EQ(row(image, 0, 10), "..........");
    EXPECT_EQ(row(image, 1, 10), "..xxxxx...");
    EXPECT_EQ(row(image, 4, 10), "..xxxxx...");
    EXPECT_EQ(row(image, 5, 10), "..........");
    EXPECT_EQ(image.pixel(2, 1), qRgb(0, 0, 0));     // outline in the pen colour
    EXPECT_EQ(image.pixel(6, 4), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(3, 2), qRgb(255, 0, 0));   // inside in the brush colour ($0000FF)

    // A clear brush leaves the inside alone; reversed corners draw the same rectangle.
    Bitmap clear(12, 10);
    clear.canvas().brush().Style = bsClear;
    clear.canvas().Rectangle(7, 5, 2, 1);
    EXPECT_EQ(row(clear.image(), 2, 10), "..x...x...");
    EXPECT_EQ(row(clear.image(), 4, 10), "..xxxxx...");
}

TEST(CanvasRules, LinesLeaveOutTheirEndPoint)
{
    Bitmap bitmap(10, 10);
    Canvas &canvas = bitmap.canvas();
    canvas.MoveTo(1, 1);
    canvas.LineTo(6, 1);   // horizontal: 1..5
    canvas.MoveTo(8, 6);
    canvas.LineTo(8, 2);   // vertical upwards: 6..3
    canvas.MoveTo(0, 5);
    canvas.LineTo(4, 9);   // diagonal: (0,5)..(3,8)
    EXPECT_EQ(canvas.penPos(), QPoint(4, 9));
    const QImage &image = bitmap.image();
    EXPECT_EQ(row(image, 1, 10), ".xxxxx....");
    EXPECT_EQ(image.pixel(8, 2), qRgb(255, 255, 255));
    for (int y = 3; y <= 6; ++y)
        EXPECT_EQ(image.pixel(8, y), qRgb(0, 0, 0)) << y;
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(image.pixel(i, 5 + i), qRgb(0, 0, 0)) << i;
    EXPECT_EQ(image.pixel(4, 9), qRgb(255, 255, 255));
}

TEST(CanvasRules, EllipsesStayInsideTheirBounds)
{
    Bitmap bitmap(20, 20);
    Canvas &canvas = bitmap.canvas();
    canvas.brush().Color = clBlue;
    canvas.Ellipse(2, 3, 12, 11);   // within x 2..11, y 3..10
    const QImage &image = bitmap.image();
    bool left = false, right = false, topEdge = false, bottomEdge = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                continue;
            ASSERT_TRUE(x >= 2 && x <= 11 && y >= 3 && y <= 10) << x << "," << y;
            left |= x == 2;
            right |= x == 11;
            topEdge |= y == 3;
            bottomEdge |= y == 10;
        }
    EXPECT_TRUE(left && right && topEdge && bottomEdge);
    EXPECT_EQ(image.pixel(7, 7), qRgb(0, 0, 255));
    // No antialiasing: every pixel is the pen, the brush or untouched.
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const QRgb p = image.pixel(x, y);
            EXPECT_TRUE(p == qRgb(255, 255, 255) || p == qRgb(0, 0, 0) || p == qRgb(0, 0, 255)) << x << "," << y;
        }
}

TEST(CanvasRules, TextOutFillsTheBrushBehindTheTextUnlessClear)
{
    Bitmap bitmap(120, 30);
    Canvas &canvas = bitmap.canvas();
    canvas.brush().Color = clYellow;
    canvas.TextOut(5, 4, QStringLiteral("Año"));
    const int w = canvas.TextWidth(QStringLiteral("Año"));
    EXPECT_GT(canvas.TextHeight(QStringLiteral("Año")), 8);
    EXPECT_GT(w, 10);
    EXPECT_EQ(canvas.penPos(), QPoint(5 + w, 4));
    EXPECT_EQ(canvas.Pixel(5, 4), clYellow);
    EXPECT_EQ(canvas.Pixel(5 + w, 4), clWhite);
    EXPECT_EQ(canvas.Pixel(4, 4), clWhite);

    canvas.brush().Style = bsClear;
    canvas.TextOut(80, 4, QStringLiteral("i"));
    EXPECT_EQ(canvas.Pixel(80, 4), clWhite);
}

TEST(CanvasColours, StoredIntegersAreBlueGreenRed)
{
    EXPECT_EQ(toQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(clNavy), QColor(0, 0, 0x80));
    EXPECT_EQ(toQColor(0xEAEAFF), QColor(0xFF, 0xEA, 0xEA));
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_TRUE(isSystemColor(clBtnFace));
    EXPECT_FALSE(isSystemColor(clWhite));
}

TEST(CanvasTargets, TheSameCanvasDrawsOnAnyPaintDevice)
{
    QImage target(8, 8, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        Canvas canvas(&painter);
        canvas.brush().Color = clGreen;
        canvas.pen().Style = psClear;
        canvas.Rectangle(0, 0, 4, 4);
    }
    EXPECT_EQ(target.pixel(3, 3), qRgb(0, 0x80, 0));
    EXPECT_EQ(target.pixel(4, 4), qRgb(255, 255, 255));
}

// A picture keeps one brush across its fills: fills between shapes that set brushes of
// their own must still play back in their own colours.
TEST(CanvasTargets, APictureReplaysWhatTheCanvasDrewOnAnImage)
{
    const auto dibujar = [](Canvas &canvas) {
        canvas.brush().Color = clRed;
        canvas.FillRect(QRect(0, 0, 10, 4));
        canvas.pen().Color = clSilver;
        for (int x = 0; x < 30; x += 3) {
            canvas.MoveTo(x, 6);
            canvas.LineTo(x, 7);
        }
        canvas.brush().Color = clBlue;
        canvas.pen().Color = clBlack;
        canvas.Ellipse(12, 0, 20, 8);
        canvas.brush().Color = clRed;
        canvas.FillRect(QRect(22, 0, 6, 4));
        canvas.brush().Color = clGreen;
        canvas.Rectangle(2, 9, 14, 14);
        canvas.FillRect(QRect(16, 9, 4, 4));
    };
    Bitmap directo(30, 16);
    directo.canvas().brush().Color = clWhite;
    directo.canvas().FillRect(QRect(0, 0, 30, 16));
    dibujar(directo.canvas());

    QPicture grabacion;
    {
        Canvas canvas(static_cast<QPaintDevice *>(&grabacion));
        dibujar(canvas);
    }
    QImage reproducido(30, 16, QImage::Format_RGB32);
    reproducido.fill(Qt::white);
    {
        QPainter painter(&reproducido);
        grabacion.play(&painter);
    }
    EXPECT_EQ(reproducido, directo.image().convertToFormat(QImage::Format_RGB32));
}
