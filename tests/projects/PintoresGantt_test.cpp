#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Drawing.h"
#include "projects/proyectos/PintoresGantt.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <gtest/gtest.h>

namespace {

double Dia(const char *iso) { return NumeroDia(FechaHora(QDate::fromString(QLatin1String(iso), Qt::ISODate))); }

PlanProyecto Span(double inicio, double fin, double previsto = 0, double realizado = 0)
{
    return PlanProyecto{FechaDeNumeroDia(inicio), FechaDeNumeroDia(fin), previsto, realizado};
}

LineaPlan Linea(const QString &grado, double horas = 1) { return LineaPlan{1, 1, horas, grado}; }
const LineaPlan kTitulo{};

// The pixels of a column or a row that have the colour.
int ContarEnColumna(const QImage &imagen, int x, int color)
{
    int n = 0;
    for (int y = 0; y < imagen.height(); ++y)
        n += plat::fromQColor(QColor::fromRgb(imagen.pixel(x, y))) == color;
    return n;
}

int Color(const QImage &imagen, int x, int y) { return plat::fromQColor(QColor::fromRgb(imagen.pixel(x, y))); }

bool Blanca(const QImage &imagen)
{
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            if (Color(imagen, x, y) != plat::clWhite)
                return false;
    return true;
}

// A grid cell at (L, T) = (10, 20) of a bitmap, as a grid hands it to its painter.
const QRect kCelda(10, 20, 500, 18);
// Ten days from Monday 8 April 2024, inside one month: 50 pixels a day, week lines at 0
// and 350. Day numbers as literals: no date routine runs before main.
constexpr double kS0 = 45390;
constexpr double kLejos = 72686;   // 1 January 2099

} // namespace

// ---- day numbers and positions ----------------------------------------------------------------

TEST(DiasGantt, DayNumbersCountFromTheZeroDateWithTheTimeAsAFraction)
{
    EXPECT_EQ(kS0, Dia("2024-04-08"));
    EXPECT_EQ(kLejos, Dia("2099-01-01"));
    const struct
    {
        QDateTime fecha;
        double dia;
    } casos[] = {
        {FechaCero(), 0},
        {FechaHora(QDate(1899, 12, 31)), 1},
        {FechaHora(QDate(1900, 1, 1), QTime(12, 0)), 2.5},
        {FechaHora(QDate(2024, 3, 1), QTime(6, 0)), 45352.25},
        {FechaHora(QDate(1899, 12, 29)), -1},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(NumeroDia(c.fecha), c.dia) << c.fecha.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(FechaDeNumeroDia(c.dia), c.fecha);
    }
    EXPECT_EQ(NumeroDia(QDateTime()), 0);
}

TEST(DiasGantt, PositionsRoundHalvesToEvenAndStayWithinAMillionPixels)
{
    const struct
    {
        int w;
        double d;   // days of the span
        double dia;   // days after S0
        int x;
    } casos[] = {
        {500, 10, 2, 100}, {500, 10, 4, 200}, {5, 2, 1, 2}, {7, 2, 1, 4}, {3, 2, 1, 2},
        {500, 1, 1e9, 1000000}, {500, 1, -1e9, -1000000},
    };
    for (const auto &c : casos) {
        const EscalaGantt escala{kS0, kS0 + c.d - 1, c.w};
        EXPECT_EQ(escala.x(kS0 + c.dia), c.x) << c.w << " px, " << c.d << " days, day " << c.dia;
    }
}

TEST(ColoresGantt, ProgressColoursOfChaptersAndProjects)
{
    const std::pair<const char *, int> capitulos[] = {
        {"Terminado", plat::clRed}, {"100", plat::clBlue}, {"5", plat::clBlue},    {"50", plat::clFuchsia},
        {"90", plat::clFuchsia},    {"10", plat::clBlue},  {"", plat::clGreen},    {"00", plat::clGreen},
    };
    for (const auto &[grado, color] : capitulos)
        EXPECT_EQ(ColorAvanceCapitulo(QString::fromUtf8(grado)), color) << grado;
    const struct
    {
        double previsto, realizado;
        int color;
    } proyectos[] = {{10, 10, plat::clRed}, {10, 12, plat::clRed}, {10, 5, plat::clFuchsia},
                     {10, 1, plat::clBlue}, {10, 0, plat::clGreen}, {0, 3, plat::clGreen}};
    for (const auto &p : proyectos)
        EXPECT_EQ(ColorAvanceProyecto(p.previsto, p.realizado), p.color) << p.previsto << " " << p.realizado;
}

// ---- project master ---------------------------------------------------------------------------

TEST(PintorMaestro, ChapterBarRunsFromItsFirstDayToAfterItsLast)
{
    plat::Bitmap bitmap(520, 40);
    const CapituloGantt capitulo{Linea(QStringLiteral("50")), Span(kS0 + 2, kS0 + 3)};
    PintarCapituloMaestro(bitmap.canvas(), kCelda, Span(kS0, kS0 + 9), capitulo, false, kLejos);
    // Pen and brush left for the next cell.
    EXPECT_EQ(bitmap.canvas().pen().Color, plat::clSilver);
    EXPECT_EQ(bitmap.canvas().brush().Color, plat::clWhite);
    const QImage &imagen = bitmap.image();
    const int l = kCelda.left(), t = kCelda.top();
    EXPECT_EQ(Color(imagen, l + 150, t + 4), plat::clFuchsia);
    EXPECT_EQ(Color(imagen, l + 101, t + 12), plat::clFuchsia);
    EXPECT_NE(Color(imagen, l + 100, t + 8), plat::clWhite);     // the outline
    EXPECT_NE(Color(imagen, l + 199, t + 8), plat::clWhite);
    EXPECT_EQ(Color(imagen, l + 200, t + 8), plat::clWhite);
    EXPECT_EQ(Color(imagen, l + 150, t + 1), plat::clWhite);
    EXPECT_EQ(Color(imagen, l + 150, t + 14), plat::clWhite);
    // The scale: week lines on the Mondays, nothing left of the cell.
    EXPECT_EQ(Color(imagen, l + 0, t + 17), plat::clSilver);
    EXPECT_EQ(Color(imagen, l + 350, t + 0), plat::clSilver);
    EXPECT_EQ(ContarEnColumna(imagen, l - 1, plat::clWhite), imagen.height());
}

TEST(PintorMaestro, HeadingLinesGetAThinBlackBarAndBoldText)
{
    plat::Bitmap bitmap(520, 40);
    PintarCapituloMaestro(bitmap.canvas(), kCelda, Span(kS0, kS0 + 9), CapituloGantt{kTitulo, Span(kS0 + 2, kS0 + 3)},
                          false, kLejos);
    const QImage &imagen = bitmap.image();
    const int x = kCelda.left() + 150, t = kCelda.top();
    for (int y = t + 6; y <= t + 9; ++y)
        EXPECT_EQ(Color(imagen, x, y), plat::clBlack) << "row " << y - t;
    EXPECT_EQ(Color(imagen, x, t + 5), plat::clWhite);
    EXPECT_EQ(Color(imagen, x, t + 10), plat::clWhite);

    plat::Bitmap texto(10, 10);
    PrepararFuenteLinea(texto.canvas(), kTitulo);
    EXPECT_TRUE(texto.canvas().font().Font.bold());
    PrepararFuenteLinea(texto.canvas(), Linea(QString()));
    EXPECT_FALSE(texto.canvas().font().Font.bold());
}

TEST(PintorMaestro, UndatedChapterDrawsTheScaleOnly)
{
    plat::Bitmap bitmap(520, 40);
    PintarCapituloMaestro(bitmap.canvas(), kCelda, Span(kS0, kS0 + 9),
                          CapituloGantt{Linea(QStringLiteral("Terminado")), Span(0, 0)}, true, kS0 + 5.5);
    const QImage &imagen = bitmap.image();
    const int l = kCelda.left(), t = kCelda.top();
    for (int x = 0; x < 500; ++x)
        ASSERT_NE(Color(imagen, l + x, t + 4), plat::clRed) << x;
    EXPECT_EQ(Color(imagen, l + 50, t + 8), plat::clSilver);     // a day tick
    EXPECT_EQ(Color(imagen, l + 50, t + 4), plat::clWhite);
    EXPECT_EQ(Color(imagen, l + 275, t + 4), plat::clFuchsia);   // today, half past day 5
}

TEST(PintorMaestro, WeekAndMonthLinesStartOnTheFirstMondayAndTheFirstOfAMonth)
{
    const struct
    {
        const char *s0;
        int primeraSemana;   // x of the first week line, 10 pixels a day
    } semanas[] = {{"2024-04-10", 50}, {"2024-04-08", 0}, {"2024-04-14", 10}};
    for (const auto &c : semanas) {
        plat::Bitmap bitmap(200, 20);
        const double s0 = Dia(c.s0);
        PintarCapituloMaestro(bitmap.canvas(), QRect(0, 0, 140, 18), Span(s0, s0 + 13), CapituloGantt{kTitulo, Span(0, 0)},
                              false, kLejos);
        const QImage &imagen = bitmap.image();
        int primera = -1;
        for (int x = 0; x < 140 && primera < 0; ++x)
            if (Color(imagen, x, 1) == plat::clSilver)
                primera = x;
        EXPECT_EQ(primera, c.primeraSemana) << c.s0;
    }

    // From the 15th of December over 31 days: the first month line on the 1st of January.
    plat::Bitmap bitmap(400, 20);
    const double s0 = Dia("2024-12-15");
    const PlanProyecto proyecto = Span(s0, s0 + 30);
    PintarCapituloMaestro(bitmap.canvas(), QRect(0, 0, 310, 18), proyecto, CapituloGantt{kTitulo, Span(0, 0)}, false,
                          kLejos);
    const QImage &imagen = bitmap.image();
    EXPECT_EQ(ContarEnColumna(imagen, 170, plat::clBlack), 18);
    for (int x = 0; x < 310; ++x)
        if (x != 170)
            ASSERT_NE(Color(imagen, x, 5), plat::clBlack) << x;

    // The title painter names it at x + 2 of the title, on silver.
    plat::Bitmap titulo(400, 20), esperado(400, 20);
    PintarTituloMaestro(titulo.canvas(), QRect(0, 0, 310, 18), proyecto);
    esperado.canvas().setFont(titulo.canvas().font().Font);
    esperado.canvas().brush().Color = plat::clSilver;
    esperado.canvas().TextOut(172, 2, QStringLiteral("Ene"));
    EXPECT_EQ(titulo.image(), esperado.image());
}

// ---- project query ----------------------------------------------------------------------------

TEST(PintorConsulta, ProjectRowClampsItsSpanIntoTheHorizon)
{
    const struct
    {
        const char *descripcion;
        PlanProyecto plan;
        int x1, x2;
        int progreso;   // last x of the progress bar, -1 for none
        int color;
    } casos[] = {
        {"running past both ends", Span(kS0 - 5, kS0 + 15, 10, 5), 0, 500, 249, plat::clFuchsia},
        {"ended before the horizon", Span(kS0 - 20, kS0 - 10, 10, 10), 0, 50, 49, plat::clRed},
        {"no planned hours", Span(kS0 + 2, kS0 + 3, 0, 0), 100, 200, -1, plat::clGreen},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.descripcion);
        plat::Bitmap bitmap(520, 40);
        PintarProyectoConsulta(bitmap.canvas(), kCelda, kS0, kS0 + 9, ProyectoGantt{c.plan, 0}, false, kLejos);
        const QImage &imagen = bitmap.image();
        const int l = kCelda.left(), t = kCelda.top();
        const int medio = (c.x1 + c.x2) / 2;
        EXPECT_EQ(Color(imagen, l + medio, t + 4), plat::clGray);
        EXPECT_EQ(Color(imagen, l + medio, t + 12), plat::clGray);
        EXPECT_EQ(Color(imagen, l + medio, t + 2), plat::clWhite);
        EXPECT_NE(Color(imagen, l + c.x2 - 1, t + 4), plat::clWhite);
        if (c.x2 < 500)
            EXPECT_EQ(Color(imagen, l + c.x2, t + 4), plat::clWhite);
        for (int x = c.x1 + 1; x < c.x2 - 1; ++x) {
            const bool dentro = x < c.progreso;
            ASSERT_EQ(Color(imagen, l + x, t + 8) == c.color, dentro) << x;
        }
    }
}

TEST(PintorConsulta, DeliveryMarkIsCentredOnItsDay)
{
    plat::Bitmap bitmap(520, 40);
    PintarProyectoConsulta(bitmap.canvas(), kCelda, kS0, kS0 + 9, ProyectoGantt{Span(0, 0), kS0 + 4}, false, kLejos);
    EXPECT_EQ(bitmap.canvas().pen().Color, plat::clSilver);
    EXPECT_EQ(bitmap.canvas().brush().Style, plat::bsSolid);
    const QImage &imagen = bitmap.image();
    const int l = kCelda.left(), t = kCelda.top();
    EXPECT_EQ(Color(imagen, l + 198, t + 8), plat::clRed);
    EXPECT_EQ(Color(imagen, l + 202, t + 8), plat::clRed);
    EXPECT_EQ(Color(imagen, l + 200, t + 6), plat::clRed);
    EXPECT_EQ(Color(imagen, l + 200, t + 10), plat::clRed);
    EXPECT_NE(Color(imagen, l + 200, t + 8), plat::clRed);       // hollow
    EXPECT_NE(Color(imagen, l + 197, t + 8), plat::clRed);
    EXPECT_NE(Color(imagen, l + 203, t + 8), plat::clRed);
}

TEST(PintorConsulta, ChapterRowUsesTheScaleRoutine)
{
    plat::Bitmap bitmap(520, 40);
    PintarCapituloConsulta(bitmap.canvas(), kCelda, Span(kS0, kS0 + 9),
                           CapituloGantt{Linea(QStringLiteral("Terminado")), Span(kS0 + 2, kS0 + 3)}, true, kLejos);
    EXPECT_EQ(bitmap.canvas().pen().Color, plat::clSilver);
    EXPECT_EQ(bitmap.canvas().brush().Color, plat::clWhite);
    const QImage &imagen = bitmap.image();
    const int l = kCelda.left(), t = kCelda.top();
    EXPECT_EQ(Color(imagen, l + 150, t + 4), plat::clRed);
    EXPECT_EQ(Color(imagen, l + 50, t + 9), plat::clSilver);    // the day tick halfway down
    EXPECT_EQ(Color(imagen, l + 350, t + 17), plat::clSilver);  // Monday
}

// ---- spans of no days and far dates ------------------------------------------------------------

TEST(EscalaTiempo, SpansOfNoDaysDrawNothingAndFarDatesDoNotOverflow)
{
    for (const double s1 : {kS0 - 1, kS0 - 400}) {
        plat::Bitmap bitmap(520, 40);
        DibujarEscalaTiempo(bitmap.canvas(), kCelda, kS0, s1, QStringLiteral("Dias,Semanas,Meses,Hoy"), kS0);
        EXPECT_TRUE(Blanca(bitmap.image()));
        const CapituloGantt capitulo{Linea(QStringLiteral("50")), Span(kS0, kS0 + 3)};
        PintarCapituloMaestro(bitmap.canvas(), kCelda, Span(kS0, s1), capitulo, true, kS0);
        PintarCapituloConsulta(bitmap.canvas(), kCelda, Span(kS0, s1), capitulo, true, kS0);
        PintarProyectoConsulta(bitmap.canvas(), kCelda, kS0, s1, ProyectoGantt{Span(kS0, kS0 + 3, 1, 1), kS0 + 1}, true,
                               kS0);
        PintarBandaCapitulo(bitmap.canvas(), QSize(500, 15), Span(kS0, s1), capitulo, kS0);
        EXPECT_TRUE(Blanca(bitmap.image()));
    }
    // A one-day span and today millennia away: the line stays out of the cell.
    plat::Bitmap bitmap(520, 40);
    PintarCapituloMaestro(bitmap.canvas(), kCelda, Span(kS0, kS0), CapituloGantt{kTitulo, Span(0, 0)}, false,
                          kS0 + 3000000);
    DibujarEscalaTiempo(bitmap.canvas(), kCelda, kS0, kS0, QStringLiteral("Hoy"), -3000000);
    for (int x = 1; x < bitmap.width(); ++x)
        ASSERT_EQ(ContarEnColumna(bitmap.image(), x, plat::clFuchsia), 0) << x;
}

TEST(EscalaTiempo, OptionsChooseTheMarks)
{
    // 31 days of January 2025 over 310 pixels, the 1st a Wednesday: Monday the 6th at 50.
    const double s0 = Dia("2025-01-01");
    const QRect r(0, 0, 310, 20);
    const struct
    {
        const char *opciones;
        bool dias, semanas, lineaMes, nombreMes;
    } casos[] = {
        {"Dias,Semanas,Meses,Hoy", true, true, true, true},
        {"Semanas,Linea Meses", false, true, true, false},
        {"Cabecera Meses", false, false, false, true},
    };
    for (const auto &c : casos) {
        SCOPED_TRACE(c.opciones);
        plat::Bitmap bitmap(320, 20);
        DibujarEscalaTiempo(bitmap.canvas(), r, s0, s0 + 30, QString::fromUtf8(c.opciones), kLejos);
        const QImage &imagen = bitmap.image();
        EXPECT_EQ(Color(imagen, 100, 10) == plat::clSilver, c.dias);
        EXPECT_EQ(Color(imagen, 50, 19) == plat::clSilver, c.semanas);
        EXPECT_EQ(Color(imagen, 0, 19) == plat::clBlack, c.lineaMes);
        EXPECT_EQ(Color(imagen, 2, 2) == plat::clSilver, c.nombreMes);   // the name's silver ground
    }
}

// November 2025 and the 1st of December over 310 pixels: December's line is 10 pixels from
// the edge, and its name is moved back to end there whole, in the query's scale as in the
// master's title.
TEST(EscalaTiempo, TheLastMonthsNameEndsWholeInsideTheScale)
{
    const double s0 = Dia("2025-11-01");
    const QRect r(0, 0, 310, 18);
    plat::Bitmap escala(400, 20), titulo(400, 20), esperado(400, 20);
    DibujarEscalaTiempo(escala.canvas(), r, s0, s0 + 30, QStringLiteral("Meses,Cabecera Meses"), kLejos);
    PintarTituloMaestro(titulo.canvas(), r, Span(s0, s0 + 30));
    plat::Canvas &c = esperado.canvas();
    c.setFont(escala.canvas().font().Font);
    c.brush().Color = plat::clSilver;
    c.TextOut(2, 2, QStringLiteral("Nov"));
    c.TextOut(310 - c.TextWidth(QStringLiteral("Dic")), 2, QStringLiteral("Dic"));
    EXPECT_EQ(escala.image(), esperado.image());
    EXPECT_EQ(titulo.image(), esperado.image());
}

TEST(EscalaTiempo, DaysCloserThanTwoPixelsMarkEachDaysPixelAndNoOther)
{
    // 100 days over 150 pixels: ticks one and two pixels apart, neighbours drawn as runs.
    const QRect r(10, 0, 150, 20);
    plat::Bitmap bitmap(170, 20);
    DibujarEscalaTiempo(bitmap.canvas(), r, kS0, kS0 + 99, QStringLiteral("Dias"), kLejos);
    QSet<int> marcados;
    for (double dia = kS0; dia <= kS0 + 99; dia += 1)
        marcados.insert(r.left() + PosicionPixel((dia - kS0) * 150 / 100));
    for (int x = 0; x < bitmap.width(); ++x)
        ASSERT_EQ(Color(bitmap.image(), x, 10) == plat::clSilver, marcados.contains(x)) << x;
}

TEST(EscalaTiempo, AOneDaySpanTicksItsLeftEdgeAndTodayIsAFullMagentaLine)
{
    // S = E: the day spans the whole rectangle and its tick sits on the left edge.
    const double s0 = Dia("2025-01-15");
    plat::Bitmap dia(120, 20);
    DibujarEscalaTiempo(dia.canvas(), QRect(10, 0, 100, 20), s0, s0, QStringLiteral("Dias"), kLejos);
    EXPECT_EQ(Color(dia.image(), 10, 10), plat::clSilver);
    for (int x = 11; x < 120; ++x)
        ASSERT_EQ(Color(dia.image(), x, 10), plat::clWhite) << x;

    // Today at noon of the 11th day of 31 over 310 pixels: x = 10.5 x 10 = 105, top to bottom.
    plat::Bitmap mes(320, 20);
    const double enero = Dia("2025-01-01");
    DibujarEscalaTiempo(mes.canvas(), QRect(0, 0, 310, 20), enero, enero + 30, QStringLiteral("Hoy"), enero + 10.5);
    EXPECT_EQ(ContarEnColumna(mes.image(), 105, plat::clFuchsia), 20);
    EXPECT_EQ(ContarEnColumna(mes.image(), 104, plat::clFuchsia), 0);
    EXPECT_EQ(ContarEnColumna(mes.image(), 106, plat::clFuchsia), 0);
}

// ---- Gantt listing ----------------------------------------------------------------------------

TEST(BandasGantt, BandsSayTheirLabelAndHeight)
{
    const BandaGantt titulo = BandaGantt::deCapitulo(QStringLiteral("0001"), kTitulo);
    EXPECT_EQ(titulo.Etiqueta, QStringLiteral("0001"));
    EXPECT_TRUE(titulo.Negrita);
    EXPECT_EQ(titulo.Alto, 20);
    EXPECT_EQ(titulo.ArribaEtiqueta, 5);
    const BandaGantt linea = BandaGantt::deCapitulo(QStringLiteral("Muros"), Linea(QString()));
    EXPECT_FALSE(linea.Negrita);
    EXPECT_EQ(linea.Alto, 15);
    EXPECT_EQ(linea.ArribaEtiqueta, 0);
    EXPECT_EQ(BandaGantt::deProyecto(QStringLiteral("P7"), QStringLiteral("Obras Sur")).Etiqueta,
              QStringLiteral("P7 - Obras Sur"));
}

TEST(BandasGantt, BandPicturesDrawBarsAndScaleFromTheirOrigin)
{
    plat::Bitmap capitulos(500, 15);
    // A previous band's drawing is cleared away.
    capitulos.canvas().brush().Color = plat::clRed;
    capitulos.canvas().FillRect(QRect(0, 0, 500, 15));
    capitulos.canvas().brush().Color = plat::clWhite;
    PintarBandaCapitulo(capitulos.canvas(), QSize(500, 15), Span(kS0, kS0 + 9),
                        CapituloGantt{Linea(QStringLiteral("25")), Span(kS0 + 2, kS0 + 3)}, kLejos);
    EXPECT_EQ(capitulos.canvas().pen().Color, plat::clSilver);
    EXPECT_EQ(capitulos.canvas().brush().Color, plat::clWhite);
    const QImage &c = capitulos.image();
    EXPECT_EQ(Color(c, 150, 2), plat::clBlue);
    EXPECT_EQ(Color(c, 150, 1), plat::clSilver);   // the silver outline
    EXPECT_EQ(Color(c, 150, 0), plat::clWhite);
    EXPECT_EQ(Color(c, 450, 2), plat::clWhite);

    plat::Bitmap proyectos(500, 15);
    PintarBandaProyecto(proyectos.canvas(), QSize(500, 15), kS0, kS0 + 9,
                        ProyectoGantt{Span(kS0 + 2, kS0 + 5, 10, 10), kS0 + 8}, kLejos);
    EXPECT_EQ(proyectos.canvas().pen().Color, plat::clSilver);
    const QImage &p = proyectos.image();
    EXPECT_EQ(Color(p, 150, 2), plat::clGray);
    EXPECT_EQ(Color(p, 150, 6), plat::clRed);      // all hours achieved
    EXPECT_EQ(Color(p, 398, 8), plat::clRed);      // the delivery mark at day 8

    plat::Bitmap cabecera(500, 15);
    PintarCabeceraInforme(cabecera.canvas(), QSize(500, 15), Dia("2024-04-20"), Dia("2024-05-09"));
    const QImage &h = cabecera.image();
    EXPECT_EQ(ContarEnColumna(h, 275, plat::clBlack), 0);   // no month line on 1 May
    int texto = 0;
    for (int x = 277; x < 300; ++x)
        texto += ContarEnColumna(h, x, plat::clSilver) < h.height();
    EXPECT_GT(texto, 5);                                     // "May" written beside it
    EXPECT_EQ(ContarEnColumna(h, 100, plat::clSilver), h.height());
}

// As a report keeps it: a drawing of the band's picture.
TEST(BandasGantt, ABandRecordedAsAPictureReplaysAsPaintedOnABitmap)
{
    const ProyectoGantt proyecto{Span(kS0 + 2, kS0 + 5, 10, 6), kS0 + 8};
    plat::Bitmap directo(500, 15);
    PintarBandaProyecto(directo.canvas(), QSize(500, 15), kS0, kS0 + 9, proyecto, kS0 + 4.5);

    plat::Drawing imagenBanda;
    {
        QPainter grabacion(&imagenBanda);
        plat::Canvas canvas(&grabacion);
        PintarBandaProyecto(canvas, QSize(500, 15), kS0, kS0 + 9, proyecto, kS0 + 4.5);
    }
    QImage reproducida(500, 15, QImage::Format_RGB32);
    reproducida.fill(Qt::white);
    {
        QPainter p(&reproducida);
        imagenBanda.play(p);
    }
    const QImage &esperada = directo.image();
    int distintos = 0;
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 500; ++x)
            distintos += esperada.pixel(x, y) != reproducida.pixel(x, y);
    EXPECT_EQ(distintos, 0);
}
