// The attachments run of the print engine: each document printed by itself, followed by the
// files attached to the record it stands for.
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "platform/data/engine/Connection.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QDir>
#include <QFile>

namespace {

QStringList ColumnasClaveDocumentos(plat::TableDataSet &documentos)
{
    if (ModuloDatos) {
        const QString campos = ModuloDatos->CamposClaveSQL(documentos.tableName());
        if (!campos.isEmpty())
            return campos.split(QLatin1Char(','), Qt::SkipEmptyParts);
    }
    return documentos.indexFields();
}

} // namespace

void TfGENELIMP::ImprimirDocumentosAdjuntos()
{
    plat::TableDataSet &docs = Temporal->table();
    plat::Connection *conexion = docs.connection();
    if (!conexion)
        return;
    const QStringList claves = ColumnasClaveDocumentos(docs);
    const QString conexionAdjuntos = opcionImpreso(QStringLiteral("ConexionDocumentosAdjuntos"));
    const QString tablaConexion = conexionAdjuntos.section(QLatin1Char('>'), 0, 0);
    const QStringList columnasConexion =
        conexionAdjuntos.section(QLatin1Char('>'), 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    if (claves.isEmpty() || columnasConexion.isEmpty())
        return;

    // One statement of both column lists, ordered by the connection and then the key, so
    // that every row names one document and its own attachments.
    const QStringList todas = columnasConexion + claves;
    const plat::QueryResult filas = conexion->query(QStringLiteral("SELECT ") + todas.join(QLatin1Char(',')) +
                                                    QStringLiteral(" FROM ") + docs.tableName() +
                                                    QStringLiteral(" ORDER BY ") + todas.join(QLatin1Char(',')));
    listaPDF_.clear();
    const bool pdf = salidaPDF();
    for (int fila = 0; fila < filas.rows.size(); ++fila) {
        const QVariantList &valores = filas.rows.at(fila);
        QStringList valoresConexion;
        for (int i = 0; i < columnasConexion.size(); ++i)
            valoresConexion << valores.at(i).toString();
        const QVariantList clave = valores.mid(columnasConexion.size());

        docs.setIndexFieldNames(claves.join(QLatin1Char(';')));
        docs.setRange(clave, clave);
        ejecucion_.destino = pdf ? DestinoImpresion::Pantalla : DestinoImpresion::Impresora;
        GenerarImpreso();
        if (pdf) {
            impresoraAdjuntos_ = SalidaImpresion;
            escribirPaginasPDF(QStringLiteral("VKTPDFCreatorTemp") + QString::number(fila) + QStringLiteral(".pdf"));
            liberarPaginas();
        }
        if (impresoraAdjuntos_ != QLatin1String("Ninguna"))
            anadirObjetosAdjuntos(tablaConexion, valoresConexion.join(QLatin1Char('|')), fila);
        if (!pdf && fila == 0) {
            SalidaImpresion = impresoraAdjuntos_;
            SinDialogoImpresora = true;
        }
    }
    docs.cancelRange();
    UnirPDF();
}

void TfGENELIMP::anadirObjetosAdjuntos(const QString &tabla, const QString &clave, int fila)
{
    plat::Connection *conexion = Impreso->table().connection();
    if (!conexion)
        return;
    const plat::QueryResult objetos = conexion->query(
        QStringLiteral("SELECT IdObjeto, TipoObjeto, Objeto FROM BLOBTAB WHERE NombreTabla = :Tabla AND ClaveTabla = :Clave "
                       "ORDER BY IdObjeto"),
        {{QStringLiteral("Tabla"), tabla}, {QStringLiteral("Clave"), clave}});
    for (int i = 0; i < objetos.rows.size(); ++i) {
        const QString tipo = objetos.rows.at(i).at(1).toString();
        const QString fichero = QDir(carpetaTemporal())
                                    .filePath(QStringLiteral("Adjunto%1-%2.%3").arg(fila).arg(i).arg(tipo.toLower()));
        QFile salida(fichero);
        if (!salida.open(QIODevice::WriteOnly) || salida.write(objetos.rows.at(i).at(2).toByteArray()) < 0)
            continue;
        salida.close();
        if (!salidaPDF()) {
            impresorasMotor().imprimirDocumento(fichero, impresoraAdjuntos_, tipo, TituloTrabajo());
            continue;
        }
        if (tipo == QLatin1String("PDF")) {
            listaPDF_.append(fichero);
        } else if (tipo == QLatin1String("DOC")) {
            const QString pdf =
                QDir(carpetaTemporal()).filePath(QStringLiteral("VKTPDFCreatorTempAdj") + QString::number(fila) + QStringLiteral(".pdf"));
            const QString error = servidorPDFMotor().convertirWord(fichero, pdf);
            if (error.isEmpty())
                listaPDF_.append(pdf);
            else
                avisoPDF(error);
        }
    }
}
