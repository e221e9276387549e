#include "projects/proyectos/Proymodu.h"

#include "GENEW/data/modulo/DibujarEscalaTiempo.h"
#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Dialect.h"
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

PlanProyecto TMDProyectos::CalcularPlanProyecto(const QString &codigoProyecto, const QString &capitulo,
                                                const FuenteEnMano &enMano)
{
    plat::Connection *conexion = conexionEmpresa();
    if (!conexion)
        return PlanVacio();
    try {
        Memoria &m = memoria(*conexion);
        const std::pair<QString, QString> clave(codigoProyecto, capitulo);
        if (const auto hecho = m.planes.find(clave); hecho != m.planes.end())
            return hecho->second;
        const std::optional<ProyectoLeido> &proyecto = proyectoLeido(m, *conexion, codigoProyecto, enMano);
        PlanProyecto plan = PlanVacio();
        if (proyecto) {
            CalculoPlan calculo = capitulo.isEmpty()
                ? CalculoPlan::deProyecto(proyecto->aceptacion, proyecto->entrega, proyecto->finalizacion)
                : CalculoPlan::deCapitulo();
            recorrerLineas(*proyecto, capitulo, [&](const LineaPlan &linea) { calculo.anadir(linea); });
            plan = calculo.resultado();
        }
        m.planes.emplace(clave, plan);
        return plan;
    } catch (const gp::Error &) {
        return PlanVacio();
    }
}

bool TMDProyectos::TieneDocumentos(const QString &tabla, const QString &clave)
{
    plat::Connection *conexion = conexionEmpresa();
    if (!conexion)
        return false;
    constexpr int kMaximoGuardadas = 1000;
    const std::optional<QSet<QString>> *claves = nullptr;
    gp::capturarFallo([&] {
        if (!conexion->dialect().exactTextEquality())
            return;
        auto &porTabla = documentados_.current(*conexion, {ModuloDatos->NombreTablaSQL(QStringLiteral("DOCUTRON"))});
        if (const auto leidas = porTabla.find(tabla); leidas != porTabla.end()) {
            claves = &leidas->second;
            return;
        }
        // A company whose documents' table was never made has none: asking makes none.
        const ResultadoSentenciaSQL resultado = ModuloDatos->EjecutarSentenciaSQL(
            conexion->dialect().selectTop(QStringLiteral("SELECT ClaveTabla FROM DOCUTRON WHERE NombreTabla = ")
                                              + Entrecomillar(tabla),
                                          kMaximoGuardadas + 1),
            QString(), OpcionSQL::NoCrearTabla);
        if (resultado.fallo && resultado.fallo.tipo != gp::DatabaseErrorKind::MissingTable)
            return;
        std::optional<QSet<QString>> leidas;
        const QStringList filas = resultado.fallo ? QStringList() : resultado.respuesta.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        if (filas.size() <= kMaximoGuardadas)
            leidas = QSet<QString>(filas.begin(), filas.end());
        claves = &porTabla.emplace(tabla, std::move(leidas)).first->second;
    });
    if (claves && *claves)
        return (*claves)->contains(clave);
    return ModuloDatos->TieneDocumentacionElectronica(tabla, clave);
}

PlanHorizonte TMDProyectos::CalcularPlanHorizonte(const QString &codigoProyecto, const QString &capitulo,
                                                  const QDateTime &desde, const QDateTime &hasta)
{
    plat::Connection *conexion = conexionEmpresa();
    if (!conexion)
        return {};
    try {
        const std::optional<ProyectoLeido> &proyecto = proyectoLeido(memoria(*conexion), *conexion, codigoProyecto, {});
        CalculoHorizonte calculo(NumeroDia(desde), NumeroDia(hasta));
        if (proyecto)
            recorrerLineas(*proyecto, capitulo, [&](const LineaPlan &linea) { calculo.anadir(linea); });
        return calculo.resultado();
    } catch (const gp::Error &) {
        return {};
    }
}

TMDProyectos::Memoria &TMDProyectos::memoria(plat::Connection &conexion)
{
    return memoria_.current(conexion, {nombreTabla(*Proyecto), nombreTabla(*LProyecto)});
}

void TMDProyectos::anadirLinea(ProyectoLeido &proyecto, const QVariant &capitulo, const LineaPlan &linea)
{
    if (!capitulo.isNull())
        proyecto.porCapitulo.emplace_back(capitulo.toString().toUtf8(), int(proyecto.lineas.size()));
    proyecto.lineas.push_back(linea);
}

void TMDProyectos::ordenarCapitulos(ProyectoLeido &proyecto)
{
    std::stable_sort(proyecto.porCapitulo.begin(), proyecto.porCapitulo.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
}

const std::optional<TMDProyectos::ProyectoLeido> &TMDProyectos::proyectoLeido(Memoria &memoria,
                                                                              plat::Connection &conexion,
                                                                              const QString &codigoProyecto,
                                                                              const FuenteEnMano &enMano)
{
    if (const auto hecho = memoria.leidos.find(codigoProyecto); hecho != memoria.leidos.end())
        return hecho->second;
    if (std::optional<ProyectoEnMano> tenido = enMano ? enMano() : std::nullopt) {
        ProyectoLeido proyecto{DiaDeValor(tenido->aceptacion), DiaDeValor(tenido->entrega),
                               DiaDeValor(tenido->finalizacion), {}, {}};
        for (const LineaEnMano &l : tenido->lineas)
            anadirLinea(proyecto, l.capitulo,
                        LineaPlan{DiaDeValor(l.fechaInicio), DiaDeValor(l.fechaFinal), l.tiempoPrevisto.toDouble(),
                                  l.gradoAvance.toString()});
        ordenarCapitulos(proyecto);
        return memoria.leidos.emplace(codigoProyecto, std::move(proyecto)).first->second;
    }
    // The project's dates with its lines in the order of index Clave2 (chapter, then line), all
    // of them, those without a chapter number too; a project without lines comes as one row
    // of dates.
    const QString sql =
        QStringLiteral("SELECT p.FechaAceptacion, p.FechaEntrega, p.FechaFinalizacion, l.FechaInicio, l.FechaFinal, "
                       "l.TiempoPrevisto, l.GradoAvance, l.Capitulo, l.Linea FROM %1 p LEFT JOIN %2 l "
                       "ON l.CodigoProyecto = p.Codigo WHERE p.Codigo = :codigo ORDER BY l.Capitulo, l.Linea")
            .arg(nombreTabla(*Proyecto), nombreTabla(*LProyecto));
    const std::unique_ptr<plat::QueryCursor> filas =
        conexion.openQuery(sql, {{QStringLiteral("codigo"), codigoProyecto}});
    std::optional<ProyectoLeido> proyecto;
    while (filas->next()) {
        if (!proyecto)
            proyecto = ProyectoLeido{DiaDeValor(filas->value(0)), DiaDeValor(filas->value(1)),
                                     DiaDeValor(filas->value(2)), {}, {}};
        if (filas->value(8).isNull())
            continue;   // the project's row alone: it has no lines
        anadirLinea(*proyecto, filas->value(7),
                    LineaPlan{DiaDeValor(filas->value(3)), DiaDeValor(filas->value(4)), filas->value(5).toDouble(),
                              filas->value(6).toString()});
    }
    if (proyecto)
        ordenarCapitulos(*proyecto);
    return memoria.leidos.emplace(codigoProyecto, std::move(proyecto)).first->second;
}

void TMDProyectos::recorrerLineas(const ProyectoLeido &proyecto, const QString &capitulo,
                                  const std::function<void(const LineaPlan &)> &anadir)
{
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
