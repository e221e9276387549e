#include "GENEW/reporting/graficos/GENEGRAF.h"
#include "GENEW/reporting/graficos/GeometriaProfundidad.h"
#include "GENEW/reporting/graficos/Vista3D.h"
#include "platform/ui/Controls.h"
#include "tests/reporting/graficos/VentanaGrafico.h"

#include <QAbstractAxis>
#include <QChart>
#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

using profundidad::Cara;

const QPointF kFondo(10, -10);

// ---- the geometry ---------------------------------------------------------------------------

// The chain of the outline a face was swept from: the first half of its corners.
QPolygonF frenteDe(const Cara &c) { return c.esquinas.mid(0, c.esquinas.size() / 2); }

TEST(GeometriaProfundidad, ASolidShowsOnlyTheSidesTurnedToTheViewer)
{
    struct Caso
    {
        const char *solido;
        QPolygonF contorno;
        int caras;   // a lit run and a shaded one
    };
    const QPointF centro(50, 50);
    const Caso casos[] = {
        {"block", QPolygonF(QRectF(40, 30, 20, 40)), 2},
        {"block drawn the other way round", QPolygonF{{40, 30}, {40, 70}, {60, 70}, {60, 30}}, 2},
        {"downward triangle", QPolygonF{{40, 40}, {60, 40}, {50, 58}}, 2},
        {"disc", profundidad::circulo(centro, 10, 24), 2},
    };
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.solido);
        std::vector<Cara> caras;
        const QColor rojo(200, 0, 0);
        profundidad::anadirSolido(caras, c.contorno, kFondo, rojo);
        ASSERT_EQ(int(caras.size()), c.caras);
        QPointF medio;
        for (const QPointF &p : c.contorno)
            medio += p;
        medio /= double(c.contorno.size());
        int iluminadas = 0, sombreadas = 0;
        for (const Cara &cara : caras) {
            // Every side shown faces up or to the right, where the depth goes.
            const QPolygonF frente = frenteDe(cara);
            const QPointF centroLado = (frente.first() + frente.last()) / 2;
            EXPECT_GT(QPointF::dotProduct(centroLado - medio, kFondo), 0);
            // Its far edge is its near one pulled back.
            for (qsizetype i = 0; i < frente.size(); ++i)
                EXPECT_EQ(cara.esquinas[cara.esquinas.size() - 1 - i], frente[i] + kFondo);
            // The upper side is lit, the right one in shade.
            const bool arriba = centroLado.y() < medio.y() && centroLado.x() - medio.x() < medio.y() - centroLado.y();
            EXPECT_EQ(cara.relleno.lightness() > rojo.lightness(), arriba);
            (arriba ? iluminadas : sombreadas) += 1;
        }
        EXPECT_EQ(iluminadas, 1);
        EXPECT_EQ(sombreadas, 1);
    }
}

TEST(GeometriaProfundidad, APieSliceShowsItsRimOnlyWhereItFacesTheDepth)
{
    // Angles from twelve o'clock, clockwise; the depth goes up and right, so the rim shows
    // from 315 (upper left) round to 135 degrees (lower right).
    struct Caso
    {
        double inicio, arco;
        bool borde;
        double desde, hasta;   // the angles the rim covers
    };
    const Caso casos[] = {
        {0, 90, true, 0, 90},
        {180, 90, false, 0, 0},
        {90, 90, true, 90, 135},
        {270, 90, true, 315, 360},
        {0, 360, true, -45, 135},
    };
    const QPointF centro(100, 100);
    for (const Caso &c : casos) {
        SCOPED_TRACE(testing::Message() << c.inicio << "+" << c.arco);
        std::vector<Cara> caras;
        profundidad::anadirBorde(caras, centro, 50, c.inicio, c.arco, kFondo, Qt::blue);
        ASSERT_EQ(!caras.empty(), c.borde);
        double menor = 720, mayor = -720;
        for (const Cara &cara : caras)
            for (const QPointF &p : frenteDe(cara)) {
                EXPECT_NEAR(QLineF(centro, p).length(), 50, 1e-6);
                double grados = qRadiansToDegrees(std::atan2(p.x() - centro.x(), centro.y() - p.y()));
                if (c.desde >= 0 && grados < c.desde - 4)
                    grados += 360;
                menor = std::min(menor, grados);
                mayor = std::max(mayor, grados);
            }
        if (c.borde) {
            EXPECT_NEAR(menor, c.desde, 3.5);
            EXPECT_NEAR(mayor, c.hasta, 3.5);
        }
    }
}

TEST(GeometriaProfundidad, ARibbonIsLitWhereItsUpperSideShows)
{
    struct Caso
    {
        const char *tramo;
        QPointF desde, hasta;
        int caras;
        bool iluminada;
    };
    const Caso casos[] = {
        {"flat", {0, 50}, {40, 50}, 1, true},
        {"falling", {0, 20}, {40, 60}, 1, true},
        {"climbing gently", {0, 50}, {40, 30}, 1, true},
        {"climbing steeply", {0, 60}, {10, 10}, 1, false},
        {"drawn right to left", {40, 50}, {0, 50}, 1, true},
        {"along the depth", {0, 50}, {20, 30}, 0, false},
    };
    const QColor verde(0, 160, 0);
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.tramo);
        std::vector<Cara> caras;
        profundidad::anadirCinta(caras, QPolygonF{c.desde, c.hasta}, kFondo, verde);
        ASSERT_EQ(int(caras.size()), c.caras);
        if (c.caras) {
            EXPECT_EQ(caras[0].relleno.lightness() > verde.lightness(), c.iluminada);
        }
    }
}

TEST(GeometriaProfundidad, TheWallsCoverThePlotAreaAndTheRoomBehindIt)
{
    const QRectF frente(20, 30, 100, 60);
    const profundidad::Paredes p = profundidad::paredes(frente, kFondo);
    QPainterPath paredes;
    paredes.setFillRule(Qt::WindingFill);
    for (const QPolygonF &pared : {p.fondo, p.izquierda, p.suelo})
        paredes.addPolygon(pared);
    QPainterPath caja;
    caja.addPolygon(profundidad::caja(frente, kFondo));
    for (double x = frente.left() + 0.5; x < frente.right() + 10; x += 3)
        for (double y = frente.top() - 9.5; y < frente.bottom(); y += 3)
            EXPECT_EQ(paredes.contains(QPointF(x, y)), caja.contains(QPointF(x, y))) << x << "," << y;
    EXPECT_EQ(p.fondo.boundingRect(), frente.translated(kFondo));
}

// ---- the window -----------------------------------------------------------------------------

const QString kCarpetaImagenes = QStringLiteral(GP_IMAGENES_GRAFICOS);

// The colour of the shape a face recedes from: its outline is that colour darkened by half.
QColor colorDeLaForma(const Cara &cara) { return cara.borde.lighter(200); }

bool cerca(QColor a, QColor b, int tolerancia = 48)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <= tolerancia;
}

const QPoint kVecinos[] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};

// The colour at the point or at a pixel next to it: edges are anti-aliased.
bool cercaDe(const QImage &imagen, QPointF punto, QColor color, int tolerancia)
{
    return std::any_of(std::begin(kVecinos), std::end(kVecinos),
                       [&](QPoint v) { return cerca(imagen.pixelColor(punto.toPoint() + v), color, tolerancia); });
}

struct Tipo
{
    const char *nombre;
    QString definicion;
    QString series;
};

const QString kCiudades = QStringLiteral("1:120:Madrid:/2:80:Sevilla:/3:150:Valencia:/4:50:Bilbao:");
const Tipo kTipos[] = {
    {"lineas", "Titulo=Ventas;Medidas=520x360",
     "Titulo=2023;Tipo=Lineas;Color=Azul;Valores=1:10:Ene:/2:25:Feb:/3:18:Mar:/4:30:Abr:/5:22:May:"},
    {"tarta", "Titulo=Clientes;Medidas=450x320", "Titulo=Clientes;Tipo=Tarta;Valores=" + kCiudades},
    {"barras", "Titulo=Importe;Medidas=420x320", "Titulo=Importe;Tipo=Barras;Color=Verde;Valores=" + kCiudades},
    {"puntos", "Titulo=Medidas;Medidas=420x320", "Titulo=M;Tipo=Puntos;Color=Rojo;Valores=1:3:a:/2:5:b:/3:4:c:/4:8:d:"},
    {"triangulos", "Titulo=Medidas;Medidas=420x320;ColorFondo=Ninguno",
     "Titulo=M;Tipo=Puntos;Color=Rojo;Estilo=Triangulo Invertido;Valores=1:3:a:/2:5:b:/3:4:c:/4:8:d:"},
    {"barrash", "Titulo=Horas;Medidas=460x320", "Titulo=Horas;Tipo=BarrasH;Color=Azul;Valores=1:40:Ana:/2:35:Luis:/3:20:Eva:"},
};

// The 3-D chart differs from the flat one laid out alike (the same room around the plot
// area) only where the depth is drawn, and its depth meets the flat shapes Qt Charts drew:
// just inside the front edge of each face lies the shape the face recedes from.
TEST(Vista3D, EachKindDiffersFromTheFlatChartOnlyWhereTheDepthIsDrawn)
{
    QDir().mkpath(kCarpetaImagenes);
    for (const Tipo &t : kTipos) {
        SCOPED_TRACE(t.nombre);
        VentanaGrafico tresD(t.definicion, t.series);
        VentanaGrafico plano(t.definicion + ";Vista3D=NO", t.series);
        ASSERT_TRUE(vista3d::activa(tresD.chart()));
        ASSERT_FALSE(vista3d::activa(plano.chart()));
        plano.chart().setMargins(tresD.chart().margins());
        const QImage imagen3D = tresD.imagen();
        const QImage imagenPlana = plano.imagen();
        ASSERT_EQ(plano.chart().plotArea(), tresD.chart().plotArea());
        ASSERT_EQ(imagen3D.size(), imagenPlana.size());

        const vista3d::Dibujo dibujo = vista3d::dibujo(tresD.chart());
        ASSERT_FALSE(dibujo.series.empty());
        // Where the depth may differ: what it paints, and the anti-aliased pixels of its edges.
        QImage permitido(imagen3D.size(), QImage::Format_Grayscale8);
        permitido.fill(0);
        {
            QPainter p(&permitido);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Qt::white, 4));
            p.setBrush(Qt::white);
            p.drawPath(dibujo.region());
        }
        QImage diferencias(imagen3D.size(), QImage::Format_RGB32);
        diferencias.fill(Qt::white);
        int fuera = 0, dentro = 0;
        for (int y = 0; y < imagen3D.height(); ++y)
            for (int x = 0; x < imagen3D.width(); ++x) {
                if (imagen3D.pixel(x, y) == imagenPlana.pixel(x, y))
                    continue;
                const bool enProfundidad = qGray(permitido.pixel(x, y)) > 0;
                (enProfundidad ? dentro : fuera) += 1;
                diferencias.setPixel(x, y, enProfundidad ? qRgb(0, 0, 255) : qRgb(255, 0, 0));
            }
        const QString base = kCarpetaImagenes + QStringLiteral("/vista3d-%1").arg(QLatin1String(t.nombre));
        imagen3D.save(base + QStringLiteral(".png"));
        imagenPlana.save(base + QStringLiteral("-plano.png"));
        diferencias.save(base + QStringLiteral("-diferencias.png"));
        EXPECT_EQ(fuera, 0) << "see " << base.toStdString() << "-diferencias.png";
        EXPECT_GT(dentro, 100);

        int comprobadas = 0;
        const bool cintas = t.nombre == QLatin1String("lineas");
        for (const Cara &cara : dibujo.series) {
            // Just inside the front edge of the face lies the shape it recedes from (a line's
            // ribbon recedes from the line itself).
            const QPolygonF frente = frenteDe(cara);
            const qsizetype medio = std::max<qsizetype>(1, frente.size() / 2);
            const QLineF tramo(frente[medio - 1], frente[medio]);
            if (tramo.length() < 0.5)
                continue;
            QPointF haciaDentro(tramo.dy(), -tramo.dx());
            haciaDentro /= QLineF(QPointF(), haciaDentro).length();
            if (QPointF::dotProduct(haciaDentro, kFondo) > 0)
                haciaDentro = -haciaDentro;
            const QPointF delante = tramo.center() + (cintas ? QPointF() : haciaDentro * 2.5);
            // A line is one anti-aliased pixel wide: none of its pixels has its full colour.
            EXPECT_TRUE(cercaDe(imagenPlana, delante, colorDeLaForma(cara), cintas ? 160 : 48))
                << "no front shape at " << delante.x() << "," << delante.y();
            // A face is painted in its colour where nothing stands in front of it.
            const QPointF centro = cara.esquinas.boundingRect().center();
            const bool holgada = std::all_of(std::begin(kVecinos), std::end(kVecinos), [&](QPoint v) {
                return cara.esquinas.containsPoint(centro + 2 * QPointF(v), Qt::OddEvenFill);
            });
            if (holgada) {
                EXPECT_TRUE(cerca(imagen3D.pixelColor(centro.toPoint()), cara.relleno))
                    << "face at " << centro.x() << "," << centro.y();
            }
            ++comprobadas;
        }
        EXPECT_GT(comprobadas, 0);
    }
}

// "NO" switches the 3-D view off and leaves the chart exactly as flat charts are drawn;
// anything else, written in any case or empty, and no key at all keep it on.
TEST(Vista3D, OnlyNOSwitchesItOff)
{
    struct Caso
    {
        const char *definicion;
        bool tresD;
    };
    const Caso casos[] = {
        {"Vista3D=NO", false}, {"Vista3D=no", true}, {"Vista3D=No", true}, {"Vista3D=", true},
        {"Titulo=Sin clave", true}, {"Vista3D=SI", true},
    };
    const QString series = QStringLiteral("Tipo=Barras;Color=Rojo;Valores=1:5:a:/2:7:b:");
    const QChart nuevo;
    VentanaGrafico referencia(QStringLiteral("Vista3D=NO"), series);
    const QImage plana = referencia.imagen();
    for (const Caso &c : casos) {
        SCOPED_TRACE(c.definicion);
        VentanaGrafico g(QString::fromLatin1(c.definicion), series);
        EXPECT_EQ(g.f->ajustes().Vista3D, c.tresD);
        EXPECT_EQ(vista3d::activa(g.chart()), c.tresD);
        EXPECT_EQ(g.chart().margins() == nuevo.margins(), !c.tresD);
        for (QAbstractAxis *eje : g.chart().axes())
            EXPECT_EQ(eje->isGridLineVisible(), !c.tresD);
        EXPECT_EQ(g.imagen() == plana, !c.tresD);
    }
}

// The marks and the legend are the flat chart's, over the depth.
TEST(Vista3D, MarksAndLegendFollowTheirButtons)
{
    VentanaGrafico g(QStringLiteral("Leyenda=SI;Marcas=SI;Medidas=420x320"),
              QStringLiteral("Titulo=Importe;Tipo=Barras;Color=Verde;IncluirEnLeyenda=SI;Valores=") + kCiudades);
    const QImage conTodo = g.imagen();
    const QRectF antes = g.chart().plotArea();
    g.f->pbLeyenda->click();
    g.f->pbMarcas->click();
    const QImage sinNada = g.imagen();
    EXPECT_NE(conTodo, sinNada);
    // The plot area grows without the legend, and the depth follows it.
    EXPECT_GT(g.chart().plotArea().width(), antes.width());
    EXPECT_EQ(vista3d::dibujo(g.chart()).paredes.front().esquinas.boundingRect(),
              g.chart().plotArea().translated(vista3d::profundidadPara(420, 320), -vista3d::profundidadPara(420, 320)));
}

} // namespace
