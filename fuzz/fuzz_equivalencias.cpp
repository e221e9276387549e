// Arbitrary text and separator as an equivalence file: every line read into two pieces,
// written back and read again to the same pieces (when no piece holds the separator or a
// line break), and every piece read as a code or refused with the conversion message.
#include "projects/operarios/IntercambioOperarios.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    const QChar separador = QChar(char16_t(data[0] | (data[1] << 8)));
    if (separador.isNull() || separador == u'\n' || separador == u'\r' || separador.isSurrogate())
        return 0;
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    const auto lineas = intercambio::LeerEquivalencias(texto, separador);
    for (const auto &linea : lineas) {
        if (linea.origen.contains(u'\n') || linea.destino.contains(separador))
            std::abort();
        const auto lectura = intercambio::LeerPareja(linea.origen, linea.destino);
        if (lectura.pareja.has_value() == !lectura.error.isEmpty())
            std::abort();
        if (lectura.pareja)
            (void)intercambio::PlanIntercambio(*lectura.pareja, true);
    }
    bool limpias = true;
    for (const auto &linea : lineas)
        limpias = limpias && !linea.origen.contains(u'\r') && !linea.destino.contains(u'\r')
                  && !linea.origen.isEmpty();
    if (limpias && intercambio::LeerEquivalencias(intercambio::EscribirEquivalencias(lineas, separador), separador) != lineas)
        std::abort();
    return 0;
}
