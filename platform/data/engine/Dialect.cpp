#include "platform/data/engine/Dialect.h"

#include "platform/data/engine/Dialects.h"

#include "platform/base/LiteralFechaSQL.h"
#include "platform/base/FechaHora.h"

#include <QRegularExpression>
#include <cstdio>

namespace plat {

const Dialect &Dialect::forEngine(EngineKind kind)
{
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    static const SqlServerDialect sqlServer;
    switch (kind) {
    case EngineKind::SQLite: return sqlite;
    case EngineKind::PostgreSQL: return postgres;
    case EngineKind::SqlServer: return sqlServer;
    }
    return sqlite;
}

QString Dialect::lockHint() const { return QStringLiteral(" "); }

QString Dialect::castInteger(const QString &expr) const { return QStringLiteral("CAST(%1 AS INTEGER)").arg(expr); }

QString Dialect::pageClause(int n, qint64 offset) const
{
    return QStringLiteral(" LIMIT %1 OFFSET %2").arg(n).arg(offset);
}

QString Dialect::leftPart(const QString &expr, int n) const
{
    return QStringLiteral("SUBSTR(%1, 1, %2)").arg(expr).arg(n);
}

QString Dialect::concat(const QStringList &parts) const { return parts.join(QStringLiteral(" || ")); }

QDateTime Dialect::zeroDate() { return FechaCero(); }

QDateTime Dialect::literalReading(const QDateTime &value)
{
    const QDateTime reading = FechaHoraDeReloj(value);
    return reading.isValid() ? reading : zeroDate();
}

bool Dialect::isoDateTimeText(const QDateTime &value, char (&text)[19])
{
    // Written digit by digit: the calendar's formatter, and even a formatted print, cost more
    // than the rest of a bound write.
    if (!value.isValid())
        return false;
    const QDate d = value.date();
    const QTime t = value.time();
    if (d.year() < 0 || d.year() > 9999)
        return false;
    const auto digits = [&text](int at, int number, int count) {
        for (int i = at + count - 1; i >= at; --i, number /= 10)
            text[i] = char('0' + number % 10);
    };
    digits(0, d.year(), 4);
    text[4] = text[7] = '-';
    digits(5, d.month(), 2);
    digits(8, d.day(), 2);
    text[10] = ' ';
    digits(11, t.hour(), 2);
    text[13] = text[16] = ':';
    digits(14, t.minute(), 2);
    digits(17, t.second(), 2);
    return true;
}

QString Dialect::isoDateTime(const QDateTime &value)
{
    char text[19];
    if (isoDateTimeText(value, text))
        return QString::fromLatin1(text, 19);
    if (!value.isValid())
        return QString();
    const QDate d = value.date();
    const QTime t = value.time();
    char texto[48];
    const int n = std::snprintf(texto, sizeof texto, "%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(),
                                t.hour(), t.minute(), t.second());
    return QString::fromLatin1(texto, n);
}

QString Dialect::dateLiteral(const QDateTime &value) const
{
    return quoted(isoDateTime(literalReading(value)));
}

QString Dialect::dateLiteralText(const QDateTime &value, const QString &) const
{
    return isoDateTime(literalReading(value));
}

LiteralFechaSQLFn Dialect::programDateLiteral() const
{
    const Dialect *self = this;  // dialects live as long as the program
    return [self](const QDateTime &valor, const QString &literalPrograma) {
        return self->dateLiteralText(valor, literalPrograma);
    };
}

QString Dialect::quoted(const QString &text)
{
    QString s = text;
    s.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString Dialect::collate(const QString &name) const { return QStringLiteral(" COLLATE ") + name; }

QString Dialect::threePartName(const QString &database, const QString &table, bool sameDatabase) const
{
    return sameDatabase ? table : database + QLatin1Char('.') + table;
}

QString Dialect::foldedCompare(const QString &lhs, const QString &op, const QString &rhs) const
{
    const QString comparison = foldExpression(lhs) + QLatin1Char(' ') + op + QLatin1Char(' ') + foldExpression(rhs);
    return op.endsWith(QLatin1String("LIKE"), Qt::CaseInsensitive) ? comparison + likeWithoutEscape() : comparison;
}

static QString withoutOwner(const QString &table)
{
    const int dot = table.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? table : table.mid(dot + 1);
}

QString Dialect::physicalIndexName(const QString &table, const QString &logical) const
{
    const QString t = withoutOwner(table);
    if (logical.startsWith(t + QLatin1Char('_'), Qt::CaseInsensitive))
        return logical;
    return t + QLatin1Char('_') + logical;
}

QString Dialect::logicalIndexName(const QString &table, const QString &physical) const
{
    const QString prefix = withoutOwner(table) + QLatin1Char('_');
    if (physical.startsWith(prefix, Qt::CaseInsensitive) && physical.size() > prefix.size())
        return physical.mid(prefix.size());
    return physical;
}

QString Dialect::columnDefinition(const FieldDef &field) const
{
    QString def = field.name + QLatin1Char(' ') + columnType(field);
    if (field.type == ftString)
        def += QStringLiteral(" DEFAULT ''");
    else if (field.type == ftDateTime || field.type == ftDate)
        def += QStringLiteral(" DEFAULT ") + zeroDateLiteral();
    if (field.required)
        def += QStringLiteral(" NOT NULL");
    return def;
}

QString Dialect::indexColumn(const IndexDef &index, const QString &field) const
{
    QString col = field;
    if (index.descending)
        col += QStringLiteral(" DESC");
    return col;
}

QStringList Dialect::createTableStatements(const TableDef &def) const
{
    QStringList columns;
    for (const auto &f : def.fields)
        if (!columnType(f).isEmpty())
            columns << columnDefinition(f);
    for (const auto &ix : def.indexes) {
        if (!ix.primary)
            continue;
        QStringList cols;
        for (const auto &f : ix.fields)
            cols << indexColumn(ix, f);
        columns << QStringLiteral("CONSTRAINT %1 PRIMARY KEY (%2)")
                       .arg(physicalIndexName(def.name, ix.name), cols.join(QStringLiteral(", ")));
    }
    QStringList out;
    out << QStringLiteral("CREATE TABLE %1 (%2)").arg(def.name, columns.join(QStringLiteral(", ")));
    for (const auto &ix : def.indexes) {
        if (ix.primary)
            continue;
        QStringList cols;
        for (const auto &f : ix.fields)
            cols << indexColumn(ix, f);
        out << QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
                   .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(),
                        physicalIndexName(def.name, ix.name), def.name, cols.join(QStringLiteral(", ")));
    }
    return out;
}

QString Dialect::isolationStatement(IsolationLevel level) const
{
    switch (level) {
    case IsolationLevel::DirtyRead: return QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ UNCOMMITTED");
    case IsolationLevel::ReadCommitted: return QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED");
    case IsolationLevel::RepeatableRead: return QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ");
    }
    return {};
}

QString Dialect::adaptProgramSql(const QString &sql) const { return sql; }

// ---- shared helpers of the dialects ----

QString rewriteTopAsLimit(const QString &sql)
{
    static const QRegularExpression top(QStringLiteral("^(\\s*SELECT\\s+(?:DISTINCT\\s+)?)TOP\\s+(\\d+)\\s+"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = top.match(sql);
    if (!m.hasMatch())
        return sql;
    QString body = m.captured(1) + sql.mid(m.capturedEnd(0));
    QString trimmed = body.trimmed();
    if (trimmed.endsWith(QLatin1Char(';')))
        trimmed.chop(1);
    return trimmed + QStringLiteral(" LIMIT ") + m.captured(2);
}

QString addFromToDelete(const QString &sql)
{
    static const QRegularExpression deleteWithoutFrom(QStringLiteral("^(\\s*DELETE\\s+)(?!FROM\\b)(?=[A-Za-z_#@])"),
                                                      QRegularExpression::CaseInsensitiveOption);
    const auto m = deleteWithoutFrom.match(sql);
    return m.hasMatch() ? m.captured(1) + QStringLiteral("FROM ") + sql.mid(m.capturedEnd(0)) : sql;
}

QString removeThreePartOwner(const QString &sql, const std::function<QString(const QString &, const QString &)> &name)
{
    // "<database>.dbo.<table>" written by the program.
    static const QRegularExpression threePart(QStringLiteral("\\b([A-Za-z0-9_$#@]+)\\.dbo\\.([A-Za-z0-9_$#@]+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    auto it = threePart.globalMatch(sql);
    while (it.hasNext()) {
        const auto m = it.next();
        out += sql.mid(last, m.capturedStart(0) - last);
        out += name(m.captured(1), m.captured(2));
        last = m.capturedEnd(0);
    }
    out += sql.mid(last);
    return out;
}

QString Dialect::tableCreationLock(const QString &) const { return QString(); }

} // namespace plat
