#include "GENEW/data/ventanas/GlifosBarraMaestro.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

constexpr int kLado = 20;   // the drawings' own units: a 20×20 square

const QColor kAzul(30, 90, 200);
const QColor kVerde(20, 150, 50);
const QColor kRojo(205, 35, 35);

using Dibujo = std::function<void(QPainter &)>;

// The drawing at a scale of the 20-unit square (1 for ordinary screens, 2 for dense ones).
QImage dibujar(const Dibujo &dibujo, int escala)
{
    QImage imagen(kLado * escala, kLado * escala, QImage::Format_ARGB32_Premultiplied);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(escala, escala);
    dibujo(p);
    return imagen;
}

// The disabled look: every pixel grey and faded towards the button face.
QImage gris(QImage imagen)
{
    imagen = imagen.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < imagen.height(); ++y) {
        auto *fila = reinterpret_cast<QRgb *>(imagen.scanLine(y));
        for (int x = 0; x < imagen.width(); ++x) {
            const int luz = 110 + qGray(fila[x]) / 3;
            fila[x] = qRgba(luz, luz, luz, qAlpha(fila[x]) * 2 / 3);
        }
    }
    return imagen;
}

QIcon icono(const Dibujo &dibujo)
{
    QIcon resultado;
    for (int escala : {1, 2}) {
        const QImage imagen = dibujar(dibujo, escala);
        QPixmap normal = QPixmap::fromImage(imagen);
        QPixmap desactivado = QPixmap::fromImage(gris(imagen));
        normal.setDevicePixelRatio(escala);
        desactivado.setDevicePixelRatio(escala);
        resultado.addPixmap(normal, QIcon::Normal);
        resultado.addPixmap(desactivado, QIcon::Disabled);
    }
    return resultado;
}

void triangulo(QPainter &p, qreal punta, qreal base, const QColor &color)
{
    QPainterPath t;
    t.moveTo(punta, 10);
    t.lineTo(base, 4);
    t.lineTo(base, 16);
    t.closeSubpath();
    p.setPen(QPen(color.darker(140), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(color);
    p.drawPath(t);
}

void barra(QPainter &p, qreal x, const QColor &color)
{
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRect(QRectF(x, 4, 2.5, 12));
}

// Navigation: triangles pointing to where the button goes, a bar for the first and last.
Dibujo navegacion(bool haciaAtras, bool extremo)
{
    return [haciaAtras, extremo](QPainter &p) {
        if (haciaAtras) {
            triangulo(p, 5, 15, kAzul);
            if (extremo)
                barra(p, 2.5, kAzul);
        } else {
            triangulo(p, 15, 5, kAzul);
            if (extremo)
                barra(p, 15, kAzul);
        }
    };
}

void papelera(QPainter &p)
{
    p.setPen(QPen(kRojo.darker(150), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kRojo);
    p.drawRect(QRectF(3.5, 4, 13, 2.2));        // lid
    p.drawRect(QRectF(8, 2, 4, 2));             // handle
    QPainterPath cuerpo;
    cuerpo.moveTo(5, 7);
    cuerpo.lineTo(15, 7);
    cuerpo.lineTo(14, 18);
    cuerpo.lineTo(6, 18);
    cuerpo.closeSubpath();
    p.drawPath(cuerpo);
    p.setPen(QPen(Qt::white, 1.1, Qt::SolidLine, Qt::RoundCap));
    for (qreal x : {8.0, 10.0, 12.0})
        p.drawLine(QPointF(x, 9), QPointF(x, 16));
}

void hojaConMas(QPainter &p)
{
    QPainterPath hoja;
    hoja.moveTo(3.5, 1.5);
    hoja.lineTo(11.5, 1.5);
    hoja.lineTo(15.5, 5.5);
    hoja.lineTo(15.5, 17.5);
    hoja.lineTo(3.5, 17.5);
    hoja.closeSubpath();
    p.setPen(QPen(QColor(70, 70, 70), 1));
    p.setBrush(QColor(255, 255, 245));
    p.drawPath(hoja);
    p.setPen(Qt::NoPen);
    p.setBrush(kVerde);
    p.drawEllipse(QRectF(9, 9, 10.5, 10.5));
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(14.25, 11), QPointF(14.25, 17.5));
    p.drawLine(QPointF(11, 14.25), QPointF(17.5, 14.25));
}

void puertaConFlecha(QPainter &p)
{
    p.setPen(QPen(QColor(90, 50, 20), 1));
    p.setBrush(QColor(170, 105, 50));
    p.drawRect(QRectF(3, 2, 9, 16));
    p.setBrush(QColor(250, 210, 90));
    p.drawEllipse(QRectF(9, 9.5, 1.8, 1.8));
    p.setPen(QPen(kVerde, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(10.5, 14), QPointF(18, 14));
    p.drawLine(QPointF(15, 11), QPointF(18, 14));
    p.drawLine(QPointF(15, 17), QPointF(18, 14));
}

void aspa(QPainter &p)
{
    p.setPen(QPen(kRojo, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 4.5), QPointF(15.5, 15.5));
    p.drawLine(QPointF(15.5, 4.5), QPointF(4.5, 15.5));
}

void visto(QPainter &p)
{
    p.setPen(QPen(kVerde, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath v;
    v.moveTo(3.5, 10.5);
    v.lineTo(8, 15);
    v.lineTo(16.5, 4.5);
    p.drawPath(v);
}

// Two arrows chasing each other round a circle.
void refresco(QPainter &p)
{
    p.setPen(QPen(kVerde, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF circulo(3.5, 3.5, 13, 13);
    p.drawArc(circulo, 20 * 16, 140 * 16);
    p.drawArc(circulo, 200 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(kVerde);
    QPainterPath puntas;
    puntas.moveTo(16.8, 6.2);
    puntas.lineTo(18.8, 11.2);
    puntas.lineTo(13.2, 9.8);
    puntas.closeSubpath();
    puntas.moveTo(3.2, 13.8);
    puntas.lineTo(1.2, 8.8);
    puntas.lineTo(6.8, 10.2);
    puntas.closeSubpath();
    p.drawPath(puntas);
}

} // namespace

QIcon GlifoBarraMaestro(BotonBarraMaestro boton)
{
    switch (boton) {
    case BotonBarraMaestro::Primero: return icono(navegacion(true, true));
    case BotonBarraMaestro::Anterior: return icono(navegacion(true, false));
    case BotonBarraMaestro::Siguiente: return icono(navegacion(false, false));
    case BotonBarraMaestro::Ultimo: return icono(navegacion(false, true));
    case BotonBarraMaestro::Eliminar: return icono(papelera);
    case BotonBarraMaestro::Agregar: return icono(hojaConMas);
    case BotonBarraMaestro::Salir: return icono(puertaConFlecha);
    case BotonBarraMaestro::Cancelar: return icono(aspa);
    case BotonBarraMaestro::Conforme: return icono(visto);
    case BotonBarraMaestro::Refrescar: return icono(refresco);
    }
    return QIcon();
}
