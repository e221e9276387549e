#include "GENEW/runtime/AperturaDataSet.h"

#include "platform/data/engine/Connection.h"
#include "platform/data/engine/EngineErrors.h"

TablaComprobada::TablaComprobada(QString nombre, QString tabla, QString propietario)
    : nombre_(std::move(nombre)), tabla_(std::move(tabla)), propietario_(std::move(propietario))
{
}

void TablaComprobada::ponerBaseDatos(const QString &nombre, plat::Connection *conexion)
{
    baseDatos_ = nombre;
    conexion_ = conexion;
}

void TablaComprobada::abrir()
{
    if (!conexion_)
        throw plat::engineFailure(plat::EngineText::PathNotFound, baseDatos_);
    conexion_->columns(tabla_);   // raises "Table does not exist" when it is missing
    abierto_ = true;
}
