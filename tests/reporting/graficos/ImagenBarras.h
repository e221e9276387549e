#pragma once
#include "GENEW/reporting/graficos/PrintBarcode.h"
#include "platform/ui/Canvas.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

// Barcodes drawn on page images, and what a scanner (zbarimg) reads from their pictures.
namespace imagenbarras {

constexpr int kMargen = 60;

// A control of the given type and text at (kMargen, kMargen) on a 96 dpi screen.
inline void preparar(TPrintBarcode &c, TBarCodeType tipo, const QString &texto, QSize tamano = QSize(300, 60))
{
    c.setPixelesPorPulgadaPantalla(96);
    c.setBarCodeType(tipo);
    c.setText(texto);
    c.setGeometry(QRect(QPoint(kMargen, kMargen), tamano));
}

// The symbol drawn at the resolution on a white image with margins around it.
inline QImage dibujar(TPrintBarcode &c, int resolucion, QSize imagen = QSize(2400, 900))
{
    plat::Bitmap bitmap(imagen.width(), imagen.height());
    c.DrawBarcode(bitmap.canvas(), resolucion);
    return bitmap.image();
}

inline bool hayZbar() { return !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty(); }

// zbarimg's standard output for a picture file (one "TYPE:data" line per symbol).
inline QString leerConZbar(const QString &fichero, const QStringList &opciones = {})
{
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(QStringLiteral("zbarimg"), QStringList{QStringLiteral("-q")} + opciones + QStringList{fichero});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

inline bool oscuro(const QImage &img, int x, int y) { return qGray(img.pixel(x, y)) < 128; }

// Runs of dark pixels along a row: (start, length).
inline std::vector<std::pair<int, int>> tramosOscuros(const QImage &img, int y)
{
    std::vector<std::pair<int, int>> tramos;
    for (int x = 0; x < img.width(); ++x) {
        if (!oscuro(img, x, y))
            continue;
        int fin = x;
        while (fin < img.width() && oscuro(img, fin, y))
            ++fin;
        tramos.emplace_back(x, fin - x);
        x = fin;
    }
    return tramos;
}

// Height of the dark column at x that contains row y.
inline int altoColumna(const QImage &img, int x, int y)
{
    int arriba = y, abajo = y;
    while (arriba > 0 && oscuro(img, x, arriba - 1))
        --arriba;
    while (abajo + 1 < img.height() && oscuro(img, x, abajo + 1))
        ++abajo;
    return abajo - arriba + 1;
}

} // namespace imagenbarras
