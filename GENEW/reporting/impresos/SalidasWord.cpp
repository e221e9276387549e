// The print engine's outputs that do not go through its drawing: the raw stream of "ASCII"
// layouts, the Word template merge of "MSWord" layouts and the Word documents a layout lists.
// The office suite stands for Word: the merge writes the .docx itself, the suite converts it
// to PDF, which is printed or joins the PDF list.
#include "GENEW/reporting/AvisoImpresion.h"
#include "GENEW/reporting/impresos/DocumentosWord.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "GENEW/reporting/impresos/TextoBruto.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/office/ConversionPDF.h"
#include "platform/office/DocxMerge.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString TextoImposibleWord(const QString &motivo)
{
    return QStringLiteral("¡Imposible conectar con Word!. (Motivo: ") + motivo + QStringLiteral(")");
}

} // namespace

void TfGENELIMP::ImprimirASCII()
{
    ServicioImpresoras &servicio = impresorasMotor();
    const auto eleccion = servicio.dialogo(SalidaImpresion.isEmpty() ? servicio.predeterminada() : SalidaImpresion);
    if (!eleccion)
        return;
    QByteArray flujo;
    plat::DataSet &docs = documentos();
    if (docs.active()) {
        const plat::Field *stream = docs.findField(QStringLiteral("StreamASCII"));
        for (docs.first(); stream && !docs.eof(); docs.next())
            flujo += TextoAWindows1252(stream->asString());
    }
    if (flujo.isEmpty())
        return;
    const QString error = servicio.enviarBruto(*eleccion, flujo, TituloTrabajo());
    if (!error.isEmpty())
        MensajeAviso(TextoErrorImprimiendo(error));
}

bool TfGENELIMP::arrancarWord()
{
    if (!plat::office::officeProgram().isEmpty())
        return true;
    MensajeAviso(TextoImposibleWord(QStringLiteral("LibreOffice (soffice) no está instalado")));
    return false;
}

QList<plat::office::MergeValues> TfGENELIMP::valoresFusionDocumento() const
{
    // Field by field in field order, each CR LF one paragraph mark.
    QList<plat::office::MergeValues> pasos;
    const plat::DataSet &docs = documentos();
    for (int i = 0; i < docs.fieldCount(); ++i) {
        const plat::Field &campo = docs.field(i);
        plat::office::MergeValues valor;
        valor.breaks = plat::office::LineBreaks::Paragraph;
        valor.add(campo.fieldName(), campo.asString().replace(QLatin1String("\r\n"), QLatin1String("\r")));
        pasos << valor;
    }
    return pasos;
}

TfGENELIMP::FalloDocumentoWord TfGENELIMP::procesarDocumentoWord(const QString &copia,
                                                                const QList<plat::office::MergeValues> &valores,
                                                                int numero)
{
    using Tipo = FalloDocumentoWord::Tipo;
    const QString error = plat::office::mergeDocx(copia, valores);
    if (!error.isEmpty())
        return {Tipo::Apertura, error};
    FalloDocumentoWord fallo;
    if (salidaPDF()) {
        const QString pdf = QDir(carpetaTemporal())
                                .filePath(QStringLiteral("VKTPDFCreatorTempWord") + QString::number(numero) +
                                          QStringLiteral(".pdf"));
        const QString errorPDF = servidorPDFMotor().convertirWord(copia, pdf);
        if (errorPDF.isEmpty())
            listaPDF_.append(pdf);
        else
            avisoPDF(errorPDF);
    } else if (const QString errorImpresion =
                   impresorasMotor().imprimirDocumento(copia, impresorasMotor().predeterminada(), QStringLiteral("DOC"),
                                                       TituloTrabajo());
               !errorImpresion.isEmpty()) {
        fallo = {Tipo::Impresion, errorImpresion};
    }
    QFile::remove(copia);
    return fallo;
}

void TfGENELIMP::CombinarDocumentoWord()
{
    using Tipo = FalloDocumentoWord::Tipo;
    const QString plantilla = LeerValorDeLista(QStringLiteral("DocumentoModelo"), instruccionesEnCurso_);
    if (plantilla.isEmpty())
        return;
    const QString copia = QDir(carpetaTemporal()).filePath(QFileInfo(plantilla).fileName());
    if (!arrancarWord())
        return;
    plat::DataSet &docs = documentos();
    if (!docs.active())
        return;
    int numero = 0;
    for (docs.first(); !docs.eof(); docs.next(), ++numero) {
        FalloDocumentoWord fallo;
        try {
            CopiarFichero(plantilla, copia);
            fallo = procesarDocumentoWord(copia, valoresFusionDocumento(), numero);
        } catch (const std::exception &e) {
            fallo = {Tipo::Apertura, QString::fromUtf8(e.what())};
        }
        // A document that cannot be opened or printed ends the merge; the user is told why.
        if (fallo.tipo == Tipo::Apertura) {
            MensajeAviso(TextoImposibleWord(plantilla + QStringLiteral(": ") + fallo.motivo));
            return;
        }
        if (fallo.tipo == Tipo::Impresion) {
            MensajeAviso(TextoErrorImprimiendo(fallo.motivo));
            return;
        }
    }
}

void TfGENELIMP::ImprimirDocumentosWord()
{
    const QString opcion = diseno_->DocumentosAdjuntos();
    plat::DataSet &docs = documentos();
    if (opcion.isEmpty() || opcion == QLatin1String("Auto") || !docs.active() || docs.fieldCount() == 0)
        return;
    const QString campoCodigo = docs.field(0).fieldName();
    QList<TrabajoWord> trabajos;
    for (docs.first(); !docs.eof(); docs.next()) {
        trabajos += TrabajosDocumentoWord(opcion, docs.field(0).asString(),
                                          [&docs](const QString &nombre) -> std::optional<QString> {
                                              const plat::Field *campo = docs.findField(nombre);
                                              return campo ? std::optional<QString>(campo->asString()) : std::nullopt;
                                          });
    }
    if (!arrancarWord())
        return;
    for (int numero = 0; numero < trabajos.size(); ++numero) {
        const TrabajoWord &trabajo = trabajos.at(numero);
        const QString copia = QDir(carpetaTemporal()).filePath(QFileInfo(trabajo.fichero).fileName());
        try {
            CopiarFichero(trabajo.fichero, copia);
        } catch (const std::exception &) {
            continue;   // a listed file that does not exist is skipped
        }
        QList<plat::office::MergeValues> valores;
        if (docs.locate(campoCodigo, trabajo.codigo))
            valores = valoresFusionDocumento();
        // A copy that is not a Word document is skipped and left where it is; one that does
        // not print is said once, and the rest would fail alike.
        if (const FalloDocumentoWord fallo = procesarDocumentoWord(copia, valores, numero);
            fallo.tipo == FalloDocumentoWord::Tipo::Impresion) {
            MensajeAviso(TextoErrorImprimiendo(fallo.motivo));
            return;
        }
    }
}
