#include "projects/proyectos/RejillaGantt.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/data/DBGrid.h"
#include "projects/proyectos/DibujoGantt.h"
#include "projects/proyectos/Proymodu.h"

#include <QEvent>

RejillaGantt::RejillaGantt(plat::DBGrid &rejilla) : QObject(&rejilla), rejilla_(rejilla)
{
    rejilla.viewport()->installEventFilter(this);
}

const PlanProyecto &RejillaGantt::planProyecto(const QString &codigo)
{
    if (!plan_ || plan_->first != codigo)
        plan_.emplace(codigo, MDProyectos->CalcularPlanProyecto(codigo, QString()));
    return plan_->second;
}

bool RejillaGantt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && watched == rejilla_.viewport())
        plan_.reset();
    return false;
}

void RejillaGantt::dibujarTitulo(const QRect &rect, const plat::GridColumn &columna, const plat::DataSet &proyecto) const
{
    plat::Canvas *canvas = rejilla_.canvas();
    if (!canvas)
        return;
    if (columna.FieldName != kColumnaGantt) {
        canvas->brush().Style = plat::bsClear;
        canvas->TextRect(rect, rect.left() + 2, rect.top() + 2, columna.TitleCaption);
        return;
    }
    if (proyecto.active() && !proyecto.isEmpty())
        DibujarTituloMaestro(*canvas, rect, proyecto.fieldByName(QStringLiteral("Codigo")).asString());
}
