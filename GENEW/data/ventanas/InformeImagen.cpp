#include "GENEW/data/ventanas/InformeImagen.h"

#include "platform/report/ReportPrinter.h"

#include <QBuffer>
#include <QPageSize>

namespace {

// Until a printer tells its own, a margin of a centimetre all round.
constexpr double kMargenPorDefecto = plat::reportPageDpi / 2.54;

constexpr double kPuntosPorPulgada = 72.0;

} // namespace

InformeImagen::InformeImagen(QImage imagen, double resolucionPantalla, Escala escala)
    : imagen_(std::move(imagen)), resolucionPantalla_(resolucionPantalla > 0 ? resolucionPantalla : plat::reportPageDpi),
      escala_(escala), margenes_(kMargenPorDefecto, kMargenPorDefecto, kMargenPorDefecto, kMargenPorDefecto)
{
}

QPageLayout::Orientation InformeImagen::orientation() const
{
    return ajustes_.orientation.value_or(QPageLayout::Portrait);
}

QSizeF InformeImagen::pageSize() const
{
    const QSizeF puntos = QPageSize(plat::pageSizeId(paper())).size(QPageSize::Point);
    const QSizeF tamano = puntos * plat::reportPageDpi / kPuntosPorPulgada;
    return orientation() == QPageLayout::Landscape ? tamano.transposed() : tamano;
}

QRectF InformeImagen::areaImprimible() const
{
    return QRectF(QPointF(0, 0), pageSize()).marginsRemoved(margenes_);
}

QRectF InformeImagen::rectanguloImagen() const
{
    const QRectF area = areaImprimible();
    // The picture's own pixels, whatever the screen's scale factor.
    const QSizeF pixeles = QSizeF(imagen_.size()) / imagen_.devicePixelRatio();
    QSizeF tamano = pixeles * plat::reportPageDpi / resolucionPantalla_;
    if (escala_ == Escala::PaginaCompleta && !tamano.isEmpty())
        tamano.scale(area.size(), Qt::KeepAspectRatio);
    return QRectF(area.topLeft(), tamano);
}

void InformeImagen::drawPage(int n, QPainter &painter) const
{
    if (n != 1)
        return;
    painter.save();
    plat::mapPageUnits(painter);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(rectanguloImagen(), imagen_);
    painter.restore();
}

QByteArray InformeImagen::pageFile(int n) const
{
    if (n != 1)
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    imagen_.save(&buffer, "PNG");
    return bytes;
}

bool InformeImagen::drawPageFile(const QByteArray &file, QPainter &painter) const
{
    QImage imagen;
    if (!imagen.loadFromData(file, "PNG"))
        return false;
    InformeImagen(imagen, resolucionPantalla_, escala_).drawPage(1, painter);
    return true;
}

void InformeImagen::print()
{
    std::unique_ptr<QPrinter> impresora = plat::printerProvider().printerFor(ajustes_);
    if (!impresora)
        return;
    QPageLayout disposicion = impresora->pageLayout();
    disposicion.setPageSize(QPageSize(plat::pageSizeId(paper())));
    disposicion.setOrientation(orientation());
    impresora->setPageLayout(disposicion);
    const QMarginsF puntos = impresora->pageLayout().margins(QPageLayout::Point);
    if (!puntos.isNull())
        margenes_ = puntos * (plat::reportPageDpi / kPuntosPorPulgada);
    impresora->setFullPage(true);
    QPainter pintor;
    if (pintor.begin(impresora.get()))
        drawPage(1, pintor);
}
