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

} // namespace

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
