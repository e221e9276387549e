#pragma once
#include "platform/ui/DataModule.h"
#include "platform/ui/data/DataSetComponents.h"
#include "platform/ui/data/DataSource.h"
#include "platform/data/engine/HeldUntilChanged.h"
#include "projects/proyectos/PlanProyecto.h"

#include <QDateTime>
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QVariant>
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
// The calculations run inside paint handlers, twice per Gantt cell, and for every line a
// grid shows or an edit touches: they show nothing and leave every table component alone.
// Each project's dates and lines are read with one bound statement on the company connection
// (or taken from a window that holds all of them, as the master's chapter grid does) and kept, with every span worked out from them, until the program changes PROYECT or
// LPROYECT or reads either anew (a refresh; see plat::TableChanges): another program's save
// shows after a refresh, as it does in the grids.
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

    // A project's stored dates and every one of its lines as a window holds them (the rows
    // its grid shows): they serve the plan as a read of them would.
    struct LineaEnMano
    {
        QVariant fechaInicio, fechaFinal, tiempoPrevisto, gradoAvance;
        QVariant capitulo;   // null: a line without a chapter number
    };
    struct ProyectoEnMano
    {
        QVariant aceptacion, entrega, finalizacion;
        std::vector<LineaEnMano> lineas;
    };
    // The project as a window holds it; nullopt when it does not hold all of it.
    using FuenteEnMano = std::function<std::optional<ProyectoEnMano>()>;

    // The span and hours of a project (empty chapter) or of a chapter and its sub-chapters;
    // zeros when the project does not exist or a table cannot be opened. What `enMano`
    // gives, when it gives it, is taken instead of reading the project.
    PlanProyecto CalcularPlanProyecto(const QString &codigoProyecto, const QString &capitulo,
                                      const FuenteEnMano &enMano = {});
    // Whether the record of the table has electronic documents. The keys of the table's records
    // that have any are read once (up to 1,000 of them) and kept until the program changes
    // DOCUTRON or reads anew; beyond that, or where the engine's "=" on texts is not exact,
    // each record is asked alone.
    bool TieneDocumentos(const QString &tabla, const QString &clave);
    // The hours of the project or chapter that fall between Desde and Hasta.
    PlanHorizonte CalcularPlanHorizonte(const QString &codigoProyecto, const QString &capitulo,
                                        const QDateTime &desde, const QDateTime &hasta);

private:
    // A project's dates and its lines as one walk reads them, and those with a chapter number
    // ordered by its bytes, as the engine's binary comparison orders them: any chapter's lines
    // are a range of them.
    struct ProyectoLeido
    {
        double aceptacion = 0, entrega = 0, finalizacion = 0;
        std::vector<LineaPlan> lineas;
        std::vector<std::pair<QByteArray, int>> porCapitulo;
    };
    // What is kept of the project and line tables.
    struct Memoria
    {
        std::map<QString, std::optional<ProyectoLeido>> leidos;   // none: the project does not exist
        std::map<std::pair<QString, QString>, PlanProyecto> planes;
    };
    plat::Connection *conexionEmpresa() const;
    QString nombreTabla(const plat::TableComponent &tabla) const;
    // The memory, emptied first when either table changed since it was filled.
    Memoria &memoria(plat::Connection &conexion);
    // The project as stored, kept in the memory; raises gp::Error when it cannot be read
    // (nothing is kept then).
    const std::optional<ProyectoLeido> &proyectoLeido(Memoria &memoria, plat::Connection &conexion,
                                                      const QString &codigoProyecto, const FuenteEnMano &enMano);
    static void anadirLinea(ProyectoLeido &proyecto, const QVariant &capitulo, const LineaPlan &linea);
    static void ordenarCapitulos(ProyectoLeido &proyecto);
    // The chapter's lines in chapter order (every line of the project for an empty chapter).
    static void recorrerLineas(const ProyectoLeido &proyecto, const QString &capitulo,
                               const std::function<void(const LineaPlan &)> &anadir);

    plat::HeldUntilChanged<Memoria> memoria_;
    // The keys with documents per table (none: too many to keep), held while DOCUTRON stays.
    plat::HeldUntilChanged<std::map<QString, std::optional<QSet<QString>>>> documentados_;
};

extern TMDProyectos *MDProyectos;

// The module's life as the main window manages it: made (and created) into MDProyectos,
// replacing an earlier one, and freed.
TMDProyectos &CrearMDProyectos();
void LiberarMDProyectos();
