// The markup of printed texts and memo lines, document references and the key items of
// connections come from layouts and from the data users type: the scanners, the decoder
// and the splitter must take any text. The input is a text, a table name and a separator
// substitute, separated by NUL bytes.
#include "GENEW/reporting/impresos/MarcasTexto.h"
#include "GENEW/reporting/impresos/ReferenciasDocumento.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QList<QByteArray> piezas =
        QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size)).split('\0');
    const QString texto = QString::fromUtf8(piezas.value(0));
    const QString tabla = QString::fromUtf8(piezas.value(1));
    const QString sustituto = QString::fromUtf8(piezas.value(2)).left(1);

    const MarcasTexto marcas = InterpretarMarcasTexto(texto);
    if (marcas.texto.size() > texto.size())
        __builtin_trap();   // tags are only ever removed
    const MarcasLineaMemo memo = InterpretarMarcasLineaMemo(texto);
    if (!memo.hayMarcas && !memo.prefijo.isEmpty())
        __builtin_trap();

    EsGrupoAnalisis(texto);
    for (const char *tipo : {"Doc", "doc", "Lin", "LPP", "OF", "SEC", "PP", "RE", "II", "PC", "AL", "OT", "UC", "UE",
                             "UI", "XX"})
        ExtraerReferenciaDocumento(QLatin1String(tipo), texto);
    for (bool (*prueba)(const QString &) : {EsReferenciaOF, EsReferenciaII, EsReferenciaOT, EsReferenciaUC,
                                            EsReferenciaUE, EsReferenciaUI, EsReferenciaPP, EsReferenciaRE,
                                            EsReferenciaPC, EsReferenciaAL})
        prueba(texto);
    DividirElementosClave(texto, tabla, sustituto);
    DividirElementosClave(texto, QStringLiteral("DOCUTRON"), sustituto);
    ClavesDeReferenciaDocumento(texto, 1);
    ClavesDeReferenciaDocumento(texto, 2);
    return 0;
}
