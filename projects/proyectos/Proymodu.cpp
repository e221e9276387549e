#include "projects/proyectos/Proymodu.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/QueryCursor.h"
#include "platform/ui/Event.h"

TMDProyectos *MDProyectos = nullptr;

namespace {

// The upper end of a chapter's range: every chapter number that begins with it sorts
// before this text in binary order.
const QString kFinCapitulo(20, u'z');

// A date as the engine answers it (a date-time, or ISO text on the embedded engine).
double DiaDeValor(const QVariant &valor)
{
    if (valor.isNull() || !valor.isValid())
        return 0;
    if (valor.typeId() == QMetaType::QString)
        return NumeroDia(FechaHoraISO(valor.toString()));
    if (valor.typeId() == QMetaType::QDate)
        return NumeroDia(FechaHora(valor.toDate()));
    return NumeroDia(FechaHoraDeReloj(valor.toDateTime()));
}

// Chapter numbers compare in the engine's binary order, whatever the server's collation.
QString CapituloBinario(const plat::Connection &conexion)
{
    return conexion.dialect().filterDialect().binaryText(QStringLiteral("Capitulo"));
}

PlanProyecto PlanVacio() { return PlanProyecto{FechaCero(), FechaCero(), 0, 0}; }

} // namespace

TMDProyectos::TMDProyectos(QObject *parent) : plat::DataModule(parent)
{
    setObjectName(QStringLiteral("MDProyectos"));
    LUCliente = make<plat::TableComponent>(QStringLiteral("LUCliente"), this);
    LUCliente->setTableName(QStringLiteral("CLIENTE"));
    DSLUCliente = make<plat::DataSource>(QStringLiteral("DSLUCliente"), this);
    DSLUCliente->setDataSet(&LUCliente->table());
    Proyecto = make<plat::TableComponent>(QStringLiteral("Proyecto"), this);
    Proyecto->setTableName(QStringLiteral("PROYECT"));
    LProyecto = make<plat::TableComponent>(QStringLiteral("LProyecto"), this);
    LProyecto->setTableName(QStringLiteral("LPROYECT"));
    OnCreate = plat::handler(this, &TMDProyectos::ModuloDatosCreate);
}

TMDProyectos::~TMDProyectos()
{
    if (MDProyectos == this)
        MDProyectos = nullptr;
}

void TMDProyectos::ModuloDatosCreate(QObject *)
{
    if (ModuloDatos && ModuloDatos->AbrirTabla(LUCliente->table()))
        LUCliente->table().setIndexFieldNames(QStringLiteral("Nombre"));
}

plat::Connection *TMDProyectos::conexionEmpresa() const
{
    return ModuloDatos && fGENEINIC ? &fGENEINIC->Database() : nullptr;
}

QString TMDProyectos::nombreTabla(const plat::TableComponent &tabla) const
{
    return ModuloDatos->NombreTablaSQL(tabla.tableName());
}

PlanProyecto TMDProyectos::CalcularPlanProyecto(const QString &codigoProyecto, const QString &capitulo)
{
    plat::Connection *conexion = conexionEmpresa();
    if (!conexion)
        return PlanVacio();
    if (!memoria_)
        return leerPlan(*conexion, codigoProyecto, capitulo);
    const std::pair<QString, QString> clave(codigoProyecto, capitulo);
    const auto hecho = memoria_->planes.find(clave);
    if (hecho != memoria_->planes.end())
        return hecho->second;
    const PlanProyecto plan = leerPlan(*conexion, codigoProyecto, capitulo);
    memoria_->planes.emplace(clave, plan);
    return plan;
}

PlanProyecto TMDProyectos::leerPlan(plat::Connection &conexion, const QString &codigoProyecto, const QString &capitulo)
{
    try {
        const std::optional<FechasProyecto> fechas = fechasProyecto(conexion, codigoProyecto);
        if (!fechas)
            return PlanVacio();
        CalculoPlan calculo = capitulo.isEmpty()
            ? CalculoPlan::deProyecto(fechas->aceptacion, fechas->entrega, fechas->finalizacion)
            : CalculoPlan::deCapitulo();
        recorrerLineas(conexion, codigoProyecto, capitulo, [&](const LineaPlan &linea) { calculo.anadir(linea); });
        return calculo.resultado();
    } catch (const gp::Error &) {
        return PlanVacio();
    }
}

std::optional<TMDProyectos::FechasProyecto> TMDProyectos::fechasProyecto(plat::Connection &conexion,
                                                                         const QString &codigoProyecto)
{
    if (memoria_) {
        const auto hecho = memoria_->proyectos.find(codigoProyecto);
        if (hecho != memoria_->proyectos.end())
            return hecho->second;
    }
    const plat::QueryResult proyecto = conexion.query(
        QStringLiteral("SELECT FechaAceptacion, FechaEntrega, FechaFinalizacion FROM %1 WHERE Codigo = :codigo")
            .arg(nombreTabla(*Proyecto)),
        {{QStringLiteral("codigo"), codigoProyecto}});
    std::optional<FechasProyecto> fechas;
    if (!proyecto.rows.isEmpty()) {
        const QVariantList &p = proyecto.rows.first();
        fechas = FechasProyecto{DiaDeValor(p.value(0)), DiaDeValor(p.value(1)), DiaDeValor(p.value(2))};
    }
    if (memoria_)
        memoria_->proyectos.emplace(codigoProyecto, fechas);
    return fechas;
}

TMDProyectos::PasadaPlanes::PasadaPlanes(TMDProyectos &modulo) : modulo_(&modulo)
{
    if (modulo.pasadas_++ == 0)
        modulo.memoria_ = std::make_unique<Memoria>();
}

TMDProyectos::PasadaPlanes::~PasadaPlanes()
{
    if (modulo_ && --modulo_->pasadas_ == 0)
        modulo_->memoria_.reset();
}

PlanHorizonte TMDProyectos::CalcularPlanHorizonte(const QString &codigoProyecto, const QString &capitulo,
                                                  const QDateTime &desde, const QDateTime &hasta)
{
    plat::Connection *conexion = conexionEmpresa();
    if (!conexion)
        return {};
    try {
        CalculoHorizonte calculo(NumeroDia(desde), NumeroDia(hasta));
        recorrerLineas(*conexion, codigoProyecto, capitulo, [&](const LineaPlan &linea) { calculo.anadir(linea); });
        return calculo.resultado();
    } catch (const gp::Error &) {
        return {};
    }
}

void TMDProyectos::recorrerLineas(plat::Connection &conexion, const QString &codigoProyecto, const QString &capitulo,
                                  const std::function<void(const LineaPlan &)> &anadir)
{
    if (!memoria_) {
        consultarLineas(conexion, codigoProyecto, capitulo, [&](const QVariant &, const LineaPlan &l) { anadir(l); });
        return;
    }
    const LineasProyecto &proyecto = lineasProyecto(conexion, codigoProyecto);
    if (capitulo.isEmpty()) {
        for (const LineaPlan &linea : proyecto.lineas)
            anadir(linea);
        return;
    }
    const QByteArray desde = capitulo.toUtf8(), hasta = (capitulo + kFinCapitulo).toUtf8();
    auto linea = std::lower_bound(proyecto.porCapitulo.begin(), proyecto.porCapitulo.end(), desde,
                                  [](const auto &l, const QByteArray &c) { return l.first < c; });
    for (; linea != proyecto.porCapitulo.end() && linea->first <= hasta; ++linea)
        anadir(proyecto.lineas[size_t(linea->second)]);
}

const TMDProyectos::LineasProyecto &TMDProyectos::lineasProyecto(plat::Connection &conexion,
                                                                 const QString &codigoProyecto)
{
    const auto hecho = memoria_->lineas.find(codigoProyecto);
    if (hecho != memoria_->lineas.end())
        return hecho->second;
    LineasProyecto leidas;
    consultarLineas(conexion, codigoProyecto, QString(), [&](const QVariant &capitulo, const LineaPlan &linea) {
        if (!capitulo.isNull())
            leidas.porCapitulo.emplace_back(capitulo.toString().toUtf8(), int(leidas.lineas.size()));
        leidas.lineas.push_back(linea);
    });
    std::stable_sort(leidas.porCapitulo.begin(), leidas.porCapitulo.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    return memoria_->lineas.emplace(codigoProyecto, std::move(leidas)).first->second;
}

void TMDProyectos::consultarLineas(plat::Connection &conexion, const QString &codigoProyecto, const QString &capitulo,
                                   const std::function<void(const QVariant &capitulo, const LineaPlan &)> &anadir)
{
    // The lines in the order of index Clave2 (project, chapter; the key breaks ties). The
    // whole project takes every line, those without a chapter number too.
    QString sql = QStringLiteral("SELECT FechaInicio, FechaFinal, TiempoPrevisto, GradoAvance, Capitulo FROM %1 "
                                 "WHERE CodigoProyecto = :codigo")
                      .arg(nombreTabla(*LProyecto));
    QVariantMap parametros{{QStringLiteral("codigo"), codigoProyecto}};
    if (!capitulo.isEmpty()) {
        const QString columna = CapituloBinario(conexion);
        sql += QStringLiteral(" AND %1 >= :desde AND %1 <= :hasta").arg(columna);
        parametros.insert(QStringLiteral("desde"), capitulo);
        parametros.insert(QStringLiteral("hasta"), capitulo + kFinCapitulo);
    }
    sql += QStringLiteral(" ORDER BY CodigoProyecto, Capitulo, Linea");
    const std::unique_ptr<plat::QueryCursor> lineas = conexion.openQuery(sql, parametros);
    while (lineas->next())
        anadir(lineas->value(4), LineaPlan{DiaDeValor(lineas->value(0)), DiaDeValor(lineas->value(1)),
                                           lineas->value(2).toDouble(), lineas->value(3).toString()});
}

TMDProyectos &CrearMDProyectos()
{
    LiberarMDProyectos();
    MDProyectos = plat::createDataModule<TMDProyectos>();
    return *MDProyectos;
}

void LiberarMDProyectos()
{
    if (MDProyectos)
        MDProyectos->Free();
    MDProyectos = nullptr;
}
