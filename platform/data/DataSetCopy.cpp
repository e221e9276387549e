#include "platform/data/DataSetCopy.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"

namespace plat {

namespace {

// The source's database attached to an SQLite target while the copy runs, so that the
// engine moves each batch itself (INSERT ... SELECT) instead of every value passing
// through the program. Only into an empty table (each record is a plain insert) and only
// when SQL alone says which rows the dataset shows.
class AttachedSource
{
public:
    static constexpr const char *kSchema = "gp_copia_origen";

    AttachedSource(DataSet::StoredRows &reader, Connection &target, const RecordWriter &writer)
        : reader_(reader), target_(target)
    {
        const std::optional<DatabaseLocation> source = reader.committedSource();
        const DatabaseLocation to = target.location();
        if (!writer.insertsOnly() || !source || !to.isFolder() || source->key() == to.key() || target.inTransaction())
            return;
        try {
            target.exec(QStringLiteral("ATTACH DATABASE :archivo AS ") + QLatin1String(kSchema),
                        {{QStringLiteral("archivo"), source->sqliteFile()}}, SqlOrigin::AsWritten);
            attached_ = true;
        } catch (const gp::Error &) {
            // Copied row by row, as from any other source.
        }
        insertInto_ = QStringLiteral("INSERT INTO %1 (%2) ").arg(writer.table(), writer.columns().join(QStringLiteral(", ")));
    }

    ~AttachedSource()
    {
        if (!attached_)
            return;
        try {
            target_.exec(QStringLiteral("DETACH DATABASE ") + QLatin1String(kSchema), {}, SqlOrigin::AsWritten);
        } catch (const gp::Error &) {
        }
    }

    AttachedSource(const AttachedSource &) = delete;
    AttachedSource &operator=(const AttachedSource &) = delete;

    // Copies the next `count` rows inside the target's open transaction and answers how many
    // there were; none when the engine cannot, or refused one of them: the statement then
    // left nothing behind and the rows are to be written one by one.
    std::optional<int> copyNext(int count)
    {
        if (!attached_)
            return std::nullopt;
        const std::optional<SelectStatement> select = reader_.nextSelect(count, QLatin1String(kSchema));
        if (!select)
            return std::nullopt;
        try {
            const int copied = target_.exec(insertInto_ + select->sql, select->params, SqlOrigin::AsWritten);
            reader_.skip(copied);
            return copied;
        } catch (const gp::Error &) {
            // The failing record is found, and reported, by the copy one by one.
            return std::nullopt;
        }
    }

private:
    DataSet::StoredRows &reader_;
    Connection &target_;
    bool attached_ = false;
    QString insertInto_;
};

} // namespace

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
    AttachedSource engine(reader, target, writer);
    for (;;) {
        target.startTransaction();
        int copied = 0;
        try {
            if (const std::optional<int> moved = engine.copyNext(batch)) {
                copied = *moved;
                counts.appended += copied;
            } else {
                const QVector<QVariantList> rows = reader.next(batch);
                for (const QVariantList &row : rows)
                    writer.write(row, counts);
                copied = int(rows.size());
            }
        } catch (...) {
            // The records before the failing one stay; the failure itself is what is reported.
            try {
                target.commit();
            } catch (...) {
            }
            throw;
        }
        target.commit();
        if (copied < batch)
            break;
    }
    return counts;
}

} // namespace plat
