#pragma once
// What the raw anchors of the banded listings need to draw the listings' own texts: their
// number masks and their page fonts.
#include <QFont>
#include <QString>
#include <cmath>
#include <cstdio>
#include <string>

// A number as a mask of the "#,##0.00" family writes it: thousands grouped by '.', between
// minimos and maximos decimals after ',' (trailing zeros dropped down to minimos), an
// integer part of at least enteros digits ("#,###.##": none, so that zero prints nothing).
inline QString cifraConMascara(double valor, int enteros, int minimos, int maximos)
{
    char fijo[64];
    std::snprintf(fijo, sizeof fijo, "%.*f", maximos, std::fabs(valor));
    const std::string escrito(fijo);
    const size_t punto = escrito.find('.');
    std::string entera = escrito.substr(0, punto), decimales = punto == std::string::npos ? "" : escrito.substr(punto + 1);
    while (int(decimales.size()) > minimos && decimales.back() == '0')
        decimales.pop_back();
    if (entera == "0" && enteros == 0)
        entera.clear();
    for (int i = int(entera.size()) - 3; i > 0; i -= 3)
        entera.insert(size_t(i), 1, '.');
    std::string texto = entera;
    if (!decimales.empty())
        texto += ',' + decimales;
    if (valor < 0 && texto.find_first_not_of("0.,") != std::string::npos)
        texto.insert(texto.begin(), '-');
    return QString::fromLatin1(texto);
}

// A font of so many page pixels (96 dpi), unhinted and without kerning, as the listings lay
// their texts out.
inline QFont fuentePixeles(int pixeles, bool negrita)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixeles);
    f.setBold(negrita);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}
