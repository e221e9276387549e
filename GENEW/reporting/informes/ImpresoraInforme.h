#pragma once
#include "GENEW/reporting/informes/PaginasGuardadas.h"
#include "GENEW/reporting/informes/PaginasInforme.h"
#include "platform/report/PreparedReport.h"

#include <QObject>

class Informe;

// The printer object of a report: holds the pages as they are generated (the last few in
// memory, the others in its temporary file), tells when each one becomes available and how
// far the run has gone, prints them as they are and hands them to the export filters.
// Previews show the pages of a printer object.
class ImpresoraInforme : public QObject
{
    Q_OBJECT
public:
    explicit ImpresoraInforme(Informe *informe);

    Informe *informe() const { return informe_; }
    int pageCount() const { return paginas_.cuenta(); }
    // Page n from 1; nullptr when it has not been generated.
    PaginaCompartida GetPage(int n) const { return paginas_.pagina(n); }
    const PaginasGuardadas &paginas() const { return paginas_; }
    // How many of the last pages stay in memory.
    void ponerPaginasEnMemoria(int paginas) { paginas_.ponerEnMemoria(paginas); }

    // Busy while the report is generated or printed.
    bool busy() const { return ocupada_; }
    // Ends the run after the page being generated.
    Q_INVOKABLE void AbortDoc() { cancelar_ = true; }
    bool cancelada() const { return cancelar_; }
    // Prints the pages held as they are, on the report's printer settings (a PDF file when
    // they name one); a print that cannot be made is said with its reason.
    Q_INVOKABLE bool Print();
    bool ExportToFilter(plat::ReportExport formato, const QString &fileName) const;

    // Previews showing these pages (a report's preview call lasts while there is one).
    int vistas() const { return vistas_; }

    // Used by the report's run.
    void empezar();
    void agregarPagina(PaginaCompartida pagina);
    void informarProgreso(int porcentaje);
    void terminar();
    void registrarVista(int delta);

signals:
    void paginaDisponible(int numero);
    void progreso(int porcentaje);
    void generacionTerminada();
    void vistasCambiadas();

private:
    Informe *informe_;
    PaginasGuardadas paginas_;
    bool ocupada_ = false;
    bool cancelar_ = false;
    int vistas_ = 0;
};

// Renderers of generated pages.
// On any active painter whose origin is the sheet's corner (page units mapped here).
void dibujarPaginaEn(const PaginaGenerada &pagina, QPainter &painter);
// A PDF file of the pages; false when the file cannot be written.
bool escribirPdf(const PaginasGuardadas &paginas, const QString &fichero, plat::ReportPaper papel,
                 QPageLayout::Orientation orientacion, const QString &titulo = QString());
// On the printer the installed provider gives for the settings (page range and copies
// taken from them), as a job of that title; the reason it could not print, empty when it
// printed.
QString imprimirPaginas(const PaginasGuardadas &paginas, const plat::ReportPrinterSettings &ajustes,
                        plat::ReportPaper papel, QPageLayout::Orientation orientacion, const QString &titulo);
// The title a report's print job goes by in the print queue: the report's, else "Informe".
QString tituloTrabajo(const Informe &informe);
