#pragma once
#include "platform/data/engine/Catalogue.h"

#include <QVariantList>

namespace plat {

class Dialect;

// SQL Server: tables and columns as the driver reports them; indexes from sys.indexes and
// sys.index_columns, named back to the program's names ("CLIENTE_Clave2" of table
// "dbo.CLIENTE" is index "Clave2").
class SqlServerCatalogue : public DriverCatalogue
{
public:
    using DriverCatalogue::DriverCatalogue;
    QList<IndexDef> indexes(const QString &table) override;

    // The query answering, key column by key column, index name, primary, unique, column
    // name and descending, the primary key first and each index's columns in key order.
    static QString indexesQuery(const QString &table);
    // The indexes of those rows.
    static QList<IndexDef> indexesFromRows(const QString &table, const QList<QVariantList> &rows,
                                           const Dialect &dialect);
};

} // namespace plat
