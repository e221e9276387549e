#include "platform/data/engine/TableCopy.h"

#include "platform/data/engine/Connection.h"
#include "platform/data/engine/EngineErrors.h"

namespace plat {

QStringList commonColumns(const QStringList &from, Connection &target, const QString &to)
{
    const QList<FieldDef> targetFields = target.columns(to);
    QStringList out;
    for (const auto &name : from)
        if (const FieldDef *t = findField(targetFields, name); t && t->type != ftAutoInc)
            out << t->name;
    return out;
}

RecordWriter::RecordWriter(Connection &target, const QString &table, const QStringList &columns, CopyMode mode)
    : target_(target), mode_(mode), columns_(columns), table_(table)
{
    const QStringList key = target.keyFields(table);
    if (key.isEmpty())
        throw gp::DatabaseError(QStringLiteral("No index currently active"));
    QStringList keyWhere;
    for (const QString &k : key) {
        int found = -1;
        for (int i = 0; i < columns.size() && found < 0; ++i)
            if (columns[i].compare(k, Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0)
            throw gp::DatabaseError(QStringLiteral("Field '%1' not found").arg(k));
        keyWhere << columns[found] + QStringLiteral(" = ?");
        keyAt_ << found;
    }
    for (int i = 0; i < columns.size(); ++i)
        if (!keyAt_.contains(i))
            updateAt_ << i;
    updatesColumns_ = !updateAt_.isEmpty();
    updateAt_ << keyAt_;
    where_ = keyWhere.join(QStringLiteral(" AND "));
    // Rows of the source have keys of their own, so into an empty table each one is new.
    emptyAtStart_ = mode != CopyMode::Update
        && target.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table), {}, SqlOrigin::AsWritten).toLongLong() == 0;
}

RecordWriter::~RecordWriter() = default;

const QVariantList &RecordWriter::valuesAt(const QVariantList &values, const QList<int> &at)
{
    bound_.resize(at.size());
    for (int i = 0; i < at.size(); ++i)
        bound_[i] = values.value(at[i]);
    return bound_;
}

bool RecordWriter::present(const QVariantList &values)
{
    if (!exists_)
        exists_ = target_.prepare(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table_, where_), SqlOrigin::AsWritten);
    return exists_->scalar(valuesAt(values, keyAt_)).toInt() > 0;
}

void RecordWriter::insert(const QVariantList &values)
{
    if (!insert_) {
        const QString marks = QStringList(columns_.size(), QStringLiteral("?")).join(QStringLiteral(", "));
        insert_ = target_.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(table_, columns_.join(QStringLiteral(", ")), marks),
                                  SqlOrigin::AsWritten);
    }
    insert_->exec(values);
}

int RecordWriter::update(const QVariantList &values)
{
    if (!update_) {
        QStringList assignments;
        for (int i : updateAt_.mid(0, updateAt_.size() - keyAt_.size()))
            assignments << columns_[i] + QStringLiteral(" = ?");
        update_ = target_.prepare(
            QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table_, assignments.join(QStringLiteral(", ")), where_),
            SqlOrigin::AsWritten);
    }
    return update_->exec(valuesAt(values, updateAt_));
}

void RecordWriter::write(const QVariantList &values, CopyCounts &counts)
{
    wrote_ = true;
    if (emptyAtStart_) {
        insert(values);
        ++counts.appended;
        return;
    }
    // With columns besides the key, an update tells by itself whether the key is there.
    if (mode_ != CopyMode::Append && updatesColumns_) {
        if (update(values) > 0) {
            ++counts.updated;
            return;
        }
        if (mode_ == CopyMode::AppendAndUpdate) {
            insert(values);
            ++counts.appended;
        }
        return;
    }
    const bool there = present(values);
    if (!there && mode_ != CopyMode::Update) {
        insert(values);
        ++counts.appended;
    } else if (there && mode_ != CopyMode::Append && updatesColumns_) {
        update(values);
        ++counts.updated;
    }
}

CopyCounts copyRecords(Connection &source, Connection &target, const QString &table, CopyMode mode,
                       const QString &targetTable)
{
    const QString to = targetTable.isEmpty() ? table : targetTable;
    QStringList sourceNames;
    for (const auto &f : source.columns(table))
        sourceNames << f.name;
    RecordWriter writer(target, to, commonColumns(sourceNames, target, to), mode);
    const QueryResult rows = source.query(
        QStringLiteral("SELECT %1 FROM %2").arg(writer.columns().join(QStringLiteral(", ")), table), {}, SqlOrigin::AsWritten);

    CopyCounts counts;
    target.startTransaction();
    try {
        for (const auto &row : rows.rows)
            writer.write(row, counts);
        target.commit();
    } catch (...) {
        target.rollback();
        throw;
    }
    return counts;
}

} // namespace plat
