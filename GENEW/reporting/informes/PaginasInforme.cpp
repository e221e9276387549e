#include "GENEW/reporting/informes/PaginasInforme.h"

#include "platform/report/PreparedReport.h"

#include <QDataStream>
#include <QIODevice>
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
    painter.translate(d.origen);
    d.dibujo.play(painter);
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

// ---- page files ----------------------------------------------------------------------------

namespace {

constexpr quint32 kMarcaFichero = 0x47504733;   // "GPG3": each font once, pictures as plat::Drawing
constexpr QDataStream::Version kVersionFlujo = QDataStream::Qt_6_4;

// The fonts of a page's texts: a text names its font by number, and a font follows the
// first number that names it. Written whole, a font is most of a text's bytes and the
// slowest part to read back, and a page has a few of them.
class FuentesFichero
{
public:
    void escribir(QDataStream &s, const QFont &fuente)
    {
        for (qsizetype i = 0; i < fuentes_.size(); ++i)
            if (fuentes_[i] == fuente) {
                s << quint32(i);
                return;
            }
        s << quint32(fuentes_.size()) << fuente;
        fuentes_ << fuente;
    }
    // False when the number names no font.
    bool leer(QDataStream &s, QFont &fuente)
    {
        quint32 numero = 0;
        s >> numero;
        if (qsizetype(numero) == fuentes_.size()) {
            s >> fuente;
            fuentes_ << fuente;
            return true;
        }
        if (qsizetype(numero) > fuentes_.size())
            return false;
        fuente = fuentes_[numero];
        return true;
    }

private:
    QVector<QFont> fuentes_;
};

void escribir(QDataStream &s, FuentesFichero &fuentes, const TextoPagina &t)
{
    s << t.texto;
    fuentes.escribir(s, t.fuente);
    s << t.color << int(t.alineacion) << t.origen << t.caja << t.recorte;
}
void escribir(QDataStream &s, FuentesFichero &, const LineaPagina &l) { s << l.linea << l.pluma; }
void escribir(QDataStream &s, FuentesFichero &, const RectanguloPagina &r)
{
    s << r.rectangulo << r.pluma << r.relleno << r.elipse;
}
void escribir(QDataStream &s, FuentesFichero &, const ImagenPagina &i) { s << i.destino << i.imagen << i.recorte; }
void escribir(QDataStream &s, FuentesFichero &, const DibujoPagina &d) { s << d.origen << d.dibujo << d.recorte; }

std::optional<Primitiva> leerPrimitiva(QDataStream &s, FuentesFichero &fuentes, quint8 tipo)
{
    switch (tipo) {
    case 0: {
        TextoPagina t;
        int alineacion = 0;
        s >> t.texto;
        if (!fuentes.leer(s, t.fuente))
            return std::nullopt;
        s >> t.color >> alineacion >> t.origen >> t.caja >> t.recorte;
        t.alineacion = Qt::Alignment(alineacion);
        return t;
    }
    case 1: {
        LineaPagina l;
        s >> l.linea >> l.pluma;
        return l;
    }
    case 2: {
        RectanguloPagina r;
        s >> r.rectangulo >> r.pluma >> r.relleno >> r.elipse;
        return r;
    }
    case 3: {
        ImagenPagina i;
        s >> i.destino >> i.imagen >> i.recorte;
        return i;
    }
    default: {
        DibujoPagina d;
        s >> d.origen >> d.dibujo >> d.recorte;
        return d;
    }
    }
}

} // namespace

QByteArray guardarPagina(const PaginaGenerada &pagina)
{
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(kVersionFlujo);
    s << kMarcaFichero << qint32(pagina.numero) << pagina.tamanio << qint32(pagina.bandas.size());
    FuentesFichero fuentes;
    for (const BandaImpresa &banda : pagina.bandas) {
        s << quint8(banda.tipo) << banda.nombre << banda.area << banda.recortada << banda.controlDePrimitiva
          << qint32(banda.primitivas.size());
        for (const Primitiva &p : banda.primitivas) {
            s << quint8(p.index());
            std::visit([&](const auto &primitiva) { escribir(s, fuentes, primitiva); }, p);
        }
    }
    return bytes;
}

std::optional<PaginaGenerada> leerPagina(const QByteArray &bytes)
{
    QDataStream s(bytes);
    s.setVersion(kVersionFlujo);
    quint32 marca = 0;
    qint32 numero = 0, bandas = 0;
    PaginaGenerada pagina;
    s >> marca >> numero >> pagina.tamanio >> bandas;
    if (marca != kMarcaFichero || bandas < 0 || s.status() != QDataStream::Ok)
        return std::nullopt;
    pagina.numero = numero;
    FuentesFichero fuentes;
    for (qint32 b = 0; b < bandas && s.status() == QDataStream::Ok; ++b) {
        BandaImpresa banda;
        quint8 tipo = 0;
        qint32 primitivas = 0;
        s >> tipo >> banda.nombre >> banda.area >> banda.recortada >> banda.controlDePrimitiva >> primitivas;
        if (tipo > quint8(TipoBanda::SubDetalle) || primitivas < 0)
            return std::nullopt;
        banda.tipo = TipoBanda(tipo);
        for (qint32 i = 0; i < primitivas && s.status() == QDataStream::Ok; ++i) {
            quint8 clase = 0;
            s >> clase;
            if (clase >= std::variant_size_v<Primitiva>)
                return std::nullopt;
            std::optional<Primitiva> leida = leerPrimitiva(s, fuentes, clase);
            if (!leida)
                return std::nullopt;
            banda.primitivas << std::move(*leida);
        }
        pagina.bandas << std::move(banda);
    }
    if (s.status() != QDataStream::Ok || !s.atEnd())
        return std::nullopt;
    return pagina;
}
