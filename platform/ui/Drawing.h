#pragma once
#include <QPaintDevice>
#include <QPaintEngine>
#include <memory>

class QDataStream;
class QPainter;

namespace plat {

// A vector drawing recorded from a QPainter and played back on another, at 96 dots per
// inch. Unlike a QPicture, it keeps rectangles as rectangles: a run of them drawn under one
// pen and brush plays back as one drawRects call, which a PDF writes as "re" operators
// instead of one path each. Texts play back as texts (a PDF keeps them searchable).
// Copies share the recording.
class Drawing : public QPaintDevice
{
public:
    // The type its paint engine reports, for painters that record differently from drawing.
    static constexpr QPaintEngine::Type engineType = QPaintEngine::Type(QPaintEngine::User + 1);

    Drawing();
    ~Drawing() override;
    Drawing(const Drawing &other);
    Drawing &operator=(const Drawing &other);

    bool isEmpty() const;

    // Plays the drawing on an active painter, in the painter's current coordinates and
    // inside its current clip; the painter's state is as before afterwards.
    void play(QPainter &painter) const;

    QPaintEngine *paintEngine() const override;

    friend QDataStream &operator<<(QDataStream &s, const Drawing &drawing);
    // A damaged recording leaves the stream failed and the drawing empty.
    friend QDataStream &operator>>(QDataStream &s, Drawing &drawing);

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    struct Data;
    class Engine;
    std::shared_ptr<Data> data_;
    mutable std::unique_ptr<Engine> engine_;
};

} // namespace plat
