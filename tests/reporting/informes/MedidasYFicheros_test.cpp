#include "GENEW/reporting/informes/ControlesInforme.h"
#include "GENEW/reporting/informes/MedidasTexto.h"
#include "GENEW/reporting/informes/PaginasInforme.h"

#include <QFontMetricsF>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

double medidaNueva(const QFont &puntos, const QString &texto)
{
    return QFontMetricsF(fuenteDePagina(puntos)).horizontalAdvance(texto);
}

QFont arial(int puntos, bool negrita = false)
{
    return QFont(QStringLiteral("Arial"), puntos, negrita ? QFont::Bold : QFont::Normal);
}

} // namespace

// A width remembered is the width measured afresh, in the font it was measured in.
TEST(MedidasTexto, CadaFuenteDaLosAnchosDeUnaMedidaNueva)
{
    MedidasTexto medidas;
    const QList<QFont> fuentes = {arial(8), arial(8, true), arial(12)};
    const QStringList textos = {QStringLiteral("Sin observaciones"), QStringLiteral("1.234,5"), QString(),
                                QStringLiteral("Año de ñandúes")};
    ASSERT_NE(medidaNueva(fuentes[0], textos[0]), medidaNueva(fuentes[1], textos[0]));
    for (int vuelta = 0; vuelta < 2; ++vuelta)
        for (const QFont &f : fuentes)
            for (const QString &t : textos) {
                MedidasTexto::Fuente &fuente = medidas.fuente(f);
                EXPECT_EQ(fuente.pagina, fuenteDePagina(f));
                EXPECT_DOUBLE_EQ(medidas.ancho(fuente, t), medidaNueva(f, t)) << t.toStdString();
            }
}

// A run of any length keeps a bounded table, and what it says stays right.
TEST(MedidasTexto, LasTablasNoCrecenSinLimite)
{
    MedidasTexto medidas;
    const QFont f = arial(8);
    for (int i = 0; i < MedidasTexto::kTextosPorFuente + 50; ++i)
        medidas.ancho(medidas.fuente(f), QStringLiteral("Cliente número %1").arg(i));
    EXPECT_LE(medidas.fuente(f).anchos.size(), MedidasTexto::kTextosPorFuente);
    EXPECT_DOUBLE_EQ(medidas.ancho(medidas.fuente(f), QStringLiteral("Cliente número 7")),
                     medidaNueva(f, QStringLiteral("Cliente número 7")));

    for (int puntos = 4; puntos < 4 + MedidasTexto::kFuentes + 5; ++puntos) {
        QFont otra = arial(8);
        otra.setPointSizeF(puntos);
        EXPECT_EQ(medidas.fuente(otra).pagina, fuenteDePagina(otra));
    }
    EXPECT_DOUBLE_EQ(medidas.ancho(medidas.fuente(f), QStringLiteral("Zona")), medidaNueva(f, QStringLiteral("Zona")));
}

// Laying a text out with the run's measures, twice, gives the lines of a fresh layout: wrapped,
// broken at any line end, empty or too wide.
TEST(MedidasTexto, MaquetarConLasMedidasDeLaPasadaDaLasMismasLineas)
{
    MedidasTexto pasada;
    const QStringList textos = {QStringLiteral("uno dos tres cuatro cinco seis siete"), QStringLiteral("a\r\nbe\rce\nde"),
                                QStringLiteral("corto"), QString(), QStringLiteral("Unapalabramuylargaquenocabe")};
    for (int vuelta = 0; vuelta < 2; ++vuelta)
        for (const QString &texto : textos)
            for (const bool ajustar : {false, true}) {
                MedidasTexto nuevas;
                const TextoMaquetado a = maquetarTexto(texto, arial(8), 40, ajustar, pasada);
                const TextoMaquetado b = maquetarTexto(texto, arial(8), 40, ajustar, nuevas);
                EXPECT_EQ(a.lineas, b.lineas) << texto.toStdString();
                EXPECT_EQ(a.anchos, b.anchos) << texto.toStdString();
                EXPECT_EQ(a.fuente, b.fuente);
                EXPECT_DOUBLE_EQ(a.altoLinea, b.altoLinea);
                EXPECT_DOUBLE_EQ(a.ascenso, b.ascenso);
            }
    const TextoMaquetado ajustado = maquetarTexto(textos[0], arial(8), 40, true, pasada);
    EXPECT_GT(ajustado.lineas.size(), 2);
    EXPECT_EQ(maquetarTexto(textos[1], arial(8), 40, false, pasada).lineas,
              (QStringList{QStringLiteral("a"), QStringLiteral("be"), QStringLiteral("ce"), QStringLiteral("de")}));
}

// A page file names each font once; the page read back has every text in its own font.
TEST(FicherosDePagina, UnaPaginaDeVariasFuentesVuelveIgual)
{
    const QFont a = fuenteDePagina(arial(8)), b = fuenteDePagina(arial(8, true)), c = fuenteDePagina(arial(12));
    PaginaGenerada pagina;
    pagina.numero = 7;
    pagina.tamanio = QSizeF(793.7, 1122.5);
    const QList<QFont> orden = {a, b, a, c, b, c, a};
    for (int banda = 0; banda < 2; ++banda) {
        BandaImpresa impresa;
        impresa.tipo = banda == 0 ? TipoBanda::CabeceraPagina : TipoBanda::Detalle;
        impresa.nombre = QStringLiteral("Banda%1").arg(banda);
        impresa.area = QRectF(18.9, 37.8 + banda * 99, 755.9, 99);
        impresa.primitivas << RectanguloPagina{impresa.area, Qt::NoPen, QColor(192, 192, 192), false};
        for (int i = 0; i < orden.size(); ++i)
            impresa.primitivas << TextoPagina{QStringLiteral("Texto %1.%2").arg(banda).arg(i), orden[i],
                                              QColor(i * 30, 0, 128), i % 2 ? Qt::AlignRight : Qt::AlignLeft,
                                              QPointF(20.25 + i, 50.5 + banda), QRectF(20, 40, 49, 12.28),
                                              QRectF(20, 40, 49, 15)};
        impresa.primitivas << LineaPagina{QLineF(18.9, 60.5, 768.9, 60.5), QPen(Qt::black, 1)};
        impresa.controlDePrimitiva.fill(banda, impresa.primitivas.size());
        pagina.bandas << impresa;
    }

    const std::optional<PaginaGenerada> leida = leerPagina(guardarPagina(pagina));
    ASSERT_TRUE(leida);
    EXPECT_EQ(leida->numero, 7);
    EXPECT_EQ(leida->tamanio, pagina.tamanio);
    ASSERT_EQ(leida->bandas.size(), pagina.bandas.size());
    for (int n = 0; n < pagina.bandas.size(); ++n) {
        const BandaImpresa &original = pagina.bandas[n], &vuelta = leida->bandas[n];
        EXPECT_EQ(vuelta.nombre, original.nombre);
        EXPECT_EQ(vuelta.tipo, original.tipo);
        EXPECT_EQ(vuelta.area, original.area);
        EXPECT_EQ(vuelta.controlDePrimitiva, original.controlDePrimitiva);
        ASSERT_EQ(vuelta.primitivas.size(), original.primitivas.size());
        for (int i = 0; i < original.primitivas.size(); ++i) {
            ASSERT_EQ(vuelta.primitivas[i].index(), original.primitivas[i].index());
            if (const auto *t = std::get_if<TextoPagina>(&original.primitivas[i])) {
                const auto &v = std::get<TextoPagina>(vuelta.primitivas[i]);
                EXPECT_EQ(v.texto, t->texto);
                EXPECT_EQ(v.fuente, t->fuente) << v.texto.toStdString();
                EXPECT_EQ(v.fuente.toString(), t->fuente.toString());
                EXPECT_EQ(v.color, t->color);
                EXPECT_EQ(v.alineacion, t->alineacion);
                EXPECT_EQ(v.origen, t->origen);
                EXPECT_EQ(v.caja, t->caja);
                EXPECT_EQ(v.recorte, t->recorte);
            } else if (const auto *r = std::get_if<RectanguloPagina>(&original.primitivas[i])) {
                const auto &v = std::get<RectanguloPagina>(vuelta.primitivas[i]);
                EXPECT_EQ(v.rectangulo, r->rectangulo);
                EXPECT_EQ(v.relleno, r->relleno);
                EXPECT_EQ(v.pluma, r->pluma);
            } else {
                const auto &l = std::get<LineaPagina>(original.primitivas[i]);
                const auto &v = std::get<LineaPagina>(vuelta.primitivas[i]);
                EXPECT_EQ(v.linea, l.linea);
                EXPECT_EQ(v.pluma, l.pluma);
            }
        }
    }
}

namespace {

// What a page draws, as a picture: two pages that draw the same make the same picture.
QImage dibujada(const PaginaGenerada &pagina)
{
    QImage imagen(200, 120, QImage::Format_RGB32);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    dibujarPagina(pagina, painter);
    return imagen;
}

} // namespace

// Every kind of primitive comes back from its page file as it went, and a page file cut
// anywhere, or with a byte more, is refused rather than read past its end.
TEST(FicherosDePagina, CadaClaseDePrimitivaVuelveYCualquierCorteSeRechaza)
{
    QImage logotipo(6, 4, QImage::Format_ARGB32);
    logotipo.fill(QColor(10, 200, 30));
    plat::Drawing dibujo;
    {
        QPainter lienzo(&dibujo);
        lienzo.setPen(QPen(Qt::blue, 2));
        lienzo.drawLine(QLineF(0, 0, 30, 20));
    }
    PaginaGenerada pagina;
    pagina.numero = 3;
    pagina.tamanio = QSizeF(200, 120);
    BandaImpresa banda;
    banda.nombre = QStringLiteral("Año único");
    banda.area = QRectF(1.5, 2.25, 190, 110);
    banda.recortada = true;
    banda.primitivas << TextoPagina{QStringLiteral("Ñandú 1.234,5"), fuenteDePagina(arial(9, true)), QColor(0, 0, 128),
                                    Qt::AlignRight, QPointF(40.125, 20.5), QRectF(10, 10, 60, 14), QRectF(10, 10, 60, 15)}
                     << LineaPagina{QLineF(2, 30.5, 180, 30.5), QPen(Qt::red, 1.5, Qt::DashLine)}
                     << RectanguloPagina{QRectF(5, 40, 50, 20), QPen(Qt::black), QColor(), true}
                     << RectanguloPagina{QRectF(60, 40, 50, 20), Qt::NoPen, QColor(192, 192, 192), false}
                     << ImagenPagina{QRectF(120, 40, 12, 8), logotipo, QRectF(120, 40, 10, 8)}
                     << DibujoPagina{QPointF(140, 70), dibujo, QRectF(140, 70, 40, 30)};
    banda.controlDePrimitiva = {0, 1, 2, 2, 3, 4};
    pagina.bandas << banda;

    const QByteArray fichero = guardarPagina(pagina);
    const std::optional<PaginaGenerada> leida = leerPagina(fichero);
    ASSERT_TRUE(leida);
    ASSERT_EQ(leida->bandas.size(), 1);
    const BandaImpresa &vuelta = leida->bandas[0];
    EXPECT_EQ(vuelta.nombre, banda.nombre);
    EXPECT_EQ(vuelta.area, banda.area);
    EXPECT_TRUE(vuelta.recortada);
    EXPECT_EQ(vuelta.controlDePrimitiva, banda.controlDePrimitiva);
    ASSERT_EQ(vuelta.primitivas.size(), banda.primitivas.size());
    const auto &contorno = std::get<RectanguloPagina>(vuelta.primitivas[2]);
    EXPECT_FALSE(contorno.relleno.isValid());
    EXPECT_TRUE(contorno.elipse);
    EXPECT_EQ(std::get<LineaPagina>(vuelta.primitivas[1]).pluma, QPen(Qt::red, 1.5, Qt::DashLine));
    EXPECT_EQ(std::get<ImagenPagina>(vuelta.primitivas[4]).imagen, logotipo);
    EXPECT_EQ(std::get<DibujoPagina>(vuelta.primitivas[5]).recorte, QRectF(140, 70, 40, 30));
    EXPECT_EQ(dibujada(*leida), dibujada(pagina));

    for (qsizetype corte = 0; corte < fichero.size(); ++corte)
        EXPECT_FALSE(leerPagina(fichero.left(corte))) << corte;
    EXPECT_FALSE(leerPagina(fichero + QByteArray(1, '\0')));
}
