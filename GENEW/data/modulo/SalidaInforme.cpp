#include "GENEW/data/modulo/SalidaInforme.h"

#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/office/ServidorPDF.h"

#include <QPainter>
#include <QPrinterInfo>

DestinoInforme DestinoInforme::de(const QString &destino)
{
    if (destino.startsWith(QLatin1String("PDF:")))
        return {Pdf, destino.mid(4)};
    if (!destino.isEmpty())
        return {ImpresoraNombrada, destino};
    return {ImpresoraActual, QString()};
}

QStringList ServicioImpresorasInformeSistema::nombres() const { return QPrinterInfo::availablePrinterNames(); }

Gancho<ServicioImpresorasInforme *> &ganchoServicioImpresoras()
{
    static Gancho<ServicioImpresorasInforme *> gancho(nullptr);
    return gancho;
}

ServicioImpresorasInforme &servicioImpresoras()
{
    static ServicioImpresorasInformeSistema sistema;
    ServicioImpresorasInforme *instalado = ganchoServicioImpresoras().valor();
    return instalado ? *instalado : sistema;
}

QString PapelPDF(const plat::PreparedReport &informe)
{
    QString papel = QStringLiteral("A4");
    if (informe.paper() == plat::ReportPaper::A5)
        papel = QStringLiteral("A5");
    else if (informe.paper() == plat::ReportPaper::A3)
        papel = QStringLiteral("A3");
    if (informe.orientation() == QPageLayout::Landscape)
        papel += QStringLiteral("-Apaisado");
    return papel;
}

void EscribirInformePDF(plat::PreparedReport &informe, const QString &fichero)
{
    const QString papel = PapelPDF(informe);
    if (!informe.prepared())
        informe.prepare();
    const int paginas = informe.pageCount();
    if (paginas <= 0)
        return;

    QString error;
    const auto dibujarPagina = [&informe](int n, QPainter &pintor) { informe.drawPage(n, pintor); };
    if (!CrearPDF(fichero, papel, paginas, dibujarPagina, error))
        MensajeAviso(QStringLiteral("Se ha producido un error al generar el archivo PDF. Motivo: ") + error);
}

bool ImprimirEnImpresoraNombrada(plat::PreparedReport &informe, const QString &nombre, ServicioImpresorasInforme &impresoras)
{
    for (const QString &impresora : impresoras.nombres()) {
        if (impresora.contains(nombre, Qt::CaseSensitive)) {
            informe.printerSettings().printerName = impresora;
            informe.printerSettings().outputFile.clear();
            impresoras.imprimir(informe);
            return true;
        }
    }
    return false;
}
