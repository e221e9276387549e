#include "platform/ui/Canvas.h"
#include "platform/ui/Drawing.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace plat {

Canvas::Canvas(QPaintDevice *device) : owned_(std::make_unique<QPainter>(device)), painter_(owned_.get())
{
    if (device->devType() == QInternal::Image)
        image_ = static_cast<QImage *>(device);
    prepare();
}

Canvas::Canvas(QPainter *painter) : painter_(painter)
{
    if (painter->device() && painter->device()->devType() == QInternal::Image)
        image_ = static_cast<QImage *>(painter->device());
    prepare();
}

Canvas::~Canvas() = default;

void Canvas::prepare()
{
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
    font_.Font = painter_->font();
}

namespace {

Qt::PenStyle qtPenStyle(PenStyle style)
{
    switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psClear: return Qt::NoPen;
    case psSolid: break;
    }
    return Qt::SolidLine;
}

QRect edges(int x1, int y1, int x2, int y2)
{
    if (x2 < x1)
        std::swap(x1, x2);
    if (y2 < y1)
        std::swap(y1, y2);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

} // namespace

void Canvas::fillPixels(const QRect &r, int color)
{
    if (r.isEmpty())
        return;
    const QColor colorQt = toQColor(color);
    const QPaintEngine *motor = painter_->paintEngine();
    if (!motor || (motor->type() != QPaintEngine::Picture && motor->type() != Drawing::engineType)) {
        painter_->fillRect(r, colorQt);
        return;
    }
    // A recording keeps every change of pen and brush: fillRect would record both with each
    // rectangle and put them back. Fills keep no pen and, while the colour stays, one brush
    // (a drawing then keeps a colour's rectangles as one run).
    painter_->setPen(Qt::NoPen);
    if (painter_->brush().style() != Qt::SolidPattern || painter_->brush().color() != colorQt)
        painter_->setBrush(colorQt);
    painter_->drawRect(r);
}

void Canvas::plot(int x, int y)
{
    fillPixels(QRect(x, y, 1, 1), pen_.Color);
}

void Canvas::LineTo(int x, int y)
{
    const QPoint from = penPos_;
    penPos_ = QPoint(x, y);
    if (pen_.Style == psClear)
        return;
    if (pen_.Width > 1 || pen_.Style != psSolid) {
        // Wide and patterned pens are drawn by Qt; only their length is trimmed.
        QPen p(toQColor(pen_.Color), pen_.Width, qtPenStyle(pen_.Style), Qt::FlatCap);
        painter_->setPen(p);
        painter_->drawLine(QLineF(from, QPoint(x, y)));
        return;
    }
    // Bresenham from the pen position, leaving out the end point.
    int x0 = from.x(), y0 = from.y();
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    if (dy == 0 || dx == 0) {
        // Horizontal and vertical lines (most of a chart's) in one rectangle.
        if (dy == 0 && dx > 0)
            fillPixels(QRect(sx > 0 ? x0 : x + 1, y0, dx, 1), pen_.Color);
        else if (dx == 0 && dy < 0)
            fillPixels(QRect(x0, sy > 0 ? y0 : y + 1, 1, -dy), pen_.Color);
        return;
    }
    int err = dx + dy;
    QPolygon points;
    while (!(x0 == x && y0 == y)) {
        points << QPoint(x0, y0);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    painter_->setPen(QPen(toQColor(pen_.Color), 0));
    painter_->drawPoints(points);
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2)
{
    const QRect r = edges(x1, y1, x2, y2);
    if (brush_.Style != bsClear)
        fillPixels(r, brush_.Color);
    if (pen_.Style != psClear)
        FrameRect(r);
}

void Canvas::FillRect(const QRect &r)
{
    if (brush_.Style != bsClear)
        fillPixels(r.normalized(), brush_.Color);
}

void Canvas::FrameRect(const QRect &rect)
{
    const QRect r = rect.normalized();
    if (r.isEmpty())
        return;
    const int w = std::max(1, pen_.Width);
    const int c = pen_.Color;
    fillPixels(QRect(r.left(), r.top(), r.width(), w), c);
    fillPixels(QRect(r.left(), r.bottom() - w + 1, r.width(), w), c);
    fillPixels(QRect(r.left(), r.top(), w, r.height()), c);
    fillPixels(QRect(r.right() - w + 1, r.top(), w, r.height()), c);
}

void Canvas::Ellipse(int x1, int y1, int x2, int y2)
{
    const QRect r = edges(x1, y1, x2, y2);
    if (r.width() < 1 || r.height() < 1)
        return;
    painter_->setPen(pen_.Style == psClear ? QPen(Qt::NoPen)
                                           : QPen(toQColor(pen_.Color), pen_.Width > 1 ? pen_.Width : 0,
                                                  qtPenStyle(pen_.Style)));
    painter_->setBrush(brush_.Style == bsClear ? QBrush(Qt::NoBrush) : QBrush(toQColor(brush_.Color)));
    // Qt strokes a rectangle one pixel wider and higher than its size.
    painter_->drawEllipse(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1));
}

void Canvas::RoundRect(int x1, int y1, int x2, int y2, int rx, int ry)
{
    const QRect r = edges(x1, y1, x2, y2);
    if (r.width() < 1 || r.height() < 1)
        return;
    painter_->setPen(pen_.Style == psClear ? QPen(Qt::NoPen) : QPen(toQColor(pen_.Color), 0));
    painter_->setBrush(brush_.Style == bsClear ? QBrush(Qt::NoBrush) : QBrush(toQColor(brush_.Color)));
    painter_->drawRoundedRect(QRect(r.left(), r.top(), r.width() - 1, r.height() - 1), rx / 2.0, ry / 2.0);
}

void Canvas::Polygon(const QPolygon &points)
{
    painter_->setPen(pen_.Style == psClear ? QPen(Qt::NoPen) : QPen(toQColor(pen_.Color), 0));
    painter_->setBrush(brush_.Style == bsClear ? QBrush(Qt::NoBrush) : QBrush(toQColor(brush_.Color)));
    painter_->drawPolygon(points);
}

void Canvas::Polyline(const QPolygon &points)
{
    if (points.isEmpty())
        return;
    MoveTo(points[0].x(), points[0].y());
    for (int i = 1; i < points.size(); ++i)
        LineTo(points[i].x(), points[i].y());
}

void Canvas::TextOut(int x, int y, const QString &text)
{
    const QFontMetrics fm(font_.Font);
    const QRect r(x, y, fm.horizontalAdvance(text), fm.height());
    if (brush_.Style != bsClear)
        fillPixels(r, brush_.Color);
    painter_->setFont(font_.Font);
    painter_->setPen(toQColor(font_.Color));
    painter_->drawText(QPoint(x, y + fm.ascent()), text);
    penPos_ = QPoint(x + r.width(), y);
}

void Canvas::DrawText(int x, int y, const QString &text)
{
    painter_->setFont(font_.Font);
    painter_->setPen(toQColor(font_.Color));
    painter_->drawText(QPoint(x, y + QFontMetrics(font_.Font).ascent()), text);
}

void Canvas::TextRect(const QRect &r, int x, int y, const QString &text)
{
    painter_->save();
    if (brush_.Style != bsClear)
        fillPixels(r, brush_.Color);
    painter_->setClipRect(r, Qt::IntersectClip);
    const QFontMetrics fm(font_.Font);
    painter_->setFont(font_.Font);
    painter_->setPen(toQColor(font_.Color));
    painter_->drawText(QPoint(x, y + fm.ascent()), text);
    painter_->restore();
}

int Canvas::TextWidth(const QString &text) const
{
    return QFontMetrics(font_.Font).horizontalAdvance(text);
}

int Canvas::TextHeight(const QString &) const
{
    return QFontMetrics(font_.Font).height();
}

void Canvas::Draw(int x, int y, const QImage &picture) { painter_->drawImage(QPoint(x, y), picture); }
void Canvas::Draw(int x, int y, const QPixmap &picture) { painter_->drawPixmap(QPoint(x, y), picture); }
void Canvas::StretchDraw(const QRect &r, const QImage &picture) { painter_->drawImage(r, picture); }

int Canvas::Pixel(int x, int y) const
{
    if (!image_ || !image_->rect().contains(x, y))
        return clNone;
    // Reading while the painter works on the image is safe: raster painting is immediate.
    return fromQColor(QColor::fromRgb(image_->pixel(x, y)));
}

void Canvas::setPixel(int x, int y, int color)
{
    fillPixels(QRect(x, y, 1, 1), color);
}

// ---- Bitmap --------------------------------------------------------------------------------

Bitmap::Bitmap(int width, int height)
{
    setSize(width, height);
}

Bitmap::~Bitmap() = default;

void Bitmap::setSize(int width, int height)
{
    canvas_.reset();
    QImage next(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    next.fill(Qt::white);
    image_ = next;
}

Canvas &Bitmap::canvas()
{
    if (!canvas_)
        canvas_ = std::make_unique<Canvas>(&image_);
    return *canvas_;
}

const QImage &Bitmap::image()
{
    canvas_.reset();
    return image_;
}

bool Bitmap::LoadFromFile(const QString &fileName)
{
    canvas_.reset();
    QImage loaded(fileName);
    if (loaded.isNull())
        return false;
    image_ = loaded.convertToFormat(QImage::Format_RGB32);
    return true;
}

bool Bitmap::SaveToFile(const QString &fileName)
{
    return image().save(fileName);
}

} // namespace plat
