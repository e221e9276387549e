// Arbitrary text as a settings template, a current text and a descriptor list: the merge keeps
// the template's names in order, each value read back whole from its line, and every
// descriptor reads as one of its kinds.
#include "GENEW/data/servicios/TextosRegistroINI.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList partes = texto.split(QChar(u'\x1f'));
    const QString plantilla = partes.value(0);
    const QString actual = partes.value(1);
    const QList<LineaRegistroINI> fusion = FusionarRegistroINI(plantilla, actual);
    const QStringList lineas = DividirLineas(plantilla);
    if (fusion.size() != lineas.size())
        std::abort();
    for (qsizetype i = 0; i < fusion.size(); ++i) {
        if (fusion[i].nombre != LineaRegistroINI::leer(lineas[i]).nombre)
            std::abort();
        if (!fusion[i].nombre.contains(u'=') && LineaRegistroINI::leer(fusion[i].texto()) != fusion[i])
            std::abort();
    }
    for (const QString &linea : DividirLineas(partes.value(2))) {
        const DescriptorRegistroINI d = DescriptorRegistroINI::leer(LineaRegistroINI::leer(linea).valor);
        if (d.tipo == DescriptorRegistroINI::Tipo::Lista && d.valores.isEmpty())
            std::abort();
        const auto [desde, hasta] = PartesRango(linea);
        if (linea.contains(QStringLiteral("...")) && desde + QStringLiteral("...") + hasta != linea)
            std::abort();
    }
    return 0;
}
