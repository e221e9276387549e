#pragma once

class QFontMetrics;

namespace plat {

// The program's pixel widths (its grids' columns) were laid out for a font whose digits are
// 6 pixels wide and whose average character is 5. On screen they grow or shrink with the font
// in use, by the larger of the two ratios, so that the dates (digits) and the titles (letters)
// they were made for still fit.
class WidthScale
{
public:
    static constexpr int kReferenceDigit = 6;
    static constexpr int kReferenceAverage = 5;

    explicit WidthScale(const QFontMetrics &metrics);
    WidthScale(int digitWidth, int averageWidth);

    double factor() const { return factor_; }
    int toScreen(int programPixels) const;
    int toProgram(int screenPixels) const;

private:
    double factor_;
};

} // namespace plat
