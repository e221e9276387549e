#pragma once
#include "platform/ui/Colors.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <memory>

class QPaintDevice;
class QPainter;
class QPixmap;

namespace plat {

enum PenStyle { psSolid, psDash, psDot, psDashDot, psClear };
enum BrushStyle { bsSolid, bsClear };

struct Pen
{
    int Color = clBlack;
    int Width = 1;
    PenStyle Style = psSolid;
};

struct Brush
{
    int Color = clWhite;
    BrushStyle Style = bsSolid;
};

// A QFont with the colour the class library keeps in its font object.
struct CanvasFont
{
    QFont Font;
    int Color = clBlack;
};

// Drawing with the class library's rules over QPainter: no antialiasing of shapes; a
// rectangle or ellipse from (x1, y1) to (x2, y2) covers x1..x2-1 and y1..y2-1; a line
// leaves out its end point; text is written with its top-left corner at the point given,
// on the brush colour unless the brush is clear. The same canvas draws on a widget (in its
// paint handler), on an off-screen Bitmap and on a printer page. A QRect(x, y, w, h) stands
// for the edges x, y, x + w, y + h.
class Canvas
{
public:
    explicit Canvas(QPaintDevice *device);   // paints on the device while the canvas lives
    explicit Canvas(QPainter *painter);      // borrows a painter that is already active
    ~Canvas();
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;

    Pen &pen() { return pen_; }
    Brush &brush() { return brush_; }
    CanvasFont &font() { return font_; }
    void setFont(const QFont &font) { font_.Font = font; }

    QPoint penPos() const { return penPos_; }
    void MoveTo(int x, int y) { penPos_ = QPoint(x, y); }
    void LineTo(int x, int y);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const QRect &r) { Rectangle(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }
    void FillRect(const QRect &r);
    void FrameRect(const QRect &r);
    void Ellipse(int x1, int y1, int x2, int y2);
    void RoundRect(int x1, int y1, int x2, int y2, int rx, int ry);
    void Polygon(const QPolygon &points);
    void Polyline(const QPolygon &points);

    void TextOut(int x, int y, const QString &text);
    // Text over what is there whatever the brush, the pen position left as it is: unlike
    // TextOut, nothing measures the text, so it is laid out once.
    void DrawText(int x, int y, const QString &text);
    // Text clipped to the rectangle, written at (x, y).
    void TextRect(const QRect &r, int x, int y, const QString &text);
    int TextWidth(const QString &text) const;
    int TextHeight(const QString &text) const;

    void Draw(int x, int y, const QImage &picture);
    void Draw(int x, int y, const QPixmap &picture);
    void StretchDraw(const QRect &r, const QImage &picture);

    // Reading pixels needs an image underneath (a Bitmap's canvas); elsewhere clNone.
    int Pixel(int x, int y) const;
    void setPixel(int x, int y, int color);

    QPainter *painter() const { return painter_; }

private:
    void prepare();
    void plot(int x, int y);
    void fillPixels(const QRect &r, int color);

    std::unique_ptr<QPainter> owned_;
    QPainter *painter_;
    QImage *image_ = nullptr;
    Pen pen_;
    Brush brush_;
    CanvasFont font_;
    QPoint penPos_;
};

// An off-screen picture with a canvas (a report band later shows it as it is).
class Bitmap
{
public:
    Bitmap(int width = 0, int height = 0);
    ~Bitmap();
    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    void setSize(int width, int height);
    Canvas &canvas();
    // Ends the painting in progress and gives the picture drawn so far.
    const QImage &image();
    bool LoadFromFile(const QString &fileName);
    bool SaveToFile(const QString &fileName);

private:
    friend class Canvas;
    QImage image_;
    std::unique_ptr<Canvas> canvas_;
};

} // namespace plat
