#include "GENEW/reporting/informes/ExportacionesInforme.h"

#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPainter>
#include <QSaveFile>
#include <QTextItem>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

// A paint device that draws nothing and keeps the texts played on it, where they land.
class CapturaTextos : public QPaintEngine
{
public:
    CapturaTextos() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &estado) override
    {
        if (estado.state() & QPaintEngine::DirtyTransform)
            transformacion_ = estado.transform();
        if (estado.state() & QPaintEngine::DirtyPen)
            color_ = estado.pen().color();
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath &) override {}
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QFontMetricsF fm(item.font());
        const QPointF base = transformacion_.map(p);
        const double escala = transformacion_.m22() == 0 ? 1 : std::abs(transformacion_.m22());
        TextoSituado t;
        t.texto = item.text();
        t.fuente = item.font();
        t.color = color_;
        t.caja = QRectF(base.x(), base.y() - fm.ascent() * escala, fm.horizontalAdvance(t.texto) * escala,
                        fm.height() * escala);
        textos << t;
    }
    Type type() const override { return QPaintEngine::User; }

    QVector<TextoSituado> textos;

private:
    QTransform transformacion_;
    QColor color_;
};

class DispositivoCaptura : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &motor; }
    mutable CapturaTextos motor;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: case PdmHeight: return 100000;
        case PdmWidthMM: case PdmHeightMM: return int(100000 * 25.4 / 96);
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmNumColors: return INT_MAX;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }
};

QVector<TextoSituado> textosDeDibujo(const DibujoPagina &d)
{
    DispositivoCaptura dispositivo;
    {
        QPainter painter(&dispositivo);
        painter.translate(d.origen);
        d.dibujo.play(painter);
    }
    QVector<TextoSituado> textos;
    for (const TextoSituado &t : std::as_const(dispositivo.motor.textos))
        if (d.recorte.intersects(t.caja) && !t.texto.trimmed().isEmpty())
            textos << t;
    return textos;
}

bool antesEnLectura(const TextoSituado &a, const TextoSituado &b)
{
    const double mitad = std::min(a.caja.height(), b.caja.height()) / 2;
    if (std::abs(a.caja.top() - b.caja.top()) > mitad)
        return a.caja.top() < b.caja.top();
    return a.caja.left() < b.caja.left();
}

} // namespace

QVector<TextoSituado> textosDeBanda(const BandaImpresa &banda)
{
    QVector<TextoSituado> textos;
    int siguienteDibujo = 100000;
    for (int i = 0; i < banda.primitivas.size(); ++i) {
        const Primitiva &p = banda.primitivas[i];
        if (const auto *t = std::get_if<TextoPagina>(&p)) {
            if (banda.recortada && t->caja.top() >= banda.area.bottom())
                continue;
            textos << TextoSituado{t->texto, QRectF(t->origen.x(), t->caja.top(),
                                                    QFontMetricsF(t->fuente).horizontalAdvance(t->texto),
                                                    t->caja.height()),
                                   t->fuente, t->color, banda.controlDePrimitiva.value(i, -1)};
        } else if (const auto *d = std::get_if<DibujoPagina>(&p)) {
            for (TextoSituado t : textosDeDibujo(*d)) {
                t.control = siguienteDibujo++;
                textos << t;
            }
        }
    }
    std::stable_sort(textos.begin(), textos.end(), antesEnLectura);
    return textos;
}

// ---- text --------------------------------------------------------------------------------

QByteArray exportarTexto(const PaginasGuardadas &paginas)
{
    constexpr double kPixelesPorCaracter = 8;
    QString salida;
    for (int n = 1; n <= paginas.cuenta(); ++n) {
        if (n > 1)
            salida += u'\f';
        const PaginaCompartida pagina = paginas.pagina(n);
        if (!pagina)
            continue;
        QVector<TextoSituado> textos;
        for (const BandaImpresa &banda : pagina->bandas)
            textos += textosDeBanda(banda);
        std::stable_sort(textos.begin(), textos.end(), antesEnLectura);
        const double margen = pagina->bandas.isEmpty() ? 0 : pagina->bandas.first().area.left();
        for (int i = 0; i < textos.size();) {
            // One row: the texts whose tops lie within half a line of the row's first one.
            int fin = i + 1;
            const double mitad = textos[i].caja.height() / 2;
            while (fin < textos.size() && std::abs(textos[fin].caja.top() - textos[i].caja.top()) <= mitad)
                ++fin;
            QVector<TextoSituado> fila(textos.begin() + i, textos.begin() + fin);
            std::stable_sort(fila.begin(), fila.end(),
                             [](const TextoSituado &a, const TextoSituado &b) { return a.caja.left() < b.caja.left(); });
            QString linea;
            for (const TextoSituado &t : std::as_const(fila)) {
                int columna = std::max(0, int(std::lround((t.caja.left() - margen) / kPixelesPorCaracter)));
                if (!linea.isEmpty() && columna <= linea.size())
                    columna = int(linea.size()) + 1;
                linea = linea.leftJustified(columna, u' ') + t.texto;
            }
            salida += linea + QStringLiteral("\r\n");
            i = fin;
        }
    }
    return salida.toUtf8();
}

// ---- CSV ---------------------------------------------------------------------------------

namespace {

QString campoCSV(const QString &valor)
{
    if (!valor.contains(u',') && !valor.contains(u'"') && !valor.contains(u'\n') && !valor.contains(u'\r'))
        return valor;
    QString doblado = valor;
    doblado.replace(u'"', QStringLiteral("\"\""));
    return u'"' + doblado + u'"';
}

} // namespace

QByteArray exportarCSV(const PaginasGuardadas &paginas)
{
    QString salida;
    for (int n = 1; n <= paginas.cuenta(); ++n) {
        const PaginaCompartida pagina = paginas.pagina(n);
        if (!pagina)
            continue;
        for (const BandaImpresa &banda : pagina->bandas) {
            if (banda.tipo == TipoBanda::PiePagina || (banda.tipo == TipoBanda::CabeceraPagina && n > 1))
                continue;
            const QVector<TextoSituado> textos = textosDeBanda(banda);
            if (textos.isEmpty())
                continue;
            // Values left to right; the lines of one control make one value, in their order.
            std::map<int, std::pair<double, QStringList>> valores;
            for (const TextoSituado &t : textos) {
                auto [it, nuevo] = valores.try_emplace(t.control, t.caja.left(), QStringList());
                it->second.first = std::min(it->second.first, t.caja.left());
                it->second.second << t.texto;
            }
            QVector<std::pair<double, QString>> orden;
            for (const auto &[control, valor] : valores)
                orden.append({valor.first, valor.second.join(u' ')});
            std::stable_sort(orden.begin(), orden.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
            QStringList campos;
            for (const auto &v : std::as_const(orden))
                campos << campoCSV(v.second);
            salida += campos.join(u',') + QStringLiteral("\r\n");
        }
    }
    return salida.toUtf8();
}

// ---- HTML --------------------------------------------------------------------------------

QByteArray exportarHTML(const PaginasGuardadas &paginas)
{
    QString salida = QStringLiteral(
        "<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
        "<style>.pagina{position:relative;overflow:hidden;background:#fff;border:1px solid #ccc;margin:0 auto 8px}"
        ".pagina div{position:absolute;white-space:pre}</style>\r\n</head>\r\n<body>\r\n");
    for (int n = 1; n <= paginas.cuenta(); ++n) {
        const PaginaCompartida leida = paginas.pagina(n);
        if (!leida)
            continue;
        const PaginaGenerada &pagina = *leida;
        salida += QStringLiteral("<div class=\"pagina\" style=\"width:%1px;height:%2px%3\">\r\n")
                      .arg(std::lround(pagina.tamanio.width()))
                      .arg(std::lround(pagina.tamanio.height()))
                      .arg(n < paginas.cuenta() ? QStringLiteral(";page-break-after:always") : QString());
        for (const BandaImpresa &banda : pagina.bandas)
            for (const TextoSituado &t : textosDeBanda(banda))
                salida += QStringLiteral("<div style=\"left:%1px;top:%2px;font-family:'%3';font-size:%4px;"
                                         "font-weight:%5;font-style:%6;color:%7\">%8</div>\r\n")
                              .arg(t.caja.left(), 0, 'f', 1)
                              .arg(t.caja.top(), 0, 'f', 1)
                              .arg(t.fuente.family().toHtmlEscaped())
                              .arg(t.fuente.pixelSize() > 0 ? t.fuente.pixelSize() : t.fuente.pointSizeF() * 96 / 72)
                              .arg(t.fuente.bold() ? QStringLiteral("bold") : QStringLiteral("normal"))
                              .arg(t.fuente.italic() ? QStringLiteral("italic") : QStringLiteral("normal"))
                              .arg(t.color.name())
                              .arg(t.texto.toHtmlEscaped());
        salida += QStringLiteral("</div>\r\n");
    }
    salida += QStringLiteral("</body>\r\n</html>\r\n");
    return salida.toUtf8();
}

bool grabarExportacion(plat::ReportExport formato, const PaginasGuardadas &paginas, const QString &fichero)
{
    QSaveFile archivo(fichero);
    if (!archivo.open(QIODevice::WriteOnly))
        return false;
    switch (formato) {
    case plat::ReportExport::Text: archivo.write(exportarTexto(paginas)); break;
    case plat::ReportExport::Csv: archivo.write(exportarCSV(paginas)); break;
    case plat::ReportExport::Html: archivo.write(exportarHTML(paginas)); break;
    }
    return archivo.commit();
}
