#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/SqliteCatalogue.h"

#include <QRegularExpression>

namespace plat {

QString SqliteDialect::selectTop(const QString &selectSql, int n) const
{
    QString s = selectSql.trimmed();
    if (s.endsWith(QLatin1Char(';')))
        s.chop(1);
    return s + QStringLiteral(" LIMIT %1").arg(n);
}

QString SqliteDialect::isNumeric(const QString &expr) const
{
    return QStringLiteral("ISNUMERIC(%1)").arg(expr);
}

QString SqliteDialect::keyFieldsQuery(const QString &table, const QString &indexName) const
{
    // The primary key has no index of its own name: when the named index does not
    // exist the table's key columns answer.
    const QString physical = indexName.isEmpty() ? physicalIndexName(table, QStringLiteral("Clave1"))
                                                 : physicalIndexName(table, indexName);
    return QStringLiteral("SELECT name FROM (SELECT seqno AS n, name FROM pragma_index_info(%1) "
                          "UNION ALL SELECT pk AS n, name FROM pragma_table_info(%2) WHERE pk > 0 "
                          "AND NOT EXISTS (SELECT 1 FROM sqlite_master WHERE type = 'index' "
                          "AND name = %1 COLLATE NOCASE)) ORDER BY n")
        .arg(quoted(physical), quoted(table));
}

QString SqliteDialect::columnsQuery(const QString &table, bool withoutMemos) const
{
    return QStringLiteral("SELECT name FROM pragma_table_info(%1)%2 ORDER BY cid")
        .arg(quoted(table), withoutMemos ? QStringLiteral(" WHERE upper(type) NOT IN ('TEXT', 'MEMO')") : QString());
}

QString SqliteDialect::columnType(const FieldDef &field) const { return declaredTypeOfField(field); }

QString SqliteDialect::identityColumnType() const { return QStringLiteral("AUTOINC"); }

QString SqliteDialect::foldExpression(const QString &expr) const
{
    return QStringLiteral("GP_PLEGAR(%1)").arg(expr);
}

QString SqliteDialect::indexColumn(const IndexDef &index, const QString &field) const
{
    QString col = field;
    if (index.caseInsensitive)
        col += QStringLiteral(" COLLATE NOCASE");
    if (index.descending)
        col += QStringLiteral(" DESC");
    return col;
}

QStringList SqliteDialect::createTableStatements(const TableDef &def) const
{
    QStringList out = Dialect::createTableStatements(def);
    // Auto-increment columns take the next number when inserted without a value.
    for (const auto &f : def.fields) {
        if (f.type != ftAutoInc)
            continue;
        out << QStringLiteral("CREATE TRIGGER %1_%2_auto AFTER INSERT ON %1 WHEN NEW.%2 IS NULL BEGIN "
                              "UPDATE %1 SET %2 = (SELECT IFNULL(MAX(%2), 0) + 1 FROM %1) "
                              "WHERE rowid = NEW.rowid; END")
                   .arg(def.name, f.name);
    }
    return out;
}

QString SqliteDialect::isolationStatement(IsolationLevel) const { return {}; }

QString SqliteDialect::sameValueCondition(const QString &column, TFieldType type, const QString &param) const
{
    if (type == ftDate || type == ftTime || type == ftDateTime)
        return QStringLiteral("julianday(%1) = julianday(%2)").arg(column, param);
    return Dialect::sameValueCondition(column, type, param);
}

QString SqliteDialect::adaptProgramSql(const QString &sql) const
{
    static const QRegularExpression isolation(QStringLiteral("^\\s*SET\\s+TRANSACTION\\s+ISOLATION\\s+LEVEL\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (isolation.match(sql).hasMatch())
        return {};  // one writer, no isolation levels
    QString s = addFromToDelete(rewriteTopAsLimit(quotedNamesAsIdentifiers(rewriteSubqueryTopAsLimit(sql))));
    s.replace(QStringLiteral("WITH(NOLOCK)"), QString(), Qt::CaseInsensitive);
    // Dates are kept as ISO text: a zero-date default in the program's form would
    // never equal the zero date the layer writes.
    static const QRegularExpression ddl(QStringLiteral("^\\s*(CREATE|ALTER)\\s+TABLE\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression zeroDate(QStringLiteral("'(?:12/30/1899|30/12/1899)( 00:00:00)?'"));
    if (ddl.match(s).hasMatch())
        s.replace(zeroDate, QStringLiteral("'1899-12-30 00:00:00'"));
    return s;
}

QString SqliteDialect::lastInsertedIdQuery(const QString &table, const QString &column) const
{
    // The column is numbered by a trigger after the insert: read it by rowid.
    return QStringLiteral("SELECT %1 FROM %2 WHERE rowid = last_insert_rowid()").arg(column, table);
}

QString SqliteDialect::caseInsensitiveOrder(const QString &column) const
{
    return column + QStringLiteral(" COLLATE NOCASE");
}

const FilterSqlDialect &SqliteDialect::filterDialect() const
{
    static const FilterSqlOf filter(*this);
    return filter;
}

std::unique_ptr<Catalogue> SqliteDialect::catalogue(PhysicalConnection &connection) const
{
    return std::make_unique<SqliteCatalogue>(connection);
}

QStringList SqliteDialect::sessionStatements() const
{
    // The WAL journal is switched on when the file is opened (PhysicalConnection::setWalJournal),
    // where a new file shared with another program needs a second try.
    // The wait for another program's lock is the connection's busy handler, not a pragma.
    return {QStringLiteral("PRAGMA synchronous=FULL")};
}

bool SqliteDialect::isSingleStatement(QStringView sql) const
{
    StatementLexicon lexicon;
    lexicon.unclosedCommentEnds = true;
    lexicon.bracketNames = true;
    lexicon.backtickNames = true;
    lexicon.variableNames = true;
    return plat::isSingleStatement(sql, lexicon);
}

} // namespace plat
