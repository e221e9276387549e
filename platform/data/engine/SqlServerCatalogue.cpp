#include "platform/data/engine/SqlServerCatalogue.h"

#include "platform/data/engine/Dialect.h"
#include "platform/data/engine/PhysicalConnection.h"

namespace plat {

QString SqlServerCatalogue::indexesQuery(const QString &table)
{
    return QStringLiteral("SELECT I.name, I.is_primary_key, I.is_unique, C.name, IC.is_descending_key "
                          "FROM sys.indexes I "
                          "JOIN sys.index_columns IC ON IC.object_id = I.object_id AND IC.index_id = I.index_id "
                          "JOIN sys.columns C ON C.object_id = IC.object_id AND C.column_id = IC.column_id "
                          "WHERE I.object_id = OBJECT_ID(%1) AND IC.key_ordinal > 0 "
                          "ORDER BY I.is_primary_key DESC, I.index_id, IC.key_ordinal")
        .arg(Dialect::quoted(table));
}

QList<IndexDef> SqlServerCatalogue::indexesFromRows(const QString &table, const QList<QVariantList> &rows,
                                                    const Dialect &dialect)
{
    QList<IndexDef> out;
    QString current;
    for (const QVariantList &row : rows) {
        const QString physical = row.value(0).toString();
        if (out.isEmpty() || physical != current) {
            current = physical;
            IndexDef ix;
            ix.primary = row.value(1).toBool();
            ix.unique = ix.primary || row.value(2).toBool();
            ix.name = dialect.logicalIndexName(table, physical);
            out << ix;
        }
        IndexDef &ix = out.last();
        ix.fields << row.value(3).toString();
        if (row.value(4).toBool())
            ix.descending = true;
    }
    return out;
}

QList<IndexDef> SqlServerCatalogue::indexes(const QString &table)
{
    return indexesFromRows(table, pc_.query(indexesQuery(table), {}).rows, pc_.dialect());
}

} // namespace plat
