// Arbitrary text as the expression of a report group or expression control: it is read or
// refused with gp::Error naming it, never a crash, a hang or another exception.
#include "GENEW/reporting/informes/LecturaExpresion.h"
#include "GENEW/runtime/comun/Errores.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const ExpresionLeida leida = leerExpresionInforme(texto);
        if (leida.campos.isEmpty() || (leida.tipo == ExpresionLeida::Tipo::Suma && leida.campos.size() != 1))
            std::abort();
        for (const QString &campo : leida.campos)
            if (campo.isEmpty())
                std::abort();
    } catch (const gp::Error &e) {
        if (!e.mensaje().contains(texto))
            std::abort();
    }
    return 0;
}
