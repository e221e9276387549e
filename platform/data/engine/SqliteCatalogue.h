#pragma once
#include "platform/data/engine/Catalogue.h"

namespace plat {

// SQLite keeps the declared names and types itself: tables from sqlite_master, columns
// from pragma_table_info, indexes (with their order and case folding) from
// pragma_index_list and pragma_index_xinfo, the primary key's name from its constraint.
class SqliteCatalogue : public Catalogue
{
public:
    explicit SqliteCatalogue(PhysicalConnection &connection) : pc_(connection) {}
    QStringList tableNames() override;
    QList<FieldDef> columns(const QString &table) override;
    QList<IndexDef> indexes(const QString &table) override;

private:
    PhysicalConnection &pc_;
};

} // namespace plat
