#include "GENEW/runtime/ImagenesPrograma.h"

#include "platform/ui/DeferredIcon.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <utility>

namespace {

using Dibujo = std::function<void(QPainter &)>;

QPixmap pintar(int ancho, int alto, const Dibujo &dibujo)
{
    QPixmap imagen(ancho, alto);
    imagen.fill(Qt::transparent);
    QPainter p(&imagen);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    dibujo(p);
    return imagen;
}

void letraCentrada(QPainter &p, const QRectF &zona, const QString &texto, int puntos, const QColor &color)
{
    QFont letra(QStringLiteral("DejaVu Sans"));
    letra.setBold(true);
    letra.setPixelSize(puntos);
    p.setFont(letra);
    p.setPen(color);
    p.drawText(zona, Qt::AlignCenter, texto);
}

// A round badge with a sign in it: information, question, error.
QPixmap circulo(const QColor &claro, const QColor &oscuro, const QString &signo)
{
    return pintar(48, 48, [&](QPainter &p) {
        QRadialGradient degradado(QPointF(18, 16), 30);
        degradado.setColorAt(0, claro);
        degradado.setColorAt(1, oscuro);
        p.setPen(QPen(oscuro.darker(130), 1.5));
        p.setBrush(degradado);
        p.drawEllipse(QRectF(3, 3, 42, 42));
        letraCentrada(p, QRectF(3, 3, 42, 42), signo, 30, Qt::white);
    });
}

QPixmap exclamacion()
{
    return pintar(48, 48, [](QPainter &p) {
        QPainterPath triangulo;
        triangulo.moveTo(24, 3);
        triangulo.lineTo(45, 43);
        triangulo.lineTo(3, 43);
        triangulo.closeSubpath();
        QLinearGradient degradado(0, 3, 0, 43);
        degradado.setColorAt(0, QColor(255, 236, 120));
        degradado.setColorAt(1, QColor(240, 180, 0));
        p.setPen(QPen(QColor(150, 100, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(degradado);
        p.drawPath(triangulo);
        letraCentrada(p, QRectF(3, 13, 42, 30), QStringLiteral("!"), 28, QColor(40, 30, 0));
    });
}

QPixmap errorCruz()
{
    return pintar(48, 48, [](QPainter &p) {
        QRadialGradient degradado(QPointF(18, 16), 30);
        degradado.setColorAt(0, QColor(255, 110, 100));
        degradado.setColorAt(1, QColor(190, 20, 20));
        p.setPen(QPen(QColor(120, 0, 0), 1.5));
        p.setBrush(degradado);
        p.drawEllipse(QRectF(3, 3, 42, 42));
        p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 16), QPointF(32, 32));
        p.drawLine(QPointF(32, 16), QPointF(16, 32));
    });
}

// A hand pointing upwards, the picture of clickable fields.
QPixmap mano()
{
    return pintar(32, 32, [](QPainter &p) {
        QPainterPath contorno;
        contorno.addRoundedRect(QRectF(12, 2, 6, 18), 3, 3);            // index finger
        contorno.addRoundedRect(QRectF(17.5, 11, 5, 10), 2.5, 2.5);      // middle finger
        contorno.addRoundedRect(QRectF(22, 12.5, 5, 9), 2.5, 2.5);       // ring finger
        contorno.addRoundedRect(QRectF(6, 14, 6, 8), 3, 3);              // thumb
        contorno.addRoundedRect(QRectF(9, 16, 18, 13), 4, 4);            // palm
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(QColor(255, 255, 255));
        p.drawPath(contorno.simplified());
    });
}

// The currency switch: the currency shown now, an arrow, the one the button changes to.
QPixmap cambioMoneda(const QString &de, const QString &a)
{
    return pintar(32, 32, [&](QPainter &p) {
        letraCentrada(p, QRectF(0, 0, 18, 16), de, de.size() > 1 ? 9 : 14, QColor(0, 70, 160));
        letraCentrada(p, QRectF(12, 16, 20, 16), a, a.size() > 1 ? 9 : 14, QColor(0, 120, 40));
        p.setPen(QPen(QColor(80, 80, 80), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(21, 5), QPointF(27, 11));
        p.drawLine(QPointF(27, 11), QPointF(27, 6));
        p.drawLine(QPointF(27, 11), QPointF(22, 11));
    });
}

// A page with a folded corner; with documents attached it carries a green mark.
QPixmap documento(bool conDocumentos)
{
    return pintar(32, 32, [conDocumentos](QPainter &p) {
        QPainterPath hoja;
        hoja.moveTo(7, 3);
        hoja.lineTo(20, 3);
        hoja.lineTo(26, 9);
        hoja.lineTo(26, 29);
        hoja.lineTo(7, 29);
        hoja.closeSubpath();
        const QColor borde = conDocumentos ? QColor(40, 40, 40) : QColor(150, 150, 150);
        p.setPen(QPen(borde, 1.2));
        p.setBrush(conDocumentos ? QColor(255, 255, 250) : QColor(235, 235, 235));
        p.drawPath(hoja);
        p.drawLine(QPointF(20, 3), QPointF(20, 9));
        p.drawLine(QPointF(20, 9), QPointF(26, 9));
        for (int y = 13; y <= 25; y += 4)
            p.drawLine(QPointF(10, y), QPointF(22, y));
        if (conDocumentos) {
            p.setPen(QPen(QColor(0, 90, 0), 1));
            p.setBrush(QColor(40, 170, 60));
            p.drawEllipse(QRectF(17, 19, 12, 12));
        }
    });
}

// The main window's background: a calm vertical gradient with a faint Gantt chart of bars
// and week lines across its lower half.
QPixmap fondoMenu()
{
    return pintar(1024, 768, [](QPainter &p) {
        QLinearGradient degradado(0, 0, 0, 768);
        degradado.setColorAt(0, QColor(232, 238, 246));
        degradado.setColorAt(1, QColor(168, 186, 212));
        p.fillRect(QRect(0, 0, 1024, 768), degradado);
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
        for (int x = 64; x < 1024; x += 64)
            p.drawLine(x, 360, x, 720);
        const int barras[][3] = {{96, 256, 392}, {224, 480, 430}, {352, 640, 468}, {512, 832, 506},
                                 {672, 928, 544}, {160, 416, 582}, {448, 736, 620}};
        p.setPen(Qt::NoPen);
        for (const auto &b : barras) {
            p.setBrush(QColor(255, 255, 255, 70));
            p.drawRoundedRect(QRectF(b[0], b[2], b[1] - b[0], 22), 4, 4);
        }
        QFont letra(QStringLiteral("DejaVu Sans"));
        letra.setPixelSize(44);
        letra.setBold(true);
        p.setFont(letra);
        p.setPen(QColor(255, 255, 255, 150));
        p.drawText(QRect(0, 200, 1024, 80), Qt::AlignCenter, QStringLiteral("Gestión de Proyectos"));
    });
}

QPixmap crear(const QString &nombre)
{
    if (nombre == QLatin1String("FONDOMENU"))
        return fondoMenu();
    if (nombre == QLatin1String("INFORMACION"))
        return circulo(QColor(120, 175, 255), QColor(20, 80, 190), QStringLiteral("i"));
    if (nombre == QLatin1String("INTERROGACION"))
        return circulo(QColor(120, 200, 140), QColor(20, 120, 60), QStringLiteral("?"));
    if (nombre == QLatin1String("EXCLAMACION"))
        return exclamacion();
    if (nombre == QLatin1String("ERROR"))
        return errorCruz();
    if (nombre == QLatin1String("MANOD"))
        return mano();
    if (nombre == QLatin1String("EUROPTS"))
        return cambioMoneda(QStringLiteral("€"), QStringLiteral("Pts"));
    if (nombre == QLatin1String("PTSEURO"))
        return cambioMoneda(QStringLiteral("Pts"), QStringLiteral("€"));
    if (nombre == QLatin1String("DOCEON"))
        return documento(true);
    if (nombre == QLatin1String("DOCEOFF"))
        return documento(false);
    return QPixmap();
}

} // namespace

QIcon IconoPrograma(const QString &nombre)
{
    return plat::deferredIcon([nombre] { return QIcon(ImagenPrograma(nombre)); });
}

QPixmap ImagenPrograma(const QString &nombre)
{
    static QHash<QString, QPixmap> pintadas;
    auto it = pintadas.constFind(nombre);
    if (it == pintadas.constEnd())
        it = pintadas.insert(nombre, crear(nombre));
    return *it;
}
