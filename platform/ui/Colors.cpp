#include "platform/ui/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace plat {

bool isSystemColor(int color)
{
    return (color & clSystemColor) == clSystemColor;
}

namespace {

QColor systemColor(int index)
{
    const QPalette p = QGuiApplication::palette();
    switch (index) {
    case 1: return p.color(QPalette::Window).darker(150);
    case 2:
    case 27: return p.color(QPalette::Highlight);
    case 3:
    case 28: return QColor(0xD7, 0xE4, 0xF2);   // the pale caption blue of MDI backgrounds
    case 4:
    case 15: return p.color(QPalette::Button);
    case 5: return p.color(QPalette::Base);
    case 6:
    case 16: return p.color(QPalette::Mid);
    case 7:
    case 8: return p.color(QPalette::WindowText);
    case 9: return p.color(QPalette::HighlightedText);
    case 13: return p.color(QPalette::Highlight);
    case 14: return p.color(QPalette::HighlightedText);
    case 17: return p.color(QPalette::Disabled, QPalette::Text);
    case 18: return p.color(QPalette::ButtonText);
    case 20: return p.color(QPalette::Light);
    case 23: return p.color(QPalette::ToolTipText);
    case 24: return p.color(QPalette::ToolTipBase);
    default: return p.color(QPalette::Window);
    }
}

} // namespace

QColor toQColor(int color)
{
    if (isSystemColor(color))
        return systemColor(color & 0xFF);
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color == clDefault)
        return QGuiApplication::palette().color(QPalette::Window);
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

int fromQColor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

} // namespace plat
