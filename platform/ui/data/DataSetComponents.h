#pragma once
#include "platform/data/ClientDataSet.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"

#include <QObject>
#include <memory>

namespace plat {

// A dataset as a component of a form or data module, so that it is listed in creation
// order, found by name ("Table1") and reached through published properties. The dataset's
// name follows the component's name.
class DataSetComponent : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(bool Active READ active WRITE setActive)
    Q_PROPERTY(bool ReadOnly READ readOnly WRITE setReadOnly)
public:
    DataSet &dataSet() const { return *dataSet_; }
    int tag() const { return dataSet_->tag; }
    void setTag(int tag) { dataSet_->tag = tag; }
    bool active() const { return dataSet_->active(); }
    void setActive(bool active) { dataSet_->setActive(active); }
    bool readOnly() const { return dataSet_->readOnly(); }
    void setReadOnly(bool on) { dataSet_->setReadOnly(on); }

    // The component of a dataset (nullptr for a dataset that is no component).
    static DataSetComponent *of(const DataSet *dataSet);

protected:
    DataSetComponent(std::unique_ptr<DataSet> dataSet, QObject *parent);

private:
    std::unique_ptr<DataSet> dataSet_;
};

// A table of a database ("Table1").
class TableComponent : public DataSetComponent
{
    Q_OBJECT
    Q_PROPERTY(QString TableName READ tableName WRITE setTableName)
    Q_PROPERTY(QString DatabaseName READ databaseName WRITE setDatabaseName)
public:
    explicit TableComponent(QObject *parent = nullptr);
    TableDataSet &table() const { return static_cast<TableDataSet &>(dataSet()); }
    QString tableName() const { return table().tableName(); }
    void setTableName(const QString &name) { table().setTableName(name); }
    QString databaseName() const { return table().databaseName(); }
    void setDatabaseName(const QString &name) { table().setDatabaseName(name); }
};

// A query over a database ("Query1").
class QueryComponent : public DataSetComponent
{
    Q_OBJECT
    Q_PROPERTY(QString DatabaseName READ databaseName WRITE setDatabaseName)
public:
    explicit QueryComponent(QObject *parent = nullptr);
    QueryDataSet &query() const { return static_cast<QueryDataSet &>(dataSet()); }
    QString databaseName() const { return query().databaseName(); }
    void setDatabaseName(const QString &name) { query().setDatabaseName(name); }
};

// A cached client dataset ("ClientDataSet1").
class ClientDataSetComponent : public DataSetComponent
{
    Q_OBJECT
public:
    explicit ClientDataSetComponent(QObject *parent = nullptr);
    ClientDataSet &clientDataSet() const { return static_cast<ClientDataSet &>(dataSet()); }
};

} // namespace plat
