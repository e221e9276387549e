#include "GENEW/reporting/informes/ImpresoraInforme.h"

#include "GENEW/reporting/AvisoImpresion.h"

#include "GENEW/reporting/informes/ExportacionesInforme.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/office/ServidorPDF.h"
#include "platform/report/ReportPrinter.h"

ImpresoraInforme::ImpresoraInforme(Informe *informe) : QObject(informe), informe_(informe) {}

void ImpresoraInforme::empezar()
{
    paginas_.vaciar();
    cancelar_ = false;
    ocupada_ = true;
}

void ImpresoraInforme::agregarPagina(PaginaCompartida pagina)
{
    paginas_.agregar(std::move(pagina));
    emit paginaDisponible(paginas_.cuenta());
}

void ImpresoraInforme::informarProgreso(int porcentaje)
{
    emit progreso(porcentaje);
}

void ImpresoraInforme::terminar()
{
    ocupada_ = false;
    emit generacionTerminada();
}

void ImpresoraInforme::registrarVista(int delta)
{
    vistas_ += delta;
    emit vistasCambiadas();
}

bool ImpresoraInforme::Print()
{
    ocupada_ = true;
    const QString motivo = imprimirPaginas(paginas_, informe_->PrinterSettings, informe_->paper(),
                                           informe_->orientation(), tituloTrabajo(*informe_));
    ocupada_ = false;
    if (!motivo.isEmpty())
        AvisoErrorImprimiendo(motivo);
    return motivo.isEmpty();
}

bool ImpresoraInforme::ExportToFilter(plat::ReportExport formato, const QString &fileName) const
{
    return grabarExportacion(formato, paginas_, fileName);
}

// ---- renderers ------------------------------------------------------------------------------

void dibujarPaginaEn(const PaginaGenerada &pagina, QPainter &painter)
{
    painter.save();
    plat::mapPageUnits(painter);
    dibujarPagina(pagina, painter);
    painter.restore();
}

namespace {

QPageLayout disposicion(plat::ReportPaper papel, QPageLayout::Orientation orientacion)
{
    return QPageLayout(QPageSize(plat::pageSizeId(papel)), orientacion, QMarginsF(0, 0, 0, 0));
}

// False when the device cannot be drawn on (a file that cannot be written).
template<class Dispositivo>
bool dibujarPaginas(Dispositivo &dispositivo, const PaginasGuardadas &paginas, int primera, int ultima)
{
    QPainter painter(&dispositivo);
    if (!painter.isActive())
        return false;
    for (int n = primera; n <= ultima; ++n) {
        if (n > primera)
            dispositivo.newPage();
        if (const PaginaCompartida pagina = paginas.pagina(n))
            dibujarPaginaEn(*pagina, painter);
    }
    return true;
}

} // namespace

bool escribirPdf(const PaginasGuardadas &paginas, const QString &fichero, plat::ReportPaper papel,
                 QPageLayout::Orientation orientacion, const QString &titulo)
{
    if (paginas.isEmpty())
        return false;
    const auto dibujar = [&paginas](int n, QPainter &painter) {
        if (const PaginaCompartida pagina = paginas.pagina(n))
            dibujarPaginaEn(*pagina, painter);
    };
    return EscribirPDF(fichero, {disposicion(papel, orientacion), 0, titulo, paginas.cuenta(), dibujar}).isEmpty();
}

QString tituloTrabajo(const Informe &informe)
{
    return informe.ReportTitle.trimmed().isEmpty() ? QStringLiteral("Informe") : informe.ReportTitle.trimmed();
}

QString imprimirPaginas(const PaginasGuardadas &paginas, const plat::ReportPrinterSettings &ajustes,
                        plat::ReportPaper papel, QPageLayout::Orientation orientacion, const QString &titulo)
{
    const int primera = std::max(1, ajustes.firstPage);
    const int ultima = ajustes.lastPage > 0 ? std::min(ajustes.lastPage, paginas.cuenta()) : paginas.cuenta();
    if (primera > ultima)
        return QStringLiteral("no hay páginas que imprimir");
    std::unique_ptr<QPrinter> impresora = plat::printerProvider().printerFor(ajustes);
    if (!impresora) {
        return ajustes.printerName.isEmpty() ? QStringLiteral("no hay ninguna impresora instalada")
                                             : QStringLiteral("no se encuentra la impresora ") + ajustes.printerName;
    }
    impresora->setDocName(titulo);
    impresora->setFullPage(true);
    impresora->setPageLayout(disposicion(papel, orientacion));
    if (dibujarPaginas(*impresora, paginas, primera, ultima))
        return {};
    if (!ajustes.outputFile.isEmpty())
        return QStringLiteral("no se puede escribir el archivo ") + ajustes.outputFile;
    return QStringLiteral("no se puede usar la impresora ") + impresora->printerName();
}
