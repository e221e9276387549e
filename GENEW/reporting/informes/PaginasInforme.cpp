#include "GENEW/reporting/informes/PaginasInforme.h"

#include "platform/report/PreparedReport.h"

#include <QDataStream>
#include <QIODevice>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <cstring>

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

constexpr quint32 kMarcaFichero = 0x47504734;   // "GPG4": numbers as bytes, each font, pen and colour once
constexpr QDataStream::Version kVersionFlujo = QDataStream::Qt_6_4;

// A page file is written as its numbers' bytes, little-endian, one after another: most of a
// long listing's pages go to a page file and come back to be drawn, and a stream that checks
// and swaps every number cost a third of the drawing. Only the objects Qt alone knows how to
// write (fonts, pens, colours, images, pictures) go through QDataStream, each in a block of
// its own.
class EscrituraPagina
{
public:
    template<typename T> void numero(T valor)
    {
        const T enBytes = qToLittleEndian(valor);
        std::memcpy(sitio(sizeof enBytes), &enBytes, sizeof enBytes);
    }
    void real(double valor)
    {
        quint64 bits;
        std::memcpy(&bits, &valor, sizeof bits);
        numero(bits);
    }
    void punto(const QPointF &p)
    {
        real(p.x());
        real(p.y());
    }
    void rectangulo(const QRectF &r)
    {
        real(r.x());
        real(r.y());
        real(r.width());
        real(r.height());
    }
    void texto(const QString &t)
    {
        numero(qint32(t.size()));
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            const qsizetype largo = t.size() * qsizetype(sizeof(char16_t));
            std::memcpy(sitio(largo), t.constData(), size_t(largo));
        } else {
            for (const QChar c : t)
                numero(quint16(c.unicode()));
        }
    }
    template<typename T> void objeto(const T &valor)
    {
        QByteArray bloque;
        QDataStream s(&bloque, QIODevice::WriteOnly);
        s.setVersion(kVersionFlujo);
        s << valor;
        numero(qint32(bloque.size()));
        std::memcpy(sitio(bloque.size()), bloque.constData(), size_t(bloque.size()));
    }
    QByteArray tomar()
    {
        bytes_.truncate(usados_);
        return std::move(bytes_);
    }

private:
    // Room for n more bytes, the buffer grown by halves: appending through the array's own
    // calls cost more than the numbers themselves.
    char *sitio(qsizetype n)
    {
        if (usados_ + n > bytes_.size())
            bytes_.resize(std::max(usados_ + n, bytes_.size() + bytes_.size() / 2 + 4096));
        char *en = bytes_.data() + usados_;
        usados_ += n;
        return en;
    }

    QByteArray bytes_;
    qsizetype usados_ = 0;
};

// Reads what EscrituraPagina wrote; a read past the end, or a block Qt does not read whole,
// leaves it failed and every read after gives nothing.
class LecturaPagina
{
public:
    explicit LecturaPagina(const QByteArray &bytes) : at_(bytes.constData()), fin_(at_ + bytes.size()) {}
    bool bien() const { return bien_; }
    bool alFinal() const { return at_ == fin_; }

    template<typename T> T numero()
    {
        T valor{};
        if (!hay(sizeof valor))
            return valor;
        std::memcpy(&valor, at_, sizeof valor);
        at_ += sizeof valor;
        return qFromLittleEndian(valor);
    }
    double real()
    {
        const quint64 bits = numero<quint64>();
        double valor;
        std::memcpy(&valor, &bits, sizeof valor);
        return valor;
    }
    QPointF punto()
    {
        const double x = real();
        return QPointF(x, real());
    }
    QRectF rectangulo()
    {
        const double x = real(), y = real(), ancho = real();
        return QRectF(x, y, ancho, real());
    }
    QString texto()
    {
        const qint32 largo = numero<qint32>();
        if (largo < 0 || !hay(size_t(largo) * sizeof(char16_t)))
            return falla<QString>();
        QString t(largo, Qt::Uninitialized);
        char16_t *letras = reinterpret_cast<char16_t *>(t.data());
        if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
            std::memcpy(letras, at_, size_t(largo) * sizeof(char16_t));
            at_ += size_t(largo) * sizeof(char16_t);
        } else {
            for (qint32 i = 0; i < largo; ++i)
                letras[i] = numero<quint16>();
        }
        return t;
    }
    template<typename T> T objeto()
    {
        const qint32 largo = numero<qint32>();
        if (largo < 0 || !hay(size_t(largo)))
            return falla<T>();
        const QByteArray bloque = QByteArray::fromRawData(at_, largo);
        at_ += largo;
        QDataStream s(bloque);
        s.setVersion(kVersionFlujo);
        T valor;
        s >> valor;
        if (s.status() != QDataStream::Ok || !s.atEnd())
            return falla<T>();
        return valor;
    }
    template<typename T> T falla()
    {
        bien_ = false;
        at_ = fin_;
        return T();
    }

private:
    bool hay(size_t bytes)
    {
        if (bien_ && size_t(fin_ - at_) >= bytes)
            return true;
        bien_ = false;
        at_ = fin_;
        return false;
    }

    const char *at_;
    const char *fin_;
    bool bien_ = true;
};

// The fonts, pens or colours of a page: a primitive names one by number, and the object
// follows the first number that names it. A page has a few of each, and written whole they
// would be most of its bytes.
template<typename T> class TablaFichero
{
public:
    void escribir(EscrituraPagina &e, const T &valor)
    {
        if (ultimo_ >= 0 && tabla_[ultimo_] == valor) {
            e.numero(quint32(ultimo_));
            return;
        }
        for (qsizetype i = 0; i < tabla_.size(); ++i)
            if (tabla_[i] == valor) {
                ultimo_ = i;
                e.numero(quint32(i));
                return;
            }
        ultimo_ = tabla_.size();
        e.numero(quint32(tabla_.size()));
        e.objeto(valor);
        tabla_ << valor;
    }
    T leer(LecturaPagina &l)
    {
        const quint32 numero = l.numero<quint32>();
        if (qsizetype(numero) == tabla_.size() && l.bien()) {
            tabla_ << l.objeto<T>();
            return tabla_.last();
        }
        if (qsizetype(numero) > tabla_.size() || !l.bien())
            return l.falla<T>();
        return tabla_[numero];
    }

private:
    QVector<T> tabla_;
    qsizetype ultimo_ = -1;
};

struct TablasFichero
{
    TablaFichero<QFont> fuentes;
    TablaFichero<QPen> plumas;
    TablaFichero<QColor> colores;
};

void escribir(EscrituraPagina &e, TablasFichero &tablas, const TextoPagina &t)
{
    e.texto(t.texto);
    tablas.fuentes.escribir(e, t.fuente);
    tablas.colores.escribir(e, t.color);
    e.numero(qint32(t.alineacion));
    e.punto(t.origen);
    e.rectangulo(t.caja);
    e.rectangulo(t.recorte);
}
void escribir(EscrituraPagina &e, TablasFichero &tablas, const LineaPagina &l)
{
    e.punto(l.linea.p1());
    e.punto(l.linea.p2());
    tablas.plumas.escribir(e, l.pluma);
}
void escribir(EscrituraPagina &e, TablasFichero &tablas, const RectanguloPagina &r)
{
    e.rectangulo(r.rectangulo);
    tablas.plumas.escribir(e, r.pluma);
    tablas.colores.escribir(e, r.relleno);
    e.numero(quint8(r.elipse));
}
void escribir(EscrituraPagina &e, TablasFichero &, const ImagenPagina &i)
{
    e.rectangulo(i.destino);
    e.objeto(i.imagen);
    e.rectangulo(i.recorte);
}
void escribir(EscrituraPagina &e, TablasFichero &, const DibujoPagina &d)
{
    e.punto(d.origen);
    e.objeto(d.dibujo);
    e.rectangulo(d.recorte);
}

Primitiva leerPrimitiva(LecturaPagina &l, TablasFichero &tablas, quint8 tipo)
{
    switch (tipo) {
    case 0: {
        TextoPagina t;
        t.texto = l.texto();
        t.fuente = tablas.fuentes.leer(l);
        t.color = tablas.colores.leer(l);
        t.alineacion = Qt::Alignment(l.numero<qint32>());
        t.origen = l.punto();
        t.caja = l.rectangulo();
        t.recorte = l.rectangulo();
        return t;
    }
    case 1: {
        LineaPagina linea;
        const QPointF desde = l.punto();
        linea.linea = QLineF(desde, l.punto());
        linea.pluma = tablas.plumas.leer(l);
        return linea;
    }
    case 2: {
        RectanguloPagina r;
        r.rectangulo = l.rectangulo();
        r.pluma = tablas.plumas.leer(l);
        r.relleno = tablas.colores.leer(l);
        r.elipse = l.numero<quint8>() != 0;
        return r;
    }
    case 3: {
        ImagenPagina i;
        i.destino = l.rectangulo();
        i.imagen = l.objeto<QImage>();
        i.recorte = l.rectangulo();
        return i;
    }
    default: {
        DibujoPagina d;
        d.origen = l.punto();
        d.dibujo = l.objeto<plat::Drawing>();
        d.recorte = l.rectangulo();
        return d;
    }
    }
}

} // namespace

QByteArray guardarPagina(const PaginaGenerada &pagina)
{
    EscrituraPagina e;
    e.numero(kMarcaFichero);
    e.numero(qint32(pagina.numero));
    e.real(pagina.tamanio.width());
    e.real(pagina.tamanio.height());
    e.numero(qint32(pagina.bandas.size()));
    TablasFichero tablas;
    for (const BandaImpresa &banda : pagina.bandas) {
        e.numero(quint8(banda.tipo));
        e.texto(banda.nombre);
        e.rectangulo(banda.area);
        e.numero(quint8(banda.recortada));
        e.numero(qint32(banda.controlDePrimitiva.size()));
        for (const int control : banda.controlDePrimitiva)
            e.numero(qint32(control));
        e.numero(qint32(banda.primitivas.size()));
        for (const Primitiva &p : banda.primitivas) {
            e.numero(quint8(p.index()));
            std::visit([&](const auto &primitiva) { escribir(e, tablas, primitiva); }, p);
        }
    }
    return e.tomar();
}

std::optional<PaginaGenerada> leerPagina(const QByteArray &bytes)
{
    LecturaPagina l(bytes);
    PaginaGenerada pagina;
    const quint32 marca = l.numero<quint32>();
    pagina.numero = l.numero<qint32>();
    const double ancho = l.real();
    pagina.tamanio = QSizeF(ancho, l.real());
    const qint32 bandas = l.numero<qint32>();
    if (marca != kMarcaFichero || bandas < 0 || !l.bien())
        return std::nullopt;
    TablasFichero tablas;
    for (qint32 b = 0; b < bandas && l.bien(); ++b) {
        BandaImpresa banda;
        const quint8 tipo = l.numero<quint8>();
        if (tipo > quint8(TipoBanda::SubDetalle))
            return std::nullopt;
        banda.tipo = TipoBanda(tipo);
        banda.nombre = l.texto();
        banda.area = l.rectangulo();
        banda.recortada = l.numero<quint8>() != 0;
        const qint32 controles = l.numero<qint32>();
        // Each number takes four bytes: a count beyond what is left is damage, not a size.
        if (controles < 0 || controles > bytes.size() / 4)
            return std::nullopt;
        banda.controlDePrimitiva.resize(controles);
        for (int &control : banda.controlDePrimitiva)
            control = l.numero<qint32>();
        const qint32 primitivas = l.numero<qint32>();
        if (primitivas < 0 || primitivas > bytes.size())
            return std::nullopt;
        banda.primitivas.reserve(primitivas);
        for (qint32 i = 0; i < primitivas && l.bien(); ++i) {
            const quint8 clase = l.numero<quint8>();
            if (clase >= std::variant_size_v<Primitiva>)
                return std::nullopt;
            banda.primitivas << leerPrimitiva(l, tablas, clase);
        }
        pagina.bandas << std::move(banda);
    }
    if (!l.bien() || !l.alFinal())
        return std::nullopt;
    return pagina;
}
