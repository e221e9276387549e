// Arbitrary bytes as the two texts of a chart: the definition up to the first NUL byte, the
// series after it. Reading them must never crash, hang or read past its input.
#include "GENEW/reporting/graficos/DefinicionGrafico.h"

#include <QByteArray>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype corte = bytes.indexOf('\0');
    const QString definicion = QString::fromUtf8(corte < 0 ? bytes : bytes.left(corte));
    const QString series = corte < 0 ? QString() : QString::fromUtf8(bytes.mid(corte + 1));
    const AjustesGrafico a = leerAjustesGrafico(definicion);
    if (a.Ancho <= 0 || a.Alto <= 0 || a.Ancho > 10000 || a.Alto > 10000)
        __builtin_trap();
    const std::vector<SerieGrafico> s = leerSeriesGrafico(series);
    for (const SerieGrafico &serie : s)
        for (const PuntoGrafico &p : serie.puntos)
            (void)p.valor;
    return 0;
}
