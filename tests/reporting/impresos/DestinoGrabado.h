#pragma once
#include "GENEW/reporting/impresos/DestinoDibujo.h"

#include <QStringList>

namespace gptest {

// A drawing target that records each primitive as a line of text and measures every
// character as the same width (a monospaced printer font).
class DestinoGrabado : public DestinoDibujo
{
public:
    explicit DestinoGrabado(int anchoCaracter = 5) : anchoCaracter_(anchoCaracter)
    {
        fuente_.Font = QFont(QStringLiteral("Arial"), 10);
    }
    plat::CanvasFont &fuente() override { return fuente_; }
    int anchoTexto(const QString &texto) override { return int(texto.size()) * anchoCaracter_; }
    int altoTexto(const QString &) override { return 12; }
    void texto(int x, int y, const QString &texto) override
    {
        grabado << QStringLiteral("texto %1,%2 [%3] %4").arg(x).arg(y).arg(texto, descripcionFuente());
    }
    void textoRecortado(const QRect &r, int x, int y, const QString &texto) override
    {
        grabado << QStringLiteral("recorte %1,%2,%3,%4 en %5,%6 [%7] %8")
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height())
                       .arg(x)
                       .arg(y)
                       .arg(texto, descripcionFuente());
    }
    void rectangulo(const QRect &r, const plat::Pen &p, const plat::Brush &b, QSize e) override
    {
        grabado << QStringLiteral("rectangulo %1,%2,%3,%4 %5 brocha %6/%7 esquinas %8,%9")
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height())
                       .arg(pluma(p))
                       .arg(b.Color, 6, 16, QLatin1Char('0'))
                       .arg(b.Style == plat::bsSolid ? "solida" : "vacia")
                       .arg(e.width())
                       .arg(e.height());
    }
    void linea(QPoint a, QPoint b, const plat::Pen &p) override
    {
        grabado << QStringLiteral("linea %1,%2-%3,%4 %5").arg(a.x()).arg(a.y()).arg(b.x()).arg(b.y()).arg(pluma(p));
    }
    void imagen(const QRect &r, const QImage &i) override
    {
        grabado << QStringLiteral("imagen %1,%2,%3,%4 de %5x%6")
                       .arg(r.x())
                       .arg(r.y())
                       .arg(r.width())
                       .arg(r.height())
                       .arg(i.width())
                       .arg(i.height());
        imagenes << i;
    }
    void bytes(const QByteArray &datos) override { bloques << datos; }
    int resolucion() const override { return 96; }

    QString descripcionFuente() const
    {
        const QFont &f = fuente_.Font;
        QString estilos;
        if (f.bold())
            estilos += QLatin1Char('N');
        if (f.italic())
            estilos += QLatin1Char('I');
        if (f.underline())
            estilos += QLatin1Char('S');
        if (f.strikeOut())
            estilos += QLatin1Char('T');
        return QStringLiteral("%1/%2/%3/%4").arg(f.family()).arg(f.pointSize()).arg(fuente_.Color, 6, 16, QLatin1Char('0')).arg(estilos);
    }
    static QString pluma(const plat::Pen &p)
    {
        const char *estilo = p.Style == plat::psDot ? "puntos" : p.Style == plat::psClear ? "ninguna" : "solida";
        return QStringLiteral("pluma %1/%2/%3").arg(p.Width).arg(p.Color, 6, 16, QLatin1Char('0')).arg(estilo);
    }

    QStringList grabado;
    QList<QByteArray> bloques;
    QList<QImage> imagenes;

private:
    int anchoCaracter_;
    plat::CanvasFont fuente_;
};

} // namespace gptest
