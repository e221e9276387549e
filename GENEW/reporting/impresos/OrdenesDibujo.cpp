#include "GENEW/reporting/impresos/OrdenesDibujo.h"

#include "GENEW/reporting/impresos/DestinoDibujo.h"
#include "GENEW/reporting/impresos/MarcasFuente.h"
#include "GENEW/reporting/impresos/TextoBruto.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"
#include "GENEW/runtime/comun/RutinasTipos.h"
#include "platform/base/LecturaTextos.h"

#include <QDateTime>
#include <QDir>
#include <QTransform>

long double NumeroArgumento(const QString &texto)
{
    // Positions and sizes are mostly plain whole numbers, read here without the general
    // reader's copy of the text; up to nine digits no int overflows.
    if (!texto.isEmpty() && texto.size() <= 9) {
        int entero = 0;
        for (const QChar c : texto) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
                entero = -1;
                break;
            }
            entero = entero * 10 + (c.unicode() - '0');
        }
        if (entero >= 0)
            return entero;
    }
    double valor = 0;
    return LeerDecimal(texto, valor) ? valor : 0;
}

namespace {

// Bounds that keep a wrong layout from asking for gigabytes: blanks beyond the page are
// never seen, a printer line holds no more columns, a move no more lines than continuous
// paper, and a barcode no larger than a poster.
constexpr int kColumnasMaximas = 1000;
constexpr int kLadoMaximoCodigoBarras = 10000;
// Pixel positions far beyond any page are held there, so that sums of positions and
// sizes stay within int.
constexpr int kPixelLimite = 1 << 24;

int Acotar(int pixel)
{
    return qBound(-kPixelLimite, pixel, kPixelLimite);
}

int EnteroArgumento(const QString &texto)
{
    int valor = 0;
    return LeerEntero(texto, valor) ? valor : 0;
}

int ColorArgumento(const QString &texto)
{
    return texto.isEmpty() ? plat::clBlack : InterpretarColor(texto);
}

plat::Pen PlumaArgumentos(const QString &ancho, const QString &color, const QString &estilo)
{
    plat::Pen pluma;
    pluma.Width = qMax(1, EnteroArgumento(ancho));
    pluma.Color = ColorArgumento(color);
    if (estilo == QLatin1String("Puntos"))
        pluma.Style = plat::psDot;
    else if (estilo == QLatin1String("Ninguno"))
        pluma.Style = plat::psClear;
    else
        pluma.Style = plat::psSolid;
    return pluma;
}

// The component's number of each type name; "UPCA" is an EAN-13 with a leading "0".
int TipoBarras(const QString &tipo)
{
    static const QList<QPair<QString, int>> tipos = {
        {QStringLiteral("EAN8"), 8},    {QStringLiteral("EAN13"), 9},  {QStringLiteral("EAN128"), 14},
        {QStringLiteral("Code39"), 0},  {QStringLiteral("Code128"), 2}, {QStringLiteral("Interleaved2OF5"), 1},
        {QStringLiteral("UPCA"), 9},
    };
    for (const auto &[nombre, numero] : tipos)
        if (nombre == tipo)
            return numero;
    return 9;
}

} // namespace

OrdenesDibujo::OrdenesDibujo(const DisenoImpreso &diseno, EstadoEjecucionImpreso &ejecucion,
                             ContextoOrdenes &contexto)
    : diseno_(diseno), ejecucion_(ejecucion), contexto_(contexto)
{
}

bool OrdenesDibujo::ejecutar(OrdenImpreso orden, const ArgumentosInstruccion &a)
{
    switch (orden) {
    case OrdenImpreso::Text: Texto(a[1], a[2], a[3], a[4], a[5]); return true;
    case OrdenImpreso::Vari: Variable(a); return true;
    case OrdenImpreso::Rect: Rectangulo(a); return true;
    case OrdenImpreso::Line: LineaRecta(a); return true;
    case OrdenImpreso::Font: Fuente(a); return true;
    case OrdenImpreso::Graf: Grafico(a); return true;
    case OrdenImpreso::CBar: CodigoBarras(a); return true;
    case OrdenImpreso::Asci: Ascii(a); return true;
    default: return false;
    }
}

int OrdenesDibujo::x(long double unidades) const
{
    const long double p = diseno_.PosicionX(unidades);
    return Acotar(enImpresora() ? diseno_.XImpresora(p) : diseno_.XPagina(p));
}

int OrdenesDibujo::y(long double unidades) const
{
    const long double p = diseno_.PosicionY(unidades);
    return Acotar(enImpresora() ? diseno_.YImpresora(p) : diseno_.YPagina(p));
}

int OrdenesDibujo::ancho(long double unidades) const
{
    return Acotar(enImpresora() ? diseno_.XImpresora(unidades) : diseno_.XPagina(unidades));
}

QRect OrdenesDibujo::esquinas(const ArgumentosInstruccion &a) const
{
    const int x1 = x(NumeroArgumento(a[1]));
    const int y1 = y(NumeroArgumento(a[2]));
    const int x2 = x(NumeroArgumento(a[3]));
    const int y2 = y(NumeroArgumento(a[4]));
    return QRect(QPoint(qMin(x1, x2), qMin(y1, y2)), QSize(qAbs(x2 - x1), qAbs(y2 - y1)));
}

void OrdenesDibujo::Texto(const QString &xTexto, const QString &yTexto, const QString &anchoTexto,
                          const QString &texto, const QString &alineacion)
{
    // A continuation row of a wrapped memo shows only the memo's own line.
    if (contexto_.filaContinuacion && diseno_.ordenActual() != QLatin1String("Camp"))
        return;
    DestinoDibujo &destino = *contexto_.destino;
    const plat::CanvasFont guardada = destino.fuente();

    const MarcasTexto marcas = InterpretarMarcasTexto(texto);
    if (marcas.aplicarFuente)
        AplicarMarcasFuente(marcas.estado, destino.fuente());
    QString visible = marcas.texto;

    const long double xUnidades = NumeroArgumento(xTexto);
    const long double anchoUnidades = NumeroArgumento(anchoTexto);
    const int anchoPixeles = ancho(anchoUnidades);
    if (anchoUnidades != 0 && (alineacion == QLatin1String("D") || alineacion == QLatin1String("C"))) {
        const long double blanco = destino.anchoBlanco();
        // A blank of no width would divide by zero: the text stays as it is.
        if (blanco > 0) {
            int n = RedondearMitadesAPar((anchoPixeles - destino.anchoTexto(visible)) / blanco);
            if (alineacion == QLatin1String("C"))
                n /= 2;
            else if (n > 0)
                --n;
            const int anchoPagina = enImpresora() ? ejecucion_.anchoFisicoImpresora : ejecucion_.tamanoPagina.width();
            n = qMin(n, int(qMax(0, anchoPagina) / blanco) + 1);
            if (n > 0)
                visible = QString(n, QLatin1Char(' ')) + visible;
        }
    }

    const long double yUnidades = NumeroArgumento(yTexto);
    if (textoEnImpresora()) {
        textoBruto(xUnidades, diseno_.PosicionY(yUnidades), anchoUnidades, visible);
    } else {
        const int px = x(xUnidades);
        const int py = y(yUnidades);
        if (anchoUnidades == 0) {
            destino.texto(px, py, visible);
        } else {
            const long double derechaUnidades = diseno_.PosicionX(xUnidades) + anchoUnidades;
            const int derecha = Acotar(enImpresora() ? diseno_.XImpresora(derechaUnidades)
                                                     : diseno_.XPagina(derechaUnidades));
            destino.textoRecortado(QRect(px, py, derecha - px, destino.altoTexto(visible)), px, py, visible);
        }
    }
    destino.fuente() = guardada;
}

void OrdenesDibujo::textoBruto(long double xUnidades, long double yEfectiva, long double anchoUnidades,
                               const QString &texto)
{
    const qint64 actual = ejecucion_.lineaTextoImpresora;
    const qint64 objetivo =
        qBound(actual - kLineasPapelContinuo, qint64(RedondearMitadesAPar(yEfectiva)), actual + kLineasPapelContinuo);
    QByteArray datos;
    if (objetivo > actual)
        datos.append(QByteArray(objetivo - actual, '\n'));
    else
        for (qint64 i = objetivo; i < actual; ++i)
            datos.append("\x1bj$");
    const int blancos = qMin(RedondearMitadesAPar(xUnidades), kColumnasMaximas);
    if (blancos > 0)
        datos.append(QByteArray(blancos, ' '));
    QByteArray oem = TextoAOEM(texto);
    const int corte = RedondearMitadesAPar(anchoUnidades);
    if (anchoUnidades != 0)
        oem = oem.left(qMax(0, corte));
    datos.append(oem);
    datos.append('\r');
    EnviarImpresora(*contexto_.destino, datos);
    ejecucion_.lineaTextoImpresora = objetivo;
}

QString OrdenesDibujo::ValorVariable(const QString &variable) const
{
    if (variable.contains(QLatin1String("OriginalCopia"))) {
        QString original = variable.section(QLatin1Char(','), 1, 1);
        QString copia = variable.section(QLatin1Char(','), 2, 2);
        if (original.isEmpty() && copia.isEmpty()) {
            original = QStringLiteral("ORIGINAL");
            copia = QStringLiteral("COPIA");
        }
        return contexto_.numeroCopia == 1 ? original : copia;
    }
    if (variable == QLatin1String("NumeroPagina"))
        return QString::number(contexto_.paginaDocumento);
    if (variable == QLatin1String("ContadorPaginas"))
        return QString::number(contexto_.contadorPaginas);
    if (variable == QLatin1String("NumeroCopia"))
        return QString::number(contexto_.numeroCopia);
    if (variable == QLatin1String("FechaImpresion"))
        return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (variable == QLatin1String("FechaYHoraImpresion"))
        return QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm:ss"));
    if (variable == QLatin1String("NombreEmpresa"))
        return contexto_.nombreEmpresa ? contexto_.nombreEmpresa() : QString();
    return QString();
}

void OrdenesDibujo::Variable(const ArgumentosInstruccion &a)
{
    const QString variable = a[4];
    static const QStringList conocidas = {
        QStringLiteral("NumeroPagina"),   QStringLiteral("ContadorPaginas"),     QStringLiteral("NumeroCopia"),
        QStringLiteral("FechaImpresion"), QStringLiteral("FechaYHoraImpresion"), QStringLiteral("NombreEmpresa"),
    };
    if (!variable.contains(QLatin1String("OriginalCopia")) && !conocidas.contains(variable))
        return;
    Texto(a[1], a[2], a[3], ValorVariable(variable), a[5]);
}

void OrdenesDibujo::Rectangulo(const ArgumentosInstruccion &a)
{
    if (textoEnImpresora())
        return;
    plat::Brush brocha;
    brocha.Color = ColorArgumento(a[8]);
    brocha.Style = a[9] == QLatin1String("Solido") ? plat::bsSolid : plat::bsClear;
    QSize redondeo(0, 0);
    if (NumeroArgumento(a[10]) != 0 || NumeroArgumento(a[11]) != 0)
        redondeo = QSize(x(NumeroArgumento(a[10])), y(NumeroArgumento(a[11])));
    contexto_.destino->rectangulo(esquinas(a), PlumaArgumentos(a[5], a[6], a[7]), brocha, redondeo);
}

void OrdenesDibujo::LineaRecta(const ArgumentosInstruccion &a)
{
    if (textoEnImpresora())
        return;
    const QPoint desde(x(NumeroArgumento(a[1])), y(NumeroArgumento(a[2])));
    const QPoint hasta(x(NumeroArgumento(a[3])), y(NumeroArgumento(a[4])));
    contexto_.destino->linea(desde, hasta, PlumaArgumentos(a[5], a[6], a[7]));
}

void OrdenesDibujo::Fuente(const ArgumentosInstruccion &a)
{
    plat::CanvasFont &fuente = contexto_.destino->fuente();
    fuente.Font.setFamily(a[1]);
    const AjustesDiseno &ajustes = diseno_.ajustes();
    const double compresion = ajustes.compresionAlto != 1.0 ? ajustes.compresionAlto : ajustes.compresionAncho;
    const int tamano = int(EnteroArgumento(a[2]) * compresion);
    if (tamano > 0)
        fuente.Font.setPointSize(tamano);
    fuente.Color = InterpretarColor(a[3]);
    TFontStyles estilos = 0;
    const QStringList nombres = a[4].split(QLatin1Char(','));
    for (int i = 0; i < qMin<qsizetype>(2, nombres.size()); ++i) {
        const int estilo = TextoAEstiloFuente(nombres.at(i));
        if (estilo != kEstiloFuenteDesconocido)
            estilos |= ConjuntoEstilo(static_cast<TFontStyle>(estilo));
    }
    fuente.Font.setBold(estilos & ConjuntoEstilo(fsBold));
    fuente.Font.setItalic(estilos & ConjuntoEstilo(fsItalic));
    fuente.Font.setUnderline(estilos & ConjuntoEstilo(fsUnderline));
    fuente.Font.setStrikeOut(estilos & ConjuntoEstilo(fsStrikeout));
}

QString OrdenesDibujo::textoDeCampo(const QString &valor) const
{
    if (!valor.startsWith(QLatin1String("Camp:")))
        return valor;
    const auto campo = contexto_.valorCampo ? contexto_.valorCampo(valor.mid(5)) : std::nullopt;
    return campo ? campo->toString() : QString();
}

QImage OrdenesDibujo::imagenDeFuente(const QString &fuente) const
{
    QString fichero = fuente;
    if (fuente.startsWith(QLatin1String("Camp:"))) {
        const auto campo = contexto_.valorCampo ? contexto_.valorCampo(fuente.mid(5)) : std::nullopt;
        if (!campo)
            return {};
        if (campo->typeId() == QMetaType::QByteArray) {
            QImage imagen;
            imagen.loadFromData(campo->toByteArray());
            return imagen;
        }
        fichero = campo->toString();
    }
    if (fichero.isEmpty())
        return {};
    if (!fichero.contains(QLatin1Char('/')))
        fichero = QDir(contexto_.directorioUsuario).filePath(fichero);
    const QString mayusculas = fichero.toUpper();
    const bool jpeg = mayusculas.contains(QLatin1String(".JPEG")) || mayusculas.contains(QLatin1String(".JPG"));
    QImage imagen;
    imagen.load(fichero, jpeg ? "JPEG" : nullptr);
    return imagen;
}

void OrdenesDibujo::Grafico(const ArgumentosInstruccion &a)
{
    if (contexto_.simulacion || textoEnImpresora())
        return;
    const QImage imagen = imagenDeFuente(a[5]);
    if (imagen.isNull())
        return;
    const long double x2 = NumeroArgumento(a[3]);
    const long double y2 = NumeroArgumento(a[4]);
    if (x2 == 0 && y2 == 0)
        contexto_.destino->imagen(QRect(x(NumeroArgumento(a[1])), y(NumeroArgumento(a[2])), 0, 0), imagen);
    else
        contexto_.destino->imagen(esquinas(a), imagen);
}

void OrdenesDibujo::CodigoBarras(const ArgumentosInstruccion &a)
{
    if (!contexto_.codigoBarras || textoEnImpresora())
        return;
    const QRect limites = esquinas(a);
    if (limites.isEmpty() || limites.width() > kLadoMaximoCodigoBarras || limites.height() > kLadoMaximoCodigoBarras)
        return;
    const QString tipo = a[6];
    PintorCodigoBarras::Peticion peticion;
    peticion.tipo = TipoBarras(tipo);
    peticion.ajusteAutomatico = tipo == QLatin1String("UPCA");
    const QString texto = textoDeCampo(a[5]);
    peticion.texto = peticion.ajusteAutomatico ? QStringLiteral("0") + texto : texto;
    peticion.aumento = qMax(0.0, double(NumeroArgumento(a[7])));
    peticion.resolucion = contexto_.destino->resolucion();

    // Turned in memory, then placed over the same corners as a picture.
    const QString giro = a[8];
    const bool cuarto = giro == QLatin1String("Girar+90") || giro == QLatin1String("Girar-90");
    QImage imagen(cuarto ? limites.size().transposed() : limites.size(), QImage::Format_RGB32);
    imagen.fill(Qt::white);
    contexto_.codigoBarras->pintar(imagen, peticion);
    QTransform giroImagen;
    if (giro == QLatin1String("Girar+90"))
        giroImagen.rotate(-90);   // a quarter turn counter-clockwise on the page
    else if (giro == QLatin1String("Girar-90"))
        giroImagen.rotate(90);
    else if (giro == QLatin1String("Girar180"))
        giroImagen.rotate(180);
    if (!giroImagen.isIdentity())
        imagen = imagen.transformed(giroImagen);
    contexto_.destino->imagen(limites, imagen);
}

void OrdenesDibujo::Ascii(const ArgumentosInstruccion &a)
{
    if (!enImpresora())
        return;
    QByteArray datos;
    for (const QString &pieza : a.texto().split(QLatin1Char(','))) {
        if (pieza.isEmpty())
            break;
        int valor = 0;
        if (LeerEntero(pieza, valor))
            datos.append(char(valor & 0xFF));
    }
    EnviarImpresora(*contexto_.destino, datos);
}
