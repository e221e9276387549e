#pragma once
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QWidget>
#include <climits>

// The texts a widget paints, each with the point it is drawn at in the widget's coordinates:
// what a person reads in a cell, without comparing pixels.
class TextosPintados : public QPaintDevice
{
public:
    struct Texto
    {
        QString texto;
        QPointF punto;
    };

    explicit TextosPintados(QWidget &widget) : tamano_(widget.size()) { widget.render(this); }
    ~TextosPintados() override = default;

    QPaintEngine *paintEngine() const override { return &motor_; }
    const QList<Texto> &textos() const { return motor_.textos; }

    // The texts drawn from a point inside the rectangle.
    QStringList en(const QRect &rect) const
    {
        QStringList dentro;
        for (const Texto &t : motor_.textos)
            if (rect.contains(t.punto.toPoint()))
                dentro << t.texto;
        return dentro;
    }

protected:
    int metric(PaintDeviceMetric metrica) const override
    {
        switch (metrica) {
        case PdmWidth: return tamano_.width();
        case PdmHeight: return tamano_.height();
        case PdmWidthMM: return tamano_.width() * 254 / 960;
        case PdmHeightMM: return tamano_.height() * 254 / 960;
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    class Motor : public QPaintEngine
    {
    public:
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawPath(const QPainterPath &) override {}
        void drawTextItem(const QPointF &punto, const QTextItem &item) override
        {
            textos.append({item.text(), painter()->combinedTransform().map(punto)});
        }
        Type type() const override { return QPaintEngine::User; }
        QList<Texto> textos;
    };

    QSize tamano_;
    mutable Motor motor_;
};
