#pragma once
#include <QByteArray>
#include <QFile>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QString>
#include <QStringList>
#include <QTextItem>
#include <QTransform>
#include <QVector>
#include <cmath>
#include <memory>

namespace gptest {

// One mark a painter made, in points from the sheet's corner: its kind ("R" rectangle,
// "L" line, "P" path's bounds, "G" polygon, "I" image's place, "T" text at its baseline's
// start), its text and its figures.
struct Trazo
{
    QString clase;
    QString texto;
    QVector<double> cifras;

    QString linea() const
    {
        QStringList numeros;
        for (double c : cifras)
            numeros << QString::number(c, 'f', 3);
        return clase + u'|' + texto + u'|' + numeros.join(u' ');
    }

    static Trazo deLinea(const QString &linea)
    {
        const QStringList partes = linea.split(u'|');
        Trazo t{partes.value(0), partes.value(1), {}};
        for (const QString &n : partes.value(2).split(u' ', Qt::SkipEmptyParts))
            t.cifras << n.toDouble();
        return t;
    }

    // The same mark, its figures within the tolerance.
    bool igualA(const Trazo &otro, double tolerancia) const
    {
        if (clase != otro.clase || texto != otro.texto || cifras.size() != otro.cifras.size())
            return false;
        for (int i = 0; i < cifras.size(); ++i)
            if (std::abs(cifras[i] - otro.cifras[i]) > tolerancia)
                return false;
        return true;
    }
};

// A device at 72 dots per inch (a PDF's points) that keeps every mark drawn on it, with the
// painter's transformation applied, as a PDF writer would receive it.
class DispositivoTrazos : public QPaintDevice
{
public:
    explicit DispositivoTrazos(QSizeF puntos) : tamano_(puntos.toSize()), motor_(std::make_unique<Motor>()) {}

    QPaintEngine *paintEngine() const override { return motor_.get(); }
    const QVector<Trazo> &trazos() const { return motor_->trazos; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return tamano_.width();
        case PdmHeight: return tamano_.height();
        case PdmWidthMM: return int(tamano_.width() * 25.4 / 72);
        case PdmHeightMM: return int(tamano_.height() * 25.4 / 72);
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 72;
        case PdmDepth: return 32;
        case PdmNumColors: return 0x7fffffff;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    class Motor : public QPaintEngine
    {
    public:
        Motor() : QPaintEngine(AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        Type type() const override { return User; }
        void updateState(const QPaintEngineState &estado) override
        {
            if (estado.state() & DirtyTransform)
                matriz_ = estado.transform();
        }
        void drawRects(const QRectF *rects, int n) override
        {
            for (int i = 0; i < n; ++i)
                anotar("R", QString(), matriz_.mapRect(rects[i]));
        }
        void drawRects(const QRect *rects, int n) override
        {
            for (int i = 0; i < n; ++i)
                anotar("R", QString(), matriz_.mapRect(QRectF(rects[i])));
        }
        void drawLines(const QLineF *lineas, int n) override
        {
            for (int i = 0; i < n; ++i) {
                const QLineF l = matriz_.map(lineas[i]);
                trazos << Trazo{QStringLiteral("L"), QString(), {l.x1(), l.y1(), l.x2(), l.y2()}};
            }
        }
        void drawLines(const QLine *lineas, int n) override
        {
            for (int i = 0; i < n; ++i) {
                const QLineF l(lineas[i]);
                drawLines(&l, 1);
            }
        }
        void drawPath(const QPainterPath &camino) override
        {
            anotar("P", QString::number(camino.elementCount()), matriz_.map(camino).boundingRect());
        }
        void drawPolygon(const QPointF *puntos, int n, PolygonDrawMode) override
        {
            Trazo t{QStringLiteral("G"), QString(), {}};
            for (int i = 0; i < n; ++i) {
                const QPointF p = matriz_.map(puntos[i]);
                t.cifras << p.x() << p.y();
            }
            trazos << t;
        }
        void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override
        {
            anotar("I", QString(), matriz_.mapRect(r));
        }
        void drawImage(const QRectF &r, const QImage &, const QRectF &, Qt::ImageConversionFlags) override
        {
            anotar("I", QString(), matriz_.mapRect(r));
        }
        void drawTextItem(const QPointF &p, const QTextItem &texto) override
        {
            const QPointF o = matriz_.map(p);
            trazos << Trazo{QStringLiteral("T"), texto.text(), {o.x(), o.y()}};
        }

        QVector<Trazo> trazos;

    private:
        void anotar(const char *clase, const QString &texto, const QRectF &r)
        {
            trazos << Trazo{QString::fromLatin1(clase), texto, {r.x(), r.y(), r.width(), r.height()}};
        }
        QTransform matriz_;
    };

    QSize tamano_;
    std::unique_ptr<Motor> motor_;
};

// Marks kept one a line, as `Trazo::linea` writes them; a file named ".z" is compressed as
// qCompress does (a page of Gantt bars is thousands of small marks).
inline QVector<Trazo> LeerTrazos(const QString &fichero)
{
    QVector<Trazo> trazos;
    QFile f(fichero);
    if (!f.open(QIODevice::ReadOnly))
        return trazos;
    const QByteArray bytes = fichero.endsWith(QLatin1String(".z")) ? qUncompress(f.readAll()) : f.readAll();
    for (const QString &linea : QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts))
        trazos << Trazo::deLinea(linea);
    return trazos;
}

inline bool GrabarTrazos(const QVector<Trazo> &trazos, const QString &fichero)
{
    QByteArray bytes;
    for (const Trazo &t : trazos)
        bytes += (t.linea() + u'\n').toUtf8();
    QFile f(fichero);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return f.write(fichero.endsWith(QLatin1String(".z")) ? qCompress(bytes, 9) : bytes) >= 0;
}

} // namespace gptest
