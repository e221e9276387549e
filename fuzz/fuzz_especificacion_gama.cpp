// A characteristic's `Especificacion` range is typed by users: its split must take any text, and a text
// holding the separator must come back whole from its two parts.
#include "projects/gamas/EspecificacionGama.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)));
    const PartesEspecificacion partes = PartirEspecificacion(texto);
    if (texto.contains(QStringLiteral("...")) && UnirEspecificacion(partes.desde, partes.hasta) != texto)
        __builtin_trap();
    if (!texto.contains(QStringLiteral("...")) && (partes.desde != texto || !partes.hasta.isEmpty()))
        __builtin_trap();
    return 0;
}
