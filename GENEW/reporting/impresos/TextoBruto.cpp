#include "GENEW/reporting/impresos/TextoBruto.h"

#include <QFontMetrics>
#include <iconv.h>

namespace {

// Code page 850 of one character: one iconv conversion per character keeps the
// replacement exact for characters the page does not hold.
class ConversorOEM
{
public:
    ConversorOEM() : cd_(iconv_open("CP850", "UTF-8")) {}
    ~ConversorOEM()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    char convertir(char32_t codigo)
    {
        if (codigo < 0x80)
            return char(codigo);
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            return '?';
        QByteArray utf8 = QString::fromUcs4(&codigo, 1).toUtf8();
        char *entrada = utf8.data();
        size_t quedan = size_t(utf8.size());
        char salida[4];
        char *destino = salida;
        size_t libres = sizeof salida;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &entrada, &quedan, &destino, &libres) == size_t(-1) || destino - salida != 1)
            return '?';
        return salida[0];
    }

private:
    iconv_t cd_;
};

// The characters of Windows-1252's 0x80..0x9F, in byte order; 0 where the page has none.
constexpr char16_t kWindows1252Altos[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char CaracterWindows1252(char32_t codigo)
{
    if (codigo < 0x80 || (codigo >= 0xA0 && codigo <= 0xFF))
        return char(codigo);
    for (int i = 0; i < 32; ++i)
        if (kWindows1252Altos[i] != 0 && kWindows1252Altos[i] == codigo)
            return char(0x80 + i);
    return '?';
}

} // namespace

QByteArray TextoAWindows1252(const QString &texto)
{
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (const char32_t codigo : texto.toUcs4())
        bytes.append(CaracterWindows1252(codigo));
    return bytes;
}

QByteArray TextoAOEM(const QString &texto)
{
    static thread_local ConversorOEM conversor;
    QByteArray resultado;
    resultado.reserve(texto.size());
    for (const char32_t codigo : texto.toUcs4())
        resultado.append(conversor.convertir(codigo));
    return resultado;
}

QList<QByteArray> BloquesImpresora(const QByteArray &datos)
{
    QList<QByteArray> bloques;
    for (qsizetype i = 0; i < datos.size(); i += kBloqueImpresora)
        bloques.append(datos.mid(i, kBloqueImpresora));
    return bloques;
}

void EnviarImpresora(DestinoDibujo &destino, const QByteArray &datos)
{
    for (const QByteArray &bloque : BloquesImpresora(datos))
        destino.bytes(bloque);
}

DestinoTextoBruto::DestinoTextoBruto()
{
    fuente_.Font = QFont(QStringLiteral("Courier New"), 12);
}

int DestinoTextoBruto::anchoTexto(const QString &texto)
{
    return QFontMetrics(FuenteEnPixeles(fuente_.Font, resolucion())).horizontalAdvance(texto);
}

int DestinoTextoBruto::altoTexto(const QString &texto)
{
    return QFontMetrics(FuenteEnPixeles(fuente_.Font, resolucion())).boundingRect(texto).height();
}
