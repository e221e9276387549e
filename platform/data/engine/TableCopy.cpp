#include "platform/data/engine/TableCopy.h"

#include "platform/data/engine/Connection.h"
#include "platform/data/engine/EngineErrors.h"

namespace plat {

namespace {

QStringList commonColumns(Connection &source, Connection &target, const QString &from, const QString &to)
{
    const QList<FieldDef> targetFields = target.columns(to);
    QStringList out;
    for (const auto &f : source.columns(from))
        if (const FieldDef *t = findField(targetFields, f.name); t && t->type != ftAutoInc)
            out << t->name;
    return out;
}

QString placeholders(const QStringList &names, const QString &separator, bool assign)
{
    QStringList parts;
    for (int i = 0; i < names.size(); ++i)
        parts << (assign ? names[i] + QStringLiteral(" = ") : QString()) + QStringLiteral(":p%1").arg(i);
    return parts.join(separator);
}

} // namespace

CopyCounts copyRecords(Connection &source, Connection &target, const QString &table, CopyMode mode,
                       const QString &targetTable)
{
    const QString to = targetTable.isEmpty() ? table : targetTable;
    const QStringList key = target.keyFields(to);
    if (key.isEmpty())
        throw gp::DatabaseError(QStringLiteral("No index currently active"));
    const QStringList columns = commonColumns(source, target, table, to);
    const QueryResult rows = source.query(QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table),
                                          {}, SqlOrigin::AsWritten);

    QStringList keyWhere;
    for (int i = 0; i < key.size(); ++i)
        keyWhere << key[i] + QStringLiteral(" = :k%1").arg(i);
    QStringList nonKey;
    for (const auto &c : columns)
        if (!key.contains(c, Qt::CaseInsensitive))
            nonKey << c;
    const QString exists = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(to, keyWhere.join(QStringLiteral(" AND ")));
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(to, columns.join(QStringLiteral(", ")), placeholders(columns, QStringLiteral(", "), false));
    const QString update = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                               .arg(to, placeholders(nonKey, QStringLiteral(", "), true), keyWhere.join(QStringLiteral(" AND ")));

    CopyCounts counts;
    target.startTransaction();
    try {
        for (const auto &row : rows.rows) {
            QVariantMap keyParams;
            for (int i = 0; i < key.size(); ++i)
                keyParams.insert(QStringLiteral("k%1").arg(i), row.value(rows.columnIndex(key[i])));
            const bool present = target.scalar(exists, keyParams, SqlOrigin::AsWritten).toInt() > 0;
            if (!present && mode != CopyMode::Update) {
                QVariantMap p;
                for (int i = 0; i < columns.size(); ++i)
                    p.insert(QStringLiteral("p%1").arg(i), row.value(i));
                target.exec(insert, p, SqlOrigin::AsWritten);
                ++counts.appended;
            } else if (present && mode != CopyMode::Append && !nonKey.isEmpty()) {
                QVariantMap p = keyParams;
                for (int i = 0; i < nonKey.size(); ++i)
                    p.insert(QStringLiteral("p%1").arg(i), row.value(rows.columnIndex(nonKey[i])));
                target.exec(update, p, SqlOrigin::AsWritten);
                ++counts.updated;
            }
        }
        target.commit();
    } catch (...) {
        target.rollback();
        throw;
    }
    return counts;
}

} // namespace plat
