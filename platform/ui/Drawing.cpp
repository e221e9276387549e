#include "platform/ui/Drawing.h"

#include <QDataStream>
#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <QRegion>
#include <QTextItem>
#include <climits>
#include <optional>
#include <variant>
#include <vector>

namespace plat {

namespace {

constexpr int kDpi = 96;
constexpr int kSize = 100000;   // no edge: the player clips

struct SetPen { QPen pen; };
struct SetBrush { QBrush brush; };
struct SetBrushOrigin { QPointF origin; };
struct SetBackground { QBrush brush; qint32 mode = Qt::TransparentMode; };
struct SetTransform { QTransform transform; };
struct ClipRegion { QRegion region; qint32 operation = Qt::ReplaceClip; };
struct ClipPath { QPainterPath path; qint32 operation = Qt::ReplaceClip; };
struct ClipEnabled { bool enabled = false; };
struct SetHints { qint32 hints = 0; };
struct SetComposition { qint32 mode = QPainter::CompositionMode_SourceOver; };
struct SetOpacity { double opacity = 1; };
struct Rects { QList<QRectF> rects; };
struct Path { QPainterPath path; };
// Shapes given in whole pixels play back in whole pixels: a raster painter draws them by
// rules of their own.
struct Polygon { QPolygonF points; qint32 mode = QPaintEngine::OddEvenMode; bool whole = false; };
struct Lines { QList<QLineF> lines; bool whole = false; };
struct Ellipse { QRectF rect; bool whole = false; };
// The font's size is kept in the drawing's pixels, so that it plays at the same size under
// any device resolution.
struct Text { QPointF origin; QString text; QFont font; double pixels = 0; };
struct Image { QRectF target; QImage image; QRectF source; qint32 flags = 0; };

using Op = std::variant<SetPen, SetBrush, SetBrushOrigin, SetBackground, SetTransform, ClipRegion, ClipPath,
                        ClipEnabled, SetHints, SetComposition, SetOpacity, Rects, Path, Polygon, Lines, Ellipse,
                        Text, Image>;

} // namespace

struct Drawing::Data
{
    std::vector<Op> ops;
};

// ---- recording -----------------------------------------------------------------------------

class Drawing::Engine : public QPaintEngine
{
public:
    explicit Engine(Drawing &drawing) : QPaintEngine(AllFeatures), drawing_(drawing) {}

    bool begin(QPaintDevice *) override
    {
        // Painting starts a new drawing; copies taken before keep theirs.
        drawing_.data_ = std::make_shared<Data>();
        clipped_ = false;
        return true;
    }
    bool end() override { return true; }
    Type type() const override { return engineType; }

    void updateState(const QPaintEngineState &state) override
    {
        const DirtyFlags f = state.state();
        if (f & DirtyPen)
            add(SetPen{state.pen()});
        if (f & DirtyBrush)
            add(SetBrush{state.brush()});
        if (f & DirtyBrushOrigin)
            add(SetBrushOrigin{state.brushOrigin()});
        if (f & (DirtyBackground | DirtyBackgroundMode))
            add(SetBackground{state.backgroundBrush(), qint32(state.backgroundMode())});
        // Before the clip: a clip is set in the coordinates current with it.
        if (f & DirtyTransform)
            add(SetTransform{state.transform()});
        if (f & DirtyClipRegion) {
            add(ClipRegion{state.clipRegion(), qint32(state.clipOperation())});
            clipped_ = true;
        }
        if (f & DirtyClipPath) {
            add(ClipPath{state.clipPath(), qint32(state.clipOperation())});
            clipped_ = true;
        }
        // A new clip says by itself whether there is one.
        if ((f & DirtyClipEnabled) && clipped_ && !(f & (DirtyClipRegion | DirtyClipPath)))
            add(ClipEnabled{state.isClipEnabled()});
        if (f & DirtyHints)
            add(SetHints{qint32(state.renderHints())});
        if (f & DirtyCompositionMode)
            add(SetComposition{qint32(state.compositionMode())});
        if (f & DirtyOpacity)
            add(SetOpacity{state.opacity()});
    }

    void drawRects(const QRect *rects, int count) override
    {
        QList<QRectF> &list = rectList();
        for (int i = 0; i < count; ++i)
            list << QRectF(rects[i]);
    }
    void drawRects(const QRectF *rects, int count) override
    {
        QList<QRectF> &list = rectList();
        for (int i = 0; i < count; ++i)
            list << rects[i];
    }
    void drawPath(const QPainterPath &path) override { add(Path{path}); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        add(Polygon{QPolygonF(QList<QPointF>(points, points + count)), qint32(mode), false});
    }
    void drawPolygon(const QPoint *points, int count, PolygonDrawMode mode) override
    {
        add(Polygon{QPolygonF(QPolygon(QList<QPoint>(points, points + count))), qint32(mode), true});
    }
    void drawLines(const QLineF *lines, int count) override { add(Lines{QList<QLineF>(lines, lines + count), false}); }
    void drawLines(const QLine *lines, int count) override
    {
        QList<QLineF> list;
        for (int i = 0; i < count; ++i)
            list << QLineF(lines[i]);
        add(Lines{list, true});
    }
    void drawEllipse(const QRectF &r) override { add(Ellipse{r, false}); }
    void drawEllipse(const QRect &r) override { add(Ellipse{QRectF(r), true}); }
    void drawPixmap(const QRectF &r, const QPixmap &pixmap, const QRectF &source) override
    {
        add(Image{r, pixmap.toImage(), source, 0});
    }
    void drawImage(const QRectF &r, const QImage &image, const QRectF &source, Qt::ImageConversionFlags flags) override
    {
        add(Image{r, image, source, qint32(flags)});
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        // The painter draws underlines and strike-outs itself, as lines.
        QFont font = item.font();
        font.setUnderline(false);
        font.setOverline(false);
        font.setStrikeOut(false);
        const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * kDpi / 72.0;
        add(Text{p, item.text(), font, pixels});
    }

private:
    void add(Op op) { drawing_.data_->ops.push_back(std::move(op)); }

    // Rectangles drawn one after another share the state: they join the last list.
    QList<QRectF> &rectList()
    {
        std::vector<Op> &ops = drawing_.data_->ops;
        if (ops.empty() || !std::holds_alternative<Rects>(ops.back()))
            ops.push_back(Rects{});
        return std::get<Rects>(ops.back()).rects;
    }

    Drawing &drawing_;
    bool clipped_ = false;   // clip changes before the first clip are the player's own clip
};

// ---- the device ----------------------------------------------------------------------------

Drawing::Drawing() : data_(std::make_shared<Data>()) {}
Drawing::~Drawing() = default;
Drawing::Drawing(const Drawing &other) : QPaintDevice(), data_(other.data_) {}

Drawing &Drawing::operator=(const Drawing &other)
{
    data_ = other.data_;
    return *this;
}

bool Drawing::isEmpty() const { return data_->ops.empty(); }

QPaintEngine *Drawing::paintEngine() const
{
    if (!engine_)
        engine_ = std::make_unique<Engine>(const_cast<Drawing &>(*this));
    return engine_.get();
}

int Drawing::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
    case PdmHeight: return kSize;
    case PdmWidthMM:
    case PdmHeightMM: return int(kSize * 25.4 / kDpi);
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return kDpi;
    case PdmDepth: return 32;
    case PdmNumColors: return INT_MAX;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
    }
    return 0;
}

// ---- playing -------------------------------------------------------------------------------

namespace {

class Player
{
public:
    explicit Player(QPainter &painter)
        : painter_(painter), base_(painter.transform()), baseClipped_(painter.hasClipping()),
          baseClip_(baseClipped_ ? painter.clipPath() : QPainterPath())
    {
        // A recording starts from a new painter's state.
        painter_.setPen(QPen());
        painter_.setBrush(Qt::NoBrush);
        painter_.setBrushOrigin(0, 0);
        painter_.setBackgroundMode(Qt::TransparentMode);
        painter_.setOpacity(1);
        painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    void operator()(const SetPen &o) { painter_.setPen(o.pen); }
    void operator()(const SetBrush &o) { painter_.setBrush(o.brush); }
    void operator()(const SetBrushOrigin &o) { painter_.setBrushOrigin(o.origin); }
    void operator()(const SetBackground &o)
    {
        painter_.setBackground(o.brush);
        painter_.setBackgroundMode(Qt::BGMode(o.mode));
    }
    void operator()(const SetTransform &o)
    {
        transform_ = o.transform;
        painter_.setTransform(transform_ * base_);
    }
    void operator()(const ClipRegion &o)
    {
        if (const auto op = operation(o.operation))
            painter_.setClipRegion(o.region, *op);
    }
    void operator()(const ClipPath &o)
    {
        if (const auto op = operation(o.operation))
            painter_.setClipPath(o.path, *op);
    }
    void operator()(const ClipEnabled &o)
    {
        if (o.enabled)
            painter_.setClipping(true);
        else
            restoreBaseClip();
    }
    void operator()(const SetHints &o)
    {
        painter_.setRenderHints(QPainter::RenderHints(~0), false);
        painter_.setRenderHints(QPainter::RenderHints(o.hints), true);
    }
    void operator()(const SetComposition &o) { painter_.setCompositionMode(QPainter::CompositionMode(o.mode)); }
    void operator()(const SetOpacity &o) { painter_.setOpacity(o.opacity); }
    void operator()(const Rects &o) { painter_.drawRects(o.rects.constData(), int(o.rects.size())); }
    void operator()(const Path &o) { painter_.drawPath(o.path); }
    void operator()(const Polygon &o)
    {
        if (o.whole)
            drawPolygon(o.points.toPolygon(), o.mode);
        else
            drawPolygon(o.points, o.mode);
    }
    void operator()(const Lines &o)
    {
        if (!o.whole) {
            painter_.drawLines(o.lines);
            return;
        }
        QList<QLine> lines;
        for (const QLineF &l : o.lines)
            lines << l.toLine();
        painter_.drawLines(lines);
    }
    void operator()(const Ellipse &o)
    {
        if (o.whole)
            painter_.drawEllipse(o.rect.toRect());
        else
            painter_.drawEllipse(o.rect);
    }
    void operator()(const Text &o)
    {
        QFont font = o.font;
        font.setPointSizeF(o.pixels * 72.0 / painter_.device()->logicalDpiY());
        painter_.setFont(font);
        painter_.drawText(o.origin, o.text);
    }
    void operator()(const Image &o)
    {
        painter_.drawImage(o.target, o.image, o.source, Qt::ImageConversionFlags(o.flags));
    }

private:
    template<typename Points>
    void drawPolygon(const Points &points, qint32 mode)
    {
        switch (mode) {
        case QPaintEngine::PolylineMode: painter_.drawPolyline(points); break;
        case QPaintEngine::WindingMode: painter_.drawPolygon(points, Qt::WindingFill); break;
        case QPaintEngine::ConvexMode: painter_.drawConvexPolygon(points); break;
        default: painter_.drawPolygon(points, Qt::OddEvenFill); break;
        }
    }

    // The drawing's clip replaces only its own: the player's clip always stays.
    std::optional<Qt::ClipOperation> operation(qint32 recorded)
    {
        const auto op = Qt::ClipOperation(recorded);
        if (op == Qt::IntersectClip)
            return op;
        restoreBaseClip();
        if (op == Qt::NoClip)
            return std::nullopt;
        return baseClipped_ ? Qt::IntersectClip : Qt::ReplaceClip;
    }

    void restoreBaseClip()
    {
        painter_.setTransform(base_);
        if (baseClipped_)
            painter_.setClipPath(baseClip_, Qt::ReplaceClip);
        else
            painter_.setClipping(false);
        painter_.setTransform(transform_ * base_);
    }

    QPainter &painter_;
    const QTransform base_;
    const bool baseClipped_;
    const QPainterPath baseClip_;
    QTransform transform_;
};

} // namespace

void Drawing::play(QPainter &painter) const
{
    if (data_->ops.empty())
        return;
    painter.save();
    Player player(painter);
    for (const Op &op : data_->ops)
        std::visit(player, op);
    painter.restore();
}

// ---- streams -------------------------------------------------------------------------------

namespace {

void write(QDataStream &s, const SetPen &o) { s << o.pen; }
void write(QDataStream &s, const SetBrush &o) { s << o.brush; }
void write(QDataStream &s, const SetBrushOrigin &o) { s << o.origin; }
void write(QDataStream &s, const SetBackground &o) { s << o.brush << o.mode; }
void write(QDataStream &s, const SetTransform &o) { s << o.transform; }
void write(QDataStream &s, const ClipRegion &o) { s << o.region << o.operation; }
void write(QDataStream &s, const ClipPath &o) { s << o.path << o.operation; }
void write(QDataStream &s, const ClipEnabled &o) { s << o.enabled; }
void write(QDataStream &s, const SetHints &o) { s << o.hints; }
void write(QDataStream &s, const SetComposition &o) { s << o.mode; }
void write(QDataStream &s, const SetOpacity &o) { s << o.opacity; }
void write(QDataStream &s, const Rects &o) { s << o.rects; }
void write(QDataStream &s, const Path &o) { s << o.path; }
void write(QDataStream &s, const Polygon &o) { s << o.points << o.mode << o.whole; }
void write(QDataStream &s, const Lines &o) { s << o.lines << o.whole; }
void write(QDataStream &s, const Ellipse &o) { s << o.rect << o.whole; }
void write(QDataStream &s, const Text &o) { s << o.origin << o.text << o.font << o.pixels; }
void write(QDataStream &s, const Image &o) { s << o.target << o.image << o.source << o.flags; }

void read(QDataStream &s, SetPen &o) { s >> o.pen; }
void read(QDataStream &s, SetBrush &o) { s >> o.brush; }
void read(QDataStream &s, SetBrushOrigin &o) { s >> o.origin; }
void read(QDataStream &s, SetBackground &o) { s >> o.brush >> o.mode; }
void read(QDataStream &s, SetTransform &o) { s >> o.transform; }
void read(QDataStream &s, ClipRegion &o) { s >> o.region >> o.operation; }
void read(QDataStream &s, ClipPath &o) { s >> o.path >> o.operation; }
void read(QDataStream &s, ClipEnabled &o) { s >> o.enabled; }
void read(QDataStream &s, SetHints &o) { s >> o.hints; }
void read(QDataStream &s, SetComposition &o) { s >> o.mode; }
void read(QDataStream &s, SetOpacity &o) { s >> o.opacity; }
void read(QDataStream &s, Rects &o) { s >> o.rects; }
void read(QDataStream &s, Path &o) { s >> o.path; }
void read(QDataStream &s, Polygon &o) { s >> o.points >> o.mode >> o.whole; }
void read(QDataStream &s, Lines &o) { s >> o.lines >> o.whole; }
void read(QDataStream &s, Ellipse &o) { s >> o.rect >> o.whole; }
void read(QDataStream &s, Text &o) { s >> o.origin >> o.text >> o.font >> o.pixels; }
void read(QDataStream &s, Image &o) { s >> o.target >> o.image >> o.source >> o.flags; }

// An op of the given index, default-made, to read into.
template<std::size_t I = 0>
std::optional<Op> opOfIndex(std::size_t index)
{
    if constexpr (I < std::variant_size_v<Op>) {
        if (index == I)
            return Op(std::in_place_index<I>);
        return opOfIndex<I + 1>(index);
    } else {
        return std::nullopt;
    }
}

} // namespace

QDataStream &operator<<(QDataStream &s, const Drawing &drawing)
{
    s << quint32(drawing.data_->ops.size());
    for (const Op &op : drawing.data_->ops) {
        s << quint8(op.index());
        std::visit([&](const auto &o) { write(s, o); }, op);
    }
    return s;
}

QDataStream &operator>>(QDataStream &s, Drawing &drawing)
{
    auto data = std::make_shared<Drawing::Data>();
    quint32 count = 0;
    s >> count;
    // Every op takes at least its kind's byte.
    const QIODevice *device = s.device();
    if (device && !device->isSequential() && count > quint64(device->bytesAvailable()))
        s.setStatus(QDataStream::ReadCorruptData);
    for (quint32 i = 0; i < count && s.status() == QDataStream::Ok; ++i) {
        quint8 index = 0;
        s >> index;
        std::optional<Op> op = opOfIndex(index);
        if (!op) {
            s.setStatus(QDataStream::ReadCorruptData);
            break;
        }
        std::visit([&](auto &o) { read(s, o); }, *op);
        data->ops.push_back(std::move(*op));
    }
    drawing.data_ = s.status() == QDataStream::Ok ? data : std::make_shared<Drawing::Data>();
    return s;
}

} // namespace plat
