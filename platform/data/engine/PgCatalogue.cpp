#include "platform/data/engine/PgCatalogue.h"

#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/PhysicalConnection.h"

#include <QRegularExpression>

namespace plat {

namespace {

using Q = QRegularExpression;

// Splits at commas outside parentheses.
QStringList splitTopLevel(const QString &body)
{
    QStringList parts;
    int level = 0;
    QString cur;
    bool inQuote = false;
    for (QChar c : body) {
        if (c == QLatin1Char('\''))
            inQuote = !inQuote;
        if (!inQuote) {
            if (c == QLatin1Char('('))
                ++level;
            else if (c == QLatin1Char(')'))
                --level;
            else if (c == QLatin1Char(',') && level == 0) {
                parts << cur.trimmed();
                cur.clear();
                continue;
            }
        }
        cur += c;
    }
    if (!cur.trimmed().isEmpty())
        parts << cur.trimmed();
    return parts;
}

QString q(const QString &s) { return Dialect::quoted(s); }

QString boolText(bool b) { return b ? QStringLiteral("TRUE") : QStringLiteral("FALSE"); }

IndexDef indexFromColumns(const QString &columns)
{
    IndexDef ix;
    static const Q lowerCall(QStringLiteral("^lower\\s*\\(\\s*(\\w+)\\s*\\)"), Q::CaseInsensitiveOption);
    for (QString c : splitTopLevel(columns)) {
        if (c.endsWith(QLatin1String(" DESC"), Qt::CaseInsensitive)) {
            ix.descending = true;
            c.chop(5);
        } else if (c.endsWith(QLatin1String(" ASC"), Qt::CaseInsensitive)) {
            c.chop(4);
        }
        c = c.trimmed();
        if (const auto m = lowerCall.match(c); m.hasMatch()) {
            ix.caseInsensitive = true;
            c = m.captured(1);
        }
        ix.fields << c.section(QLatin1Char(' '), 0, 0);
    }
    return ix;
}

} // namespace

PgCatalogue::PgCatalogue(PhysicalConnection &connection) : pc_(connection) {}

bool PgCatalogue::isCatalogueTable(const QString &name)
{
    return name.compare(kCatalogueColumns, Qt::CaseInsensitive) == 0
        || name.compare(kCatalogueIndexes, Qt::CaseInsensitive) == 0;
}

void PgCatalogue::prepare()
{
    const QString sql[] = {
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (tabla VARCHAR(128) NOT NULL, orden INTEGER NOT NULL, "
                       "nombre VARCHAR(128) NOT NULL, tipo VARCHAR(64) NOT NULL, requerido BOOLEAN NOT NULL)")
            .arg(kCatalogueColumns),
        QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (tabla VARCHAR(128) NOT NULL, orden INTEGER NOT NULL, "
                       "indice VARCHAR(128) NOT NULL, fisico VARCHAR(128) NOT NULL, campos TEXT NOT NULL, "
                       "primario BOOLEAN NOT NULL, unico BOOLEAN NOT NULL, sin_mayusculas BOOLEAN NOT NULL, "
                       "descendente BOOLEAN NOT NULL)")
            .arg(kCatalogueIndexes),
    };
    for (const auto &s : sql) {
        try {
            pc_.exec(s, {});
        } catch (const gp::DatabaseError &) {
            // Another connection made it at the same moment.
        }
    }
}

void PgCatalogue::forgetTable(const QString &table)
{
    pc_.exec(QStringLiteral("DELETE FROM %1 WHERE lower(tabla) = lower(%2)").arg(kCatalogueColumns, q(table)), {});
    pc_.exec(QStringLiteral("DELETE FROM %1 WHERE lower(tabla) = lower(%2)").arg(kCatalogueIndexes, q(table)), {});
    namesLoaded_ = false;
}

void PgCatalogue::insertIndex(const QString &table, int order, const IndexDef &ix, const QString &physical)
{
    pc_.exec(QStringLiteral("INSERT INTO %1 VALUES (%2, %3, %4, %5, %6, %7, %8, %9, %10)")
                 .arg(kCatalogueIndexes, q(table))
                 .arg(order)
                 .arg(q(ix.name), q(physical), q(ix.fields.join(QLatin1Char(';'))), boolText(ix.primary),
                      boolText(ix.unique || ix.primary), boolText(ix.caseInsensitive), boolText(ix.descending)),
             {});
}

void PgCatalogue::recordTable(const TableDef &def)
{
    forgetTable(def.name);
    int order = 0;
    for (const auto &f : def.fields) {
        const QString type = declaredTypeOfField(f);
        if (type.isEmpty())
            continue;
        pc_.exec(QStringLiteral("INSERT INTO %1 VALUES (%2, %3, %4, %5, %6)")
                     .arg(kCatalogueColumns, q(def.name))
                     .arg(++order)
                     .arg(q(f.name), q(type), boolText(f.required)),
                 {});
    }
    order = 0;
    for (const auto &ix : def.indexes)
        insertIndex(def.name, ix.primary ? 0 : ++order, ix, pc_.dialect().physicalIndexName(def.name, ix.name));
    namesLoaded_ = false;
}

void PgCatalogue::recordStatement(const QString &sql)
{
    static const Q createTable(QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(?:dbo\\.)?(\\w+)\\s*\\((.*)\\)\\s*;?\\s*$"),
                               Q::CaseInsensitiveOption | Q::DotMatchesEverythingOption);
    static const Q createIndex(QStringLiteral("^\\s*CREATE\\s+(UNIQUE\\s+)?INDEX\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(\\w+)\\s+ON\\s+(?:dbo\\.)?(\\w+)\\s*\\((.*)\\)\\s*;?\\s*$"),
                               Q::CaseInsensitiveOption | Q::DotMatchesEverythingOption);
    static const Q dropTable(QStringLiteral("^\\s*DROP\\s+TABLE\\s+(?:IF\\s+EXISTS\\s+)?(?:dbo\\.)?(\\w+)\\s*;?\\s*$"),
                             Q::CaseInsensitiveOption);
    static const Q dropIndex(QStringLiteral("^\\s*DROP\\s+INDEX\\s+(?:IF\\s+EXISTS\\s+)?(\\w+)\\s*;?\\s*$"),
                             Q::CaseInsensitiveOption);
    if (auto m = createTable.match(sql); m.hasMatch()) {
        if (!isCatalogueTable(m.captured(1)))
            recordCreateTable(m.captured(1), m.captured(2));
    } else if (auto m = createIndex.match(sql); m.hasMatch()) {
        recordCreateIndex(m.captured(2), m.captured(3), m.captured(4), !m.captured(1).isEmpty());
    } else if (auto m = dropTable.match(sql); m.hasMatch()) {
        if (!isCatalogueTable(m.captured(1)))
            forgetTable(m.captured(1));
    } else if (auto m = dropIndex.match(sql); m.hasMatch()) {
        pc_.exec(QStringLiteral("DELETE FROM %1 WHERE lower(fisico) = lower(%2)").arg(kCatalogueIndexes, q(m.captured(1))), {});
    }
}

void PgCatalogue::recordCreateTable(const QString &table, const QString &body)
{
    forgetTable(table);
    static const Q constraint(QStringLiteral("^(?:CONSTRAINT\\s+(\\w+)\\s+)?PRIMARY\\s+KEY\\s*\\((.*)\\)$"),
                              Q::CaseInsensitiveOption | Q::DotMatchesEverythingOption);
    static const Q column(QStringLiteral("^(\\w+)\\s+(.*?)(?=\\s+(?:DEFAULT|NULL|NOT|PRIMARY|CONSTRAINT|COLLATE|REFERENCES|UNIQUE|CHECK|GENERATED)\\b|$)"),
                          Q::CaseInsensitiveOption | Q::DotMatchesEverythingOption);
    int order = 0;
    for (const QString &part : splitTopLevel(body)) {
        if (auto m = constraint.match(part); m.hasMatch()) {
            IndexDef ix = indexFromColumns(m.captured(2));
            ix.primary = ix.unique = true;
            ix.name = m.captured(1).isEmpty() ? pc_.dialect().physicalIndexName(table, QStringLiteral("Clave1"))
                                              : m.captured(1);
            insertIndex(table, 0, ix, ix.name);
            continue;
        }
        const auto m = column.match(part);
        if (!m.hasMatch())
            continue;
        const QString rest = part.mid(m.capturedEnd(0)).toUpper();
        QString type = m.captured(2).trimmed();
        if (rest.contains(QLatin1String("GENERATED")))
            type = QStringLiteral("AUTOINC");
        pc_.exec(QStringLiteral("INSERT INTO %1 VALUES (%2, %3, %4, %5, %6)")
                     .arg(kCatalogueColumns, q(table))
                     .arg(++order)
                     .arg(q(m.captured(1)), q(type), boolText(rest.contains(QLatin1String("NOT NULL")))),
                 {});
        if (rest.contains(QLatin1String("PRIMARY KEY"))) {
            IndexDef ix;
            ix.primary = ix.unique = true;
            ix.fields << m.captured(1);
            ix.name = pc_.dialect().physicalIndexName(table, QStringLiteral("Clave1"));
            insertIndex(table, 0, ix, ix.name);
        }
    }
    namesLoaded_ = false;
}

void PgCatalogue::recordCreateIndex(const QString &name, const QString &table, const QString &columns, bool unique)
{
    IndexDef ix = indexFromColumns(columns);
    ix.name = name;
    ix.unique = unique;
    const auto r = pc_.query(QStringLiteral("SELECT COALESCE(MAX(orden), 0) + 1 FROM %1 WHERE lower(tabla) = lower(%2)")
                                 .arg(kCatalogueIndexes, q(table)), {});
    pc_.exec(QStringLiteral("DELETE FROM %1 WHERE lower(fisico) = lower(%2)").arg(kCatalogueIndexes, q(name)), {});
    insertIndex(table, r.rows.value(0).value(0).toInt(), ix, name);
}

void PgCatalogue::loadNames() const
{
    if (namesLoaded_ || loading_)
        return;
    loading_ = true;  // the query below must not map its own column names
    names_.clear();
    auto &self = const_cast<PgCatalogue &>(*this);
    const auto r = self.pc_.query(QStringLiteral("SELECT nombre FROM %1 UNION SELECT tabla FROM %1")
                                      .arg(kCatalogueColumns), {});
    for (const auto &row : r.rows) {
        const QString n = row.value(0).toString();
        names_.insert(n.toLower(), n);
    }
    namesLoaded_ = true;
    loading_ = false;
}

QString PgCatalogue::declaredName(const QString &name) const
{
    if (loading_)
        return name;
    try {
        loadNames();
    } catch (const gp::DatabaseError &) {
        loading_ = false;
        return name;
    }
    return names_.value(name.toLower(), name);
}

QStringList PgCatalogue::tableNames()
{
    const auto r = pc_.query(QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = current_schema()"), {});
    QStringList out;
    for (const auto &row : r.rows) {
        const QString n = row.value(0).toString();
        if (!isCatalogueTable(n))
            out << declaredName(n);
    }
    return out;
}

QList<FieldDef> PgCatalogue::columns(const QString &table)
{
    const auto r = pc_.query(QStringLiteral("SELECT nombre, tipo, requerido FROM %1 WHERE lower(tabla) = lower(%2) "
                                            "ORDER BY orden").arg(kCatalogueColumns, q(table)), {});
    if (r.rows.isEmpty())
        return serverColumns(table);
    QList<FieldDef> out;
    for (const auto &row : r.rows) {
        FieldDef f = fieldFromDeclaredType(row.value(0).toString(), row.value(1).toString());
        f.required = row.value(2).toBool();
        out << f;
    }
    return out;
}

QList<FieldDef> PgCatalogue::serverColumns(const QString &table)
{
    const auto r = pc_.query(
        QStringLiteral("SELECT column_name, data_type, character_maximum_length, numeric_precision, numeric_scale, "
                       "is_nullable FROM information_schema.columns WHERE table_schema = current_schema() "
                       "AND table_name = lower(%1) ORDER BY ordinal_position").arg(q(table)), {});
    if (r.rows.isEmpty())
        throw engineFailure(EngineText::TableDoesNotExist, table);
    QList<FieldDef> out;
    for (const auto &row : r.rows) {
        QString type = row.value(1).toString().toUpper();
        if (type == QLatin1String("CHARACTER VARYING"))
            type = QStringLiteral("VARCHAR(%1)").arg(row.value(2).toInt());
        else if (type == QLatin1String("NUMERIC"))
            type = QStringLiteral("DECIMAL(%1,%2)").arg(row.value(3).toInt()).arg(row.value(4).toInt());
        else if (type.startsWith(QLatin1String("TIMESTAMP")))
            type = QStringLiteral("DATETIME");
        FieldDef f = fieldFromDeclaredType(row.value(0).toString(), type);
        f.required = row.value(5).toString() == QLatin1String("NO");
        out << f;
    }
    return out;
}

QList<IndexDef> PgCatalogue::indexes(const QString &table)
{
    const auto r = pc_.query(QStringLiteral("SELECT indice, campos, primario, unico, sin_mayusculas, descendente "
                                            "FROM %1 WHERE lower(tabla) = lower(%2) ORDER BY primario DESC, orden")
                                 .arg(kCatalogueIndexes, q(table)), {});
    if (r.rows.isEmpty())
        return serverIndexes(table);
    QList<IndexDef> out;
    for (const auto &row : r.rows) {
        IndexDef ix;
        ix.name = row.value(0).toString();
        ix.fields = row.value(1).toString().split(QLatin1Char(';'), Qt::SkipEmptyParts);
        ix.primary = row.value(2).toBool();
        ix.unique = row.value(3).toBool();
        ix.caseInsensitive = row.value(4).toBool();
        ix.descending = row.value(5).toBool();
        out << ix;
    }
    return out;
}

QList<IndexDef> PgCatalogue::serverIndexes(const QString &table)
{
    const auto r = pc_.query(
        QStringLiteral("SELECT c.relname, i.indisprimary, i.indisunique, a.attname FROM pg_index i "
                       "JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_class t ON t.oid = i.indrelid "
                       "JOIN pg_namespace n ON n.oid = t.relnamespace AND n.nspname = current_schema() "
                       "JOIN LATERAL unnest(i.indkey) WITH ORDINALITY AS k(attnum, pos) ON TRUE "
                       "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum "
                       "WHERE t.relname = lower(%1) ORDER BY i.indisprimary DESC, c.relname, k.pos").arg(q(table)), {});
    QList<IndexDef> out;
    for (const auto &row : r.rows) {
        const QString name = row.value(0).toString();
        if (out.isEmpty() || out.last().name != name) {
            IndexDef ix;
            ix.name = name;
            ix.primary = row.value(1).toBool();
            ix.unique = row.value(2).toBool();
            out << ix;
        }
        out.last().fields << row.value(3).toString();
    }
    return out;
}

QString PgCatalogue::withCollations(const QString &sql)
{
    static const Q collate(QStringLiteral("\\bCOLLATE\\s+(\\w+)"), Q::CaseInsensitiveOption);
    auto it = collate.globalMatch(sql);
    while (it.hasNext()) {
        const QString name = it.next().captured(1).toLower();
        if (collations_.contains(name))
            continue;
        const bool ci = name.contains(QLatin1String("_ci"));
        const bool ai = name.contains(QLatin1String("_ai"));
        collations_.insert(name);
        if (!ci && !ai)
            continue;
        // ICU strength: level 1 ignores case and accents, level 2 only case.
        const QString locale = ai ? QStringLiteral("und-u-ks-level1") : QStringLiteral("und-u-ks-level2");
        try {
            pc_.exec(QStringLiteral("CREATE COLLATION IF NOT EXISTS %1 (provider = icu, locale = '%2', "
                                    "deterministic = false)").arg(name, locale), {});
        } catch (const gp::DatabaseError &) {
            // A server without ICU keeps its own order; the statement then reports the failure.
        }
    }
    return sql;
}

} // namespace plat
