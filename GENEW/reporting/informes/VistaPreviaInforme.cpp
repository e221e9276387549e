#include "GENEW/reporting/informes/VistaPreviaInforme.h"

#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "GENEW/reporting/informes/Informe.h"
#include "platform/ui/Application.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

// The sheet inside the scroll area: the current page drawn at the zoom.
class HojaVistaPrevia : public QWidget
{
public:
    explicit HojaVistaPrevia(VistaPreviaInforme *vista) : QWidget(vista), vista_(vista) {}

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (!vista_->impresora_)
            return;
        if (PaginaCompartida pagina = vista_->impresora_->GetPage(vista_->pagina_)) {
            painter.scale(vista_->zoom_ / 100.0, vista_->zoom_ / 100.0);
            dibujarPaginaEn(*pagina, painter);
        }
    }

private:
    VistaPreviaInforme *vista_;
};

VistaPreviaInforme::VistaPreviaInforme(QWidget *parent) : QScrollArea(parent), hoja_(new HojaVistaPrevia(this))
{
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setWidget(hoja_);
    ajustarHoja();
}

VistaPreviaInforme::~VistaPreviaInforme()
{
    if (impresora_)
        impresora_->registrarVista(-1);
}

void VistaPreviaInforme::setQRPrinter(ImpresoraInforme *impresora)
{
    if (impresora_ == impresora)
        return;
    if (impresora_) {
        disconnect(impresora_, nullptr, this, nullptr);
        impresora_->registrarVista(-1);
    }
    impresora_ = impresora;
    if (impresora_) {
        connect(impresora_, &ImpresoraInforme::paginaDisponible, this, &VistaPreviaInforme::paginaDisponible);
        connect(impresora_, &ImpresoraInforme::progreso, this, [this](int porcentaje) {
            plat::application().guard(this, [&] { OnProgressUpdate(this, porcentaje); });
        });
        impresora_->registrarVista(1);
        for (int n = 1; n <= impresora_->pageCount(); ++n)
            paginaDisponible(n);
        // A run that is over has gone all the way.
        if (!impresora_->busy() && impresora_->pageCount() > 0)
            plat::application().guard(this, [&] { OnProgressUpdate(this, 100); });
    }
    ajustarHoja();
}

void VistaPreviaInforme::paginaDisponible(int numero)
{
    if (numero == pagina_)
        hoja_->update();
    plat::application().guard(this, [&] { OnPageAvailable(this, numero); });
}

void VistaPreviaInforme::setPageNumber(int numero)
{
    pagina_ = std::max(1, numero);
    hoja_->update();
}

void VistaPreviaInforme::setZoom(int porcentaje)
{
    ajuste_ = Ajuste::Ninguno;
    zoom_ = std::clamp(porcentaje, 1, 1000);
    ajustarHoja();
}

double VistaPreviaInforme::escala() const
{
    return logicalDpiX() / plat::reportPageDpi;
}

void VistaPreviaInforme::ZoomToFit()
{
    ajuste_ = Ajuste::Pagina;
    ajustarHoja();
}

void VistaPreviaInforme::ZoomToWidth()
{
    ajuste_ = Ajuste::Ancho;
    ajustarHoja();
}

void VistaPreviaInforme::ajustarHoja()
{
    const QSizeF pagina = impresora_ && impresora_->informe() ? impresora_->informe()->pageSize()
                                                               : QSizeF(793.7, 1122.5);
    const QSizeF enPantalla = pagina * escala();
    const QSize visible = viewport()->size() - QSize(16, 16);
    const int anterior = zoom_;
    if (ajuste_ == Ajuste::Pagina)
        zoom_ = std::max(1, int(100 * std::min(visible.width() / enPantalla.width(), visible.height() / enPantalla.height())));
    else if (ajuste_ == Ajuste::Ancho)
        zoom_ = std::max(1, int(100 * visible.width() / enPantalla.width()));
    hoja_->resize((enPantalla * (zoom_ / 100.0)).toSize());
    hoja_->update();
    if (zoom_ != anterior && ajuste_ != Ajuste::Ninguno)
        emit zoomAjustado(zoom_);
}

void VistaPreviaInforme::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    if (ajuste_ != Ajuste::Ninguno)
        ajustarHoja();
}
