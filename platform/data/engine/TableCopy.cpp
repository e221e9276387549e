#include "platform/data/engine/TableCopy.h"

#include "platform/data/engine/Connection.h"
#include "platform/data/engine/EngineErrors.h"

namespace plat {

namespace {

QString placeholders(const QStringList &names, const QList<int> &at, const QString &separator, bool assign)
{
    QStringList parts;
    for (int i : at)
        parts << (assign ? names[i] + QStringLiteral(" = ") : QString()) + QStringLiteral(":p%1").arg(i);
    return parts.join(separator);
}

QList<int> allOf(const QStringList &names)
{
    QList<int> at;
    for (int i = 0; i < names.size(); ++i)
        at << i;
    return at;
}

} // namespace

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
    : target_(target), mode_(mode), columns_(columns)
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
        keyWhere << columns[found] + QStringLiteral(" = :p%1").arg(found);
        keyAt_ << found;
    }
    for (int i = 0; i < columns.size(); ++i) {
        params_ << QStringLiteral("p%1").arg(i);
        if (!keyAt_.contains(i))
            nonKeyAt_ << i;
    }
    const QString where = keyWhere.join(QStringLiteral(" AND "));
    exists_ = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where);
    insert_ = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(table, columns.join(QStringLiteral(", ")), placeholders(columns, allOf(columns), QStringLiteral(", "), false));
    update_ = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                  .arg(table, placeholders(columns, nonKeyAt_, QStringLiteral(", "), true), where);
    // Rows of the source have keys of their own, so into an empty table each one is new.
    emptyAtStart_ = mode != CopyMode::Update
        && target.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table), {}, SqlOrigin::AsWritten).toLongLong() == 0;
}

QVariantMap RecordWriter::keyParams(const QVariantList &values) const
{
    QVariantMap p;
    for (int i : keyAt_)
        p.insert(params_[i], values.value(i));
    return p;
}

QVariantMap RecordWriter::allParams(const QVariantList &values) const
{
    QVariantMap p;
    for (int i = 0; i < params_.size(); ++i)
        p.insert(params_[i], values.value(i));
    return p;
}

bool RecordWriter::present(const QVariantList &values)
{
    return target_.scalar(exists_, keyParams(values), SqlOrigin::AsWritten).toInt() > 0;
}

void RecordWriter::insert(const QVariantList &values)
{
    target_.exec(insert_, allParams(values), SqlOrigin::AsWritten);
}

int RecordWriter::update(const QVariantList &values)
{
    return target_.exec(update_, allParams(values), SqlOrigin::AsWritten);
}

void RecordWriter::write(const QVariantList &values, CopyCounts &counts)
{
    if (emptyAtStart_) {
        insert(values);
        ++counts.appended;
        return;
    }
    // With columns besides the key, an update tells by itself whether the key is there.
    if (mode_ != CopyMode::Append && !nonKeyAt_.isEmpty()) {
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
    } else if (there && mode_ != CopyMode::Append && !nonKeyAt_.isEmpty()) {
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
