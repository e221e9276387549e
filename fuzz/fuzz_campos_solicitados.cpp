// The responsibility configuration: the requested items of CONFRESP and the operator lists,
// as the dialog checks them and as they become the search's SQL condition.
#include "GENEW/data/servicios/CamposSolicitados.h"

#include <cstddef>
#include <cstdint>

namespace {

bool soloCodigos(const QString &filtro)
{
    static const QString permitidos = QStringLiteral("0123456789-()=CodigOR ");
    for (const QChar c : filtro)
        if (!permitidos.contains(c))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString memo = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const CamposSolicitados campos = LeerCamposSolicitados(memo);
    for (const QString &nombre : campos.nombres)
        if (nombre.contains(u':') || nombre.contains(u'\n'))
            __builtin_trap();
    for (const QString &lista : {campos.operariosRealizadoPor, campos.operariosAprobadoPor, memo}) {
        if (!soloCodigos(FiltroOperarios(lista)))
            __builtin_trap();
        // An item counts exactly when no empty item comes before it.
        bool vacioAntes = false;
        for (const QString &item : lista.split(u',')) {
            vacioAntes = vacioAntes || item.isEmpty();
            if (!item.isEmpty() && !vacioAntes && !OperarioEnLista(item, lista))
                __builtin_trap();
        }
        if (OperarioEnLista(QString(), lista))
            __builtin_trap();
    }
    return 0;
}
