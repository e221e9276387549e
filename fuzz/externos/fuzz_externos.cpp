// Command files, values texts of a Word merge and the merge itself, fed arbitrary text:
// the input is cut at the first NUL into a values text and a document part. Besides not
// crashing: a quoted word splits back into itself, and a merged part is still well-formed XML.
#include "GENEW/runtime/PalabrasShell.h"
#include "app/vktlext/ArchivoOrdenes.h"
#include "app/vktlext/ValoresFusion.h"
#include "platform/office/DocxMerge.h"

#include <QXmlStreamReader>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const qsizetype corte = bytes.indexOf('\0');
    const QString texto = QString::fromUtf8(corte < 0 ? bytes : bytes.left(corte));

    DividirLineaComandos(texto);
    if (DividirLineaComandos(EntrecomillarArgumento(texto)) != QStringList{texto})
        std::abort();

    const QStringList lineas = LeerArchivoOrdenes(texto);
    LlamadaCorreo(lineas);
    LlamadaImpresionPDF(lineas);
    LlamadaImpresionWord(lineas, QStringLiteral("soffice"));

    const plat::office::MergeValues valores = LeerValoresFusion(texto);
    QByteArray parte = corte < 0 ? QByteArray() : bytes.mid(corte + 1);
    if (plat::office::mergeWordXml(parte, valores)) {
        // Well-formed as XML; namespaces are the document's own business.
        QXmlStreamReader lector(parte);
        lector.setNamespaceProcessing(false);
        while (!lector.atEnd())
            lector.readNext();
        if (lector.hasError())
            std::abort();
    }
    return 0;
}
