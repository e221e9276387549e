#include "GENEW/reporting/informes/PaginasInforme.h"

#include "platform/report/PreparedReport.h"

#include <QPainter>

namespace {

void dibujar(QPainter &painter, const TextoPagina &t)
{
    painter.save();
    painter.setClipRect(t.recorte, Qt::IntersectClip);
    painter.setFont(t.fuente);
    painter.setPen(t.color);
    painter.drawText(t.origen, t.texto);
    painter.restore();
}

void dibujar(QPainter &painter, const LineaPagina &l)
{
    painter.setPen(l.pluma);
    painter.drawLine(l.linea);
}

void dibujar(QPainter &painter, const RectanguloPagina &r)
{
    painter.setPen(r.pluma);
    painter.setBrush(r.relleno.isValid() ? QBrush(r.relleno) : QBrush(Qt::NoBrush));
    if (r.elipse)
        painter.drawEllipse(r.rectangulo);
    else
        painter.drawRect(r.rectangulo);
}

void dibujar(QPainter &painter, const ImagenPagina &i)
{
    painter.save();
    painter.setClipRect(i.recorte, Qt::IntersectClip);
    painter.drawImage(i.destino, i.imagen);
    painter.restore();
}

void dibujar(QPainter &painter, const DibujoPagina &d)
{
    painter.save();
    painter.setClipRect(d.recorte, Qt::IntersectClip);
    // Qt scales a picture by the device's resolution over the picture's; the painter already
    // maps page units onto the device, so that scaling is taken back.
    painter.translate(d.origen);
    const QPaintDevice *dispositivo = painter.device();
    painter.scale(double(d.dibujo.logicalDpiX()) / dispositivo->logicalDpiX(),
                  double(d.dibujo.logicalDpiY()) / dispositivo->logicalDpiY());
    painter.drawPicture(0, 0, d.dibujo);
    painter.restore();
}

} // namespace

void dibujarPagina(const PaginaGenerada &pagina, QPainter &painter)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const BandaImpresa &banda : pagina.bandas) {
        if (banda.recortada) {
            painter.save();
            painter.setClipRect(banda.area);
        }
        for (const Primitiva &p : banda.primitivas)
            std::visit([&](const auto &primitiva) { dibujar(painter, primitiva); }, p);
        if (banda.recortada)
            painter.restore();
    }
    painter.restore();
}

double milimetrosAPixeles(double milimetros)
{
    return milimetros * plat::reportPageDpi / 25.4;
}
