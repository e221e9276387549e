#pragma once
// The raw anchors' reading of a stored date: day numbers as the program counts them (days
// since 30/12/1899, 0 = none), from the stored "yyyy-mm-dd..." text, with no validation.
#include <QDate>

inline double DiaCrudo(const unsigned char *t)
{
    if (!t)
        return 0;
    const auto n = [t](int desde, int cifras) {
        int v = 0;
        for (int i = desde; i < desde + cifras; ++i)
            v = v * 10 + (t[i] - '0');
        return v;
    };
    return double(QDate(n(0, 4), n(5, 2), n(8, 2)).toJulianDay() - 2415019);
}
