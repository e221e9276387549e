#include "GENEW/reporting/graficos/PintorBarras.h"

#include "platform/ui/Canvas.h"

#include <QFontMetrics>

namespace {

// The largest font of the digit family whose line is no higher than the given height.
QFont letraCifras(int alto)
{
    QFont letra(QString::fromLatin1(kFuenteCifrasBarras));
    letra.setPixelSize(std::max(alto, 1));
    const int altoLinea = QFontMetrics(letra).height();
    if (altoLinea > alto && altoLinea > 0) {
        int tamano = std::max(1, int(qint64(alto) * alto / altoLinea));
        letra.setPixelSize(tamano);
        while (tamano > 1 && QFontMetrics(letra).height() > alto)
            letra.setPixelSize(--tamano);
    }
    return letra;
}

void pintarCifras(const PlanBarras &plan, plat::Canvas &canvas)
{
    if (plan.cifras.empty())
        return;
    canvas.setFont(letraCifras(plan.altoLetra));
    const QFontMetrics fm(canvas.font().Font);
    // The digits' ink starts one module below the bars.
    const int tinta = -fm.tightBoundingRect(QStringLiteral("0123456789")).top();
    const int margen = plan.altoLetra / 14;
    canvas.brush().Style = plat::bsClear;
    for (const CifraLegible &c : plan.cifras) {
        const QString texto(c.cifra);
        const int x = c.alineadaIzquierda ? c.celda.left()
                                          : c.celda.left() + (c.celda.width() - fm.horizontalAdvance(texto)) / 2;
        canvas.TextOut(x, c.celda.top() + margen + tinta - fm.ascent(), texto);
    }
}

} // namespace

void pintarBarras(const PlanBarras &plan, plat::Canvas &canvas, int colorBarras, int colorFondo,
                  const QRect &marcoNoCabe)
{
    const plat::Pen pen = canvas.pen();
    const plat::Brush brush = canvas.brush();
    const plat::CanvasFont font = canvas.font();

    canvas.brush() = plat::Brush{colorFondo, plat::bsSolid};
    if (plan.resultado == PlanBarras::Resultado::NoCabe) {
        if (!marcoNoCabe.isEmpty()) {
            canvas.pen() = plat::Pen{colorBarras, 1, plat::psSolid};
            canvas.Rectangle(marcoNoCabe);
        }
    } else if (plan.resultado == PlanBarras::Resultado::Dibujo) {
        if (plan.fondo)
            canvas.FillRect(*plan.fondo);
        for (const ElementoBarras &e : plan.elementos) {
            canvas.brush().Color = e.barra ? colorBarras : colorFondo;
            canvas.FillRect(e.rect);
        }
        canvas.brush().Color = colorBarras;
        for (const QRect &r : plan.barrasPortadoras)
            canvas.FillRect(r);
        canvas.font().Color = colorBarras;
        pintarCifras(plan, canvas);
    }

    canvas.pen() = pen;
    canvas.brush() = brush;
    canvas.font() = font;
}
