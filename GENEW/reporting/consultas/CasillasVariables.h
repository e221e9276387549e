#pragma once
#include "GENEW/reporting/consultas/PanelVariables.h"

#include <QList>

class QWidget;
namespace plat {
class Edit;
class Form;
class Label;
} // namespace plat

// The labels and value boxes of a variables panel as designed, made by the window into the
// panel: labels in navy (bold when asked), boxes named as designed with their first values,
// the hidden ones out of the tab order.
void crearCasillasVariables(plat::Form &ventana, QWidget &panel, const DisenoPanelVariables &diseno,
                            bool etiquetasNegrita, QList<plat::Label *> &etiquetas, QList<plat::Edit *> &cajas);
