#pragma once
#include "platform/ui/DataModule.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "projects/PlanProyecto.h"

#include <QDateTime>
#include <QString>
#include <functional>

// The project data module: the customers, projects and project lines, and the two plan
// calculations every project view uses. The main window creates it after the shared data
// module, once a company is open. The calculations show nothing and leave the callers'
// own tables alone: every call walks the lines as they are stored at that moment.
class TMDProyectos : public plat::DataModule
{
    Q_OBJECT
public:
    explicit TMDProyectos(QObject *parent = nullptr);
    ~TMDProyectos() override;

    plat::TableComponent *LUCliente;
    plat::DataSource *DSLUCliente;
    plat::TableComponent *Proyecto;
    plat::TableComponent *LProyecto;

    void ModuloDatosCreate(QObject *Sender);

    // The span and hours of a project (empty chapter) or of a chapter and its sub-chapters;
    // zeros when the project does not exist or a table cannot be opened.
    PlanProyecto CalcularPlanProyecto(const QString &codigoProyecto, const QString &capitulo);
    // The hours of the project or chapter that fall between Desde and Hasta.
    PlanHorizonte CalcularPlanHorizonte(const QString &codigoProyecto, const QString &capitulo,
                                        const QDateTime &desde, const QDateTime &hasta);

private:
    // Walks LProyecto over the chapter's lines in chapter order (every line of the project
    // for an empty chapter); false when the walk could not be made.
    bool recorrerLineas(const QString &codigoProyecto, const QString &capitulo,
                        const std::function<void(const LineaPlan &)> &anadir);
};

extern TMDProyectos *MDProyectos;

// The module's life as the main window manages it: made (and created) into MDProyectos,
// replacing an earlier one, and freed.
TMDProyectos &CrearMDProyectos();
void LiberarMDProyectos();
