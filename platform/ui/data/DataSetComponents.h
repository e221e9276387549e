#pragma once
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"

#include <QObject>

namespace plat {

// A table dataset as a component of a form or data module: found by name among its
// owner's components, freed with it. The dataset's name follows the component's name.
class Table : public QObject, public TableDataSet
{
    Q_OBJECT
public:
    explicit Table(QObject *parent = nullptr);
};

// A query dataset as a component.
class Query : public QObject, public QueryDataSet
{
    Q_OBJECT
public:
    explicit Query(QObject *parent = nullptr);
};

} // namespace plat
