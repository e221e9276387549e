#pragma once
#include "GENEW/reporting/graficos/PlanBarras.h"

namespace plat {
class Canvas;
}

// The font the human-readable digits are drawn with. Layouts store the name "Ariel"; fontconfig
// gives "Arial" its metric twin, whose digits fit seven modules each.
inline constexpr const char *kFuenteCifrasBarras = "Arial";

// Carries a plan out on a canvas: bars in the bar colour, spaces and the background in the
// control's colour, digits in the digit font. The canvas's pen, brush and font are as before
// afterwards. A symbol that does not fit draws the frame marcoNoCabe when one is given (the
// control's own canvas) and nothing otherwise.
void pintarBarras(const PlanBarras &plan, plat::Canvas &canvas, int colorBarras, int colorFondo,
                  const QRect &marcoNoCabe = QRect());
