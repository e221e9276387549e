// The chapter grid's cells painted on an image.
#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "projects/PintorCapitulos.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

const QRect kCelda(10, 4, 90, 18);
const LineaPlan kTitulo{};
const LineaPlan kPropia{46000, 46010, 8, QString()};

// The cell painted on white, black text.
QImage Pintar(const QString &campo, const QString &texto, const FilaCapitulos &fila, const QRect &celda = kCelda)
{
    QImage imagen(120, 26, QImage::Format_RGB32);
    imagen.fill(Qt::white);
    plat::Canvas canvas(&imagen);
    canvas.brush().Color = plat::clWhite;
    canvas.font().Color = plat::clBlack;
    // Whole pixels of the text's colour, not blends.
    QFont letra = canvas.font().Font;
    letra.setStyleStrategy(QFont::NoAntialias);
    canvas.setFont(letra);
    PintarCeldaCapitulos(canvas, celda, campo, texto, fila);
    return imagen;
}

int ColorEn(const QImage &imagen, int x, int y) { return plat::fromQColor(QColor::fromRgb(imagen.pixel(x, y))); }

// How many pixels of the image have exactly the colour.
int Pixeles(const QImage &imagen, int color)
{
    int n = 0;
    for (int y = 0; y < imagen.height(); ++y)
        for (int x = 0; x < imagen.width(); ++x)
            n += ColorEn(imagen, x, y) == color;
    return n;
}

int NoBlancos(const QImage &imagen) { return imagen.width() * imagen.height() - Pixeles(imagen, plat::clWhite); }

// The leftmost and rightmost columns with anything drawn.
std::pair<int, int> Extension(const QImage &imagen)
{
    int izquierda = imagen.width(), derecha = -1;
    for (int x = 0; x < imagen.width(); ++x)
        for (int y = 0; y < imagen.height(); ++y)
            if (ColorEn(imagen, x, y) != plat::clWhite) {
                izquierda = std::min(izquierda, x);
                derecha = std::max(derecha, x);
            }
    return {izquierda, derecha};
}

FilaCapitulos Fila(const LineaPlan &linea) { return FilaCapitulos{linea, "02/11/2026", "27/11/2026", "1.234,56"}; }

} // namespace

// Progress is coloured by text comparison: "5" and "100" sort below "50".
TEST(PintorCapitulos, ProgressTextsTakeTheirColours)
{
    const struct
    {
        const char *grado;
        int color;
    } casos[] = {{"Terminado", plat::clRed}, {"50", plat::clFuchsia}, {"90", plat::clFuchsia}, {"25", plat::clBlue},
                 {"5", plat::clBlue},        {"100", plat::clBlue},   {"00", plat::clBlack},   {"", plat::clBlack}};
    for (const auto &c : casos) {
        SCOPED_TRACE(c.grado);
        EXPECT_EQ(ColorTextoAvance(QString::fromLatin1(c.grado)), c.color);
        if (*c.grado == 0)
            continue;
        const QImage imagen = Pintar("GradoAvance", QString::fromLatin1(c.grado), Fila(kPropia));
        EXPECT_GT(Pixeles(imagen, c.color), 0);
        for (int otro : {plat::clRed, plat::clFuchsia, plat::clBlue})
            if (otro != c.color)
                EXPECT_EQ(Pixeles(imagen, otro), 0);
    }
}

TEST(PintorCapitulos, HeadingLinesAreBoldAndDeepChaptersIndented)
{
    EXPECT_GT(NoBlancos(Pintar("Descripcion", "Estructura", Fila(kTitulo))),
              NoBlancos(Pintar("Descripcion", "Estructura", Fila(kPropia))));
    // Two blanks per "." from two "." on, drawn from the cell's left edge.
    EXPECT_EQ(SangriaCapitulo("1.2.3"), "    ");
    EXPECT_EQ(SangriaCapitulo("1.2"), "");
    QImage esperada(120, 26, QImage::Format_RGB32);
    esperada.fill(Qt::white);
    {
        plat::Canvas canvas(&esperada);
        QFont letra = canvas.font().Font;
        letra.setStyleStrategy(QFont::NoAntialias);
        canvas.setFont(letra);
        canvas.TextRect(kCelda, kCelda.left(), kCelda.top() + 2, QStringLiteral("    1.2.3"));
    }
    EXPECT_EQ(Pintar("Capitulo", "1.2.3", Fila(kPropia)), esperada);
    EXPECT_LE(Extension(Pintar("Capitulo", "1.2", Fila(kPropia))).first, kCelda.left() + 3);
}

// A heading shows its chapter's dates and hours in silver; a line with its own, in the
// text colour. The total always ends two pixels inside the cell's right edge.
TEST(PintorCapitulos, ChapterFiguresAreSilverOnHeadingsAndTheTotalEndsInsideTheCell)
{
    for (const char *campo : {"FechaInicio", "FechaFinal", "TiempoPrevisto"}) {
        SCOPED_TRACE(campo);
        EXPECT_GT(Pixeles(Pintar(campo, QString(), Fila(kTitulo)), plat::clSilver), 0);
        EXPECT_EQ(Pixeles(Pintar(campo, QString(), Fila(kPropia)), plat::clSilver), 0);
        EXPECT_GT(Pixeles(Pintar(campo, QString(), Fila(kPropia)), plat::clBlack), 0);
    }
    for (const char *total : {"0", "12,5", "1.234,56", "98.765.432,1"}) {
        SCOPED_TRACE(total);
        FilaCapitulos fila = Fila(kTitulo);
        fila.TiempoPrevistoCapitulo = QString::fromLatin1(total);
        const QRect ancha(10, 4, 100, 18);
        const auto [izquierda, derecha] = Extension(Pintar("TiempoPrevisto", "0", fila, ancha));
        EXPECT_GE(izquierda, ancha.left());
        EXPECT_LE(derecha, ancha.right() - 2);
        EXPECT_GE(derecha, ancha.right() - 5);
    }
    EXPECT_EQ(NoBlancos(Pintar("DescripcionAmpliada", "texto", Fila(kPropia))), 0);
}

// The line being typed shows its own dates and hours, not its chapter's figures (those of the
// stored lines, which a new line is not yet among); the hours end inside the cell.
TEST(PintorCapitulos, TheLineBeingEditedShowsWhatWasTyped)
{
    FilaCapitulos editada = Fila(kPropia);
    editada.Editada = true;
    EXPECT_EQ(Pintar("FechaInicio", "07/12/2026", editada), Pintar("Descripcion", "07/12/2026", editada));
    EXPECT_EQ(Pintar("FechaFinal", "09/12/2026", editada), Pintar("Descripcion", "09/12/2026", editada));
    EXPECT_NE(Pintar("FechaInicio", "07/12/2026", editada), Pintar("FechaInicio", "07/12/2026", Fila(kPropia)));
    // Nothing typed: nothing shown, where a stored line shows its chapter's date.
    EXPECT_EQ(NoBlancos(Pintar("FechaFinal", QString(), editada)), 0);
    EXPECT_GT(NoBlancos(Pintar("FechaFinal", QString(), Fila(kPropia))), 0);
    const QRect ancha(10, 4, 100, 18);
    const auto [izquierda, derecha] = Extension(Pintar("TiempoPrevisto", "7,5", editada, ancha));
    EXPECT_LE(derecha, ancha.right() - 2);
    EXPECT_GE(derecha, ancha.right() - 5);
    EXPECT_GT(izquierda, ancha.left() + 40) << "right-aligned";
    EXPECT_NE(Pintar("TiempoPrevisto", "7,5", editada, ancha), Pintar("TiempoPrevisto", "7,5", Fila(kPropia), ancha));
}
