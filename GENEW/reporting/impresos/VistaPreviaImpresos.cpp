// The print engine's own page previewer: the engine form shown modally and maximised after a
// screen run, one stored page at a time at a zoom, with the millimetre ruler of the work
// bitmap laid over it.
#include "GENEW/data/Genemodu.h"
#include "GENEW/reporting/impresos/DestinoDibujo.h"
#include "GENEW/reporting/impresos/GENELIMP.h"
#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "GENEW/reporting/informes/AjustesVistaPrevia.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/SpinEdit.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <limits>
#include <utility>

namespace {

// What the window's frame and tool bar take from the screen's size.
constexpr int kMargenAncho = 8;
constexpr int kMargenAlto = 76;
constexpr int kPasoRegla = 10;
constexpr int kPasoReglaLineasTexto = 6;   // one inch of text lines
const QColor kColorNumerosRegla(0x80, 0x80, 0x80);
const QColor kColorLineasRegla(0xC0, 0xC0, 0xC0);
const QString kFiltroPDF = QStringLiteral("Archivos PDF (*.PDF)|*.PDF");

int Redondear(long double valor)
{
    return RedondearMitadesAPar(valor);
}

} // namespace

// ---- construction -----------------------------------------------------------------------

void TfGENELIMP::construirVistaPrevia()
{
    setKeyPreview(true);
    Panel1 = make<plat::Panel>(QStringLiteral("Panel1"), this);
    Panel1->setFixedHeight(41);
    auto *barra = new QHBoxLayout(Panel1);
    barra->setContentsMargins(4, 2, 4, 2);
    barra->setSpacing(4);

    const auto grupo = [this, barra](const char *nombre, const char *nombreEtiqueta, const QString &texto,
                                     plat::Label *&etiqueta) {
        auto *panel = make<plat::Panel>(QString::fromLatin1(nombre), Panel1);
        panel->setBevelOuter(plat::bvLowered);
        auto *fila = new QHBoxLayout(panel);
        fila->setContentsMargins(3, 1, 3, 1);
        fila->setSpacing(2);
        if (nombreEtiqueta) {
            etiqueta = make<plat::Label>(QString::fromLatin1(nombreEtiqueta), panel);
            etiqueta->setCaption(texto);
            etiqueta->setLayoutCentred(true);
            fila->addWidget(etiqueta);
        }
        barra->addWidget(panel);
        return std::pair{panel, fila};
    };
    const auto boton = [this](QHBoxLayout *fila, QWidget *panel, const char *nombre, const QString &texto,
                              const QString &pista, QStyle::StandardPixmap icono = QStyle::SP_CustomBase) {
        auto *b = make<plat::SpeedButton>(QString::fromLatin1(nombre), panel);
        b->setCaption(texto);
        b->setHint(pista);
        if (icono != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(icono));
        fila->addWidget(b);
        return b;
    };

    auto [p1, filaPagina] = grupo("P1", "LabelPagina", QStringLiteral("Página"), LabelPagina);
    P1 = p1;
    pbPrimeraPagina = boton(filaPagina, P1, "pbPrimeraPagina", QString(), QStringLiteral("Ir a la primera página"),
                            QStyle::SP_MediaSkipBackward);
    SpinEditPagina = make<plat::SpinEdit>(QStringLiteral("SpinEditPagina"), P1);
    SpinEditPagina->setRange(-999999, 999999);   // the handler holds the page to the run's pages
    SpinEditPagina->setFixedWidth(64);
    filaPagina->addWidget(SpinEditPagina);
    pbUltimaPagina = boton(filaPagina, P1, "pbUltimaPagina", QString(), QStringLiteral("Ir a la última página"),
                           QStyle::SP_MediaSkipForward);

    auto [p2, filaZoom] = grupo("P2", "LabelZoom", QStringLiteral("Zoom"), LabelZoom);
    P2 = p2;
    pbZoomToFit = boton(filaZoom, P2, "pbZoomToFit", QStringLiteral("Página"), QStringLiteral("Visualizar la página completa"));
    pbZoomTo100 = boton(filaZoom, P2, "pbZoomTo100", QStringLiteral("100%"), QStringLiteral("Visualizar con Zoom=100%"));
    pbZoomToWidth = boton(filaZoom, P2, "pbZoomToWidth", QStringLiteral("Ancho"),
                          QStringLiteral("Visualizar el ancho de página completo"));
    SpinEditZoom = make<plat::SpinEdit>(QStringLiteral("SpinEditZoom"), P2);
    SpinEditZoom->setRange(kZoomMinimoVistaPrevia, kZoomMaximoVistaPrevia);
    SpinEditZoom->setSingleStep(10);
    SpinEditZoom->setValue(100);
    SpinEditZoom->setFixedWidth(64);
    filaZoom->addWidget(SpinEditZoom);

    auto [p3, filaImprimir] = grupo("Panel2", "LabelImprimir", QStringLiteral("Imprimir"), LabelImprimir);
    Panel2 = p3;
    pbImprimir = boton(filaImprimir, Panel2, "pbImprimir", QStringLiteral("Todo"), QStringLiteral("Imprimir todo"));
    pbImprimirPagina = boton(filaImprimir, Panel2, "pbImprimirPagina", QStringLiteral("Actual"),
                             QStringLiteral("Imprimir solo el Documento Asociado a la página actual"));

    auto [p4, filaExportar] = grupo("Panel3", "LabelExportar", QStringLiteral("Exportar"), LabelExportar);
    Panel3 = p4;
    pbExportarAExcel = boton(filaExportar, Panel3, "pbExportarAExcel", QStringLiteral("Excel"),
                             QStringLiteral("Exportar los registros base de este impreso a Excel"));
    pbExportarAPDF = boton(filaExportar, Panel3, "pbExportarAPDF", QStringLiteral("PDF"),
                           QStringLiteral("Exportar los datos del informe a formato PDF"));

    plat::Label *sinEtiqueta = nullptr;
    auto [p5, filaAyuda] = grupo("Panel4", nullptr, QString(), sinEtiqueta);
    Panel4 = p5;
    pbAyuda = boton(filaAyuda, Panel4, "pbAyuda", QStringLiteral("Ayuda"), QStringLiteral("Acceso a la ayuda"));
    barra->addStretch(1);
    // FormCreate places the exit button against the screen's right edge; the bar keeps its
    // room free.
    pbSalir->setParent(Panel1);
    pbSalir->setFixedWidth(75);
    barra->addSpacing(pbSalir->width() + 16);
    pbSalir->setCancelButton(true);
    pbSalir->setFocusPolicy(Qt::NoFocus);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    auto *hoja = new QWidget;
    Image1 = make<plat::Image>(QStringLiteral("Image1"), hoja);
    ScrollBox1->setWidget(hoja);

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(Panel1);
    columna->addWidget(ScrollBox1, 1);

    OnShow = plat::handler(this, &TfGENELIMP::FormShow);
    OnClose = plat::handler(this, &TfGENELIMP::FormClose);
    OnKeyDown = plat::handler(this, &TfGENELIMP::FormKeyDown);
    OnKeyPress = plat::handler(this, &TfGENELIMP::FormKeyPress);
    SpinEditPagina->OnChange = plat::handler(this, &TfGENELIMP::SpinEditPaginaChange);
    SpinEditZoom->OnChange = plat::handler(this, &TfGENELIMP::SpinEditZoomChange);
    pbPrimeraPagina->OnClick = plat::handler(this, &TfGENELIMP::pbPrimeraPaginaClick);
    pbUltimaPagina->OnClick = plat::handler(this, &TfGENELIMP::pbUltimaPaginaClick);
    pbZoomToFit->OnClick = plat::handler(this, &TfGENELIMP::pbZoomToFitClick);
    pbZoomTo100->OnClick = plat::handler(this, &TfGENELIMP::pbZoomTo100Click);
    pbZoomToWidth->OnClick = plat::handler(this, &TfGENELIMP::pbZoomToWidthClick);
    pbImprimir->OnClick = plat::handler(this, &TfGENELIMP::pbImprimirClick);
    pbImprimirPagina->OnClick = plat::handler(this, &TfGENELIMP::pbImprimirPaginaClick);
    pbExportarAExcel->OnClick = plat::handler(this, &TfGENELIMP::pbExportarAExcelClick);
    pbExportarAPDF->OnClick = plat::handler(this, &TfGENELIMP::pbExportarAPDFClick);
    pbAyuda->OnClick = plat::handler(this, &TfGENELIMP::pbAyudaClick);
}

QSize TfGENELIMP::tamanoPantalla() const
{
    if (tamanoPantalla_)
        return *tamanoPantalla_;
    const QScreen *pantalla = screen();
    return pantalla ? pantalla->geometry().size() : QSize(1024, 768);
}

plat::SaveDialog &TfGENELIMP::dialogoGrabar()
{
    if (ModuloDatos)
        return *ModuloDatos->SaveDialog1;
    if (!dialogoGrabarPropio_)
        dialogoGrabarPropio_ = new plat::SaveDialog(this);
    return *dialogoGrabarPropio_;
}

// ---- the ruler and the page --------------------------------------------------------------

void TfGENELIMP::DibujarRegla()
{
    bitmapTrabajo_ = QImage(ejecucion_.tamanoPagina, QImage::Format_RGB32);
    bitmapTrabajo_.fill(Qt::white);
    if (ParametroGeneralVistaPrevia(QStringLiteral("PrevisualizacionSinRegla")) == QLatin1String("SI"))
        return;
    const double compresionAncho = diseno_->ajustes().compresionAncho;
    const double compresionAlto = diseno_->ajustes().compresionAlto;
    diseno_->PonerCompresion(1.0, 1.0);
    QPainter pintor(&bitmapTrabajo_);
    pintor.setFont(FuenteEnPixeles(QFont(QStringLiteral("Small Fonts"), 6), kResolucionPaginaPantalla));
    const int ancho = bitmapTrabajo_.width();
    const int alto = bitmapTrabajo_.height();
    const auto numero = [&pintor](int x, int y, int valor) {
        pintor.setPen(kColorNumerosRegla);
        pintor.drawText(QRect(x, y, 200, 100), Qt::AlignLeft | Qt::AlignTop, QString::number(valor));
    };
    for (int x = 0; x <= diseno_->AnchoPapelUnidades(); x += kPasoRegla) {
        const int px = diseno_->XPagina(x);
        pintor.setPen(kColorLineasRegla);
        pintor.drawLine(px, 0, px, alto);
        numero(px + 1, 0, x);
    }
    const int pasoY = diseno_->modoTexto() ? kPasoReglaLineasTexto : kPasoRegla;
    for (int y = 0; y <= diseno_->AltoPapelUnidades(); y += pasoY) {
        const int py = diseno_->YPagina(y);
        pintor.setPen(kColorLineasRegla);
        pintor.drawLine(0, py, ancho, py);
        numero(0, py + 1, y);
    }
    pintor.end();
    diseno_->PonerCompresion(compresionAncho, compresionAlto);
}

void TfGENELIMP::MostrarPagina(int n)
{
    if (n < 1 || n > paginas_.cuenta())
        return;
    const QSize bitmap = paginas_.tamano(n);
    if (bitmap.isEmpty())
        return;
    const long double escala = SpinEditZoom->value() / 100.0L;
    const QSize imagen(Redondear(escala * bitmap.width()), Redondear(escala * bitmap.height()));
    QImage dibujo(imagen, QImage::Format_RGB32);
    dibujo.fill(Qt::white);
    {
        QPainter pintor(&dibujo);
        pintor.scale(double(imagen.width()) / bitmap.width(), double(imagen.height()) / bitmap.height());
        DibujarPagina(pintor, paginas_.pagina(n));
        pintor.resetTransform();
        if (!bitmapTrabajo_.isNull()) {
            // The ruler shows where the page is white: white AND anything is that thing.
            // Made smaller it is smoothed, so that no line of it falls between two pixels.
            pintor.setRenderHint(QPainter::SmoothPixmapTransform, imagen.width() < bitmap.width());
            pintor.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
            pintor.drawImage(QRect(QPoint(0, 0), imagen), bitmapTrabajo_);
        }
    }
    const QSize pantalla = tamanoPantalla();
    const int libreAncho = pantalla.width() - kMargenAncho - imagen.width();
    const int libreAlto = pantalla.height() - kMargenAlto - imagen.height();
    const int izquierda = libreAncho > 0 ? Redondear(libreAncho / 2.0L) : 0;
    const int arriba = libreAlto > 0 ? Redondear(libreAlto / 2.0L) : 0;
    Image1->setPicture(QPixmap::fromImage(std::move(dibujo)));
    Image1->setGeometry(izquierda, arriba, imagen.width(), imagen.height());
    Image1->parentWidget()->resize(izquierda + imagen.width(), arriba + imagen.height());
    paginaMostrada_ = n;
}

// ---- zoom -----------------------------------------------------------------------------------

int TfGENELIMP::zoomAnchoPagina() const
{
    const QSize bitmap = paginas_.tamano(std::max(1, paginaMostrada_));
    if (bitmap.width() <= 0)
        return 100;
    return Redondear((tamanoPantalla().width() - kMargenAncho) * 100.0L / bitmap.width());
}

int TfGENELIMP::zoomPaginaCompleta() const
{
    const QSize bitmap = paginas_.tamano(std::max(1, paginaMostrada_));
    if (bitmap.height() <= 0)
        return zoomAnchoPagina();
    return std::min(zoomAnchoPagina(), Redondear((tamanoPantalla().height() - kMargenAlto) * 100.0L / bitmap.height()));
}

void TfGENELIMP::ponerZoom(int zoom)
{
    {
        const QSignalBlocker sinAvisos(SpinEditZoom);
        SpinEditZoom->setValue(std::clamp(zoom, kZoomMinimoVistaPrevia, kZoomMaximoVistaPrevia));
    }
    MostrarPagina(paginaMostrada_);
}

void TfGENELIMP::SpinEditZoomChange(QObject *)
{
    MostrarPagina(paginaMostrada_);
}

void TfGENELIMP::pbZoomToWidthClick(QObject *)
{
    ponerZoom(zoomAnchoPagina());
}

void TfGENELIMP::pbZoomTo100Click(QObject *)
{
    ponerZoom(100);
}

void TfGENELIMP::pbZoomToFitClick(QObject *)
{
    ponerZoom(zoomPaginaCompleta());
}

// ---- the window -----------------------------------------------------------------------------

void TfGENELIMP::mostrarVistaPrevia()
{
    setFormState(plat::wsMaximized);
    ShowModal();
}

void TfGENELIMP::FormShow(QObject *)
{
    UnaPagina = false;
    const QString descripcion = diseno_->registro().Descripcion;
    setCaption(descripcion.isEmpty() ? QStringLiteral("Previsualización de Impresos")
                                     : QStringLiteral("Previsualización de ") + descripcion);
    {
        const QSignalBlocker sinAvisos(SpinEditPagina);
        SpinEditPagina->setEnabled(contadorPaginas_ > 0);
        SpinEditPagina->setValue(1);
    }
    paginaMostrada_ = 1;
    const ZoomInicialVistaPrevia inicial = LeerZoomInicial(ParametroGeneralVistaPrevia(QStringLiteral("FmtVisualizacionPrevia")));
    if (inicial.modo == ZoomInicialVistaPrevia::PaginaCompleta)
        ponerZoom(zoomPaginaCompleta());
    else if (inicial.modo == ZoomInicialVistaPrevia::AnchoAjustado)
        ponerZoom(zoomAnchoPagina());
    else
        ponerZoom(inicial.porcentaje);
}

void TfGENELIMP::FormClose(QObject *, plat::CloseAction &Action)
{
    Action = plat::caHide;   // the caller frees the engine
}

void TfGENELIMP::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    if (fGENEINIC)
        fGENEINIC->ProcesarTeclaFormulario(Sender, Key, Shift);
}

void TfGENELIMP::FormKeyPress(QObject *Sender, QChar &Key)
{
    if (fGENEINIC)
        fGENEINIC->ProcesarTeclaPulsada(Sender, Key);
}

void TfGENELIMP::BuscarDatosDBEdit(QObject *) {}

// ---- navigation -------------------------------------------------------------------------------

void TfGENELIMP::SpinEditPaginaChange(QObject *)
{
    if (ejecucion_.destino == DestinoImpresion::Impresora)
        return;
    const int ultima = int(std::min<qint64>(std::max<qint64>(contadorPaginas_, 1), std::numeric_limits<int>::max()));
    const int pagina = std::clamp(SpinEditPagina->value(), 1, ultima);
    if (pagina != SpinEditPagina->value()) {
        const QSignalBlocker sinAvisos(SpinEditPagina);
        SpinEditPagina->setValue(pagina);
    }
    MostrarPagina(pagina);
}

void TfGENELIMP::pbPrimeraPaginaClick(QObject *)
{
    SpinEditPagina->setValue(1);
    SpinEditPaginaChange(SpinEditPagina);
}

void TfGENELIMP::pbUltimaPaginaClick(QObject *)
{
    SpinEditPagina->setValue(int(std::min<qint64>(contadorPaginas_, std::numeric_limits<int>::max())));
    SpinEditPaginaChange(SpinEditPagina);
}

// ---- printing, exports, help --------------------------------------------------------------------

void TfGENELIMP::imprimirDesdeVistaPrevia(bool soloDocumentoDePagina)
{
    // A cancel of the run or of the preview must not stop a print asked for afterwards, nor
    // may the printer run's count (copies, labels) become the preview's.
    ListadoCanceladoMotor() = false;
    const qint64 paginas = contadorPaginas_;
    UnaPagina = soloDocumentoDePagina;
    PaginaUnaPagina = paginaMostrada_;
    ejecucion_.destino = DestinoImpresion::Impresora;
    const auto restaurar = [&] {
        ejecucion_.destino = DestinoImpresion::Pantalla;
        contadorPaginas_ = paginas;
        contexto_.contadorPaginas = paginas;
        UnaPagina = false;
    };
    try {
        GenerarImpreso();
    } catch (...) {
        restaurar();
        throw;
    }
    restaurar();
}

void TfGENELIMP::pbImprimirClick(QObject *)
{
    imprimirDesdeVistaPrevia(false);
}

void TfGENELIMP::pbImprimirPaginaClick(QObject *)
{
    imprimirDesdeVistaPrevia(true);
}

void TfGENELIMP::pbExportarAPDFClick(QObject *)
{
    // The new run makes pages of its own: the preview's are set aside and come back however
    // the run ends.
    AlmacenPaginas apartadas;
    std::swap(paginas_, apartadas);
    const qint64 paginas = contadorPaginas_;
    const auto devolver = qScopeGuard([&] {
        SalidaImpresion.clear();
        liberarPaginas();
        std::swap(paginas_, apartadas);
        contadorPaginas_ = paginas;
        contexto_.contadorPaginas = paginas;
        ejecucion_.destino = DestinoImpresion::Pantalla;
    });
    const QString descripcion = diseno_->registro().Descripcion;
    DialogoGrabar dialogo(dialogoGrabar(), descripcion.isEmpty() ? QStringLiteral("Impreso") : descripcion, kFiltroPDF);
    if (!dialogo.ejecutar())
        return;
    ListadoCanceladoMotor() = false;
    SalidaImpresion = QStringLiteral("PDF:") + ConExtension(dialogo.fichero(), QStringLiteral(".pdf"));
    try {
        Imprimir();
    } catch (const std::exception &) {
        MensajeAviso(QStringLiteral("¡No ha sido posible grabar el informe!"));
    }
}

void TfGENELIMP::pbExportarAExcelClick(QObject *)
{
    if (ModuloDatos)
        ModuloDatos->ExportarExcel(&documentos(), lineas(), QString(), QString());
}

void TfGENELIMP::pbAyudaClick(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->MostrarAyuda(ContextoAyudaDeTitulo(caption()));
}
