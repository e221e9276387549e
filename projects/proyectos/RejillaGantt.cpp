#include "projects/proyectos/RejillaGantt.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/data/DBGrid.h"
#include "projects/proyectos/DibujoGantt.h"
#include "projects/proyectos/Proymodu.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>

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

// A screen's rows ask for their chapters' spans (the calculated fields of rows read as it
// paints, and each Gantt cell): the paint runs inside one pass of plans, so that each project
// on the screen has its lines read once for the screen instead of once per chapter asked.
bool RejillaGantt::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Paint || watched != rejilla_.viewport() || pintando_)
        return false;
    plan_.reset();
    if (!MDProyectos)
        return false;
    {
        const QScopedValueRollback enPintura(pintando_, true);
        const TMDProyectos::PasadaPlanes pasada(*MDProyectos);
        QCoreApplication::sendEvent(watched, event);
    }
    plan_.reset();
    return true;
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
