#pragma once
#include "projects/proyectos/PlanProyecto.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <optional>
#include <utility>

namespace plat {
class DataSet;
class DBGrid;
class GridColumn;
} // namespace plat

// The column of a project grid that shows the Gantt bars.
inline const QString kColumnaGantt = QStringLiteral("Grafico");

// A grid of chapter lines with a Gantt column, as the project master and the project query
// paint it. Every row of a screen is drawn on its project's span, asked of the project module
// once per painted screen (the module keeps each project's lines until they change). The
// titles are the columns' captions, the Gantt column's the month names over the current
// project's span.
class RejillaGantt : public QObject
{
public:
    // Lives as long as the grid.
    explicit RejillaGantt(plat::DBGrid &rejilla);

    // The project's span for the screen being painted (MDProyectos must exist).
    const PlanProyecto &planProyecto(const QString &codigo);
    // The title of a column; the Gantt column's reads the code of `proyecto`'s current row,
    // and stays empty while that has none.
    void dibujarTitulo(const QRect &rect, const plat::GridColumn &columna, const plat::DataSet &proyecto) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    plat::DBGrid &rejilla_;
    std::optional<std::pair<QString, PlanProyecto>> plan_;
};
