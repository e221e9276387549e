// Texts, keys and translations of TXIDIOMA reach the pattern step as users typed them:
// none may crash or hang it, and its word splitting must give the text back.
#include "GENEW/data/servicios/traduccion/PatronTraduccion.h"
#include "GENEW/runtime/comun/FicherosTexto.h"

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
    // Text, key and translation separated by "|".
    const QString entrada = TextoDeBytes(QByteArray(reinterpret_cast<const char *>(datos), static_cast<int>(largo)));
    const QString texto = entrada.section(u'|', 0, 0);
    const QString clave = entrada.section(u'|', 1, 1);
    const QString traduccion = entrada.section(u'|', 2);

    const QString resultado = AplicarPatronTraduccion(texto, clave, traduccion, [&](const QString &parte) {
        // A part is never empty, never padded and never the whole text.
        Comprobar(!parte.isEmpty() && parte == parte.trimmed() && parte != texto);
        return parte;
    });
    Comprobar(EsClavePatron(clave) || resultado.isEmpty());

    Comprobar(UnirPalabrasPatron(PalabrasPatron(texto)) == texto.split(u' ', Qt::SkipEmptyParts).join(u' '));
    PiezasBusquedaPatron(texto);
    for (const QString &separador : {QStringLiteral("."), clave.left(1)})
        Comprobar(MarcarSeparador(MarcarSeparador(texto, separador, QStringLiteral("Directo")), separador,
                                  QStringLiteral("Inverso"))
                  == texto);
    return 0;
}
