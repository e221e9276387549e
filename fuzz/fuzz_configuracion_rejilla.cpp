// Arbitrary text as the stored layout of a grid: it is read without a crash, its styles are
// known ones, and the columns read, written out again, read back the same.
#include "GENEW/data/servicios/ConfiguracionRejilla.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const ConfiguracionRejillaLeida leida = LeerConfiguracionRejilla(texto);
    if (leida.fuente && (leida.fuente->estilos & ~0xFu))
        std::abort();
    if (leida.columnas) {
        const auto otra = LeerConfiguracionRejilla(LineaCamposRejilla(*leida.columnas)).columnas;
        if (!otra || otra->size() != leida.columnas->size())
            std::abort();
        for (qsizetype i = 0; i < otra->size(); ++i) {
            const ColumnaRejilla &a = leida.columnas->at(i);
            const ColumnaRejilla &b = otra->at(i);
            if (a.campo != b.campo || a.ancho != b.ancho || a.titulo != b.titulo)
                std::abort();
        }
    }
    return 0;
}
