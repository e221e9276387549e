#include "GENEW/reporting/informes/PaginasInforme.h"

#include "platform/report/PreparedReport.h"

#include <QPainter>

namespace {

// Keeps the font and colour last set, so that runs of texts in one font change nothing.
struct EstadoTexto
{
    QFont fuente;
    QColor color;
    bool puesto = false;
};

void dibujar(QPainter &painter, const TextoPagina &t, EstadoTexto &estado)
{
    if (!estado.puesto || !(estado.fuente == t.fuente)) {
        painter.setFont(t.fuente);
        estado.fuente = t.fuente;
    }
    if (!estado.puesto || estado.color != t.color) {
        painter.setPen(t.color);
        estado.color = t.color;
    }
    estado.puesto = true;
    painter.drawText(t.origen, t.texto);
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
    EstadoTexto estado;
    for (const BandaImpresa &banda : pagina.bandas) {
        if (banda.recortada) {
            painter.save();
            painter.setClipRect(banda.area);
            estado.puesto = false;
        }
        for (const Primitiva &p : banda.primitivas) {
            if (const auto *texto = std::get_if<TextoPagina>(&p)) {
                dibujar(painter, *texto, estado);
                continue;
            }
            std::visit([&](const auto &primitiva) {
                if constexpr (!std::is_same_v<std::decay_t<decltype(primitiva)>, TextoPagina>)
                    dibujar(painter, primitiva);
            }, p);
            estado.puesto = false;   // the other primitives set pens of their own
        }
        if (banda.recortada) {
            painter.restore();
            estado.puesto = false;
        }
    }
    painter.restore();
}

double milimetrosAPixeles(double milimetros)
{
    return milimetros * plat::reportPageDpi / 25.4;
}
