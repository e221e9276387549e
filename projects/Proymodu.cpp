#include "projects/Proymodu.h"

#include "GENEW/data/DibujarEscalaTiempo.h"
#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/data/Field.h"
#include "platform/ui/Event.h"

TMDProyectos *MDProyectos = nullptr;

namespace {

// The upper end of a chapter's range: every chapter number that begins with it sorts
// before this text in the engine's binary order.
const QString kFinCapitulo(20, u'z');

double DiaCampo(const plat::Field &campo) { return campo.isNull() ? 0 : NumeroDia(campo.asDateTime()); }

// The calculations run inside paint handlers, once per cell: a table that cannot be
// re-opened must not raise a message window (and another on every repaint). While one
// lives, messages are dropped and questions answered "NO".
class SinMensajes : public SalidaMensajes
{
public:
    SinMensajes() : anterior_(instalarSalidaMensajes(this)) {}
    ~SinMensajes() override { instalarSalidaMensajes(anterior_); }
    SinMensajes(const SinMensajes &) = delete;
    SinMensajes &operator=(const SinMensajes &) = delete;

    QString mostrarMensaje(const QString &tipo, const QString &, const QString &) override
    {
        return tipo == QLatin1String("C") ? QStringLiteral("NO") : QString();
    }
    void mostrarProgreso(const QString &, const QString &, const QString &, const QString &) override {}

private:
    SalidaMensajes *anterior_;
};

bool AbrirEnSilencio(plat::TableDataSet &tabla)
{
    const SinMensajes silencio;
    return ModuloDatos && ModuloDatos->AbrirTabla(tabla);
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

PlanProyecto TMDProyectos::CalcularPlanProyecto(const QString &codigoProyecto, const QString &capitulo)
{
    plat::TableDataSet &proyecto = Proyecto->table();
    if (!AbrirEnSilencio(proyecto) || !AbrirEnSilencio(LProyecto->table()))
        return PlanVacio();
    try {
        if (!proyecto.findKey({codigoProyecto}))
            return PlanVacio();
        CalculoPlan calculo = capitulo.isEmpty()
            ? CalculoPlan::deProyecto(DiaCampo(proyecto.fieldByName(QStringLiteral("FechaAceptacion"))),
                                      DiaCampo(proyecto.fieldByName(QStringLiteral("FechaEntrega"))),
                                      DiaCampo(proyecto.fieldByName(QStringLiteral("FechaFinalizacion"))))
            : CalculoPlan::deCapitulo();
        if (!recorrerLineas(codigoProyecto, capitulo, [&](const LineaPlan &linea) { calculo.anadir(linea); }))
            return PlanVacio();
        return calculo.resultado();
    } catch (const gp::Error &) {
        return PlanVacio();
    }
}

PlanHorizonte TMDProyectos::CalcularPlanHorizonte(const QString &codigoProyecto, const QString &capitulo,
                                                  const QDateTime &desde, const QDateTime &hasta)
{
    if (!AbrirEnSilencio(LProyecto->table()))
        return {};
    CalculoHorizonte calculo(NumeroDia(desde), NumeroDia(hasta));
    if (!recorrerLineas(codigoProyecto, capitulo, [&](const LineaPlan &linea) { calculo.anadir(linea); }))
        return {};
    return calculo.resultado();
}

bool TMDProyectos::recorrerLineas(const QString &codigoProyecto, const QString &capitulo,
                                  const std::function<void(const LineaPlan &)> &anadir)
{
    plat::TableDataSet &lineas = LProyecto->table();
    try {
        lineas.setIndexName(ModuloDatos->NombreIndice(lineas, QStringLiteral("Clave2")));
        // The whole project takes every line, those without a chapter number too.
        if (capitulo.isEmpty())
            lineas.setRange({codigoProyecto}, {codigoProyecto});
        else
            lineas.setRange({codigoProyecto, capitulo}, {codigoProyecto, capitulo + kFinCapitulo});
        const plat::Field &inicio = lineas.fieldByName(QStringLiteral("FechaInicio"));
        const plat::Field &fin = lineas.fieldByName(QStringLiteral("FechaFinal"));
        const plat::Field &tiempo = lineas.fieldByName(QStringLiteral("TiempoPrevisto"));
        const plat::Field &grado = lineas.fieldByName(QStringLiteral("GradoAvance"));
        for (lineas.first(); !lineas.eof(); lineas.next()) {
            anadir(LineaPlan{DiaCampo(inicio), DiaCampo(fin), tiempo.asFloat(), grado.asString()});
        }
        return true;
    } catch (const gp::Error &) {
        return false;
    }
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
