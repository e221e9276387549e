#pragma once
#include <QColor>

// Colours as the class library stores them: $BBGGRR integers (blue in the high byte), and
// system colours as 0xFF000000 plus the system colour number, read from the palette.
namespace plat {

constexpr int clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
              clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
              clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
              clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clWhite = 0xFFFFFF,
              clCream = 0xF0FBFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6;
constexpr int clNone = 0x1FFFFFFF;
constexpr int clDefault = 0x20000000;
constexpr int clSystemColor = int(0xFF000000);
constexpr int clScrollBar = clSystemColor | 0, clBackground = clSystemColor | 1,
              clActiveCaption = clSystemColor | 2, clInactiveCaption = clSystemColor | 3,
              clMenu = clSystemColor | 4, clWindow = clSystemColor | 5,
              clWindowFrame = clSystemColor | 6, clMenuText = clSystemColor | 7,
              clWindowText = clSystemColor | 8, clCaptionText = clSystemColor | 9,
              clHighlight = clSystemColor | 13, clHighlightText = clSystemColor | 14,
              clBtnFace = clSystemColor | 15, clBtnShadow = clSystemColor | 16,
              clGrayText = clSystemColor | 17, clBtnText = clSystemColor | 18,
              clBtnHighlight = clSystemColor | 20, clInfoText = clSystemColor | 23,
              clInfoBk = clSystemColor | 24, clGradientActiveCaption = clSystemColor | 27,
              clGradientInactiveCaption = clSystemColor | 28;

bool isSystemColor(int color);
// The RGB colour of a stored colour; system colours come from the application palette.
QColor toQColor(int color);
// The stored form of an RGB colour.
int fromQColor(const QColor &color);

} // namespace plat
