#pragma once
#include "platform/ui/Canvas.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>

// Where the drawing commands of a run go: a canvas over a stored page or over the printer's
// page, or the raw byte stream of a printer in text mode. Positions and sizes are in the
// target's pixels; the font keeps its size in points and the target turns it into pixels
// at its own resolution.
class DestinoDibujo
{
public:
    virtual ~DestinoDibujo() = default;

    // The font in force (points), kept between commands.
    virtual plat::CanvasFont &fuente() = 0;
    virtual int anchoTexto(const QString &texto) = 0;
    virtual int altoTexto(const QString &texto) = 0;
    // One blank's width in the font in force, measured over a hundred: fonts advance by
    // fractions of a pixel, and a rounded single width would shift a long padding by whole
    // characters.
    virtual long double anchoBlanco() { return anchoTexto(QString(100, QLatin1Char(' '))) / 100.0L; }
    // Text with its top-left corner at (x, y); clipped to the rectangle when one is given.
    virtual void texto(int x, int y, const QString &texto) = 0;
    virtual void textoRecortado(const QRect &recorte, int x, int y, const QString &texto) = 0;
    // Corners (width, height) of 0 give a square-cornered rectangle.
    virtual void rectangulo(const QRect &r, const plat::Pen &pluma, const plat::Brush &brocha, QSize esquinas) = 0;
    virtual void linea(QPoint desde, QPoint hasta, const plat::Pen &pluma) = 0;
    // At its natural size at the rectangle's corner when the rectangle has no size, else
    // stretched over it.
    virtual void imagen(const QRect &r, const QImage &imagen) = 0;
    // Bytes for the printer as they are (text mode and printer codes).
    virtual void bytes(const QByteArray &datos) = 0;
    // Pixels per inch of the target (font sizes, barcodes).
    virtual int resolucion() const = 0;
};

// The drawing target over a canvas: a page recording, or a printer page.
class DestinoLienzo : public DestinoDibujo
{
public:
    DestinoLienzo(plat::Canvas &lienzo, int resolucion);

    plat::CanvasFont &fuente() override { return fuente_; }
    int anchoTexto(const QString &texto) override;
    int altoTexto(const QString &texto) override;
    long double anchoBlanco() override;
    void texto(int x, int y, const QString &texto) override;
    void textoRecortado(const QRect &recorte, int x, int y, const QString &texto) override;
    void rectangulo(const QRect &r, const plat::Pen &pluma, const plat::Brush &brocha, QSize esquinas) override;
    void linea(QPoint desde, QPoint hasta, const plat::Pen &pluma) override;
    void imagen(const QRect &r, const QImage &imagen) override;
    void bytes(const QByteArray &datos) override;
    int resolucion() const override { return resolucion_; }

    // Bytes met on a drawn page go to the printer as a raw job after the drawn one.
    const QByteArray &bytesPendientes() const { return bytes_; }
    // The canvas in use, for a target that moves to a new page.
    void cambiarLienzo(plat::Canvas &lienzo) { lienzo_ = &lienzo; }

private:
    void aplicarFuente();

    plat::Canvas *lienzo_;
    int resolucion_;
    plat::CanvasFont fuente_;
    QFont fuentePuntos_;    // the font last turned into pixels, and the result
    QFont fuentePixeles_;
    std::optional<long double> blanco_;   // of fuentePixeles_, once measured
    QByteArray bytes_;
};

// A font in points as pixels at a resolution (pixel fonts measure alike on every device).
QFont FuenteEnPixeles(const QFont &fuente, int resolucion);
