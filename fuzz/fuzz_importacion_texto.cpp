// Files read back by the text import come from anywhere (other programs, hand edits): no
// file and no set of options may crash or hang it, and every record it writes or refuses is
// accounted for.
#include "GENEW/data/servicios/TextoRegistros.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "platform/data/ClientDataSet.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Comprobar(bool condicion)
{
    if (!condicion)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *datos, size_t largo)
{
    if (largo < 2)
        return 0;
    // Two bytes of options: key fields, "Nuevo", a detail, the delimiters; then the file.
    const uint8_t opciones = datos[0];
    const uint8_t respuestas = datos[1];
    const QString contenido = TextoDeBytes(QByteArray(reinterpret_cast<const char *>(datos + 2), int(largo - 2)));

    plat::ClientDataSet principal(QStringLiteral("Principal"));
    principal.setFieldDefs({plat::fieldDef("Codigo", ftString, 10, true), plat::fieldDef("Numero", ftInteger),
                            plat::fieldDef("Importe", ftFloat), plat::fieldDef("HoraInicio", ftDateTime),
                            plat::fieldDef("Fecha", ftDateTime), plat::fieldDef("Notas", ftMemo),
                            plat::fieldDef("Activo", ftBoolean)});
    principal.createDataSet();
    plat::ClientDataSet detalle(QStringLiteral("Detalle"));
    detalle.setFieldDefs({plat::fieldDef("Codigo", ftString, 10), plat::fieldDef("Linea", ftSmallint, 0, true),
                          plat::fieldDef("Texto", ftString, 5), plat::fieldDef("Cantidad", ftFloat)});
    detalle.createDataSet();

    textoRegistros::OpcionesImportacion o;
    o.k = opciones & 0x3;
    o.nuevo = opciones & 0x4;
    if (opciones & 0x10)
        o.delimitadores = textoRegistros::DelimitadoresDe(QStringLiteral(";"), QStringLiteral("~"));
    int pregunta = 0;
    textoRegistros::ImportacionTexto importacion(principal, (opciones & 0x8) ? &detalle : nullptr, o,
                                                 [&](const QString &texto) {
                                                     Comprobar(!texto.isEmpty());
                                                     return (respuestas >> (pregunta++ % 8)) & 1;
                                                 });
    importacion.importar(contenido);
    const QStringList incidencias = importacion.incidencias();
    Comprobar(pregunta <= 1);
    Comprobar(incidencias.size() <= 1002);
    const qint64 lineas = contenido.count(u'\n') + 1;
    Comprobar(principal.recordCount() + detalle.recordCount() <= lineas);
    return 0;
}
