#include "platform/ui/data/DataSetComponents.h"

namespace plat {

Table::Table(QObject *parent) : QObject(parent)
{
    connect(this, &QObject::objectNameChanged, this, [this](const QString &nombre) { setName(nombre); });
}

Query::Query(QObject *parent) : QObject(parent)
{
    connect(this, &QObject::objectNameChanged, this, [this](const QString &nombre) { setName(nombre); });
}

} // namespace plat
