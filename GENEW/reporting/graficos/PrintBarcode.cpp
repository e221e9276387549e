#include "GENEW/reporting/graficos/PrintBarcode.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"

#include "GENEW/reporting/graficos/PintorBarras.h"
#include "platform/data/Field.h"
#include "platform/ui/Canvas.h"

#include <QMouseEvent>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace {

constexpr int kBordeArrastre = 3;

// The new bounds while the control is dragged: a dotted frame with a clear inside.
class MarcoPunteado : public QWidget
{
public:
    explicit MarcoPunteado(QWidget *parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        plat::Canvas canvas(this);
        canvas.pen() = plat::Pen{plat::clBlack, 1, plat::psDot};
        canvas.brush().Style = plat::bsClear;
        canvas.Rectangle(rect());
    }
};

double pulgadas(int pixeles, int ppp)
{
    return ppp > 0 ? std::round(double(pixeles) / ppp * 1000.0) / 1000.0 : 0.0;
}

} // namespace

TPrintBarcode::TPrintBarcode(QWidget *parent) : QWidget(parent), Control(this), DataBound(this)
{
    setColor(plat::clWhite);
    resize(100, height());
    connect(link_, &plat::FieldLink::refresh, this, &TPrintBarcode::mostrarCampo);
}

void TPrintBarcode::setText(const QString &text)
{
    text_ = text.left(LongitudMaximaTexto);
    if (isVisible())
        update();
}

void TPrintBarcode::setBarCodeType(TBarCodeType type)
{
    type_ = type;
    switch (type) {
    case TBarCodeType::PostNet:
    case TBarCodeType::PostnetZip:
    case TBarCodeType::PostNetZipPlus4:
    case TBarCodeType::Postnet11:
        autoSizing_ = true;
        break;
    default:
        break;
    }
    update();
}

void TPrintBarcode::setBarCodeTypeNumber(int number)
{
    if (number >= 0 && number < kNumeroTiposCodigoBarras)
        setBarCodeType(TBarCodeType(number));
}

void TPrintBarcode::setMagnification(double value)
{
    switch (type_) {
    case TBarCodeType::EAN:
    case TBarCodeType::EAN8:
    case TBarCodeType::EAN13:
        magnification_ = std::clamp(value, 0.8, 2.0);
        break;
    case TBarCodeType::Code128:
    case TBarCodeType::EAN128:
        magnification_ = std::clamp(value, 0.2, 1.25);
        break;
    default:
        break;
    }
}

void TPrintBarcode::setBarColor(int color)
{
    barColor_ = color;
    update();
}

int TPrintBarcode::pixelesPorPulgadaPantalla() const
{
    if (pppPantalla_ > 0)
        return pppPantalla_;
    const QScreen *s = screen();
    return s ? qRound(s->logicalDotsPerInchX()) : 96;
}

double TPrintBarcode::heightInInches() const { return pulgadas(height(), pixelesPorPulgadaPantalla()); }
double TPrintBarcode::widthInInches() const { return pulgadas(width(), pixelesPorPulgadaPantalla()); }
double TPrintBarcode::topInInches() const { return pulgadas(y(), pixelesPorPulgadaPantalla()); }
double TPrintBarcode::leftInInches() const { return pulgadas(x(), pixelesPorPulgadaPantalla()); }

void TPrintBarcode::setHeightInInches(double inches)
{
    resize(width(), RedondearMitadesAPar(inches * pixelesPorPulgadaPantalla()));
}

void TPrintBarcode::setWidthInInches(double inches)
{
    resize(RedondearMitadesAPar(inches * pixelesPorPulgadaPantalla()), height());
}

void TPrintBarcode::setTopInInches(double inches)
{
    move(x(), RedondearMitadesAPar(inches * pixelesPorPulgadaPantalla()));
}

void TPrintBarcode::setLeftInInches(double inches)
{
    move(RedondearMitadesAPar(inches * pixelesPorPulgadaPantalla()), y());
}

void TPrintBarcode::mostrarCampo()
{
    const plat::Field *f = field();
    if (f)
        setText(textoDeCampoBarras(f->text(), type_));
}

PeticionBarras TPrintBarcode::peticion(bool propio, int resolucionX, int resolucionY) const
{
    PeticionBarras p;
    p.texto = text_;
    p.tipo = type_;
    p.clearZone = clearZone_;
    p.autoSizing = autoSizing_;
    p.autoPosition = autoPosition_;
    p.magnification = magnification_;
    p.lienzoPropio = propio;
    p.limitesControl = geometry();
    p.resolucionX = resolucionX;
    p.resolucionY = resolucionY;
    p.pixelesPantalla = pixelesPorPulgadaPantalla();
    return p;
}

PlanBarras TPrintBarcode::planificar(const plat::Canvas &canvas, int resolucion) const
{
    const QPainter *painter = canvas.painter();
    const QPaintDevice *device = painter->device();
    int rx = resolucion, ry = resolucion;
    if (resolucion < 5) {
        if (dynamic_cast<const QPagedPaintDevice *>(device)) {
            rx = device->logicalDpiX();
            ry = device->logicalDpiY();
        } else {
            rx = ry = pixelesPorPulgadaPantalla();
        }
    }
    PeticionBarras p = peticion(false, rx, ry);
    p.derechaRecorte = painter->hasClipping() ? painter->clipBoundingRect().toAlignedRect().right() + 1 : device->width();
    return planificarBarras(p);
}

void TPrintBarcode::DrawBarcode(plat::Canvas &canvas, int resolucion)
{
    pintarBarras(planificar(canvas, resolucion), canvas, barColor_, color());
}

void TPrintBarcode::paintEvent(QPaintEvent *)
{
    const int ppp = pixelesPorPulgadaPantalla();
    const PlanBarras plan = planificarBarras(peticion(true, ppp, ppp));
    {
        plat::Canvas canvas(this);
        pintarBarras(plan, canvas, barColor_, color(), rect());
    }
    // Sizing to the symbol repaints, so it waits until this painting is over.
    if (plan.tamanoControl && *plan.tamanoControl != size()) {
        const QSize nuevo = *plan.tamanoControl;
        QTimer::singleShot(0, this, [this, nuevo] { resize(nuevo); });
    }
}

// ---- moving and resizing with the mouse ---------------------------------------------------

void TPrintBarcode::mousePressEvent(QMouseEvent *event)
{
    QWidget *padre = parentWidget();
    if (!Movible || event->button() != Qt::LeftButton || !padre) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    Arrastre a;
    a.izquierda = p.x() < kBordeArrastre;
    a.derecha = p.x() >= width() - kBordeArrastre;
    a.arriba = p.y() < kBordeArrastre;
    a.abajo = p.y() >= height() - kBordeArrastre;
    a.inicio = event->globalPosition().toPoint();
    a.limites = geometry();
    arrastre_ = a;
    if (!marco_)
        marco_ = new MarcoPunteado(padre);
    marco_->setGeometry(geometry());
    marco_->raise();
    marco_->show();
}

QRect TPrintBarcode::limitesArrastrados(const QPoint &global) const
{
    const Arrastre &a = *arrastre_;
    const QPoint d = global - a.inicio;
    QRect r = a.limites;
    if (!a.izquierda && !a.derecha && !a.arriba && !a.abajo)
        return r.translated(d);
    if (a.izquierda)
        r.setLeft(std::min(r.left() + d.x(), r.right()));
    if (a.derecha)
        r.setRight(std::max(r.right() + d.x(), r.left()));
    if (a.arriba)
        r.setTop(std::min(r.top() + d.y(), r.bottom()));
    if (a.abajo)
        r.setBottom(std::max(r.bottom() + d.y(), r.top()));
    return r;
}

void TPrintBarcode::mouseMoveEvent(QMouseEvent *event)
{
    if (!arrastre_) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    marco_->setGeometry(limitesArrastrados(event->globalPosition().toPoint()));
}

void TPrintBarcode::mouseReleaseEvent(QMouseEvent *event)
{
    if (!arrastre_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QRect nuevos = limitesArrastrados(event->globalPosition().toPoint());
    arrastre_.reset();
    marco_->hide();
    setGeometry(nuevos);
}
