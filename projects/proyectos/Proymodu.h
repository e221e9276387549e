#pragma once
#include "platform/ui/DataModule.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "projects/proyectos/PlanProyecto.h"

#include <QDateTime>
#include <QByteArray>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <vector>
#include <memory>

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
// pages of rows it does not use on every call). A run that asks for the same spans row
// after row (the Gantt listing, whose bands and calculated fields ask per line) keeps them
// for its length through a PasadaPlanes.
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

    // While one lives, each project's row and lines are read once, every span is worked
    // out from them once and answered from memory after that; lines changed meanwhile are
    // not seen. Nested ones share the outermost's. The module may go first.
    class PasadaPlanes
    {
    public:
        explicit PasadaPlanes(TMDProyectos &modulo);
        ~PasadaPlanes();
        PasadaPlanes(const PasadaPlanes &) = delete;
        PasadaPlanes &operator=(const PasadaPlanes &) = delete;

    private:
        QPointer<TMDProyectos> modulo_;
    };

private:
    // A project's dates as stored; none when the project does not exist.
    struct FechasProyecto
    {
        double aceptacion = 0, entrega = 0, finalizacion = 0;
    };
    // A project's lines as one walk reads them, and those with a chapter number ordered by
    // its bytes, as the engine's binary comparison orders them: any chapter's lines are a
    // range of them.
    struct LineasProyecto
    {
        std::vector<LineaPlan> lineas;
        std::vector<std::pair<QByteArray, int>> porCapitulo;
    };
    struct Memoria
    {
        std::map<QString, std::optional<FechasProyecto>> proyectos;
        std::map<QString, LineasProyecto> lineas;
        std::map<std::pair<QString, QString>, PlanProyecto> planes;
    };
    PlanProyecto leerPlan(plat::Connection &conexion, const QString &codigoProyecto, const QString &capitulo);
    std::optional<FechasProyecto> fechasProyecto(plat::Connection &conexion, const QString &codigoProyecto);
    plat::Connection *conexionEmpresa() const;
    QString nombreTabla(const plat::TableComponent &tabla) const;
    // The chapter's lines in chapter order (every line of the project for an empty
    // chapter); raises gp::Error when they cannot be read. While a PasadaPlanes lives the
    // project's lines are read once and every chapter's taken from them.
    void recorrerLineas(plat::Connection &conexion, const QString &codigoProyecto, const QString &capitulo,
                        const std::function<void(const LineaPlan &)> &anadir);
    void consultarLineas(plat::Connection &conexion, const QString &codigoProyecto, const QString &capitulo,
                         const std::function<void(const QVariant &capitulo, const LineaPlan &)> &anadir);
    const LineasProyecto &lineasProyecto(plat::Connection &conexion, const QString &codigoProyecto);

    std::unique_ptr<Memoria> memoria_;   // while a PasadaPlanes lives
    int pasadas_ = 0;
};

extern TMDProyectos *MDProyectos;

// The module's life as the main window manages it: made (and created) into MDProyectos,
// replacing an earlier one, and freed.
TMDProyectos &CrearMDProyectos();
void LiberarMDProyectos();
