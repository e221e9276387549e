#pragma once
#include "platform/base/Gancho.h"
#include "platform/ui/Form.h"
#include "platform/report/PreparedReport.h"

#include <QPointer>
#include <QString>
#include <functional>

class Informe;
class VistaPreviaInforme;

namespace plat {
class Button;
class DataSet;
class MenuItem;
class PopupMenu;
class ProgressBar;
class SpeedButton;
class SpinEdit;
class ToolBar;
} // namespace plat

// What the preview asks of the layers that own it: the form framework (preparation,
// translation, keys, the shared "listing cancelled" flag and the restrictions header), the
// report output and print dialog of the main window's printer service, the data module's
// Excel export and the help. Each owner installs its own; an unassigned one does nothing,
// except the report output and the print dialog, which fall back on the report's own PDF
// writer and the data module's print dialog.
struct ServiciosPrevisualizacion
{
    plat::NotifyEvent PrepararFormulario;
    plat::NotifyEvent TraducirFormulario;
    plat::KeyPressEvent ProcesarTeclaPulsada;
    std::function<void(bool cancelado)> PonerListadoCancelado;
    // The restrictions header prints again on the first page printed next.
    std::function<void()> RestriccionesEnPrimeraPagina;
    std::function<void(plat::PreparedReport &informe, const QString &destino)> ImprimirInforme;
    // The print dialog; when confirmed, its choices are in the report's printer settings.
    std::function<bool(plat::PreparedReport &informe)> EjecutarDialogoImpresora;
    std::function<void(plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                       const QString &opciones)>
        ExportarExcel;
    std::function<void(int contexto)> MostrarAyuda;
};

// The listing preview: a window per preview that shows the pages of a report while they are
// being generated, pages and zooms, prints all pages or the current one, exports the report
// (text, CSV, HTML, PDF) or its data (Excel), and stays open until the report has finished.
class TfGENEPREV : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEPREV(QWidget *parent = nullptr);
    ~TfGENEPREV() override;

    // The form framework's part (preparation, translation, keys, the shared flags, the data
    // module's Excel export), reached through the start-up form and the data module while
    // they live; the default of the hook, and what the main window installs its own over.
    static ServiciosPrevisualizacion ServiciosDelMarco();
    static Gancho<ServiciosPrevisualizacion> &GanchoServicios();
    static const ServiciosPrevisualizacion &Servicios() { return GanchoServicios().valor(); }

    // Installs services for a scope and puts the previous ones back on leaving it.
    class ServiciosInstalados : public Gancho<ServiciosPrevisualizacion>::Instalacion
    {
    public:
        explicit ServiciosInstalados(ServiciosPrevisualizacion servicios)
            : Instalacion(GanchoServicios(), std::move(servicios))
        {
        }
    };

    // The report shown; a placeholder of the window's own until the caller sets it.
    QPointer<::Informe> Informe;
    // "" while the report is being generated, "En Progreso" while a print started here runs,
    // "Finalizada" once the report has ended.
    QString Estado;
    int NumeroPaginas = 0;            // the latest page reported available
    bool PrimeraPagina = true;        // the first page has not been shown yet
    bool GeneracionEnCurso = false;   // progress above 0 has been reported
    bool ImpresionLanzada = false;    // a print was started from this window

    plat::ToolBar *ToolBar1;
    plat::SpeedButton *pbPrimeraPagina;
    plat::SpeedButton *pbUltimaPagina;
    plat::SpinEdit *SpinEditPagina;
    plat::SpeedButton *pbZoomToFit;
    plat::SpeedButton *pbZoomTo100;
    plat::SpeedButton *pbZoomToWidth;
    plat::SpinEdit *SpinEditZoom;
    plat::SpeedButton *pbImprimir;
    plat::SpeedButton *pbImprimirPagina;
    plat::SpeedButton *pbExportar;
    plat::SpeedButton *pbExportarAExcel;
    plat::SpeedButton *pbExportarAPDF;
    plat::SpeedButton *pbAyuda;
    plat::Button *pbSalir;
    VistaPreviaInforme *QRPreview1;
    plat::ProgressBar *ProgressBar1;
    plat::PopupMenu *PopupMenu1;
    plat::MenuItem *CancelarelListado1;

public slots:
    void FormCreate(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void InformeFinalizado(QObject *Sender);
    void QRPreview1PageAvailable(QObject *Sender, int PageNum);
    void QRPreview1ProgressUpdate(QObject *Sender, int Progress);
    void SpinEditPaginaChange(QObject *Sender);
    void SpinEditZoomChange(QObject *Sender);
    void pbPrimeraPaginaClick(QObject *Sender);
    void pbUltimaPaginaClick(QObject *Sender);
    void pbZoomToFitClick(QObject *Sender);
    void pbZoomToWidthClick(QObject *Sender);
    void pbZoomTo100Click(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbExportarClick(QObject *Sender);
    void pbExportarAExcelClick(QObject *Sender);
    void pbExportarAPDFClick(QObject *Sender);
    void pbAyudaClick(QObject *Sender);
    void CancelarelListado1Click(QObject *Sender);
    void pbSalirClick(QObject *Sender);

private:
    void construirBarra();
    void aplicarZoomInicial();
    void mostrarPagina(int pagina);
    void mostrarZoom();
    void imprimirPaginasRetenidas(bool soloPaginaActual);
    void imprimirConDialogo(bool soloPaginaActual);
    // The file name the exports offer: the report's title, else the title of the window that
    // owns it, else "Informe" ("/" made "-").
    QString nombreFicheroPropuesto() const;

    ::Informe *provisional_;
};

extern TfGENEPREV *fGENEPREV;

// The preview event of a report: creates the window into fGENEPREV, ends its state on the
// report's end of run, gives it the report and the report's printer object, and shows it.
// The report's preview call returns once the window has been closed.
TfGENEPREV *AbrirPrevisualizacion(Informe &informe);
