#include "GENEW/data/modulo/TablaDataSet.h"

#include "GENEW/runtime/comun/RutinasSQL.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/data/DataSetComponents.h"

bool EsDataSetDeModuloDatos(plat::DataSet &dataSet)
{
    const QObject *componente = plat::DataSetComponent::of(&dataSet);
    return componente && dynamic_cast<const plat::DataModule *>(componente->parent());
}

QString TablaDeDataSet(plat::DataSet &dataSet)
{
    if (auto *tabla = dynamic_cast<plat::TableDataSet *>(&dataSet))
        return tabla->tableName();
    if (auto *consulta = dynamic_cast<plat::QueryDataSet *>(&dataSet))
        return ObtenerTablaDeSQL(consulta->sql());
    return QString();
}
