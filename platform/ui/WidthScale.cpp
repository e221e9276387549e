#include "platform/ui/WidthScale.h"

#include <QFontMetrics>
#include <QtMath>
#include <algorithm>

namespace plat {

WidthScale::WidthScale(const QFontMetrics &metrics)
    : WidthScale(metrics.horizontalAdvance(QLatin1Char('0')), metrics.averageCharWidth())
{
}

WidthScale::WidthScale(int digitWidth, int averageWidth)
    : factor_(std::max(double(digitWidth) / kReferenceDigit, double(averageWidth) / kReferenceAverage))
{
    // A font that reports nothing (no metrics yet) leaves the widths as they were given.
    if (!(factor_ > 0))
        factor_ = 1.0;
}

int WidthScale::toScreen(int programPixels) const { return qRound(programPixels * factor_); }

int WidthScale::toProgram(int screenPixels) const { return qRound(screenPixels / factor_); }

} // namespace plat
