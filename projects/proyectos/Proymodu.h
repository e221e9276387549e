#pragma once
#include "platform/ui/DataModule.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "projects/proyectos/PlanProyecto.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace plat {
class Connection;
}

// The project data module: the customers, projects and project lines, and the two plan
// calculations every project view uses. The main window creates it after the shared data
// module, once a company is open.
//
// The calculations run inside paint handlers, twice per Gantt cell: they show nothing,
// leave every table component alone and read the rows as stored at that moment, each with
// one bound statement on the company connection (a re-opened table would read three
// pages of rows it does not use on every call).
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
    plat::Connection *conexionEmpresa() const;
    QString nombreTabla(const plat::TableComponent &tabla) const;
    // The chapter's lines in chapter order (every line of the project for an empty
    // chapter); raises gp::Error when they cannot be read.
    void recorrerLineas(plat::Connection &conexion, const QString &codigoProyecto, const QString &capitulo,
                        const std::function<void(const LineaPlan &)> &anadir);
};

extern TMDProyectos *MDProyectos;

// The module's life as the main window manages it: made (and created) into MDProyectos,
// replacing an earlier one, and freed.
TMDProyectos &CrearMDProyectos();
void LiberarMDProyectos();
