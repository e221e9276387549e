#include "GENEW/reporting/graficos/GENEGRAF.h"

#include "GENEW/runtime/Geneinic.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/reporting/AvisoImpresion.h"
#include "GENEW/reporting/graficos/CargaModuloGraficos.h"
#include "GENEW/reporting/graficos/ModuloGraficos.h"
#include "platform/base/AjustesComunes.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPrinter>
#include <QVBoxLayout>

TfGENEGRAF::TfGENEGRAF(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEGRAF"));
    setKeyPreview(true);
    setPosition(plat::poScreenCenter);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(30);
    const auto boton = [&](const char *nombre, const QString &texto) {
        auto *b = make<plat::SpeedButton>(QString::fromLatin1(nombre), PanelControl);
        b->setCaption(texto);
        b->setHint(texto);
        return b;
    };
    pbLeyenda = boton("pbLeyenda", QStringLiteral("Ver/No Ver Leyenda"));
    pbLeyenda->setGroupIndex(1);
    pbLeyenda->setAllowAllUp(true);
    pbMarcas = boton("pbMarcas", QStringLiteral("Ver/No Ver Marcas"));
    pbMarcas->setGroupIndex(2);
    pbMarcas->setAllowAllUp(true);
    pbImprimir = boton("pbImprimir", QStringLiteral("Imprimir el Gráfico"));
    auto *fila = new QHBoxLayout(PanelControl);
    fila->setContentsMargins(4, 2, 4, 2);
    for (plat::SpeedButton *b : {pbLeyenda, pbMarcas, pbImprimir})
        fila->addWidget(b);
    fila->addStretch();

    LabelTitulo = make<plat::Label>(QStringLiteral("LabelTitulo"), this);
    QFont letraTitulo = LabelTitulo->font();
    letraTitulo.setBold(true);
    letraTitulo.setPointSize(letraTitulo.pointSize() + 2);
    LabelTitulo->setFont(letraTitulo);
    LabelTitulo->setContentsMargins(8, 4, 8, 2);

    QString error;
    modulo_ = CargarModuloGraficos(error);
    if (modulo_) {
        vista_ = modulo_->crearVista(this);
        insertComponent(vista_, QStringLiteral("Chart1"));
        Chart1 = modulo_->vistaGrafico(vista_);
        LabelSinGraficos = nullptr;
    } else {
        Chart1 = nullptr;
        LabelSinGraficos = make<plat::Label>(QStringLiteral("LabelSinGraficos"), this);
        LabelSinGraficos->setCaption(error);
        LabelSinGraficos->setAlignment(plat::taCenter);
        LabelSinGraficos->setLayoutCentred(true);
        LabelSinGraficos->setWordWrap(true);
        vista_ = LabelSinGraficos;
    }
    PanelStatusBar = make<plat::Panel>(QStringLiteral("PanelStatusBar"), this);
    PanelStatusBar->setFixedHeight(20);
    PanelStatusBar->setBevelOuter(plat::bvLowered);

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    columna->addWidget(PanelControl);
    columna->addWidget(LabelTitulo);
    columna->addWidget(vista_, 1);
    columna->addWidget(PanelStatusBar);

    OnCreate = plat::handler(this, &TfGENEGRAF::FormCreate);
    OnShow = plat::handler(this, &TfGENEGRAF::FormShow);
    OnKeyPress = plat::handler(this, &TfGENEGRAF::FormKeyPress);
    pbLeyenda->OnClick = plat::handler(this, &TfGENEGRAF::pbLeyendaClick);
    pbMarcas->OnClick = plat::handler(this, &TfGENEGRAF::pbMarcasClick);
    pbImprimir->OnClick = plat::handler(this, &TfGENEGRAF::pbImprimirClick);
}

// The start-up form's routines, reached when the window calls them (a run without the
// start-up form, as in some tests, leaves the window as it is).
TfGENEGRAF::RutinasComunes &TfGENEGRAF::Rutinas()
{
    static RutinasComunes rutinas = [] {
        RutinasComunes r;
        r.AplicarAspecto = [](QObject *formulario) {
            if (fGENEINIC)
                fGENEINIC->AplicarAspecto(formulario);
        };
        r.TraducirFormulario = [](QObject *formulario) {
            if (fGENEINIC)
                fGENEINIC->TraducirFormulario(formulario);
        };
        r.ProcesarTeclaPulsada = [](QObject *formulario, QChar &tecla) {
            if (fGENEINIC)
                fGENEINIC->ProcesarTeclaPulsada(formulario, tecla);
        };
        return r;
    }();
    return rutinas;
}

QChart *TfGENEGRAF::chart() const { return modulo_ ? modulo_->grafico(vista_) : nullptr; }

void TfGENEGRAF::FormCreate(QObject *Sender) { Rutinas().AplicarAspecto(Sender); }

void TfGENEGRAF::FormShow(QObject *Sender)
{
    construirGrafico();
    Rutinas().TraducirFormulario(Sender);
}

void TfGENEGRAF::FormKeyPress(QObject *Sender, QChar &Key) { Rutinas().ProcesarTeclaPulsada(Sender, Key); }

void TfGENEGRAF::construirGrafico()
{
    ajustes_ = leerAjustesGrafico(DefinicionGrafico);

    setCaption(ajustes_.Titulo);
    LabelTitulo->setCaption(ajustes_.Titulo);
    LabelTitulo->setVisible(!ajustes_.Titulo.isEmpty());
    if (ajustes_.Marcas)
        pbMarcas->setDownState(true);
    if (ajustes_.Leyenda)
        pbLeyenda->setDownState(true);
    setWidth(ajustes_.Ancho);
    setHeight(ajustes_.Alto);
    PanelControl->setVisible(ajustes_.PanelControl);
    PanelStatusBar->setVisible(ajustes_.StatusBar);

    if (modulo_)
        modulo_->construir(vista_, ajustes_, leerSeriesGrafico(SeriesGrafico), font(), ajustesComunes().SeparadorDecimal);
    pbMarcasClick(pbMarcas);
    pbLeyendaClick(pbLeyenda);
}

void TfGENEGRAF::pbLeyendaClick(QObject *)
{
    if (modulo_)
        modulo_->mostrarLeyenda(vista_, pbLeyenda->isChecked());
}

void TfGENEGRAF::pbMarcasClick(QObject *)
{
    if (modulo_)
        modulo_->mostrarMarcas(vista_, pbMarcas->isChecked());
}

void TfGENEGRAF::pbImprimirClick(QObject *)
{
    if (!modulo_ || !ModuloDatos || !ModuloDatos->PrintDialog1->Execute())
        return;
    // The dialog has set the shared printer up: a printer, or the PDF file chosen instead.
    QPrinter &impresora = plat::sharedPrinter();
    impresora.setDocName(ajustes_.Titulo.trimmed().isEmpty() ? QStringLiteral("Gráfico") : ajustes_.Titulo.trimmed());
    if (!imprimirEn(impresora)) {
        AvisoErrorImprimiendo(impresora.outputFormat() == QPrinter::PdfFormat
                                  ? QStringLiteral("no se puede escribir el archivo ") + impresora.outputFileName()
                                  : QStringLiteral("no se puede usar la impresora ") + impresora.printerName());
    }
}

bool TfGENEGRAF::imprimirEn(QPaintDevice &pagina)
{
    QPainter painter(&pagina);
    if (!painter.isActive())
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF hoja(0, 0, pagina.width() - 1, pagina.height() - 1);
    // The chart is laid out again for the page's proportions at screen scale, and drawn as
    // vectors scaled to the page's resolution.
    const double escala = double(pagina.logicalDpiX()) / std::max(1, logicalDpiX());
    double arriba = 0;
    if (LabelTitulo->isVisible()) {
        QFont letra = LabelTitulo->font();
        painter.setFont(letra);
        const QFontMetricsF fm(letra, &pagina);
        const QRectF linea(8 * escala, 4 * escala, hoja.width(), fm.height());
        painter.drawText(linea, Qt::AlignLeft | Qt::AlignVCenter, ajustes_.Titulo);
        arriba = linea.bottom() + 4 * escala;
    }
    if (modulo_)
        modulo_->pintar(vista_, painter, QRectF(0, arriba, hoja.width(), hoja.height() - arriba), escala);
    return true;
}

void MostrarVentanaGrafico(const QString &definicion, const QString &series)
{
    auto *ventana = plat::createForm<TfGENEGRAF>();
    ventana->DefinicionGrafico = definicion;
    ventana->SeriesGrafico = series;
    ventana->ShowModal();
    ventana->Free();
}
