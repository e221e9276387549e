#include "GENEW/reporting/informes/Informe.h"

#include "GENEW/reporting/informes/GeneracionInforme.h"
#include "GENEW/reporting/informes/VistaPreviaInforme.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

#include <QEventLoop>
#include <QPointer>

namespace {

// A run returns to the event loop at least this often.
constexpr int kRodajaMs = 40;

plat::Form *formularioDe(const QObject *objeto)
{
    for (QObject *o = objeto->parent(); o; o = o->parent())
        if (auto *form = qobject_cast<plat::Form *>(o))
            return form;
    return nullptr;
}

} // namespace

QSizeF PaginaInforme::tamanio() const
{
    const QSizeF mm = QPageSize(plat::pageSizeId(PaperSize)).size(QPageSize::Millimeter);
    const QSizeF px(milimetrosAPixeles(mm.width()), milimetrosAPixeles(mm.height()));
    return Orientation == QPageLayout::Landscape ? px.transposed() : px;
}

QRectF PaginaInforme::imprimible() const
{
    const QSizeF hoja = tamanio();
    const double izquierda = milimetrosAPixeles(LeftMargin), arriba = milimetrosAPixeles(TopMargin);
    return QRectF(izquierda, arriba, hoja.width() - izquierda - milimetrosAPixeles(RightMargin),
                  hoja.height() - arriba - milimetrosAPixeles(BottomMargin));
}

Informe::Informe(QObject *parent)
    : QObject(parent), Font(QStringLiteral("Arial"), 10), pagina_(new PaginaInforme(this)),
      impresora_(new ImpresoraInforme(this)), rodajas_(new QTimer(this))
{
    rodajas_->setInterval(0);
    connect(rodajas_, &QTimer::timeout, this, &Informe::avanzarGeneracion);
}

Informe::~Informe()
{
    generacion_.reset();
}

QList<BandaInforme *> Informe::bandas() const
{
    QList<BandaInforme *> lista;
    for (QObject *hijo : children())
        if (auto *banda = qobject_cast<BandaInforme *>(hijo))
            lista << banda;
    return lista;
}

BandaInforme *Informe::banda(TipoBanda tipo) const
{
    for (BandaInforme *b : bandas())
        if (b->BandType == tipo)
            return b;
    return nullptr;
}

void Informe::empezarGeneracion()
{
    rodajas_->stop();
    generacion_.reset();
    preparado_ = false;
    impresora_->empezar();
    auto generacion = std::make_unique<GeneracionInforme>(
        *this, [this](PaginaCompartida pagina) { impresora_->agregarPagina(std::move(pagina)); });
    bool hayQueImprimir = false;
    try {
        hayQueImprimir = generacion->empezar();
    } catch (...) {
        impresora_->terminar();
        throw;
    }
    if (hayQueImprimir)
        generacion_ = std::move(generacion);
    else
        terminarGeneracion();
}

void Informe::avanzarGeneracion()
{
    if (!generacion_) {
        rodajas_->stop();
        return;
    }
    bool terminada = true;
    const bool bien = plat::application().guard(this, [&] {
        terminada = generacion_->avanzar(QDeadlineTimer(kRodajaMs));
        impresora_->informarProgreso(generacion_->progreso());
    });
    if (terminada || !bien)
        terminarGeneracion();
}

void Informe::terminarGeneracion()
{
    rodajas_->stop();
    generacion_.reset();
    preparado_ = true;
    impresora_->terminar();
    AfterPrint(this);
}

void Informe::Prepare()
{
    empezarGeneracion();
    while (generacion_) {
        bool terminada = true;
        try {
            terminada = generacion_->avanzar(QDeadlineTimer(QDeadlineTimer::Forever));
        } catch (...) {
            terminarGeneracion();
            throw;
        }
        if (terminada)
            terminarGeneracion();
    }
}

void Informe::Preview()
{
    plat::Form::ReleaseHold retener(formularioDe(this));
    QPointer<Informe> vivo(this);
    empezarGeneracion();
    if (!generando() && impresora_->pageCount() == 0)
        return;   // a report that prints nothing has nothing to preview
    if (generacion_)
        rodajas_->start();
    if (OnPreview.assigned()) {
        try {
            OnPreview(this);
        } catch (...) {
            terminarGeneracion();
            throw;
        }
    } else {
        auto *vista = new VistaPreviaInforme();
        vista->setAttribute(Qt::WA_DeleteOnClose);
        vista->setWindowTitle(ReportTitle);
        vista->setQRPrinter(impresora_);
        vista->resize(900, 700);
        plat::takeInputAboveModal(*vista);
        vista->show();
    }
    QEventLoop bucle;
    auto comprobar = [&] {
        if (!vivo || (!generando() && impresora_->vistas() == 0))
            bucle.quit();
    };
    connect(impresora_, &ImpresoraInforme::vistasCambiadas, &bucle, comprobar);
    connect(impresora_, &ImpresoraInforme::generacionTerminada, &bucle, comprobar, Qt::QueuedConnection);
    connect(this, &QObject::destroyed, &bucle, &QEventLoop::quit);
    if (generando() || impresora_->vistas() > 0)
        bucle.exec();
}

void Informe::drawPage(int n, QPainter &painter) const
{
    if (PaginaCompartida pagina = impresora_->GetPage(n))
        dibujarPaginaEn(*pagina, painter);
}

QByteArray Informe::pageFile(int n) const
{
    const PaginaCompartida pagina = impresora_->GetPage(n);
    return pagina ? guardarPagina(*pagina) : QByteArray();
}

bool Informe::drawPageFile(const QByteArray &fichero, QPainter &painter) const
{
    const std::optional<PaginaGenerada> pagina = leerPagina(fichero);
    if (!pagina)
        return false;
    dibujarPaginaEn(*pagina, painter);
    return true;
}

void Informe::print()
{
    if (PrinterSettings.orientation)
        pagina_->Orientation = *PrinterSettings.orientation;
    Prepare();
    impresora_->Print();
}

bool Informe::exportTo(plat::ReportExport formato, const QString &fichero) const
{
    return impresora_->ExportToFilter(formato, fichero);
}
