#pragma once
#include <QString>

#include <optional>
#include <vector>

// The bar and space patterns of the published symbologies and their check digits. Patterns
// are texts: "n"/"w" narrow and wide elements starting with a bar (Code 39, Interleaved
// 2 of 5), "1"/"0" bar and space modules (EAN, FIM), "1"/"0" full and half bars (POSTNET),
// or bar-space widths in modules (Code 128). Nothing here knows pixels.
namespace simbologias {

// Code 39: the nine elements of a character of its set ("*" included); empty outside it.
QString patronCode39(QChar caracter);

// Interleaved 2 of 5: the five elements of a digit 0..9.
QString patronDigito2de5(int digito);
// Narrow bar, narrow space, narrow bar, narrow space; and wide bar, narrow space, narrow bar.
inline QString patronInicio2de5() { return QStringLiteral("nnnn"); }
inline QString patronFin2de5() { return QStringLiteral("wnn"); }

// POSTNET: the five bars of a digit 0..9 ("1" full bar).
QString patronPostnet(int digito);
// Facing identification marks A, B and C (letter 'A'..'C'): nine bar or space places.
QString patronFIM(char marca);

// The GS1 modulo-10 check digit of a text of digits whose first digit weighs pesoPrimero
// (1 or 3, the weights alternating 1 and 3): (10 - sum mod 10) mod 10.
int digitoControlGS1(const QString &digitos, int pesoPrimero);
// POSTNET: (10 - sum of the digits mod 10) mod 10.
int digitoControlPostnet(const QString &digitos);

// EAN-13 (13 digits) or EAN-8 (8 digits) as its 95 or 67 modules, guard bars and halves
// included; empty for another length.
QString modulosEAN(const QString &digitos);

// Code 128 symbol values.
namespace code128 {
constexpr int Shift = 98, CodeC = 99, CodeB = 100, CodeA = 101, FNC1 = 102;
constexpr int StartA = 103, StartB = 104, StartC = 105;
} // namespace code128

// The values of a text in Code 128: start, FNC1 when asked, the data with its set changes and
// shifts, and the modulo-103 check value (the stop is not a value). None for a character
// above code 127.
std::optional<std::vector<int>> valoresCode128(const QString &texto, bool fnc1);
// The six bar and space widths of a value 0..106 ("2331112", seven widths, for the stop 106).
QString patronCode128(int valor);
constexpr int Code128Stop = 106;

bool todoDigitos(const QString &texto);

} // namespace simbologias
