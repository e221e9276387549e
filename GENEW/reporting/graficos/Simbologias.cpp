#include "GENEW/reporting/graficos/Simbologias.h"

#include <algorithm>
#include <array>

namespace simbologias {
namespace {

struct CaracterCode39
{
    char caracter;
    const char *patron;
};

// Bar, space, bar, ... with three wide elements in each character.
constexpr std::array<CaracterCode39, 44> kCode39{{
    {'0', "nnnwwnwnn"}, {'1', "wnnwnnnnw"}, {'2', "nnwwnnnnw"}, {'3', "wnwwnnnnn"}, {'4', "nnnwwnnnw"},
    {'5', "wnnwwnnnn"}, {'6', "nnwwwnnnn"}, {'7', "nnnwnnwnw"}, {'8', "wnnwnnwnn"}, {'9', "nnwwnnwnn"},
    {'A', "wnnnnwnnw"}, {'B', "nnwnnwnnw"}, {'C', "wnwnnwnnn"}, {'D', "nnnnwwnnw"}, {'E', "wnnnwwnnn"},
    {'F', "nnwnwwnnn"}, {'G', "nnnnnwwnw"}, {'H', "wnnnnwwnn"}, {'I', "nnwnnwwnn"}, {'J', "nnnnwwwnn"},
    {'K', "wnnnnnnww"}, {'L', "nnwnnnnww"}, {'M', "wnwnnnnwn"}, {'N', "nnnnwnnww"}, {'O', "wnnnwnnwn"},
    {'P', "nnwnwnnwn"}, {'Q', "nnnnnnwww"}, {'R', "wnnnnnwwn"}, {'S', "nnwnnnwwn"}, {'T', "nnnnwnwwn"},
    {'U', "wwnnnnnnw"}, {'V', "nwwnnnnnw"}, {'W', "wwwnnnnnn"}, {'X', "nwnnwnnnw"}, {'Y', "wwnnwnnnn"},
    {'Z', "nwwnwnnnn"}, {'-', "nwnnnnwnw"}, {'.', "wwnnnnwnn"}, {' ', "nwwnnnwnn"}, {'*', "nwnnwnwnn"},
    {'$', "nwnwnwnnn"}, {'/', "nwnwnnnwn"}, {'+', "nwnnnwnwn"}, {'%', "nnnwnwnwn"},
}};

constexpr std::array<const char *, 10> kDigitos2de5{"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                                                   "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

constexpr std::array<const char *, 10> kPostnet{"11000", "00011", "00101", "00110", "01001",
                                                "01010", "01100", "10001", "10010", "10100"};

// EAN set A (odd parity) of each digit; set C is its complement, set B set C reversed.
constexpr std::array<const char *, 10> kEANJuegoA{"0001101", "0011001", "0010011", "0111101", "0100011",
                                                  "0110001", "0101111", "0111011", "0110111", "0001011"};
// Which left-half digits of an EAN-13 take set B, by the first digit ('B' marks them).
constexpr std::array<const char *, 10> kParidadEAN13{"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                                     "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};

constexpr std::array<const char *, 107> kCode128{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232", "2331112"};

QString juegoC(const char *juegoA)
{
    QString r = QString::fromLatin1(juegoA);
    for (QChar &c : r)
        c = c == u'1' ? u'0' : u'1';
    return r;
}

QString juegoB(const char *juegoA)
{
    QString c = juegoC(juegoA);
    std::reverse(c.begin(), c.end());
    return c;
}

bool esDigito(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

bool todoDigitos(const QString &texto)
{
    return std::all_of(texto.begin(), texto.end(), esDigito);
}

QString patronCode39(QChar caracter)
{
    for (const auto &c : kCode39)
        if (caracter == QLatin1Char(c.caracter))
            return QString::fromLatin1(c.patron);
    return {};
}

QString patronDigito2de5(int digito) { return QString::fromLatin1(kDigitos2de5.at(digito)); }
QString patronPostnet(int digito) { return QString::fromLatin1(kPostnet.at(digito)); }

QString patronFIM(char marca)
{
    switch (marca) {
    case 'A': return QStringLiteral("110010011");
    case 'B': return QStringLiteral("101101101");
    default: return QStringLiteral("110101011");
    }
}

int digitoControlGS1(const QString &digitos, int pesoPrimero)
{
    int suma = 0;
    int peso = pesoPrimero;
    for (QChar c : digitos) {
        suma += peso * (c.unicode() - u'0');
        peso = 4 - peso;
    }
    return (10 - suma % 10) % 10;
}

int digitoControlPostnet(const QString &digitos)
{
    int suma = 0;
    for (QChar c : digitos)
        suma += c.unicode() - u'0';
    return (10 - suma % 10) % 10;
}

QString modulosEAN(const QString &digitos)
{
    const auto cifra = [&](int i) { return digitos.at(i).unicode() - u'0'; };
    const QString guarda = QStringLiteral("101");
    const QString centro = QStringLiteral("01010");
    QString r = guarda;
    if (digitos.size() == 13) {
        const char *paridad = kParidadEAN13.at(cifra(0));
        for (int i = 1; i <= 6; ++i)
            r += paridad[i - 1] == 'B' ? juegoB(kEANJuegoA.at(cifra(i))) : QString::fromLatin1(kEANJuegoA.at(cifra(i)));
        r += centro;
        for (int i = 7; i <= 12; ++i)
            r += juegoC(kEANJuegoA.at(cifra(i)));
    } else if (digitos.size() == 8) {
        for (int i = 0; i < 4; ++i)
            r += QString::fromLatin1(kEANJuegoA.at(cifra(i)));
        r += centro;
        for (int i = 4; i < 8; ++i)
            r += juegoC(kEANJuegoA.at(cifra(i)));
    } else {
        return {};
    }
    return r + guarda;
}

// ---- Code 128 -------------------------------------------------------------------------------

namespace {

enum class Juego { A, B, C };

bool cuatroDigitos(const QString &t, qsizetype i)
{
    if (i + 4 > t.size())
        return false;
    for (qsizetype k = i; k < i + 4; ++k)
        if (!esDigito(t.at(k)))
            return false;
    return true;
}

// Set A when a control character comes before any character of code 96 or more.
Juego juegoPorDelante(const QString &t, qsizetype desde)
{
    for (qsizetype k = desde; k < t.size(); ++k) {
        const char16_t c = t.at(k).unicode();
        if (c < 32)
            return Juego::A;
        if (c >= 96)
            return Juego::B;
    }
    return Juego::B;
}

int valorCaracter(QChar c)
{
    const int codigo = c.unicode();
    return codigo < 32 ? codigo + 64 : codigo - 32;
}

bool fueraDeJuego(Juego juego, QChar c)
{
    return (juego == Juego::A && c.unicode() >= 96) || (juego == Juego::B && c.unicode() < 32);
}

} // namespace

std::optional<std::vector<int>> valoresCode128(const QString &t, bool fnc1)
{
    for (QChar c : t)
        if (c.unicode() > 127)
            return std::nullopt;
    std::vector<int> v;
    Juego juego = cuatroDigitos(t, 0) ? Juego::C : juegoPorDelante(t, 0);
    v.push_back(juego == Juego::C ? code128::StartC : juego == Juego::A ? code128::StartA : code128::StartB);
    if (fnc1)
        v.push_back(code128::FNC1);
    qsizetype i = 0;
    while (i < t.size()) {
        if (cuatroDigitos(t, i)) {
            if (juego != Juego::C)
                v.push_back(code128::CodeC);
            juego = Juego::C;
            for (; i + 1 < t.size() && esDigito(t.at(i)) && esDigito(t.at(i + 1)); i += 2)
                v.push_back((t.at(i).unicode() - u'0') * 10 + (t.at(i + 1).unicode() - u'0'));
            continue;
        }
        qsizetype fin = i + 1;
        while (fin < t.size() && !cuatroDigitos(t, fin))
            ++fin;
        const Juego tramo = juegoPorDelante(t, i);
        if (tramo != juego)
            v.push_back(tramo == Juego::A ? code128::CodeA : code128::CodeB);
        juego = tramo;
        while (i < fin) {
            const QChar c = t.at(i);
            if (fueraDeJuego(juego, c)) {
                // One character of the other set: shifted when the set is wanted again after it.
                if (juegoPorDelante(t, i + 1) != juego)
                    break;
                v.push_back(code128::Shift);
            }
            v.push_back(valorCaracter(c));
            ++i;
        }
    }
    int suma = v.front();
    for (size_t k = 1; k < v.size(); ++k)
        suma = (suma + int(k) * v[k]) % 103;
    v.push_back(suma);
    return v;
}

QString patronCode128(int valor) { return QString::fromLatin1(kCode128.at(valor)); }

} // namespace simbologias
