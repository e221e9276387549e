// The readers of the control ranges listing: an order-list line and an article's range codes.
#include "projects/gamas/LecturasGamas.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList codigos = LeerCodigosGama(texto);
    for (qsizetype i = 0; i < codigos.size(); ++i)
        if (codigos[i].isEmpty() || codigos.indexOf(codigos[i]) != i || codigos[i].contains(u'\n'))
            __builtin_trap();
    for (const QString &linea : texto.split(u'\n'))
        (void)LeerNumeroOrden(linea);
    return 0;
}
