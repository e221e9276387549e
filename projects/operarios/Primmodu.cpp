#include "projects/operarios/Primmodu.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/engine/Connection.h"

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
    const std::pair<int, qint64> clave(CodigoOperario, Fecha.toMSecsSinceEpoch());
    std::map<std::pair<int, qint64>, double> *leidas = nullptr;
    if (fGENEINIC) {
        gp::capturarFallo([&] {
            leidas = &actividades_.current(fGENEINIC->Database(), {ModuloDatos->NombreTablaSQL(Bono->tableName())});
        });
        if (leidas)
            if (const auto leida = leidas->find(clave); leida != leidas->end())
                return leida->second;
    }
    const QString sql = SentenciaActividadMovil(CodigoOperario, Fecha);
    double actividad = 0;
    bool abierta = false;
    // The newest row alone is wanted: read whole in one exchange, with no reader left open.
    gp::Fallo fallo;
    fallo.hay = true;
    if (fGENEINIC)
        fallo = gp::capturarFallo([&] {
            const plat::QueryResult filas = fGENEINIC->Database().query(sql, {}, plat::SqlOrigin::AsWritten);
            abierta = true;
            if (!filas.rows.isEmpty())
                actividad = filas.rows.first().value(3).toDouble();
        });
    // A company whose vouchers' table was never made has no activity yet: asking makes none.
    // Any other failure is asked again as a query of the module, which tells it.
    if (fallo && fallo.tipo != gp::DatabaseErrorKind::MissingTable) {
        plat::QueryDataSet consulta(QStringLiteral("ActividadMovil"));
        consulta.setSql(sql);
        gp::capturarFallo([&] {
            abierta = ModuloDatos->AbrirConsulta(consulta, OpcionSQL::NoCrearTabla);
            if (abierta && !consulta.isEmpty())
                actividad = consulta.fieldByName(QStringLiteral("ActividadMovil")).asFloat();
        });
    }
    // Only an answer of the table is kept: one that failed is asked again.
    if (abierta && leidas)
        leidas->emplace(clave, actividad);
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
