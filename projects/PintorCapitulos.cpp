#include "projects/PintorCapitulos.h"

#include "platform/ui/Canvas.h"
#include "platform/ui/Colors.h"
#include "projects/PintoresGantt.h"

namespace {

void Texto(plat::Canvas &canvas, const QRect &celda, int x, const QString &texto)
{
    canvas.TextRect(celda, x, celda.top() + 2, texto);
}

// A chapter figure: silver when the line has none of its own.
void Figura(plat::Canvas &canvas, const QRect &celda, int x, const QString &texto, bool propia)
{
    const int color = canvas.font().Color;
    if (!propia)
        canvas.font().Color = plat::clSilver;
    Texto(canvas, celda, x, texto);
    canvas.font().Color = color;
}

// Where a text starts to end two pixels inside the cell's right edge.
int AlineadoDerecha(plat::Canvas &canvas, const QRect &celda, const QString &texto)
{
    return celda.left() + celda.width() - 2 - canvas.TextWidth(texto);
}

bool EsFiguraCapitulo(const QString &campo)
{
    return campo == QLatin1String("FechaInicio") || campo == QLatin1String("FechaFinal")
        || campo == QLatin1String("TiempoPrevisto");
}

} // namespace

int ColorTextoAvance(const QString &gradoAvance)
{
    const int color = ColorAvanceCapitulo(gradoAvance);
    return color == plat::clGreen ? plat::clBlack : color;
}

QString SangriaCapitulo(const QString &capitulo)
{
    const qsizetype puntos = capitulo.count(u'.');
    return puntos < 2 ? QString() : QString(2 * puntos, u' ');
}

bool PintarCeldaCapitulos(plat::Canvas &canvas, const QRect &celda, const QString &campo, const QString &texto,
                          const FilaCapitulos &fila)
{
    PrepararFuenteLinea(canvas, fila.Linea);
    const int izquierda = celda.left() + 2;
    if (campo == QLatin1String("DescripcionAmpliada"))
        return false;
    if (campo == QLatin1String("GradoAvance")) {
        canvas.font().Color = ColorTextoAvance(texto);
        Texto(canvas, celda, izquierda, texto);
    } else if (campo == QLatin1String("Capitulo")) {
        const QString sangria = SangriaCapitulo(texto);
        Texto(canvas, celda, sangria.isEmpty() ? izquierda : celda.left(), sangria + texto);
    } else if (fila.Editada && EsFiguraCapitulo(campo)) {
        Texto(canvas, celda, campo == QLatin1String("TiempoPrevisto") ? AlineadoDerecha(canvas, celda, texto) : izquierda,
              texto);
    } else if (campo == QLatin1String("FechaInicio")) {
        Figura(canvas, celda, izquierda, fila.FechaInicioCapitulo, fila.Linea.FechaInicio != 0);
    } else if (campo == QLatin1String("FechaFinal")) {
        Figura(canvas, celda, izquierda, fila.FechaFinalCapitulo, fila.Linea.FechaFinal != 0);
    } else if (campo == QLatin1String("TiempoPrevisto")) {
        // Right-aligned by the width of the text drawn, so that it always ends in the cell.
        const QString &total = fila.TiempoPrevistoCapitulo;
        Figura(canvas, celda, AlineadoDerecha(canvas, celda, total), total, fila.Linea.TiempoPrevisto != 0);
    } else if (campo == QLatin1String("Importe")) {
        Texto(canvas, celda, AlineadoDerecha(canvas, celda, texto), texto);
    } else {
        Texto(canvas, celda, izquierda, texto);
    }
    return true;
}
