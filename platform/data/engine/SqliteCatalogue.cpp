#include "platform/data/engine/SqliteCatalogue.h"

#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/PhysicalConnection.h"

#include <QRegularExpression>

namespace plat {

QStringList SqliteCatalogue::tableNames()
{
    QStringList names;
    const auto r = pc_.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                            "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\'"), {});
    for (const auto &row : r.rows)
        names << row.value(0).toString();
    return names;
}

QList<FieldDef> SqliteCatalogue::columns(const QString &table)
{
    const auto r = pc_.query(QStringLiteral("SELECT name, type, \"notnull\" FROM pragma_table_info(%1) ORDER BY cid")
                             .arg(Dialect::quoted(table)), {});
    if (r.rows.isEmpty())
        throw engineFailure(EngineText::TableDoesNotExist, table);
    QList<FieldDef> out;
    for (const auto &row : r.rows) {
        FieldDef f = fieldFromDeclaredType(row.value(0).toString(), row.value(1).toString());
        f.required = row.value(2).toInt() != 0;
        out << f;
    }
    return out;
}

QList<IndexDef> SqliteCatalogue::indexes(const QString &table)
{
    const auto tableSql = pc_.query(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' "
                                               "AND name = %1 COLLATE NOCASE").arg(Dialect::quoted(table)), {});
    if (tableSql.rows.isEmpty())
        throw engineFailure(EngineText::TableDoesNotExist, table);
    const QString realName = tableSql.rows[0].value(0).toString();
    QList<IndexDef> out;

    // The primary key: its constraint name, when the statement gave one.
    IndexDef primary;
    primary.primary = primary.unique = true;
    static const QRegularExpression constraint(QStringLiteral("CONSTRAINT\\s+(\\w+)\\s+PRIMARY\\s+KEY"),
                                               QRegularExpression::CaseInsensitiveOption);
    const auto m = constraint.match(tableSql.rows[0].value(1).toString());
    primary.name = m.hasMatch() ? pc_.dialect().logicalIndexName(realName, m.captured(1)) : QStringLiteral("Clave1");
    const auto pk = pc_.query(QStringLiteral("SELECT name FROM pragma_table_info(%1) WHERE pk > 0 ORDER BY pk")
                              .arg(Dialect::quoted(realName)), {});
    for (const auto &row : pk.rows)
        primary.fields << row.value(0).toString();

    const auto list = pc_.query(QStringLiteral("SELECT name, \"unique\", origin FROM pragma_index_list(%1) ORDER BY seq")
                                .arg(Dialect::quoted(realName)), {});
    QList<IndexDef> others;
    for (const auto &row : list.rows) {
        const QString physical = row.value(0).toString();
        const bool isPk = row.value(2).toString() == QLatin1String("pk");
        const auto cols = pc_.query(QStringLiteral("SELECT name, \"desc\", coll FROM pragma_index_xinfo(%1) "
                                               "WHERE key = 1 ORDER BY seqno").arg(Dialect::quoted(physical)), {});
        IndexDef ix;
        ix.unique = row.value(1).toInt() != 0;
        for (const auto &c : cols.rows) {
            ix.fields << c.value(0).toString();
            if (c.value(1).toInt() != 0)
                ix.descending = true;
            if (c.value(2).toString().compare(QLatin1String("NOCASE"), Qt::CaseInsensitive) == 0)
                ix.caseInsensitive = true;
        }
        if (isPk) {
            primary.descending = ix.descending;
            primary.caseInsensitive = ix.caseInsensitive;
            continue;
        }
        ix.name = pc_.dialect().logicalIndexName(realName, physical);
        others.prepend(ix);  // pragma lists the newest first
    }
    if (!primary.fields.isEmpty())
        out << primary;
    out << others;
    return out;
}

} // namespace plat
