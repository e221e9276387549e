#include "GENEW/reporting/informes/ControlesInforme.h"

#include "GENEW/reporting/informes/BandasInforme.h"

#include "GENEW/runtime/comun/AjustesComunes.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/DataSet.h"
#include "platform/data/ValueText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

QPen plumaDe(int color, int ancho, Qt::PenStyle estilo = Qt::SolidLine)
{
    QPen pen(plat::toQColor(color));
    pen.setWidthF(std::max(1, ancho));
    pen.setStyle(estilo);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

bool esNumerico(const plat::Field &campo)
{
    switch (campo.dataType()) {
    case ftFloat: case ftCurrency: case ftBCD: case ftInteger: case ftSmallint: case ftWord:
    case ftAutoInc:
        return true;
    default:
        return false;
    }
}

QString textoDeCampo(const plat::Field &campo, const QString &mascara)
{
    if (!mascara.isEmpty() && esNumerico(campo) && !campo.isNull())
        return plat::formatFloat(mascara, campo.asFloat());
    return campo.displayText();
}

} // namespace

// ---- base ----------------------------------------------------------------------------

ControlInforme::ControlInforme(QObject *band) : QObject(band)
{
    if (const auto *banda = qobject_cast<const BandaInforme *>(band))
        Font = banda->Font;
    else
        Font = QFont(QStringLiteral("Arial"), 10);
}

QRectF ControlInforme::rectangulo(QPointF origenBanda, double alto) const
{
    return QRectF(origenBanda.x() + Left, origenBanda.y() + Top, Width, alto);
}

void ControlInforme::emitirFondoYMarco(const QRectF &r, QVector<Primitiva> &salida) const
{
    if (!Transparent)
        salida << RectanguloPagina{r, Qt::NoPen, plat::toQColor(Color), false};
    const QPen pen = plumaDe(Frame.Color, Frame.Width);
    const double m = pen.widthF() / 2;
    if (Frame.DrawTop)
        salida << LineaPagina{QLineF(r.left(), r.top() + m, r.right(), r.top() + m), pen};
    if (Frame.DrawBottom)
        salida << LineaPagina{QLineF(r.left(), r.bottom() - m, r.right(), r.bottom() - m), pen};
    if (Frame.DrawLeft)
        salida << LineaPagina{QLineF(r.left() + m, r.top(), r.left() + m, r.bottom()), pen};
    if (Frame.DrawRight)
        salida << LineaPagina{QLineF(r.right() - m, r.top(), r.right() - m, r.bottom()), pen};
}

void ControlInforme::emitir(QPointF origenBanda, QVector<Primitiva> &salida) const
{
    emitirFondoYMarco(rectangulo(origenBanda, Height), salida);
}

// ---- text layout -----------------------------------------------------------------------

QFont fuenteDePagina(const QFont &puntos)
{
    QFont f(puntos);
    const double pt = puntos.pointSizeF() > 0 ? puntos.pointSizeF() : puntos.pixelSize() * 72.0 / 96.0;
    f.setPixelSize(std::max(1, int(std::lround(pt * 96.0 / 72.0))));
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setKerning(false);
    return f;
}

TextoMaquetado maquetarTexto(const QString &texto, const QFont &puntos, double ancho, bool ajustar,
                             MedidasTexto &medidas)
{
    MedidasTexto::Fuente &fuente = medidas.fuente(puntos);
    TextoMaquetado m;
    m.fuente = fuente.pagina;
    m.altoLinea = fuente.alto;
    m.ascenso = fuente.ascenso;
    const auto medir = [&](const QString &linea) { return medidas.ancho(fuente, linea); };
    if (!texto.contains(u'\n') && !texto.contains(u'\r') && (!ajustar || medir(texto) <= ancho)) {
        m.lineas << texto;
        m.anchos << medir(texto);
        return m;
    }
    QString normal = texto;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    for (const QString &parrafo : normal.split(u'\n')) {
        if (!ajustar || medir(parrafo) <= ancho) {
            m.lineas << parrafo;
            continue;
        }
        // A word wider than the whole line is broken where it fills a line: its end would
        // otherwise be cut off at the control's edge.
        const auto partir = [&](QString palabra) {
            while (palabra.size() > 1 && fuente.medidas.horizontalAdvance(palabra) > ancho) {
                qsizetype cabe = palabra.size() - 1;
                while (cabe > 1 && fuente.medidas.horizontalAdvance(palabra.left(cabe)) > ancho)
                    --cabe;
                m.lineas << palabra.left(cabe);
                palabra.remove(0, cabe);
            }
            return palabra;
        };
        QString linea;
        for (const QString &palabra : parrafo.split(u' ')) {
            const QString prueba = linea.isEmpty() ? palabra : linea + u' ' + palabra;
            if (fuente.medidas.horizontalAdvance(prueba) <= ancho) {
                linea = prueba;
                continue;
            }
            if (!linea.isEmpty())
                m.lineas << linea;
            linea = partir(palabra);
        }
        m.lineas << linea;
    }
    for (const QString &l : std::as_const(m.lineas))
        m.anchos << medir(l);
    return m;
}

// Cuts each line to the whole characters that lie inside the width, on the side away from
// its alignment, as a clip at the control's edges would show it; or, conElipsis, ends it in
// "…" where it is cut, so that the reader sees the text goes on.
void recortarLineas(TextoMaquetado &m, double ancho, plat::Alignment alineacion, bool conElipsis)
{
    std::optional<QFontMetricsF> fm;   // made for the first line that has to be cut
    for (int i = 0; i < m.lineas.size(); ++i) {
        QString &linea = m.lineas[i];
        if (conElipsis && m.anchos[i] > ancho + 0.5) {
            if (!fm)
                fm.emplace(m.fuente);
            linea = fm->elidedText(linea, Qt::ElideRight, ancho);
            m.anchos[i] = fm->horizontalAdvance(linea);
            continue;
        }
        bool porDelante = alineacion == plat::taRightJustify;
        while (m.anchos[i] > ancho + 0.5 && !linea.isEmpty()) {
            if (!fm)
                fm.emplace(m.fuente);
            if (porDelante)
                linea.remove(0, 1);
            else
                linea.chop(1);
            if (alineacion == plat::taCenter)
                porDelante = !porDelante;
            m.anchos[i] = fm->horizontalAdvance(linea);
        }
    }
}

// ---- text controls ----------------------------------------------------------------------

ControlTextoInforme::ControlTextoInforme(QObject *band) : ControlInforme(band) {}

double ControlTextoInforme::prepararImpresion(const ContextoImpresion &contexto)
{
    QString texto = valor(contexto);
    if (OnPrint.assigned())
        OnPrint(this, texto);
    else if (importe_ && Tag >= 1000)
        if (plat::ReportAmountPrinter *importes = plat::reportAmountPrinterHook().valor())
            importes->printAmount(this, texto);
    impreso_ = texto;
    impreso();

    MedidasTexto propias;
    maqueta_ = maquetarTexto(texto, Font, Width, WordWrap, contexto.medidas ? *contexto.medidas : propias);
    izquierda_ = Left;
    ancho_ = Width;
    if (AutoSize && !WordWrap) {
        const double natural = *std::max_element(maqueta_.anchos.cbegin(), maqueta_.anchos.cend());
        if (Alignment == plat::taRightJustify)
            izquierda_ = Left + Width - natural;
        else if (Alignment == plat::taCenter)
            izquierda_ = Left + (Width - natural) / 2;
        ancho_ = natural;
    }
    recortarLineas(maqueta_, ancho_, Alignment, cortarConElipsis);
    alto_ = Height;
    if (AutoStretch)
        alto_ = std::max<double>(Height, maqueta_.lineas.size() * maqueta_.altoLinea);
    return Top + alto_;
}

void ControlTextoInforme::emitir(QPointF origenBanda, QVector<Primitiva> &salida) const
{
    const QRectF r(origenBanda.x() + izquierda_, origenBanda.y() + Top, ancho_, alto_);
    emitirFondoYMarco(r, salida);
    const QColor color = plat::toQColor(FontColor);
    const Qt::Alignment alineacion = Alignment == plat::taRightJustify ? Qt::AlignRight
                                   : Alignment == plat::taCenter       ? Qt::AlignHCenter
                                                                       : Qt::AlignLeft;
    for (int i = 0; i < maqueta_.lineas.size(); ++i) {
        if (maqueta_.lineas[i].isEmpty())
            continue;
        const double arriba = r.top() + i * maqueta_.altoLinea;
        if (arriba >= r.bottom())
            break;
        double x = r.left();
        if (alineacion == Qt::AlignRight)
            x = r.right() - maqueta_.anchos[i];
        else if (alineacion == Qt::AlignHCenter)
            x = r.left() + (r.width() - maqueta_.anchos[i]) / 2;
        salida << TextoPagina{maqueta_.lineas[i], maqueta_.fuente, color, alineacion,
                              QPointF(x, arriba + maqueta_.ascenso),
                              QRectF(r.left(), arriba, r.width(), maqueta_.altoLinea), r};
    }
}

QString DatoSistemaInforme::valor(const ContextoImpresion &contexto) const
{
    const AjustesComunes &a = ajustesComunes();
    switch (Data) {
    case qrsPageNumber: return Text + QString::number(contexto.pagina);
    case qrsDate: return Text + FormatearFechaHora(a.FormatoFechaCorta, contexto.fechaImpresion);
    case qrsTime: return Text + FormatearFechaHora(a.FormatoHoraLarga, contexto.fechaImpresion);
    case qrsDateTime:
        return Text + FormatearFechaHora(a.FormatoFechaCorta + u' ' + a.FormatoHoraLarga, contexto.fechaImpresion);
    case qrsReportTitle: return Text + contexto.tituloInforme;
    }
    return Text;
}

QString TextoDatoInforme::valor(const ContextoImpresion &) const
{
    if (!DataSet || !DataSet->active())
        return QString();
    const plat::Field *campo = DataSet->findField(DataField);
    return campo ? textoDeCampo(*campo, Mask) : QString();
}

// ---- computed controls ---------------------------------------------------------------------

namespace {

// The field's number for a running figure, none when it is empty: the value is read once
// where the record holds it, a float as it is; any other kind as the field reads it.
std::optional<double> numeroAcumulable(const plat::Field &campo)
{
    const QVariant &valor = campo.dataSet().heldValue(campo);
    if (!valor.isValid() || valor.isNull())
        return std::nullopt;
    if (valor.typeId() == QMetaType::Double)
        return *static_cast<const double *>(valor.constData());
    return campo.asFloat();
}

} // namespace

void AcumuladorInforme::agregar(double valor)
{
    minimo_ = cuenta_ == 0 ? valor : std::min(minimo_, valor);
    maximo_ = cuenta_ == 0 ? valor : std::max(maximo_, valor);
    suma_ += valor;
    ++cuenta_;
}

double AcumuladorInforme::valor(OperacionCalculo operacion) const
{
    switch (operacion) {
    case qrcSum: return suma_;
    case qrcCount: return double(cuenta_);
    case qrcMax: return maximo_;
    case qrcMin: return minimo_;
    case qrcAverage: return cuenta_ ? suma_ / cuenta_ : 0;
    }
    return suma_;
}

void ControlCalculadoInforme::impreso()
{
    if (ResetAfterPrint)
        reiniciar();
}

QString ControlCalculadoInforme::formatear(double valor) const
{
    return plat::formatFloat(Mask, valor);
}

void ExpresionInforme::enlazar(plat::DataSet &datos)
{
    leida_ = leerExpresionInforme(Expression);
    campos_.clear();
    for (const QString &nombre : std::as_const(leida_.campos))
        campos_ << &datos.fieldByName(nombre);
    suma_.reiniciar();
}

void ExpresionInforme::acumular()
{
    if (leida_.tipo != ExpresionLeida::Tipo::Suma || campos_.isEmpty())
        return;
    if (const std::optional<double> numero = numeroAcumulable(*campos_[0]))
        suma_.agregar(*numero);
}

QString ExpresionInforme::valor(const ContextoImpresion &) const
{
    if (leida_.tipo == ExpresionLeida::Tipo::Suma)
        return formatear(suma_.valor(qrcSum));
    QStringList textos;
    for (const plat::Field *campo : campos_)
        textos << textoDeCampo(*campo, Mask);
    return textos.join(u' ');
}

void CalculoDatoInforme::enlazar(plat::DataSet &datos)
{
    campo_ = &(DataSet ? *DataSet : datos).fieldByName(DataField);
    acumulador_.reiniciar();
}

void CalculoDatoInforme::acumular()
{
    if (!campo_ || campo_->isNull())
        return;
    // A count adds any value; the other figures read it as a number.
    acumulador_.agregar(Operation == qrcCount ? 0 : numeroAcumulable(*campo_).value_or(0));
}

QString CalculoDatoInforme::valor(const ContextoImpresion &) const
{
    return formatear(acumulador_.valor(OperacionCalculo(Operation)));
}

// ---- pictures and shapes -------------------------------------------------------------------

ImagenInforme::ImagenInforme(QObject *band) : ControlInforme(band) {}
ImagenInforme::~ImagenInforme() = default;

plat::Canvas &ImagenInforme::canvas()
{
    if (!lienzo_) {
        dibujo_ = std::make_unique<plat::Drawing>();
        lienzo_ = std::make_unique<plat::Canvas>(static_cast<QPaintDevice *>(dibujo_.get()));
    }
    return *lienzo_;
}

bool ImagenInforme::LoadFromFile(const QString &fileName)
{
    QImage imagen;
    if (!imagen.load(fileName))
        return false;
    Picture = imagen;
    return true;
}

void ImagenInforme::cerrarDibujo()
{
    hayDibujo_ = bool(lienzo_);
    if (!lienzo_)
        return;
    lienzo_.reset();   // ends the painter: the picture is complete
    impreso_ = *dibujo_;
    dibujo_.reset();
}

double ImagenInforme::prepararImpresion(const ContextoImpresion &)
{
    cerrarDibujo();
    if (AutoSize && !Picture.isNull()) {
        Width = Picture.width();
        Height = Picture.height();
    }
    return Top + Height;
}

void ImagenInforme::emitir(QPointF origenBanda, QVector<Primitiva> &salida) const
{
    const QRectF r = rectangulo(origenBanda, Height);
    emitirFondoYMarco(r, salida);
    if (!Picture.isNull()) {
        QRectF destino(r.topLeft(), QSizeF(Picture.size()));
        if (Stretch)
            destino = r;
        else if (Center)
            destino.moveCenter(r.center());
        salida << ImagenPagina{destino, Picture, r};
    }
    if (hayDibujo_)
        salida << DibujoPagina{r.topLeft(), impreso_, r};
}

void FiguraInforme::emitir(QPointF origenBanda, QVector<Primitiva> &salida) const
{
    const QRectF r = rectangulo(origenBanda, Height);
    const Qt::PenStyle estilos[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::NoPen};
    const QPen pen = plumaDe(Pen.Color, Pen.Width, estilos[Pen.Style]);
    const QColor relleno = Brush.Style == plat::bsClear ? QColor() : plat::toQColor(Brush.Color);
    const double m = pen.widthF() / 2;
    switch (Shape) {
    case qrsRectangle:
    case qrsCircle:
        salida << RectanguloPagina{r.adjusted(m, m, -m, -m), pen, relleno, Shape == qrsCircle};
        break;
    case qrsHorLine:
        salida << LineaPagina{QLineF(r.left(), r.center().y(), r.right(), r.center().y()), pen};
        break;
    case qrsVertLine:
        salida << LineaPagina{QLineF(r.center().x(), r.top(), r.center().x(), r.bottom()), pen};
        break;
    case qrsTopAndBottom:
        salida << LineaPagina{QLineF(r.left(), r.top() + m, r.right(), r.top() + m), pen}
               << LineaPagina{QLineF(r.left(), r.bottom() - m, r.right(), r.bottom() - m), pen};
        break;
    case qrsRightAndLeft:
        salida << LineaPagina{QLineF(r.left() + m, r.top(), r.left() + m, r.bottom()), pen}
               << LineaPagina{QLineF(r.right() - m, r.top(), r.right() - m, r.bottom()), pen};
        break;
    }
}
