#include "platform/ui/DeferredIcon.h"

#include <QIconEngine>
#include <QPainter>

namespace plat {

namespace {

class DeferredIconEngine final : public QIconEngine
{
public:
    DeferredIconEngine(std::function<QIcon()> make, std::optional<bool> knownNull)
        : make_(std::move(make)), knownNull_(knownNull)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return knownNull_ ? *knownNull_ : icon().isNull(); }
    QString key() const override { return QStringLiteral("DeferredIconEngine"); }
    QIconEngine *clone() const override { return new DeferredIconEngine(*this); }

private:
    const QIcon &icon()
    {
        if (!icon_)
            icon_.emplace(make_());
        return *icon_;
    }

    std::function<QIcon()> make_;
    std::optional<bool> knownNull_;
    std::optional<QIcon> icon_;
};

} // namespace

QIcon deferredIcon(std::function<QIcon()> make, std::optional<bool> knownNull)
{
    return QIcon(new DeferredIconEngine(std::move(make), knownNull));
}

} // namespace plat
