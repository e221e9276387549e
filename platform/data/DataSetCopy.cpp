#include "platform/data/DataSetCopy.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"

namespace plat {

CopyCounts copyRecords(DataSet &source, Connection &target, const QString &table, CopyMode mode, int batch)
{
    QStringList stored;
    for (int i = 0; i < source.fieldCount(); ++i)
        if (!source.field(i).isCalculated())
            stored << source.field(i).fieldName();
    RecordWriter writer(target, table, commonColumns(stored, target, table), mode);
    QList<int> fieldAt;
    for (const QString &column : writer.columns())
        fieldAt << source.findField(column)->index();

    CopyCounts counts;
    batch = std::max(batch, 1);
    DataSet::StoredRows reader(source, fieldAt);
    for (;;) {
        const QVector<QVariantList> rows = reader.next(batch);
        target.startTransaction();
        try {
            for (const QVariantList &row : rows)
                writer.write(row, counts);
        } catch (...) {
            // The records before the failing one stay; the failure itself is what is reported.
            try {
                target.commit();
            } catch (...) {
            }
            throw;
        }
        target.commit();
        if (rows.size() < batch)
            break;
    }
    return counts;
}

} // namespace plat
