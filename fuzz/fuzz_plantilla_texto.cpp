// Arbitrary text as a predefined text's template and as the answers of its dialog: read
// without a crash; every template line gives one field definition and every answer line one
// line of the result.
#include "GENEW/data/servicios/PlantillaTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString opciones = OpcionesPlantillaTexto(QStringLiteral("Título"), texto);
    if (!opciones.startsWith(QStringLiteral("Titulo=Título\r\nDefinicionCampos="))
        || !opciones.endsWith(QLatin1String("\r\nOpciones=RespetarNombresCampos\r\n")))
        std::abort();
    const QString definiciones = LeerValorDeLista(QStringLiteral("DefinicionCampos"), opciones);
    if (!texto.contains(u'\r') && !texto.contains(u'\n')
        && definiciones.count(QLatin1String(",ftString,100;")) < DividirLineas(texto).size())
        std::abort();
    const QString respuestas = TextoRespuestasPlantilla(texto);
    if (DividirLineas(respuestas).size() != DividirLineas(texto).size())
        std::abort();
    return 0;
}
