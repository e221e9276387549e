#include "GENEW/reporting/informes/GENEPREV.h"

#include "GENEW/reporting/informes/AjustesVistaPrevia.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "GENEW/reporting/informes/Informe.h"
#include "GENEW/reporting/informes/VistaPreviaInforme.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Keys.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/SpinEdit.h"
#include "platform/ui/ToolBar.h"

#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>

TfGENEPREV *fGENEPREV = nullptr;

namespace {

const QString kEnProgreso = QStringLiteral("En Progreso");
const QString kFinalizada = QStringLiteral("Finalizada");
const QString kFiltroExportar =
    QStringLiteral("Archivos de Texto (*.TXT)|*.TXT|Formato CSV (*.CSV)|*.CSV|Documento HTML (*.HTM)|*.HTM");
const QString kFiltroPDF = QStringLiteral("Archivos PDF (*.PDF)|*.PDF");

// The data module's print dialog on the report's printer, copies and pages; when confirmed,
// its choices (a printer or a PDF file) go into the report's printer settings.
bool dialogoImpresoraDelModulo(Informe &informe)
{
    if (!ModuloDatos)
        return false;
    plat::PrintDialog &impresion = *ModuloDatos->PrintDialog1;
    plat::ReportPrinterSettings &ajustes = informe.PrinterSettings;
    impresion.PrinterName = ajustes.printerName;
    impresion.Copies = ajustes.copies;
    impresion.FromPage = 1;
    impresion.ToPage = informe.pageCount();
    if (!impresion.Execute())
        return false;
    ajustes.printerName = impresion.PrinterName;
    ajustes.outputFile = impresion.OutputFileName;
    ajustes.copies = impresion.Copies;
    ajustes.firstPage = impresion.FromPage;
    ajustes.lastPage = impresion.ToPage;
    return true;
}

plat::Form *ventanaDe(const QObject *objeto)
{
    for (QObject *o = objeto ? objeto->parent() : nullptr; o; o = o->parent())
        if (auto *form = qobject_cast<plat::Form *>(o))
            return form;
    return nullptr;
}

} // namespace

// ---- services ---------------------------------------------------------------------------------

ServiciosPrevisualizacion TfGENEPREV::ServiciosDelMarco()
{
    ServiciosPrevisualizacion s;
    s.PrepararFormulario = [](QObject *formulario) {
        if (fGENEINIC)
            fGENEINIC->PrepararFormulario(formulario);
    };
    s.TraducirFormulario = [](QObject *formulario) {
        if (fGENEINIC)
            fGENEINIC->TraducirFormulario(formulario);
    };
    s.ProcesarTeclaPulsada = [](QObject *formulario, QChar &tecla) {
        if (fGENEINIC)
            fGENEINIC->ProcesarTeclaPulsada(formulario, tecla);
    };
    s.PonerListadoCancelado = [](bool cancelado) { ListadoCancelado = cancelado; };
    s.RestriccionesEnPrimeraPagina = [] {
        if (fGENEINIC)
            fGENEINIC->CabeceraListadoActual.primeraPagina = true;
    };
    s.ExportarExcel = [](plat::DataSet *principal, plat::DataSet *detalle, const QString &fichero,
                         const QString &opciones) {
        if (ModuloDatos)
            ModuloDatos->ExportarExcel(principal, detalle, fichero, opciones);
    };
    return s;
}

Gancho<ServiciosPrevisualizacion> &TfGENEPREV::GanchoServicios()
{
    static Gancho<ServiciosPrevisualizacion> gancho(ServiciosDelMarco());
    return gancho;
}

// ---- the window -------------------------------------------------------------------------------

TfGENEPREV::TfGENEPREV(QWidget *parent) : plat::Form(parent), provisional_(nullptr)
{
    setObjectName(QStringLiteral("fGENEPREV"));
    setCaption(QStringLiteral("Previsualización de Informes"));
    setKeyPreview(true);
    setFormState(plat::wsMaximized);

    construirBarra();
    QRPreview1 = make<VistaPreviaInforme>(QStringLiteral("QRPreview1"), this);
    ProgressBar1 = make<plat::ProgressBar>(QStringLiteral("ProgressBar1"), this);
    ProgressBar1->setFixedHeight(16);

    PopupMenu1 = make<plat::PopupMenu>(QStringLiteral("PopupMenu1"), this);
    CancelarelListado1 = make<plat::MenuItem>(QStringLiteral("CancelarelListado1"), QStringLiteral("&Cancelar el Listado"));
    CancelarelListado1->setShortCut(plat::ShortCut(plat::VK_ESCAPE, {}));
    // Esc reaches the entry (a pop-up's shortcuts answer while the menu is closed) before the
    // form hands it to the cancel button.
    PopupMenu1->Items()->Add(CancelarelListado1);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint &punto) {
        const QPoint enPantalla = mapToGlobal(punto);
        PopupMenu1->Popup(enPantalla.x(), enPantalla.y());
    });

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(ToolBar1);
    columna->addWidget(QRPreview1, 1);
    columna->addWidget(ProgressBar1);

    OnCreate = plat::handler(this, &TfGENEPREV::FormCreate);
    OnShow = plat::handler(this, &TfGENEPREV::FormShow);
    OnClose = plat::handler(this, &TfGENEPREV::FormClose);
    OnKeyPress = [](QObject *Sender, QChar &Key) { Servicios().ProcesarTeclaPulsada(Sender, Key); };
    QRPreview1->OnPageAvailable = plat::handler(this, &TfGENEPREV::QRPreview1PageAvailable);
    QRPreview1->OnProgressUpdate = plat::handler(this, &TfGENEPREV::QRPreview1ProgressUpdate);
    connect(QRPreview1, &VistaPreviaInforme::zoomAjustado, this, &TfGENEPREV::mostrarZoom);
    SpinEditPagina->OnChange = plat::handler(this, &TfGENEPREV::SpinEditPaginaChange);
    SpinEditZoom->OnChange = plat::handler(this, &TfGENEPREV::SpinEditZoomChange);
    pbPrimeraPagina->OnClick = plat::handler(this, &TfGENEPREV::pbPrimeraPaginaClick);
    pbUltimaPagina->OnClick = plat::handler(this, &TfGENEPREV::pbUltimaPaginaClick);
    pbZoomToFit->OnClick = plat::handler(this, &TfGENEPREV::pbZoomToFitClick);
    pbZoomTo100->OnClick = plat::handler(this, &TfGENEPREV::pbZoomTo100Click);
    pbZoomToWidth->OnClick = plat::handler(this, &TfGENEPREV::pbZoomToWidthClick);
    pbImprimir->OnClick = plat::handler(this, &TfGENEPREV::pbImprimirClick);
    pbImprimirPagina->OnClick = plat::handler(this, &TfGENEPREV::pbImprimirClick);
    pbExportar->OnClick = plat::handler(this, &TfGENEPREV::pbExportarClick);
    pbExportarAExcel->OnClick = plat::handler(this, &TfGENEPREV::pbExportarAExcelClick);
    pbExportarAPDF->OnClick = plat::handler(this, &TfGENEPREV::pbExportarAPDFClick);
    pbAyuda->OnClick = plat::handler(this, &TfGENEPREV::pbAyudaClick);
    pbSalir->OnClick = plat::handler(this, &TfGENEPREV::pbSalirClick);
    CancelarelListado1->OnClick = plat::handler(this, &TfGENEPREV::CancelarelListado1Click);
}

TfGENEPREV::~TfGENEPREV()
{
    if (fGENEPREV == this)
        fGENEPREV = nullptr;
}

void TfGENEPREV::construirBarra()
{
    ToolBar1 = make<plat::ToolBar>(QStringLiteral("ToolBar1"), this);
    const auto boton = [this](const char *nombre, const QString &texto, const QString &pista,
                              QStyle::StandardPixmap icono = QStyle::SP_CustomBase) {
        auto *b = make<plat::SpeedButton>(QString::fromLatin1(nombre), ToolBar1);
        b->setCaption(texto);
        b->setHint(pista);
        if (icono != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(icono));
        ToolBar1->addControl(b);
        return b;
    };
    const auto campo = [this](const char *nombre, int minimo, int maximo, int paso, int valor) {
        auto *s = make<plat::SpinEdit>(QString::fromLatin1(nombre), ToolBar1);
        s->setRange(minimo, maximo);
        s->setSingleStep(paso);
        s->setValue(valor);
        s->setFixedWidth(maximo > 1000 ? 58 : 64);
        ToolBar1->addControl(s);
        return s;
    };

    ToolBar1->addGroup(QStringLiteral("Página"));
    pbPrimeraPagina = boton("pbPrimeraPagina", QString(), QStringLiteral("Ir a la primera página"),
                            QStyle::SP_MediaSkipBackward);
    pbUltimaPagina = boton("pbUltimaPagina", QString(), QStringLiteral("Ir a la última página"),
                           QStyle::SP_MediaSkipForward);
    SpinEditPagina = campo("SpinEditPagina", 1, 999999, 1, 1);

    ToolBar1->addGroup(QStringLiteral("Zoom"));
    pbZoomToFit = boton("pbZoomToFit", QStringLiteral("Página"), QStringLiteral("Visualizar la página completa"));
    pbZoomTo100 = boton("pbZoomTo100", QStringLiteral("100%"), QStringLiteral("Visualizar con Zoom=100%"));
    pbZoomToWidth = boton("pbZoomToWidth", QStringLiteral("Ancho"),
                          QStringLiteral("Visualizar el ancho de página completo"));
    SpinEditZoom = campo("SpinEditZoom", 10, 300, 10, 100);
    SpinEditZoom->setSuffix(QStringLiteral(" %"));

    ToolBar1->addGroup(QStringLiteral("Imprimir"));
    pbImprimir = boton("pbImprimir", QStringLiteral("Todo"), QStringLiteral("Imprimir el documento"));
    pbImprimirPagina = boton("pbImprimirPagina", QStringLiteral("Página"), QStringLiteral("Imprimir solo la página actual"));

    ToolBar1->addGroup(QStringLiteral("Exportar"));
    pbExportar = boton("pbExportar", QStringLiteral("Texto"), QStringLiteral("Exportar el informe a formato ASCII"));
    pbExportarAExcel = boton("pbExportarAExcel", QStringLiteral("Excel"),
                             QStringLiteral("Exportar los datos de la tabla principal del informe a formato Excel"));
    pbExportarAPDF = boton("pbExportarAPDF", QStringLiteral("PDF"),
                           QStringLiteral("Exportar los datos del informe a formato PDF"));

    ToolBar1->addSpace();
    pbAyuda = boton("pbAyuda", QStringLiteral("Ayuda"), QStringLiteral("Acceso a la ayuda"));
    pbSalir = make<plat::Button>(QStringLiteral("pbSalir"), ToolBar1);
    pbSalir->setCaption(QStringLiteral("&Salir"));
    pbSalir->setCancelButton(true);
    pbSalir->setFocusPolicy(Qt::NoFocus);
    ToolBar1->addControl(pbSalir);
}

void TfGENEPREV::FormCreate(QObject *Sender)
{
    setLeft(0);
    setTop(0);
    provisional_ = new ::Informe(this);
    provisional_->setObjectName(QStringLiteral("InformeProvisional"));
    provisional_->AfterPrint = plat::handler(this, &TfGENEPREV::InformeFinalizado);
    Informe = provisional_;
    GeneracionEnCurso = false;
    ImpresionLanzada = false;
    Servicios().PrepararFormulario(Sender);
}

void TfGENEPREV::FormShow(QObject *Sender)
{
    // The exit button sits at the right end of the tool bar, where the layout keeps it.
    {
        const QSignalBlocker sinAvisos(SpinEditPagina);
        SpinEditPagina->setRange(1, 999999);
        SpinEditPagina->setValue(1);
    }
    PrimeraPagina = true;
    Servicios().TraducirFormulario(Sender);
}

void TfGENEPREV::InformeFinalizado(QObject *)
{
    Estado = kFinalizada;
    // A run that has ended is no longer in progress, so a listing may be cancelled again.
    GeneracionEnCurso = false;
    // The run may have made fewer pages than a previous one (a print laid out again).
    if (!PrimeraPagina && NumeroPaginas > 0 && SpinEditPagina->maximum() != NumeroPaginas) {
        SpinEditPagina->setMaximum(NumeroPaginas);
        mostrarPagina(SpinEditPagina->value());
    }
}

void TfGENEPREV::FormClose(QObject *, plat::CloseAction &Action)
{
    const ImpresoraInforme *impresora = QRPreview1->qrPrinter();
    if ((impresora && impresora->busy()) || Estado == kEnProgreso) {
        MensajeAviso(QStringLiteral("¡Debe esperar a que finalice el informe para cerrar la previsualización!"));
        Action = plat::caNone;
        return;
    }
    Action = plat::caFree;
}

// ---- pages, progress, paging and zoom -------------------------------------------------------

void TfGENEPREV::QRPreview1PageAvailable(QObject *, int PageNum)
{
    plat::application().setCursor(plat::crDefault);
    NumeroPaginas = PageNum;
    if (PrimeraPagina) {
        PrimeraPagina = false;
        {
            const QSignalBlocker sinAvisos(SpinEditPagina);
            SpinEditPagina->setRange(1, NumeroPaginas);
            SpinEditPagina->setValue(1);
        }
        mostrarPagina(1);
        aplicarZoomInicial();
        mostrarZoom();
    } else if (NumeroPaginas > SpinEditPagina->maximum()) {
        const QSignalBlocker sinAvisos(SpinEditPagina);
        SpinEditPagina->setMaximum(NumeroPaginas);
    }
}

void TfGENEPREV::aplicarZoomInicial()
{
    const ZoomInicialVistaPrevia zoom = LeerZoomInicial(ParametroGeneralVistaPrevia(QStringLiteral("FmtVisualizacionPrevia")));
    if (zoom.modo == ZoomInicialVistaPrevia::PaginaCompleta)
        QRPreview1->ZoomToFit();
    else if (zoom.modo == ZoomInicialVistaPrevia::AnchoAjustado)
        QRPreview1->ZoomToWidth();
    else
        QRPreview1->setZoom(zoom.porcentaje);
}

void TfGENEPREV::QRPreview1ProgressUpdate(QObject *, int Progress)
{
    // A run at its end is no longer in progress (a finished run shown again reports its end).
    if (Progress > 0)
        GeneracionEnCurso = Progress < ProgressBar1->maximum();
    ProgressBar1->setValue(Progress);
    ProgressBar1->setVisible(ProgressBar1->value() < ProgressBar1->maximum());
}

void TfGENEPREV::mostrarPagina(int pagina)
{
    {
        const QSignalBlocker sinAvisos(SpinEditPagina);
        SpinEditPagina->setValue(pagina);
    }
    QRPreview1->setPageNumber(pagina);
}

void TfGENEPREV::mostrarZoom()
{
    const QSignalBlocker sinAvisos(SpinEditZoom);
    SpinEditZoom->setValue(QRPreview1->zoom());
}

void TfGENEPREV::SpinEditPaginaChange(QObject *)
{
    mostrarPagina(std::clamp(SpinEditPagina->value(), 1, std::max(1, NumeroPaginas)));
}

void TfGENEPREV::SpinEditZoomChange(QObject *) { QRPreview1->setZoom(SpinEditZoom->value()); }

void TfGENEPREV::pbPrimeraPaginaClick(QObject *) { mostrarPagina(1); }

void TfGENEPREV::pbUltimaPaginaClick(QObject *) { mostrarPagina(std::max(1, NumeroPaginas)); }

void TfGENEPREV::pbZoomToFitClick(QObject *)
{
    QRPreview1->ZoomToFit();
    mostrarZoom();
}

void TfGENEPREV::pbZoomToWidthClick(QObject *)
{
    QRPreview1->ZoomToWidth();
    mostrarZoom();
}

void TfGENEPREV::pbZoomTo100Click(QObject *)
{
    QRPreview1->setZoom(100);
    mostrarZoom();
}

// ---- printing ---------------------------------------------------------------------------------

void TfGENEPREV::pbImprimirClick(QObject *Sender)
{
    const ImpresoraInforme *impresora = QRPreview1->qrPrinter();
    if ((impresora && impresora->busy()) || Estado == kEnProgreso) {
        MensajeAviso(QStringLiteral("¡Debe esperar a que finalice el informe en curso!"));
        return;
    }
    if (!Informe || !impresora)
        return;
    GeneracionEnCurso = false;
    ImpresionLanzada = true;
    if (Servicios().RestriccionesEnPrimeraPagina)
        Servicios().RestriccionesEnPrimeraPagina();
    const bool soloPaginaActual = Sender == pbImprimirPagina;
    if (ParametroGeneralVistaPrevia(QStringLiteral("SolicitarDialogoImpresora")) == QLatin1String("NO"))
        imprimirPaginasRetenidas(soloPaginaActual);
    else
        imprimirConDialogo(soloPaginaActual);
}

void TfGENEPREV::imprimirPaginasRetenidas(bool soloPaginaActual)
{
    // The pages held are sent as they are: all of them, or only the one in the page field.
    plat::ReportPrinterSettings &ajustes = Informe->PrinterSettings;
    const int primera = ajustes.firstPage, ultima = ajustes.lastPage;
    const int pagina = soloPaginaActual ? SpinEditPagina->value() : 0;
    ajustes.firstPage = ajustes.lastPage = pagina;
    Estado = kEnProgreso;
    QRPreview1->qrPrinter()->Print();
    ajustes.firstPage = primera;
    ajustes.lastPage = ultima;
    Estado = kFinalizada;
}

void TfGENEPREV::imprimirConDialogo(bool soloPaginaActual)
{
    const auto &dialogo = Servicios().EjecutarDialogoImpresora;
    if (!(dialogo ? dialogo(*Informe) : dialogoImpresoraDelModulo(*Informe)))
        return;
    if (soloPaginaActual)
        Informe->PrinterSettings.firstPage = Informe->PrinterSettings.lastPage = SpinEditPagina->value();
    Estado = kEnProgreso;
    Informe->Print();   // its end of run gives "Finalizada" back
}

// ---- exports ----------------------------------------------------------------------------------

QString TfGENEPREV::nombreFicheroPropuesto() const
{
    // What the user knows the listing by: its printed title, else its window's title; the
    // window's internal name means nothing to a user.
    QString nombre = Informe ? Informe->ReportTitle.trimmed() : QString();
    if (const plat::Form *ventana = ventanaDe(Informe); nombre.isEmpty() && ventana)
        nombre = ventana->caption().trimmed();
    if (nombre.isEmpty())
        nombre = QStringLiteral("Informe");
    return nombre.replace(u'/', u'-');
}

void TfGENEPREV::pbExportarClick(QObject *)
{
    if (!ModuloDatos || !QRPreview1->qrPrinter())
        return;
    DialogoGrabar dialogo(*ModuloDatos->SaveDialog1, QStringLiteral("INFORME"), kFiltroExportar);
    if (!dialogo.ejecutar())
        return;
    plat::ReportExport formato = plat::ReportExport::Text;
    QString extension = QStringLiteral(".TXT");
    if (dialogo.filtroElegido() == 2) {
        formato = plat::ReportExport::Csv;
        extension = QStringLiteral(".CSV");
    } else if (dialogo.filtroElegido() == 3) {
        formato = plat::ReportExport::Html;
        extension = QStringLiteral(".HTM");
    }
    if (!QRPreview1->qrPrinter()->ExportToFilter(formato, dialogo.fichero() + extension))
        MensajeAviso(QStringLiteral("¡No ha sido posible grabar el informe!"));
}

void TfGENEPREV::pbExportarAExcelClick(QObject *)
{
    if (MensajeConfirmacion(QStringLiteral("No se garantiza que la exportación a hoja Excel desde la previsualización "
                                           "muestre todos los datos que espera. ¿Desea continuar en cualquier caso?"))
        == QLatin1String("NO"))
        return;
    const auto &exportar = Servicios().ExportarExcel;
    if (!exportar || !Informe)
        return;
    const QString fichero = nombreFicheroPropuesto();
    if (ModuloDatos && ModuloDatos->QR_Export_Table->table().active())
        exportar(&ModuloDatos->QR_Export_Table->table(), nullptr, fichero, QString());
    else if (auto *detalle = Informe->findChild<SubDetalleInforme *>(QStringLiteral("Detail")))
        exportar(Informe->DataSet, detalle->DataSet, fichero, QString());
    else
        exportar(Informe->DataSet, nullptr, fichero, QString());
}

void TfGENEPREV::pbExportarAPDFClick(QObject *)
{
    if (!ModuloDatos || !Informe)
        return;
    DialogoGrabar dialogo(*ModuloDatos->SaveDialog1, nombreFicheroPropuesto(), kFiltroPDF);
    if (!dialogo.ejecutar())
        return;
    const QString fichero = ConExtension(dialogo.fichero(), QStringLiteral(".pdf"));
    if (const auto &imprimir = Servicios().ImprimirInforme)
        imprimir(*Informe, QStringLiteral("PDF:") + fichero);
    else if (!escribirPdf(Informe->impresora()->paginas(), fichero, Informe->paper(), Informe->orientation(),
                          Informe->ReportTitle))
        MensajeAviso(QStringLiteral("¡No ha sido posible grabar el informe!"));
}

// ---- help, cancel, exit ---------------------------------------------------------------------

void TfGENEPREV::pbAyudaClick(QObject *)
{
    if (Servicios().MostrarAyuda)
        Servicios().MostrarAyuda(ContextoAyudaDeTitulo(caption()));
}

void TfGENEPREV::CancelarelListado1Click(QObject *)
{
    const auto *tabla = dynamic_cast<const plat::TableDataSet *>(Informe ? Informe->DataSet : nullptr);
    if (!GeneracionEnCurso && tabla && !EsTablaTemporal(tabla->tableName()))
        return;
    if (GeneracionEnCurso) {
        MensajeAviso(QStringLiteral("¡No es posible cancelar el listado en este momento!"));
        return;
    }
    const bool cancelado = MensajeConfirmacion(QStringLiteral("El listado será cancelado a continuación. "
                                                              "¿Desea continuar con el listado?"))
                           != QLatin1String("SI");
    if (Servicios().PonerListadoCancelado)
        Servicios().PonerListadoCancelado(cancelado);
    if (cancelado && ImpresionLanzada) {
        Estado = kFinalizada;
        if (Informe)
            Informe->impresora()->AbortDoc();
        Close();
    }
}

void TfGENEPREV::pbSalirClick(QObject *) { Close(); }

// ---- opening ------------------------------------------------------------------------------------

TfGENEPREV *AbrirPrevisualizacion(Informe &informe)
{
    fGENEPREV = plat::createForm<TfGENEPREV>();
    informe.AfterPrint = [ventana = QPointer<TfGENEPREV>(fGENEPREV)](QObject *Sender) {
        if (ventana)
            ventana->InformeFinalizado(Sender);
    };
    fGENEPREV->Informe = &informe;
    fGENEPREV->QRPreview1->setQRPrinter(informe.impresora());
    fGENEPREV->Show();
    return fGENEPREV;
}
