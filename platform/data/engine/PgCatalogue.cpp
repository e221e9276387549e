#include "platform/data/engine/PgCatalogue.h"

#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/PhysicalConnection.h"
#include "platform/data/engine/Session.h"

#include <QRegularExpression>
#include <algorithm>

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

// "CREATE TABLE name (body)": the name and the body.
QRegularExpressionMatch createTableMatch(const QString &sql)
{
    static const Q createTable(QStringLiteral("^\\s*CREATE\\s+TABLE\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(?:dbo\\.)?(\\w+)\\s*\\((.*)\\)\\s*;?\\s*$"),
                               Q::CaseInsensitiveOption | Q::DotMatchesEverythingOption);
    return createTable.match(sql);
}

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

PgCatalogue::PgCatalogue(PhysicalConnection &connection)
    : pc_(connection), shared_(connection.session().sharedCatalogue(connection.location()))
{
}

bool PgCatalogue::isCatalogueTable(const QString &name)
{
    return name.compare(kCatalogueColumns, Qt::CaseInsensitive) == 0
        || name.compare(kCatalogueIndexes, Qt::CaseInsensitive) == 0;
}

namespace {

// The record's two tables, made where the first table is recorded.
QString recordTablesCreation()
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (tabla VARCHAR(128) NOT NULL, orden INTEGER NOT NULL, "
                          "nombre VARCHAR(128) NOT NULL, tipo VARCHAR(64) NOT NULL, requerido BOOLEAN NOT NULL);"
                          "CREATE TABLE IF NOT EXISTS %2 (tabla VARCHAR(128) NOT NULL, orden INTEGER NOT NULL, "
                          "indice VARCHAR(128) NOT NULL, fisico VARCHAR(128) NOT NULL, campos TEXT NOT NULL, "
                          "primario BOOLEAN NOT NULL, unico BOOLEAN NOT NULL, sin_mayusculas BOOLEAN NOT NULL, "
                          "descendente BOOLEAN NOT NULL)")
        .arg(kCatalogueColumns, kCatalogueIndexes);
}

} // namespace

// Made where the first table is recorded, in one exchange; a database that has them is not
// asked again.
void PgCatalogue::ensureRecordTables()
{
    loadNames();
    if (shared_->recordFound)
        return;
    try {
        pc_.exec(recordTablesCreation(), {});
    } catch (const gp::DatabaseError &) {
        // Another connection made them at the same moment.
    }
    shared_->recordFound = true;
}

void PgCatalogue::forgetTable(const QString &table)
{
    loadNames();
    if (shared_->recordFound)
        pc_.exec(forgetStatements(table), {});
    shared_->loaded = false;
    forgetRecord(table);
}

QString PgCatalogue::forgetStatements(const QString &table)
{
    return QStringLiteral("DELETE FROM %1 WHERE lower(tabla) = lower(%2);DELETE FROM %3 WHERE lower(tabla) = lower(%2)")
        .arg(kCatalogueColumns, q(table), kCatalogueIndexes);
}

QString PgCatalogue::columnRow(const QString &table, int order, const QString &name, const QString &type, bool required)
{
    return QStringLiteral("(%1, %2, %3, %4, %5)").arg(q(table)).arg(order).arg(q(name), q(type), boolText(required));
}

QString PgCatalogue::indexRow(const QString &table, const QString &order, const IndexDef &ix, const QString &physical)
{
    return QStringLiteral("(%1, %2, %3, %4, %5, %6, %7, %8, %9)")
        .arg(q(table), order, q(ix.name), q(physical), q(ix.fields.join(QLatin1Char(';'))), boolText(ix.primary),
             boolText(ix.unique || ix.primary), boolText(ix.caseInsensitive), boolText(ix.descending));
}

// A table's record written anew, in one exchange.
void PgCatalogue::runRecorded(const QString &statements, bool commits)
{
    if (commits)
        pc_.commitWithNext();
    pc_.exec(statements, {});
}

QString PgCatalogue::recordStatements(const QString &table, const QStringList &columnRows, const QStringList &indexRows)
{
    QStringList statements{forgetStatements(table)};
    if (!columnRows.isEmpty())
        statements << QStringLiteral("INSERT INTO %1 VALUES %2").arg(kCatalogueColumns, columnRows.join(QStringLiteral(", ")));
    if (!indexRows.isEmpty())
        statements << QStringLiteral("INSERT INTO %1 VALUES %2").arg(kCatalogueIndexes, indexRows.join(QStringLiteral(", ")));
    return statements.join(QLatin1Char(';'));
}

void PgCatalogue::writeRecord(const QString &table, const QStringList &columnRows, const QStringList &indexRows,
                              TableRecord written, const QStringList &creation, bool commits)
{
    ensureRecordTables();
    // The table's own statements after its record, in the same text: they stand or fall
    // together (the text is one statement's savepoint, or one implicit transaction).
    runRecorded((QStringList{recordStatements(table, columnRows, indexRows)} + creation).join(QLatin1Char(';')), commits);
    noteWritten(table, std::move(written));
}

// A roll-back forgets what was noted.
void PgCatalogue::noteWritten(const QString &table, TableRecord written)
{
    forgetRecord(table);
    if (!shared_->loaded || written.columns.isEmpty() || written.indexes.isEmpty()) {
        shared_->loaded = false;
        return;   // read back when wanted
    }
    shared_->names.insert(table.toLower(), table);
    for (const FieldDef &f : written.columns)
        shared_->names.insert(f.name.toLower(), f.name);
    // The primary first, the others in their order, as the record is read.
    std::stable_partition(written.indexes.begin(), written.indexes.end(), [](const IndexDef &ix) { return ix.primary; });
    records_.insert(table.toLower(), std::move(written));
}

void PgCatalogue::recordTable(const TableDef &def)
{
    createAndRecord(def, {});
}

void PgCatalogue::createAndRecord(const TableDef &def, const QStringList &creation)
{
    QStringList columns, indexes;
    TableRecord written;
    int order = 0;
    for (const auto &f : def.fields) {
        const QString type = declaredTypeOfField(f);
        if (type.isEmpty())
            continue;
        columns << columnRow(def.name, ++order, f.name, type, f.required);
        written.columns << recordedField(f.name, type, f.required);
    }
    order = 0;
    for (const auto &ix : def.indexes) {
        indexes << indexRow(def.name, QString::number(ix.primary ? 0 : ++order), ix,
                            pc_.dialect().physicalIndexName(def.name, ix.name));
        written.indexes << recordedIndex(ix);
    }
    writeRecord(def.name, columns, indexes, std::move(written), creation);
}

FieldDef PgCatalogue::recordedField(const QString &name, const QString &type, bool required)
{
    FieldDef f = fieldFromDeclaredType(name, type);
    f.required = required;
    return f;
}

IndexDef PgCatalogue::recordedIndex(IndexDef ix)
{
    ix.unique = ix.unique || ix.primary;
    return ix;
}

namespace {

// "CREATE [UNIQUE] INDEX name ON table (columns)": whether unique, the name, the table, the columns.
QRegularExpressionMatch createIndexMatch(const QString &sql)
{
    static const QRegularExpression createIndex(
        QStringLiteral("^\\s*CREATE\\s+(UNIQUE\\s+)?INDEX\\s+(?:IF\\s+NOT\\s+EXISTS\\s+)?(\\w+)\\s+ON\\s+(?:dbo\\.)?(\\w+)\\s*\\((.*)\\)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return createIndex.match(sql);
}

} // namespace

void PgCatalogue::recordStatement(const QString &sql)
{
    static const Q dropTable(QStringLiteral("^\\s*DROP\\s+TABLE\\s+(?:IF\\s+EXISTS\\s+)?(?:dbo\\.)?(\\w+)\\s*;?\\s*$"),
                             Q::CaseInsensitiveOption);
    static const Q dropIndex(QStringLiteral("^\\s*DROP\\s+INDEX\\s+(?:IF\\s+EXISTS\\s+)?(\\w+)\\s*;?\\s*$"),
                             Q::CaseInsensitiveOption);
    // Whatever changes a structure may change one that was read: the table named, or any.
    static const Q structure(QStringLiteral("^\\s*(CREATE|ALTER|DROP|TRUNCATE|COMMENT)\\b"), Q::CaseInsensitiveOption);
    if (auto m = createTableMatch(sql); m.hasMatch()) {
        if (!isCatalogueTable(m.captured(1)))
            recordCreateTable(m.captured(1), m.captured(2));
    } else if (auto m = createIndexMatch(sql); m.hasMatch()) {
        recordCreateIndex(m.captured(2), m.captured(3), m.captured(4), !m.captured(1).isEmpty());
    } else if (auto m = dropTable.match(sql); m.hasMatch()) {
        if (!isCatalogueTable(m.captured(1)))
            forgetTable(m.captured(1));
    } else if (structure.match(sql).hasMatch()) {
        forgetRecords();
        if (auto m = dropIndex.match(sql); m.hasMatch()) {
            loadNames();
            if (shared_->recordFound)
                pc_.exec(QStringLiteral("DELETE FROM %1 WHERE lower(fisico) = lower(%2)").arg(kCatalogueIndexes, q(m.captured(1))), {});
        }
    }
}

bool PgCatalogue::createRecorded(const QString &sql)
{
    const auto table = createTableMatch(sql);
    const auto index = table.hasMatch() ? QRegularExpressionMatch() : createIndexMatch(sql);
    if ((table.hasMatch() && isCatalogueTable(table.captured(1))) || (!table.hasMatch() && !index.hasMatch())
        || !pc_.dialect().isSingleStatement(sql))
        return false;
    // The reads and the record's tables that may come first do not take the commit along.
    const bool commits = pc_.takeCommitWithNext();
    if (table.hasMatch())
        recordCreateTable(table.captured(1), table.captured(2), {sql}, commits);
    else
        recordCreateIndex(index.captured(2), index.captured(3), index.captured(4), !index.captured(1).isEmpty(), {sql},
                          commits);
    return true;
}

void PgCatalogue::recordCreateTable(const QString &table, const QString &body, const QStringList &creation, bool commits)
{
    QStringList columns, indexes;
    TableRecord written = tableRecordOf(table, body, columns, indexes);
    writeRecord(table, columns, indexes, std::move(written), creation, commits);
}

PgCatalogue::TableRecord PgCatalogue::tableRecordOf(const QString &table, const QString &body, QStringList &columns,
                                                    QStringList &indexes) const
{
    static const Q constraint(QStringLiteral("^(?:CONSTRAINT\\s+(\\w+)\\s+)?PRIMARY\\s+KEY\\s*\\((.*)\\)$"),
                              Q::CaseInsensitiveOption | Q::DotMatchesEverythingOption);
    static const Q column(QStringLiteral("^(\\w+)\\s+(.*?)(?=\\s+(?:DEFAULT|NULL|NOT|PRIMARY|CONSTRAINT|COLLATE|REFERENCES|UNIQUE|CHECK|GENERATED)\\b|$)"),
                          Q::CaseInsensitiveOption | Q::DotMatchesEverythingOption);
    TableRecord written;
    const QString primaryName = pc_.dialect().physicalIndexName(table, QStringLiteral("Clave1"));
    int order = 0;
    for (const QString &part : splitTopLevel(body)) {
        if (auto m = constraint.match(part); m.hasMatch()) {
            IndexDef ix = indexFromColumns(m.captured(2));
            ix.primary = ix.unique = true;
            ix.name = m.captured(1).isEmpty() ? primaryName : m.captured(1);
            indexes << indexRow(table, QStringLiteral("0"), ix, ix.name);
            written.indexes << recordedIndex(ix);
            continue;
        }
        const auto m = column.match(part);
        if (!m.hasMatch())
            continue;
        const QString rest = part.mid(m.capturedEnd(0)).toUpper();
        QString type = m.captured(2).trimmed();
        if (rest.contains(QLatin1String("GENERATED")))
            type = QStringLiteral("AUTOINC");
        columns << columnRow(table, ++order, m.captured(1), type, rest.contains(QLatin1String("NOT NULL")));
        written.columns << recordedField(m.captured(1), type, rest.contains(QLatin1String("NOT NULL")));
        if (rest.contains(QLatin1String("PRIMARY KEY"))) {
            IndexDef ix;
            ix.primary = ix.unique = true;
            ix.fields << m.captured(1);
            ix.name = primaryName;
            indexes << indexRow(table, QStringLiteral("0"), ix, ix.name);
            written.indexes << recordedIndex(ix);
        }
    }
    return written;
}

QString PgCatalogue::indexRecordOf(const QString &name, const QString &table, const QString &columns, bool unique,
                                   IndexDef &ix) const
{
    ix = indexFromColumns(columns);
    ix.name = name;
    ix.unique = unique;
    // After the table's other indexes.
    const QString order = QStringLiteral("(SELECT COALESCE(MAX(orden), 0) + 1 FROM %1 WHERE lower(tabla) = lower(%2))")
                              .arg(kCatalogueIndexes, q(table));
    return QStringLiteral("DELETE FROM %1 WHERE lower(fisico) = lower(%2);INSERT INTO %1 VALUES %3")
        .arg(kCatalogueIndexes, q(name), indexRow(table, order, ix, name));
}

void PgCatalogue::recordCreateIndex(const QString &name, const QString &table, const QString &columns, bool unique,
                                    const QStringList &creation, bool commits)
{
    IndexDef ix;
    const QString record = indexRecordOf(name, table, columns, unique, ix);
    ensureRecordTables();
    runRecorded((QStringList{record} + creation).join(QLatin1Char(';')), commits);
    forgetRecord(table);
}

// The check, the record's tables where there are none yet, the record and the creation run
// in one block on the server; the answer says whether the block made the table. The record's
// tables are made under a guard of their own: another program making its first table at the
// same moment may make them first.
bool PgCatalogue::createUnlessExists(const QString &table, const QStringList &statements)
{
    // The read of the record that may come first does not take the commit along.
    const bool commits = pc_.takeCommitWithNext();
    loadNames();
    QStringList block;
    if (!shared_->recordFound)
        block << QStringLiteral("BEGIN %1; EXCEPTION WHEN duplicate_table OR unique_violation THEN NULL; END")
                     .arg(recordTablesCreation());
    TableRecord written;
    bool whole = true;   // the statements are all the record knows how to read
    for (const QString &sql : statements) {
        if (const auto m = createTableMatch(sql); m.hasMatch() && !isCatalogueTable(m.captured(1))) {
            QStringList columnRows, indexRows;
            written = tableRecordOf(m.captured(1), m.captured(2), columnRows, indexRows);
            block << recordStatements(m.captured(1), columnRows, indexRows);
        } else if (const auto i = createIndexMatch(sql); i.hasMatch()) {
            IndexDef ix;
            block << indexRecordOf(i.captured(2), i.captured(3), i.captured(4), !i.captured(1).isEmpty(), ix);
            written.indexes << recordedIndex(ix);
        } else {
            whole = false;
        }
        block << sql;
    }
    const QString body = block.join(QStringLiteral(";\n"));
    QString quote = QStringLiteral("$gp_crear$");
    for (int n = 1; body.contains(quote); ++n)
        quote = QStringLiteral("$gp_crear%1$").arg(n);
    const QString text =
        QStringLiteral("DO %1 BEGIN PERFORM set_config('gp.tabla_hecha', 'no', TRUE);\n"
                       "IF NOT EXISTS (SELECT 1 FROM pg_catalog.pg_class c JOIN pg_catalog.pg_namespace n "
                       "ON n.oid = c.relnamespace WHERE n.nspname = current_schema() AND c.relname = lower(%2)) THEN\n"
                       "%3;\nPERFORM set_config('gp.tabla_hecha', 'si', TRUE);\nEND IF; END %1;"
                       "SELECT current_setting('gp.tabla_hecha')")
            .arg(quote, q(table), body);
    if (commits)
        pc_.commitWithNext();
    const QueryResult r = pc_.query(text, {});
    if (r.rows.value(0).value(0).toString() != QLatin1String("si")) {
        // Made by another program: its record is read when wanted.
        forgetRecord(table);
        shared_->loaded = false;
        return false;
    }
    shared_->recordFound = true;
    if (whole)
        noteWritten(table, std::move(written));
    else
        forgetRecords();
    return true;
}

void PgCatalogue::loadNames() const
{
    if (shared_->loaded || loading_)
        return;
    auto &self = const_cast<PgCatalogue &>(*this);
    if (!wholeRead_) {
        self.readWholeRecord();
        return;
    }
    loading_ = true;  // the query below must not map its own column names
    shared_->names.clear();
    QueryResult r;
    try {
        r = self.pc_.catalogueQuery(QStringLiteral("SELECT nombre FROM %1 UNION SELECT tabla FROM %1").arg(kCatalogueColumns));
        shared_->recordFound = true;
    } catch (const gp::DatabaseError &e) {
        loading_ = false;
        if (e.kind() != gp::DatabaseErrorKind::MissingTable)
            throw;
        shared_->recordFound = false;   // a database where nothing was recorded yet
    }
    for (const auto &row : r.rows) {
        const QString n = row.value(0).toString();
        shared_->names.insert(n.toLower(), n);
    }
    shared_->loaded = true;
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
    return shared_->names.value(name.toLower(), name);
}

QStringList PgCatalogue::tableNames()
{
    const auto r = pc_.catalogueQuery(QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = current_schema()"));
    QStringList out;
    for (const auto &row : r.rows) {
        const QString n = row.value(0).toString();
        if (!isCatalogueTable(n))
            out << declaredName(n);
    }
    return out;
}

// Every table's columns and indexes as the record holds them, and the declared names with
// them, in one query; a database where nothing was recorded holds none.
void PgCatalogue::readWholeRecord()
{
    loading_ = true;   // the query must not map its own column names
    QueryResult r;
    bool found = true;
    try {
        // Columns in their order, then indexes, the primary first.
        r = pc_.catalogueQuery(QStringLiteral("SELECT 0, 0, orden, tabla, nombre, tipo, requerido, FALSE, FALSE, FALSE FROM %1 "
                                     "UNION ALL SELECT 1, CASE WHEN primario THEN 0 ELSE 1 END, orden, tabla, indice, "
                                     "campos, primario, unico, sin_mayusculas, descendente FROM %2 ORDER BY 1, 2, 3")
                          .arg(kCatalogueColumns, kCatalogueIndexes));
    } catch (const gp::DatabaseError &e) {
        loading_ = false;
        if (e.kind() != gp::DatabaseErrorKind::MissingTable)
            throw;
        found = false;
    }
    loading_ = false;
    records_.clear();
    shared_->names.clear();
    for (const auto &row : r.rows) {
        const QString table = row.value(3).toString();
        TableRecord &record = records_[table.toLower()];
        shared_->names.insert(table.toLower(), table);
        if (row.value(0).toInt() == 0) {
            FieldDef f = fieldFromDeclaredType(row.value(4).toString(), row.value(5).toString());
            f.required = row.value(6).toBool();
            shared_->names.insert(f.name.toLower(), f.name);
            record.columns << f;
            continue;
        }
        IndexDef ix;
        ix.name = row.value(4).toString();
        ix.fields = row.value(5).toString().split(QLatin1Char(';'), Qt::SkipEmptyParts);
        ix.primary = row.value(6).toBool();
        ix.unique = row.value(7).toBool();
        ix.caseInsensitive = row.value(8).toBool();
        ix.descending = row.value(9).toBool();
        record.indexes << ix;
    }
    shared_->recordFound = found;
    shared_->loaded = true;
    wholeRead_ = true;
}

// One table as the record holds it and as the server gives it, in one query: what the
// record does not hold of it (its columns, its indexes) is the server's.
PgCatalogue::TableRecord PgCatalogue::readTable(const QString &table)
{
    // Each row: what it is (0 a recorded column, 1 a recorded index, 2 a column of the
    // server's, 3 an index of the server's), its place, and its words as text.
    const QString server =
        QStringLiteral("SELECT 2, 0, '', ordinal_position::int, column_name::text, upper(data_type), is_nullable::text, "
                       "character_maximum_length::text, numeric_precision::text, numeric_scale::text "
                       "FROM information_schema.columns WHERE table_schema = current_schema() AND table_name = lower(%1) "
                       "UNION ALL SELECT 3, CASE WHEN i.indisprimary THEN 0 ELSE 1 END, c.relname::text, k.pos::int, "
                       "c.relname::text, a.attname::text, i.indisprimary::text, i.indisunique::text, '', '' FROM pg_index i "
                       "JOIN pg_class c ON c.oid = i.indexrelid JOIN pg_class t ON t.oid = i.indrelid "
                       "JOIN pg_namespace n ON n.oid = t.relnamespace AND n.nspname = current_schema() "
                       "JOIN LATERAL unnest(i.indkey) WITH ORDINALITY AS k(attnum, pos) ON TRUE "
                       "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum WHERE t.relname = lower(%1)")
            .arg(q(table));
    const QString recorded =
        QStringLiteral("SELECT 0, 0, '', orden, nombre::text, tipo::text, requerido::text, '', '', '' FROM %1 "
                       "WHERE lower(tabla) = lower(%3) UNION ALL "
                       "SELECT 1, CASE WHEN primario THEN 0 ELSE 1 END, '', orden, indice::text, campos, primario::text, "
                       "unico::text, sin_mayusculas::text, descendente::text FROM %2 WHERE lower(tabla) = lower(%3) UNION ALL ")
            .arg(kCatalogueColumns, kCatalogueIndexes, q(table));
    const QueryResult r =
        pc_.catalogueQuery((shared_->recordFound ? recorded : QString()) + server + QStringLiteral(" ORDER BY 1, 2, 3, 4"));
    const auto yes = [](const QVariant &v) { return v.toString() == QLatin1String("true"); };
    TableRecord found, fromServer;
    for (const auto &row : r.rows) {
        switch (row.value(0).toInt()) {
        case 0: {
            FieldDef f = fieldFromDeclaredType(row.value(4).toString(), row.value(5).toString());
            f.required = yes(row.value(6));
            found.columns << f;
            break;
        }
        case 1: {
            IndexDef ix;
            ix.name = row.value(4).toString();
            ix.fields = row.value(5).toString().split(QLatin1Char(';'), Qt::SkipEmptyParts);
            ix.primary = yes(row.value(6));
            ix.unique = yes(row.value(7));
            ix.caseInsensitive = yes(row.value(8));
            ix.descending = yes(row.value(9));
            found.indexes << ix;
            break;
        }
        case 2: {
            QString type = row.value(5).toString();
            if (type == QLatin1String("CHARACTER VARYING"))
                type = QStringLiteral("VARCHAR(%1)").arg(row.value(7).toInt());
            else if (type == QLatin1String("NUMERIC"))
                type = QStringLiteral("DECIMAL(%1,%2)").arg(row.value(8).toInt()).arg(row.value(9).toInt());
            else if (type.startsWith(QLatin1String("TIMESTAMP")))
                type = QStringLiteral("DATETIME");
            FieldDef f = fieldFromDeclaredType(row.value(4).toString(), type);
            f.required = row.value(6).toString() == QLatin1String("NO");
            fromServer.columns << f;
            break;
        }
        default: {
            const QString name = row.value(4).toString();
            if (fromServer.indexes.isEmpty() || fromServer.indexes.last().name != name) {
                IndexDef ix;
                ix.name = name;
                ix.primary = yes(row.value(6));
                ix.unique = yes(row.value(7));
                fromServer.indexes << ix;
            }
            fromServer.indexes.last().fields << row.value(5).toString();
        }
        }
    }
    if (found.columns.isEmpty()) {
        if (fromServer.columns.isEmpty())
            throw engineFailure(EngineText::TableDoesNotExist, table);
        found.columns = fromServer.columns;
    }
    if (found.indexes.isEmpty())
        found.indexes = fromServer.indexes;
    return found;
}

const PgCatalogue::TableRecord &PgCatalogue::record(const QString &table)
{
    const QString key = table.toLower();
    if (!wholeRead_)
        readWholeRecord();
    if (const auto it = records_.constFind(key); it != records_.constEnd())
        return *it;
    return *records_.insert(key, readTable(table));
}

void PgCatalogue::forgetRecords()
{
    records_.clear();
    wholeRead_ = false;
    noteChange();
}

void PgCatalogue::forgetRecord(const QString &table)
{
    records_.remove(table.toLower());
    noteChange();
}

// Only a change inside a transaction can be undone by its roll-back.
void PgCatalogue::noteChange()
{
    changed_ = changed_ || pc_.depth() > 0;
}

void PgCatalogue::transactionUndone()
{
    // What was recorded since may be gone, and what was read of it with it.
    if (!std::exchange(changed_, false))
        return;
    records_.clear();
    wholeRead_ = false;
    shared_->loaded = false;
}

QList<FieldDef> PgCatalogue::columns(const QString &table)
{
    return record(table).columns;
}

bool PgCatalogue::holdsColumns(const QString &table)
{
    if (!wholeRead_)
        readWholeRecord();
    return records_.contains(table.toLower());
}

QList<IndexDef> PgCatalogue::indexes(const QString &table)
{
    return record(table).indexes;
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
        // The commit asked to go with the statement goes with it, not with its collation.
        const bool commits = pc_.takeCommitWithNext();
        try {
            pc_.exec(QStringLiteral("CREATE COLLATION IF NOT EXISTS %1 (provider = icu, locale = '%2', "
                                    "deterministic = false)").arg(name, locale), {});
        } catch (const gp::DatabaseError &) {
            // A server without ICU keeps its own order; the statement then reports the failure.
        }
        if (commits)
            pc_.commitWithNext();
    }
    return sql;
}

} // namespace plat
