#include "projects/operarios/Primmodu.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/QueryDataSet.h"

TMDPrimas *MDPrimas = nullptr;

TMDPrimas::TMDPrimas(QObject *parent) : plat::DataModule(parent)
{
    setObjectName(QStringLiteral("MDPrimas"));
    Parametros = make<plat::TableComponent>(QStringLiteral("Parametros"), this);
    Parametros->setTableName(QStringLiteral("PARAPRIM"));
    Bono = make<plat::TableComponent>(QStringLiteral("Bono"), this);
    Bono->setTableName(QStringLiteral("BONO"));
    OnCreate = plat::handler(this, &TMDPrimas::ModuloDatosCreate);
}

TMDPrimas::~TMDPrimas()
{
    if (MDPrimas == this)
        MDPrimas = nullptr;
}

void TMDPrimas::ModuloDatosCreate(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->PrepararFormulario(this);
    if (ModuloDatos)
        ModuloDatos->AbrirTabla(Parametros->table());
}

QString SentenciaActividadMovil(int codigoOperario, const QDateTime &fecha)
{
    return QStringLiteral("SELECT CodigoOperario, Fecha, Hora, ActividadMovil   FROM BONO   WHERE CodigoOperario = ")
           + QString::number(codigoOperario) + QStringLiteral("  AND Fecha >= ") + ValorASQL(SumarAnyos(-1, fecha))
           + QStringLiteral("  AND Fecha <= ") + ValorASQL(fecha) + QStringLiteral("  AND ActividadMovil <> 0 ")
           + QStringLiteral("  ORDER BY CodigoOperario DESC, Fecha DESC, Hora DESC");
}

double TMDPrimas::ActividadMovilOperario(int CodigoOperario, const QDateTime &Fecha)
{
    if (CodigoOperario == 0 || !ModuloDatos)
        return 0;
    plat::QueryDataSet consulta(QStringLiteral("ActividadMovil"));
    consulta.setSql(SentenciaActividadMovil(CodigoOperario, Fecha));
    double actividad = 0;
    gp::capturarFallo([&] {
        // A company whose vouchers' table was never made has no activity yet: asking makes none.
        if (ModuloDatos->AbrirConsulta(consulta, OpcionSQL::NoCrearTabla) && !consulta.isEmpty())
            actividad = consulta.fieldByName(QStringLiteral("ActividadMovil")).asFloat();
    });
    return actividad;
}

TMDPrimas &CrearMDPrimas()
{
    LiberarMDPrimas();
    MDPrimas = plat::createDataModule<TMDPrimas>();
    return *MDPrimas;
}

void LiberarMDPrimas()
{
    if (MDPrimas)
        MDPrimas->Free();
    MDPrimas = nullptr;
}
