#pragma once
#include "GENEW/reporting/impresos/AlmacenPaginas.h"
#include "GENEW/reporting/impresos/DisenoImpreso.h"
#include "GENEW/reporting/impresos/OrdenesDibujo.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "platform/ui/Form.h"

#include <QImage>
#include <QTemporaryDir>
#include <array>
#include <memory>
#include <optional>

class DestinoLienzo;
class EscritorPDFImpreso;
class OrdenesCampo;
class PintorPrintBarcode;
class DestinoTextoBruto;
class QPainter;
class QPrinter;
class QScrollArea;
class TPrintBarcode;
namespace plat {
class Button;
class Canvas;
class DataSet;
class DataSource;
class Image;
class Label;
class Panel;
class SaveDialog;
class SpeedButton;
class SpinEdit;
class TableComponent;
namespace office {
struct MergeValues;
}
} // namespace plat

// The request, set by the caller before the engine is created.
extern QString FormularioLlamanteImpreso;   // "fGENEIMPR" for the layout editor's simulation
extern bool VistaPreviaImpreso;             // pages to the screen preview, else to the printer
extern QString CodigoImpresoPeticion;       // IMPRESO.Codigo of the layout to run
extern bool SinDialogoImpresora;            // print without the print dialog

class TfGENELIMP;
extern TfGENELIMP *fGENELIMP;

constexpr int kPaginasAvisoInforme = 25;
constexpr int kResolucionPaginaPantalla = 96;
constexpr int kResolucionPaginaPDF = 150;

// The print engine: runs a stored layout over the caller's documents table (`Temporal`, one
// record per document) and lines table (`LTemporal`, detail of it through `DataSource1`),
// and sends the pages to the screen preview, a printer (drawn, or raw text) or a PDF file.
// It owns the layout in force and the run's state and draws the layout's commands; field
// commands go to the executor installed for them. A screen run shows the engine itself,
// modally and maximised, as the page previewer: one page at a time at a zoom, under a
// millimetre ruler, with navigation, printing, PDF and Excel export and help.
class TfGENELIMP : public plat::Form, private EjecutorOrdenesImpreso
{
    Q_OBJECT
public:
    explicit TfGENELIMP(QWidget *parent = nullptr);
    ~TfGENELIMP() override;

    plat::TableComponent *Impreso;
    plat::TableComponent *Temporal;
    plat::TableComponent *LTemporal;
    plat::DataSource *DataSource1;
    TPrintBarcode *PrintBarcode1;
    plat::Image *ImagenCodigoBarras;
    plat::Button *pbSalir;

    // The preview: tool bar and page area.
    plat::Panel *Panel1;
    plat::Panel *P1;
    plat::Label *LabelPagina;
    plat::SpeedButton *pbPrimeraPagina;
    plat::SpinEdit *SpinEditPagina;
    plat::SpeedButton *pbUltimaPagina;
    plat::Panel *P2;
    plat::Label *LabelZoom;
    plat::SpeedButton *pbZoomToFit;
    plat::SpeedButton *pbZoomTo100;
    plat::SpeedButton *pbZoomToWidth;
    plat::SpinEdit *SpinEditZoom;
    plat::Panel *Panel2;
    plat::Label *LabelImprimir;
    plat::SpeedButton *pbImprimir;
    plat::SpeedButton *pbImprimirPagina;
    plat::Panel *Panel3;
    plat::Label *LabelExportar;
    plat::SpeedButton *pbExportarAExcel;
    plat::SpeedButton *pbExportarAPDF;
    plat::Panel *Panel4;
    plat::SpeedButton *pbAyuda;
    QScrollArea *ScrollBox1;
    plat::Image *Image1;

    // Output target: empty = the layout's printer; a printer name; "PDF:" and a file name.
    QString SalidaImpresion;
    // One-page mode: only the documents whose key text is that of page PaginaUnaPagina.
    bool UnaPagina = false;
    int PaginaUnaPagina = 1;

    // The executor of the field commands (Camp, Expr, Conc, Suma, ISum): the engine's own
    // `OrdenesCampo` unless another is installed; none draws nothing.
    void InstalarOrdenesCampo(EjecutorOrdenesImpreso *ordenes) { ordenesCampo_ = ordenes; }
    OrdenesCampo &ordenesCampoPropias() { return *ordenesCampoPropias_; }

    void Imprimir();
    void GenerarImpreso();
    void NuevaPagina(DestinoImpresion destino);
    void Cabecera();
    void Lineas();
    void PieSumaYSigue();
    void Pie();
    void PiePagina();
    void ImprimirDocumentosAdjuntos();
    void UnirPDF();
    // "ASCII" layouts: every document's `StreamASCII` to the printer chosen, as one raw job.
    void ImprimirASCII();
    // "MSWord" layouts: the layout's `DocumentoModelo` merged with each document, printed or
    // converted into the PDF list.
    void CombinarDocumentoWord();
    // The Word documents `DocumentosAdjuntos` lists, merged with their documents, printed or
    // converted into the PDF list.
    void ImprimirDocumentosWord();
    // The title of the run's print jobs in the print queue: the layout's description, else
    // "Impreso".
    QString TituloTrabajo() const;
    int MilimetrosAPuntosX(double milimetros) const;
    int MilimetrosAPuntosY(double milimetros) const;

    // ---- what the commands, the preview and tests read ----------------------------------
    DisenoImpreso &diseno() { return *diseno_; }
    EstadoEjecucionImpreso &ejecucion() { return ejecucion_; }
    const ContextoOrdenes &contexto() const { return contexto_; }
    OrdenesDibujo &dibujo() { return *dibujo_; }
    AlmacenPaginas &paginas() { return paginas_; }
    qint64 contadorPaginas() const { return contadorPaginas_; }
    // Totals of the sum slots, cleared at each copy of each document.
    std::array<double, kMaximoCamposSuma> &sumas() { return sumas_; }
    double cambio() const { return cambio_; }
    int codigoMoneda() const { return codigoMoneda_; }
    QString impresoraAdjuntos() const { return impresoraAdjuntos_; }
    bool simulacion() const { return FormularioLlamanteImpreso == QLatin1String("fGENEIMPR"); }
    bool salidaPDF() const { return SalidaImpresion.startsWith(QLatin1String("PDF:")); }
    // The run's private folder inside the temporary directory.
    QString carpetaTemporal();

    // ---- the preview ---------------------------------------------------------------------
    // Page n at the zoom of SpinEditZoom, with the ruler laid over it; a page that does not
    // exist leaves the image as it is.
    void MostrarPagina(int n);
    // The millimetre ruler into the work bitmap (unless `PrevisualizacionSinRegla` is "SI").
    void DibujarRegla();
    // The bitmap the ruler is drawn in; null when the run has none.
    const QImage &bitmapTrabajo() const { return bitmapTrabajo_; }
    // The screen the preview's sizes are measured on; the window's own when none is set.
    void PonerTamanoPantalla(QSize tamano) { tamanoPantalla_ = tamano; }
    QSize tamanoPantalla() const;
    int paginaMostrada() const { return paginaMostrada_; }

public slots:
    void FormCreate(QObject *Sender);
    void FormDestroy(QObject *Sender);
    void FormShow(QObject *Sender);
    void FormClose(QObject *Sender, plat::CloseAction &Action);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void BuscarDatosDBEdit(QObject *Sender);
    void pbSalirClick(QObject *Sender);
    void SpinEditPaginaChange(QObject *Sender);
    void pbPrimeraPaginaClick(QObject *Sender);
    void pbUltimaPaginaClick(QObject *Sender);
    void pbImprimirClick(QObject *Sender);
    void pbImprimirPaginaClick(QObject *Sender);
    void SpinEditZoomChange(QObject *Sender);
    void pbZoomToWidthClick(QObject *Sender);
    void pbZoomTo100Click(QObject *Sender);
    void pbZoomToFitClick(QObject *Sender);
    void pbExportarAPDFClick(QObject *Sender);
    void pbExportarAExcelClick(QObject *Sender);
    void pbAyudaClick(QObject *Sender);

private:
    void construirVistaPrevia();
    void mostrarVistaPrevia();
    int zoomAnchoPagina() const;
    int zoomPaginaCompleta() const;
    void ponerZoom(int zoom);
    // Runs the generator again to the printer (the whole run or the page's document only),
    // the page count and the preview's state kept.
    void imprimirDesdeVistaPrevia(bool soloDocumentoDePagina);
    plat::SaveDialog &dialogoGrabar();
    bool arrancarWord();
    QList<plat::office::MergeValues> valoresFusionDocumento() const;
    // What went wrong with one Word copy: it could not be opened (merged), or not printed.
    struct FalloDocumentoWord
    {
        enum class Tipo { Ninguno, Apertura, Impresion };
        Tipo tipo = Tipo::Ninguno;
        QString motivo;
    };
    // Merges one Word copy and prints it or converts it into the PDF numbered n; the copy is
    // deleted then.
    FalloDocumentoWord procesarDocumentoWord(const QString &copia, const QList<plat::office::MergeValues> &valores,
                                             int numero);
    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) override;
    void ejecutarSeccion(SeccionImpreso seccion);
    void abrirPie();
    void generarDocumentos();
    void imprimirLineas();
    void borrarContinuaciones();
    void sumarLinea();
    void leerMonedaDocumento();
    int numeroCopias() const;
    QString codigoImpresoDocumento() const;
    QString claveDocumento();
    void cambiarDiseno(const QString &codigo);
    bool seleccionarImpresora(const QString &nombre);
    void empezarPaginaImpresora();
    void terminarImpresora();
    void abortarImpresora();
    void liberarPaginas();
    void nuevaPaginaPantalla();
    // Ends the PDF the run drew (nothing when it drew no page), names it in the run's folder
    // and adds it to the PDF list.
    void escribirPaginasPDF(const QString &nombre);
    void anadirObjetosAdjuntos(const QString &tabla, const QString &clave, int fila);
    void avisoPDF(const QString &motivo);
    plat::DataSet &documentos() const;
    plat::DataSet *lineas() const;
    QString opcionImpreso(const QString &opcion);

    EstadoEjecucionImpreso ejecucion_;
    std::unique_ptr<DisenoImpreso> diseno_;
    ContextoOrdenes contexto_;
    std::unique_ptr<OrdenesDibujo> dibujo_;
    std::unique_ptr<PintorPrintBarcode> pintorBarras_;
    plat::DataSet *dataSetActual_ = nullptr;
    std::unique_ptr<OrdenesCampo> ordenesCampoPropias_;
    EjecutorOrdenesImpreso *ordenesCampo_ = nullptr;

    AlmacenPaginas paginas_;                    // a screen run's pages
    std::unique_ptr<EscritorPDFImpreso> pdf_;   // a PDF run's, from its first page
    std::unique_ptr<plat::Canvas> lienzoPagina_;
    std::unique_ptr<DestinoLienzo> destinoLienzo_;
    std::unique_ptr<DestinoTextoBruto> destinoBruto_;
    std::unique_ptr<QPrinter> impresora_;
    std::unique_ptr<QPainter> pintorImpresora_;
    std::unique_ptr<plat::Canvas> lienzoImpresora_;
    EleccionImpresora eleccionTrabajo_;   // where the printer job of the run goes
    int resolucionPagina_ = kResolucionPaginaPantalla;

    qint64 contadorPaginas_ = 0;
    qint64 copiasRestantes_ = 0;
    std::array<double, kMaximoCamposSuma> sumas_{};
    double cambio_ = 1.0;
    int codigoMoneda_ = 1;
    QString impresoraAdjuntos_;
    QStringList listaPDF_;
    bool preguntadoInformeGrande_ = false;
    std::unique_ptr<QTemporaryDir> carpeta_;
    QString instruccionesEnCurso_;   // `Instrucciones` of the layout the run found first
    QString descripcionEnCurso_;     // and its `Descripcion`

    QImage bitmapTrabajo_;
    std::optional<QSize> tamanoPantalla_;
    int paginaMostrada_ = 0;
    plat::SaveDialog *dialogoGrabarPropio_ = nullptr;   // without a data module
};

// The engine's form of one run in fGENELIMP, freed (its request tables dropped with it)
// whichever way the run ends.
class FormularioMotorImpreso
{
public:
    FormularioMotorImpreso();
    ~FormularioMotorImpreso();
    FormularioMotorImpreso(const FormularioMotorImpreso &) = delete;
    FormularioMotorImpreso &operator=(const FormularioMotorImpreso &) = delete;
    TfGENELIMP &motor() const { return *fGENELIMP; }
};

// The printer helpers: the physical page and the resolution of a printer, the screen's
// logical resolution.
int AnchoFisicoImpresora(QPrinter &impresora);
int AltoFisicoImpresora(QPrinter &impresora);
int PuntosPorPulgadaImpresoraX(QPrinter &impresora);
int PuntosPorPulgadaImpresoraY(QPrinter &impresora);
int PuntosPorPulgadaPantallaX();
int PuntosPorPulgadaPantallaY();
// Dots of a length at a resolution: round(resolution x millimetres / 25.4).
int MilimetrosAPuntos(int resolucion, double milimetros);
