#include "platform/data/DataSetCopy.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/PhysicalConnection.h"

#include <memory>
#include <vector>

namespace plat {

namespace {

bool inTransaction(Connection &target)
{
    target.open();
    return target.physical()->depth() > 0;
}

// The source's database attached to an SQLite target while the copy runs, so that the
// engine moves each batch itself (INSERT ... SELECT) instead of every value passing
// through the program. Only into an empty table (each record is a plain insert) and only
// when SQL alone says which rows the dataset shows. SQLite attaches only outside a
// transaction: it is done before the copy's first one, and not at all when the target's
// file has one open (through any of its names).
class AttachedSource
{
public:
    static constexpr const char *kSchema = "gp_copia_origen";

    AttachedSource(DataSet::StoredRows &reader, Connection &target, const RecordWriter &writer)
        : reader_(reader), target_(target)
    {
        const std::optional<DatabaseLocation> source = reader.committedSource();
        const DatabaseLocation to = target.location();
        if (!writer.insertsOnly() || !source || !to.isFolder() || source->key() == to.key() || inTransaction(target))
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

// The writer of the source's stored fields that the target table has.
RecordWriter writerFor(DataSet &source, Connection &target, const QString &table, CopyMode mode)
{
    QStringList stored;
    for (int i = 0; i < source.fieldCount(); ++i)
        if (!source.field(i).isCalculated())
            stored << source.field(i).fieldName();
    return RecordWriter(target, table, commonColumns(stored, target, table), mode);
}

// The source's field of each column the writer writes.
QList<int> fieldsOf(DataSet &source, const RecordWriter &writer)
{
    QList<int> fieldAt;
    for (const QString &column : writer.columns())
        fieldAt << source.findField(column)->index();
    return fieldAt;
}

// One table of a copy with details, its statements prepared once on its target.
class TableCopier
{
public:
    TableCopier(const CopiedTable &table, CopyMode mode)
        : source_(*table.source), writer_(writerFor(source_, *table.target, table.table, mode)),
          fieldAt_(fieldsOf(source_, writer_))
    {
    }

    // The source's current record; answers the records written.
    int copyCurrent()
    {
        QVariantList values;
        values.reserve(fieldAt_.size());
        for (int index : fieldAt_)
            values << source_.field(index).value();
        writer_.write(values, counts_);
        return 1;
    }

    // The rows the source shows now.
    int copyShown()
    {
        constexpr int kRead = 1000;
        writer_.nextReading();
        DataSet::StoredRows reader(source_, fieldAt_);
        int written = 0;
        for (;;) {
            const QVector<QVariantList> rows = reader.next(kRead);
            for (const QVariantList &row : rows)
                writer_.write(row, counts_);
            written += int(rows.size());
            if (rows.size() < kRead)
                return written;
        }
    }

private:
    DataSet &source_;
    RecordWriter writer_;
    QList<int> fieldAt_;
    CopyCounts counts_;
};

// The transaction of the targets around a group of masters, started when the group's first
// master is written; left open when the copy fails, it is rolled back.
class GroupTransaction
{
public:
    explicit GroupTransaction(QList<Connection *> targets) : targets_(std::move(targets)) {}
    ~GroupTransaction()
    {
        for (qsizetype i = started_ - 1; i >= 0; --i) {
            try {
                targets_[i]->rollback();
            } catch (const gp::Error &) {
                // The copy's own failure is the one reported.
            }
        }
    }
    GroupTransaction(const GroupTransaction &) = delete;
    GroupTransaction &operator=(const GroupTransaction &) = delete;

    void start()
    {
        for (; started_ < targets_.size(); ++started_)
            targets_[started_]->startTransaction();
    }

    void commit()
    {
        // The last started ends first: on one shared file the others' are nested in the first.
        for (; started_ > 0; --started_)
            targets_[started_ - 1]->commit();
    }

private:
    QList<Connection *> targets_;
    qsizetype started_ = 0;
};

} // namespace

void copyWithDetails(const QList<CopiedTable> &tables, CopyMode mode,
                     const std::function<void(int table, const gp::Error &)> &refused, int batch)
{
    if (tables.isEmpty() || !tables.first().source)
        return;
    std::vector<std::unique_ptr<TableCopier>> copiers(size_t(tables.size()));
    // A failure of the server ends the whole copy; any other ends its table's.
    const auto guarded = [&](int table, const std::function<int()> &work) {
        try {
            return work();
        } catch (const gp::Abort &) {
            throw;
        } catch (const gp::DatabaseError &e) {
            if (e.kind() == gp::DatabaseErrorKind::ConnectionLost)
                throw;
            refused(table, e);
        } catch (const gp::Error &e) {
            refused(table, e);
        }
        copiers[size_t(table)].reset();
        return 0;
    };
    QList<Connection *> targets;
    for (int i = 0; i < tables.size(); ++i) {
        if (!tables[i].target || !tables[i].source)
            continue;
        guarded(i, [&] {
            copiers[size_t(i)] = std::make_unique<TableCopier>(tables[i], mode);
            return 0;
        });
        if (!targets.contains(tables[i].target))
            targets << tables[i].target;
    }

    DataSet &master = *tables.first().source;
    GroupTransaction group(targets);
    int written = 0;
    for (master.first(); !master.eof(); master.next()) {
        group.start();
        for (int i = 0; i < tables.size(); ++i) {
            if (TableCopier *copier = copiers[size_t(i)].get())
                written += guarded(i, [&] { return i == 0 ? copier->copyCurrent() : copier->copyShown(); });
        }
        if (written >= batch) {
            group.commit();
            written = 0;
        }
    }
    group.commit();
}

CopyCounts copyRecords(DataSet &source, Connection &target, const QString &table, CopyMode mode, int batch)
{
    RecordWriter writer = writerFor(source, target, table, mode);
    const QList<int> fieldAt = fieldsOf(source, writer);

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
