// TModuloDatos: report output, program windows and the lists of stored statements.
#include "GENEW/data/modulo/Genemodu.h"

#include "GENEW/data/servicios/ListaConsultas.h"
#include "GENEW/data/servicios/MostrarGrafico.h"
#include "GENEW/data/modulo/SalidaInforme.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/data/Field.h"
#include "platform/data/QueryDataSet.h"

void TModuloDatos::ImprimirInforme(plat::PreparedReport &informe, const QString &destino)
{
    const DestinoInforme d = DestinoInforme::de(destino);
    switch (d.tipo) {
    case DestinoInforme::Pdf:
        EscribirInformePDF(informe, d.valor);
        return;
    case DestinoInforme::ImpresoraNombrada:
        ImprimirEnImpresoraNombrada(informe, d.valor, servicioImpresoras());
        return;
    case DestinoInforme::ImpresoraActual:
        break;
    }
    const plat::TableDataSet &parametros = ParamGenerales->table();
    const plat::Field *solicitar = parametros.active() && !parametros.isEmpty()
        ? parametros.findField(QStringLiteral("SolicitarDialogoImpresora"))
        : nullptr;
    if ((solicitar && solicitar->asString() == QLatin1String("NO")) || EjecutarDialogoImpresora(informe))
        servicioImpresoras().imprimir(informe);
}

bool TModuloDatos::EjecutarDialogoImpresora(plat::PreparedReport &informe)
{
    plat::ReportPrinterSettings &ajustes = informe.printerSettings();
    PrintDialog1->PrinterName = ajustes.printerName;
    PrintDialog1->Copies = ajustes.copies;
    PrintDialog1->Landscape = informe.orientation() == QPageLayout::Landscape;
    PrintDialog1->FromPage = ajustes.firstPage;
    PrintDialog1->ToPage = ajustes.lastPage;
    if (!PrintDialog1->Execute())
        return false;
    ajustes.printerName = PrintDialog1->PrinterName;
    ajustes.outputFile = PrintDialog1->OutputFileName;
    ajustes.copies = PrintDialog1->Copies;
    ajustes.orientation = PrintDialog1->Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    ajustes.firstPage = PrintDialog1->FromPage;
    ajustes.lastPage = PrintDialog1->ToPage;
    return true;
}

void TModuloDatos::MostrarGrafico(const QString &definicion, const QString &series)
{
    ::MostrarGrafico(definicion, series);
}

QString TModuloDatos::ListaConsultasSQL(const QString &usuario, const QString &aplicacion, const QString &tipo)
{
    plat::QueryResult filas;
    if (!LeerFilasConsulta(QStringLiteral("SELECT Descripcion, Instrucciones FROM FILTRO   WHERE NombreTabla = ")
                               + Entrecomillar(NombreTablaDeTipoConsulta(tipo)) + QStringLiteral("  ORDER BY Descripcion"),
                           filas))
        return QString();
    QList<ElementoAlmacenado> elementos;
    for (const QVariantList &fila : std::as_const(filas.rows))
        elementos.append({fila.value(0).toString(), fila.value(1).toString()});
    const QString usuarioConfiguracion = usuario.isEmpty() ? QString() : UsuarioConfiguracion(usuario);
    return ListaElementosAutorizados(elementos, usuario, usuarioConfiguracion, aplicacion);
}
