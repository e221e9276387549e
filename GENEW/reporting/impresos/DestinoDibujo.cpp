#include "GENEW/reporting/impresos/DestinoDibujo.h"

#include <QPainter>
#include <cmath>

QFont FuenteEnPixeles(const QFont &fuente, int resolucion)
{
    QFont f = fuente;
    if (fuente.pointSizeF() > 0)
        f.setPixelSize(qMax(1, int(std::lround(fuente.pointSizeF() * resolucion / 72.0))));
    return f;
}

DestinoLienzo::DestinoLienzo(plat::Canvas &lienzo, int resolucion) : lienzo_(&lienzo), resolucion_(resolucion)
{
    fuente_.Font = QFont(QStringLiteral("Arial"), 10);
}

void DestinoLienzo::aplicarFuente()
{
    if (!(fuente_.Font == fuentePuntos_) || fuentePixeles_.pixelSize() <= 0) {
        fuentePuntos_ = fuente_.Font;
        fuentePixeles_ = FuenteEnPixeles(fuente_.Font, resolucion_);
        blanco_.reset();
    }
    lienzo_->font().Font = fuentePixeles_;
    lienzo_->font().Color = fuente_.Color;
    // Texts draw over what is already on the page.
    lienzo_->brush().Style = plat::bsClear;
}

int DestinoLienzo::anchoTexto(const QString &texto)
{
    aplicarFuente();
    return lienzo_->TextWidth(texto);
}

int DestinoLienzo::altoTexto(const QString &texto)
{
    aplicarFuente();
    return lienzo_->TextHeight(texto);
}

long double DestinoLienzo::anchoBlanco()
{
    aplicarFuente();
    if (!blanco_)
        blanco_ = lienzo_->TextWidth(QString(100, QLatin1Char(' '))) / 100.0L;
    return *blanco_;
}

void DestinoLienzo::texto(int x, int y, const QString &texto)
{
    aplicarFuente();
    lienzo_->DrawText(x, y, texto);
}

void DestinoLienzo::textoRecortado(const QRect &recorte, int x, int y, const QString &texto)
{
    aplicarFuente();
    lienzo_->TextRect(recorte, x, y, texto);
}

void DestinoLienzo::rectangulo(const QRect &r, const plat::Pen &pluma, const plat::Brush &brocha, QSize esquinas)
{
    lienzo_->pen() = pluma;
    lienzo_->brush() = brocha;
    if (esquinas.width() != 0 || esquinas.height() != 0)
        lienzo_->RoundRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), esquinas.width(),
                           esquinas.height());
    else
        lienzo_->Rectangle(r);
}

void DestinoLienzo::linea(QPoint desde, QPoint hasta, const plat::Pen &pluma)
{
    lienzo_->pen() = pluma;
    lienzo_->MoveTo(desde.x(), desde.y());
    lienzo_->LineTo(hasta.x(), hasta.y());
}

void DestinoLienzo::imagen(const QRect &r, const QImage &imagen)
{
    if (r.width() == 0 && r.height() == 0)
        lienzo_->Draw(r.left(), r.top(), imagen);
    else
        lienzo_->StretchDraw(r, imagen);
}

void DestinoLienzo::bytes(const QByteArray &datos)
{
    bytes_.append(datos);
}
