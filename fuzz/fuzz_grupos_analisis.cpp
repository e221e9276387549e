// Arbitrary text as the profiles' categories of the general parameters, a profile list and a
// range text: the categories, the filter and the range rows are made without a crash; the
// filter's literals stay closed, and the rows answered read back the same.
#include "GENEW/data/servicios/TextosGruposAnalisis.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList partes = texto.split(QChar(u'\x1f'));
    const QString perfilesCategorias = partes.value(0);
    const QString perfiles = partes.value(1);
    const QString categorias = CategoriasDePerfiles(perfiles, perfilesCategorias);
    if (!categorias.isEmpty() && !categorias.endsWith(QStringLiteral("\r\n")))
        std::abort();
    const QString filtro = FiltroCategoriasPerfil(perfiles.section(u',', 0, 0), perfilesCategorias);
    if (filtro.count(u'\'') % 2 != 0)
        std::abort();
    const QList<FilaRangoGrupo> filas = FilasRangosGrupos(categorias, partes.value(2));
    for (const FilaRangoGrupo &f : filas)
        (void)f.invertida();
    const QString respuesta = RespuestaRangosGrupos(filas);
    if (RespuestaRangosGrupos(LeerFilasRangos(respuesta)) != respuesta)
        std::abort();
    return 0;
}
