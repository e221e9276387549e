#include "GENEW/reporting/graficos/PlanBarras.h"
#include "GENEW/runtime/comun/RutinasNumeros.h"

#include "GENEW/reporting/graficos/Simbologias.h"
#include "platform/ui/Canvas.h"

#include <algorithm>
#include <array>
#include <limits>

using simbologias::todoDigitos;

namespace {

using Resultado = PlanBarras::Resultado;

// Pixel figures beyond this are not drawn (a size or resolution out of all proportion).
constexpr qint64 kLimitePixeles = 1 << 24;

int escalar(int valor, int resolucion, int pantalla)
{
    if (pantalla <= 0)
        return valor;
    const qint64 r = qint64(valor) * resolucion / pantalla;
    return int(std::clamp<qint64>(r, -kLimitePixeles, kLimitePixeles));
}

// Lays elements out from left to right over a given height.
class Trazador
{
public:
    Trazador(PlanBarras &plan, int x, int y, int alto) : plan_(plan), x_(x), y_(y), alto_(alto) {}
    int x() const { return x_; }
    void barra(int ancho, int alto, int desdeArriba = 0)
    {
        plan_.elementos.push_back({QRect(x_, y_ + desdeArriba, ancho, alto), true});
        x_ += ancho;
    }
    void barra(int ancho) { barra(ancho, alto_); }
    void espacio(int ancho, int alto)
    {
        if (ancho > 0)
            plan_.elementos.push_back({QRect(x_, y_, ancho, alto), false});
        x_ += std::max(ancho, 0);
    }
    void espacio(int ancho) { espacio(ancho, alto_); }
    // Elements of "n"/"w" widths, a bar first.
    void anchos(const QString &patron, int ancho, int estrecho)
    {
        for (qsizetype i = 0; i < patron.size(); ++i) {
            const int w = patron.at(i) == u'w' ? ancho : estrecho;
            if (i % 2 == 0)
                barra(w);
            else
                espacio(w);
        }
    }

private:
    PlanBarras &plan_;
    int x_, y_, alto_;
};

struct Modulos
{
    int ancho, estrecho;
};
constexpr std::array<Modulos, 9> kParesModulos{{{24, 9}, {20, 8}, {16, 6}, {13, 5}, {10, 4}, {8, 3}, {6, 2}, {5, 2}, {3, 1}}};

// The first (wide, narrow) pair whose symbol fits; (2, 1) when none does. When the largest
// already fits, the modules grow to fill the width in the proportion 8 to 3, as long as the
// unit that gives is at least 1 (a unit of 0 would leave the symbol without modules).
template <class Necesita>
Modulos elegirModulos(int trabajo, qint64 divisorUnidad, Necesita necesita)
{
    for (const Modulos &m : kParesModulos) {
        if (necesita(m) > trabajo)
            continue;
        if (&m == &kParesModulos.front()) {
            const qint64 unidad = trabajo / divisorUnidad;
            if (unidad > 0)
                return {int(8 * unidad), int(3 * unidad)};
        }
        return m;
    }
    return {2, 1};
}

void code39(const PeticionBarras &p, PlanBarras &plan)
{
    const QString &t = p.texto;
    const qint64 n = t.size();
    const int w = plan.trabajo.width();
    for (QChar c : t)
        if (c == u'*' || simbologias::patronCode39(c).isEmpty()) {
            plan.resultado = Resultado::NoCabe;
            return;
        }
    if ((n + 2) * 13 + 18 > w) {
        plan.resultado = Resultado::NoCabe;
        return;
    }
    const auto zona = [&](const Modulos &m) { return !p.clearZone ? 0 : m.ancho > 3 ? 20 : 16; };
    const Modulos m = elegirModulos(w, (n + 2) * 145 + 9 * (p.clearZone ? 0 : 19), [&](const Modulos &m) {
        return zona(m) * qint64(m.estrecho) + (n + 2) * (3 * m.ancho + 7 * m.estrecho);
    });
    plan.ancho = m.ancho;
    plan.estrecho = m.estrecho;
    plan.textoCodificado = t;
    const qint64 relleno = ((w - (n + 2) * (3 * m.ancho + 7 * m.estrecho)) + m.estrecho) / (2 * m.estrecho);
    Trazador tr(plan, plan.origen.x(), plan.origen.y(), plan.trabajo.height());
    tr.espacio(int(relleno * m.estrecho));
    const QString simbolo = u'*' + t + u'*';
    for (QChar c : simbolo) {
        tr.anchos(simbologias::patronCode39(c), m.ancho, m.estrecho);
        tr.espacio(m.estrecho);
    }
    if (relleno > 1)
        tr.espacio(int((relleno - 1) * m.estrecho));
    plan.resultado = Resultado::Dibujo;
}

void entrelazado2de5(const PeticionBarras &p, const QString &texto, PlanBarras &plan)
{
    if (!todoDigitos(texto)) {
        plan.resultado = Resultado::NoCabe;
        return;
    }
    const QString t = texto.size() % 2 ? u'0' + texto : texto;
    const qint64 n = t.size();
    const int w = plan.trabajo.width();
    if (n * 7 + 16 > w) {
        plan.resultado = Resultado::NoCabe;
        return;
    }
    const auto zona = [&](const Modulos &m) { return !p.clearZone ? 0 : m.ancho > 3 ? 21 : m.ancho == 3 ? 20 : 12; };
    const Modulos m = elegirModulos(w, (n + 2) * 75 + 9 * (p.clearZone ? 8 : 29), [&](const Modulos &m) {
        return zona(m) * qint64(m.estrecho) + n * (2 * m.ancho + 3 * m.estrecho) + 8 * m.estrecho;
    });
    plan.ancho = m.ancho;
    plan.estrecho = m.estrecho;
    plan.textoCodificado = t;
    const qint64 relleno =
        ((w - n * (2 * m.ancho + 3 * m.estrecho) - 8 * m.estrecho) + m.estrecho) / (2 * m.estrecho);
    const int alto = plan.trabajo.height();
    Trazador tr(plan, plan.origen.x(), plan.origen.y(), alto);
    tr.espacio(int(std::max<qint64>(relleno, 0) * m.estrecho));
    const int inicioSimbolo = tr.x();
    tr.anchos(simbologias::patronInicio2de5(), m.ancho, m.estrecho);
    for (qsizetype i = 0; i + 1 < t.size(); i += 2) {
        const QString barras = simbologias::patronDigito2de5(t.at(i).unicode() - u'0');
        const QString espacios = simbologias::patronDigito2de5(t.at(i + 1).unicode() - u'0');
        QString par;
        for (int k = 0; k < 5; ++k)
            par += QString(barras.at(k)) + espacios.at(k);
        tr.anchos(par, m.ancho, m.estrecho);
    }
    tr.anchos(simbologias::patronFin2de5(), m.ancho, m.estrecho);
    const int finSimbolo = tr.x();
    if (relleno > 1)
        tr.espacio(int((relleno - 1) * m.estrecho));
    const int grueso = 2 * m.estrecho;
    plan.barrasPortadoras = {QRect(inicioSimbolo, plan.origen.y(), finSimbolo - inicioSimbolo, grueso),
                             QRect(inicioSimbolo, plan.origen.y() + alto - grueso, finSimbolo - inicioSimbolo, grueso)};
    plan.resultado = Resultado::Dibujo;
}

void itf14(const PeticionBarras &p, PlanBarras &plan)
{
    QString t = p.texto;
    if (t.size() < 12 || !todoDigitos(t)) {
        plan.resultado = Resultado::NoCabe;
        return;
    }
    if (t.size() == 12)
        t += QString::number(simbologias::digitoControlGS1(t, 1));
    if (t.size() == 13)
        t.prepend(u'0');
    entrelazado2de5(p, t, plan);
}

void postnet(const PeticionBarras &p, int digitos, PlanBarras &plan)
{
    QString t = p.texto;
    if (!todoDigitos(t)) {
        plan.resultado = Resultado::NoCabe;
        return;
    }
    if (t.size() <= digitos)
        t += QString::number(simbologias::digitoControlPostnet(t));
    plan.textoCodificado = t;
    const int paso = (p.resolucionX + 11) / 22;
    const int barra = paso / 2;
    const int espacio = paso - barra;
    const int completa = (p.resolucionY + 4) / 8;
    const int media = (p.resolucionY + 10) / 20;
    plan.modulo = paso;
    if (p.lienzoPropio)
        plan.tamanoControl = QSize(int((qint64(t.size()) * 5 + 2) * paso + 4), p.limitesControl.height());
    Trazador tr(plan, plan.origen.x(), plan.origen.y(), completa);
    const auto poner = [&](bool alta) {
        tr.barra(barra, alta ? completa : media, alta ? 0 : completa - media);
        tr.espacio(espacio);
    };
    poner(true);
    for (QChar c : t) {
        const QString patron = simbologias::patronPostnet(c.unicode() - u'0');
        for (QChar b : patron)
            poner(b == u'1');
    }
    tr.barra(barra);
    plan.resultado = Resultado::Dibujo;
}

void fim(const PeticionBarras &p, char marca, PlanBarras &plan)
{
    const int barra = (p.resolucionX + 16) / 32;
    const int alto = int((qint64(p.resolucionY) * 5 + 4) / 8);
    plan.modulo = barra;
    if (p.lienzoPropio)
        plan.tamanoControl = QSize(p.resolucionX / 2 + barra + 2, alto);
    else if (p.autoPosition)
        plan.origen = QPoint(p.derechaRecorte - 2 * p.resolucionX - 18 * barra - 2, 1);
    Trazador tr(plan, plan.origen.x(), plan.origen.y(), alto);
    for (QChar c : simbologias::patronFIM(marca)) {
        if (c == u'1')
            tr.barra(barra);
        else
            tr.espacio(barra);
    }
    plan.resultado = Resultado::Dibujo;
}

void ean(const PeticionBarras &p, PlanBarras &plan)
{
    QString t = p.texto;
    const bool trece = t.size() == 12 || t.size() == 13;
    if ((!trece && t.size() != 7 && t.size() != 8) || !todoDigitos(t)) {
        plan.resultado = Resultado::NoCabe;
        return;
    }
    if (t.size() == 12 || t.size() == 7)
        t += QString::number(simbologias::digitoControlGS1(t, trece ? 1 : 3));
    plan.textoCodificado = t;
    const int anchoModulos = trece ? 113 : 81;
    const int rx = p.resolucionX;
    int m = 0;
    int altoBarras = 0;
    if (p.autoSizing) {
        // In the order the figures are defined, so that halves round the same way.
        const int pedido = trece ? RedondearMitadesAPar(rx * 1.23 * p.magnification / 95)
                                 : RedondearMitadesAPar(rx * 0.87 * p.magnification / 67);
        const int minimo = trece ? int(rx * 1.22 * 0.7 / 95) + 1 : int(rx * 0.86 * 0.7 / 67) + 1;
        m = std::max({pedido, minimo, 1});
        m = int(std::min<qint64>(m, kLimitePixeles / 113));
        altoBarras = 55 * m;
        plan.fondo = QRect(plan.origen, QSize(anchoModulos * m, 66 * m));
        if (p.lienzoPropio)
            plan.tamanoControl = plan.fondo->size();
    } else {
        m = plan.trabajo.width() / anchoModulos;
        if (m == 0) {
            plan.resultado = Resultado::NoCabe;
            return;
        }
        altoBarras = std::max(plan.trabajo.height() - 12 * m, 0);
        plan.fondo = QRect(plan.origen, plan.trabajo);
    }
    plan.modulo = m;
    const QString modulos = simbologias::modulosEAN(t);
    const int mitad = trece ? 42 : 28;
    const auto esGuarda = [&](qsizetype i) {
        return i < 3 || (i >= 3 + mitad && i < 3 + mitad + 5) || i >= modulos.size() - 3;
    };
    const int izquierda = trece ? 11 : 7;
    Trazador tr(plan, plan.origen.x() + izquierda * m, plan.origen.y(), altoBarras);
    for (qsizetype i = 0; i < modulos.size(); ++i) {
        if (modulos.at(i) == u'1')
            tr.barra(m, altoBarras + (esGuarda(i) ? 5 * m : 0));
        else
            tr.espacio(m);
    }
    // Digits under the halves, one per 7 modules; an EAN-13's first digit before the guard.
    plan.altoLetra = 14 * m;
    const int arriba = plan.origen.y() + altoBarras;
    const auto celda = [&](int modulo, QChar c, bool izquierdaFija = false) {
        plan.cifras.push_back({c, QRect(plan.origen.x() + modulo * m, arriba, 7 * m, 11 * m), izquierdaFija});
    };
    const int primeraMitad = izquierda + 3;
    const int segundaMitad = primeraMitad + mitad + 5;
    if (trece) {
        celda(5, t.at(0), true);
        for (int i = 0; i < 6; ++i) {
            celda(primeraMitad + 7 * i, t.at(1 + i));
            celda(segundaMitad + 7 * i, t.at(7 + i));
        }
    } else {
        for (int i = 0; i < 4; ++i) {
            celda(primeraMitad + 7 * i, t.at(i));
            celda(segundaMitad + 7 * i, t.at(4 + i));
        }
    }
    plan.resultado = Resultado::Dibujo;
}

void code128(const PeticionBarras &p, PlanBarras &plan)
{
    const bool gs1 = p.tipo == TBarCodeType::EAN128;
    const auto valores = simbologias::valoresCode128(p.texto, gs1);
    if (!valores) {
        plan.resultado = Resultado::NoCabe;
        return;
    }
    const int m = int(std::clamp<qint64>(RedondearMitadesAPar(p.resolucionX * 0.03937 * p.magnification), 1,
                                         kLimitePixeles / 1024));
    int alto = 32 * m;
    if (gs1)
        alto = std::max(alto, RedondearMitadesAPar(p.resolucionX * 0.7874));
    plan.modulo = m;
    plan.textoCodificado = p.texto;
    const int zona = p.clearZone ? 10 * m : 0;
    if (p.lienzoPropio)
        plan.tamanoControl = QSize(int(11 * m * qint64(valores->size()) + 13 * m + 2 * zona), alto);
    Trazador tr(plan, plan.origen.x(), plan.origen.y(), alto);
    tr.espacio(zona);
    const auto anchos = [&](const QString &patron) {
        for (qsizetype i = 0; i < patron.size(); ++i) {
            const int w = (patron.at(i).unicode() - u'0') * m;
            if (i % 2 == 0)
                tr.barra(w);
            else
                tr.espacio(w);
        }
    };
    for (int v : *valores)
        anchos(simbologias::patronCode128(v));
    anchos(simbologias::patronCode128(simbologias::Code128Stop));
    tr.espacio(zona);
    plan.resultado = Resultado::Dibujo;
}

bool escalaConResolucion(TBarCodeType tipo)
{
    return tipo == TBarCodeType::Code39 || tipo == TBarCodeType::Interleaved2Of5 || tipo == TBarCodeType::ITF14;
}

} // namespace

PlanBarras planificarBarras(const PeticionBarras &p)
{
    PlanBarras plan;
    const QRect &c = p.limitesControl;
    if (p.lienzoPropio)
        plan.origen = QPoint(0, 0);
    else if (p.autoPosition)
        plan.origen = QPoint(escalar(c.left(), p.resolucionX, p.pixelesPantalla),
                             escalar(c.top(), p.resolucionY, p.pixelesPantalla));
    else
        plan.origen = c.topLeft();
    plan.trabajo = c.size();
    if (p.autoSizing && escalaConResolucion(p.tipo))
        plan.trabajo = QSize(escalar(c.width(), p.resolucionX, p.pixelesPantalla),
                             escalar(c.height(), p.resolucionY, p.pixelesPantalla));

    // Only the facing identification marks draw without a text.
    const bool esFIM = p.tipo == TBarCodeType::FIMA || p.tipo == TBarCodeType::FIMB || p.tipo == TBarCodeType::FIMC;
    if (p.texto.isEmpty() && !esFIM)
        return plan;
    switch (p.tipo) {
    case TBarCodeType::Code39:
        code39(p, plan);
        break;
    case TBarCodeType::Interleaved2Of5:
        entrelazado2de5(p, p.texto, plan);
        break;
    case TBarCodeType::ITF14:
        itf14(p, plan);
        break;
    case TBarCodeType::PostnetZip:
    case TBarCodeType::PostNetZipPlus4:
    case TBarCodeType::Postnet11:
    case TBarCodeType::PostNet: {
        const qsizetype n = p.texto.size();
        const int digitos = p.tipo == TBarCodeType::PostnetZip        ? 5
                            : p.tipo == TBarCodeType::PostNetZipPlus4 ? 9
                            : p.tipo == TBarCodeType::Postnet11       ? 11
                            : n < 6                                   ? 5
                            : n <= 10                                 ? 9
                                                                      : 11;
        postnet(p, digitos, plan);
        break;
    }
    case TBarCodeType::EAN:
    case TBarCodeType::EAN8:
    case TBarCodeType::EAN13:
        ean(p, plan);
        break;
    case TBarCodeType::FIMA:
        fim(p, 'A', plan);
        break;
    case TBarCodeType::FIMB:
        fim(p, 'B', plan);
        break;
    case TBarCodeType::FIMC:
        fim(p, 'C', plan);
        break;
    case TBarCodeType::Code128:
    case TBarCodeType::EAN128:
        code128(p, plan);
        break;
    }
    return plan;
}

QString textoDeCampoBarras(const QString &textoCampo, TBarCodeType tipo)
{
    switch (tipo) {
    case TBarCodeType::EAN13:
    case TBarCodeType::ITF14:
        return textoCampo.rightJustified(12, u'0');
    case TBarCodeType::EAN8:
        return textoCampo.rightJustified(7, u'0');
    default:
        return textoCampo;
    }
}
