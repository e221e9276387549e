#pragma once
#include "platform/data/engine/Dialect.h"

#include <QSet>
#include <functional>

namespace plat {

// "SELECT TOP n ..." written by the program, as "SELECT ... LIMIT n".
QString rewriteTopAsLimit(const QString &sql);
// "(SELECT TOP n ...)" sub-queries written by the program, as "(SELECT ... LIMIT n)".
QString rewriteSubqueryTopAsLimit(const QString &sql);
// A column alias or an ORDER BY item written as a quoted text ("AS 'Total'",
// "ORDER BY 'Total' DESC") as a double-quoted name: PostgreSQL refuses both, and SQLite reads
// the ordering item as a constant and does not sort. Texts anywhere else stay as they are.
QString quotedNamesAsIdentifiers(const QString &sql);
// "DELETE <table> ..." written by the program, as "DELETE FROM <table> ...".
QString addFromToDelete(const QString &sql);
// Every "<database>.dbo.<table>" of a statement replaced by name(database, table).
QString removeThreePartOwner(const QString &sql,
                             const std::function<QString(const QString &, const QString &)> &name);

// How an engine reads the text around and between its statements.
struct StatementLexicon
{
    bool nestedComments = false;       // "/* /* */ */" is one comment
    bool unclosedCommentEnds = false;  // an unclosed "/*" runs to the end of the text
    bool bracketNames = false;         // "[name]"
    bool doubledBrackets = false;      // "]]" stays inside a bracketed name; else the first "]" closes it
    bool backtickNames = false;        // "`name`"
    bool escapeStrings = false;        // E'...' takes backslash escapes
    bool backslashStrings = false;     // every '...' takes them
    bool dollarQuotes = false;         // $$...$$ and $tag$...$tag$
    // Names are ASCII letters, digits, "_", "$", "@" and "#"; else "_", "$", digits and any
    // letter or character beyond ASCII.
    bool atSignNames = false;
    // ":name", "@name", "#name" and "$name" (with "::" and a final "(...)") are one piece.
    bool variableNames = false;
    // Where ";" is optional: the upper-case words that start a statement, any of them after
    // the first word being a second statement.
    const QSet<QString> *statementWords = nullptr;
};
// Dialect::isSingleStatement for one such reading.
bool isSingleStatement(QStringView sql, const StatementLexicon &lexicon);

// SQLite: "Paradox" folders. Types are kept as declared words; the folding function,
// the numeric test and the day/month/year functions are registered by the connection.
class SqliteDialect : public Dialect
{
public:
    EngineKind kind() const override { return EngineKind::SQLite; }
    QString qtDriver() const override { return QStringLiteral("QSQLITE"); }
    std::unique_ptr<Catalogue> catalogue(PhysicalConnection &connection) const override;
    QStringList sessionStatements() const override;
    QString beginStatement() const override { return QStringLiteral("BEGIN IMMEDIATE"); }
    // Dates compare as instants of the calendar, whichever text form holds them.
    QString sameValueCondition(const QString &column, TFieldType type, const QString &param) const override;
    QString selectTop(const QString &selectSql, int n) const override;
    QString lastInsertedIdQuery(const QString &table, const QString &column) const override;
    QString caseInsensitiveOrder(const QString &column) const override;
    const FilterSqlDialect &filterDialect() const override;
    QString isNumeric(const QString &expr) const override;
    QString keyFieldsQuery(const QString &table, const QString &indexName) const override;
    QString columnsQuery(const QString &table, bool withoutMemos) const override;
    QString columnType(const FieldDef &field) const override;
    QString identityColumnType() const override;
    QString foldExpression(const QString &expr) const override;
    QStringList createTableStatements(const TableDef &def) const override;
    QString isolationStatement(IsolationLevel level) const override;
    // The connection's query_only switch: no transaction, and so no write lock, is taken.
    ReadOnlyRun readOnlyRun() const override
    {
        return {QStringLiteral("PRAGMA query_only = ON"), QStringLiteral("PRAGMA query_only = OFF"), false, false};
    }
    QString adaptProgramSql(const QString &sql) const override;
    bool isSingleStatement(QStringView sql) const override;

protected:
    QString indexColumn(const IndexDef &index, const QString &field) const override;
};

// PostgreSQL: "SQL Generica". Names and types come back through the layer's catalogue.
class PostgresDialect : public Dialect
{
public:
    EngineKind kind() const override { return EngineKind::PostgreSQL; }
    QString qtDriver() const override { return QStringLiteral("QPSQL"); }
    std::unique_ptr<Catalogue> catalogue(PhysicalConnection &connection) const override;
    QStringList sessionStatements() const override;
    // A lock not granted in time fails with SQLSTATE 55P03, a locked record.
    QString lockWaitStatement(int milliseconds) const override;
    // The same settings, the date style the engine reads dates in and the isolation level, as
    // the start-up options of a libpq connection ("-c name=value ..."): a session of the
    // engine's own starts with them, without a statement.
    QByteArray startupOptions(int lockWaitMs, IsolationLevel isolation) const;
    bool statementSavepoints() const override { return true; }
    QString selectTop(const QString &selectSql, int n) const override;
    QString lastInsertedIdQuery(const QString &table, const QString &column) const override;
    bool nullsSortFirst() const override { return false; }
    QString caseInsensitiveOrder(const QString &column) const override;
    QString caseInsensitiveValue(const QString &value) const override;
    const FilterSqlDialect &filterDialect() const override;
    QString isNumeric(const QString &expr) const override;
    // Through NUMERIC: the numeric test passes "12.5", which INTEGER refuses.
    QString castInteger(const QString &expr) const override;
    QString keyFieldsQuery(const QString &table, const QString &indexName) const override;
    QString columnsQuery(const QString &table, bool withoutMemos) const override;
    QString columnType(const FieldDef &field) const override;
    QString identityColumnType() const override;
    QString foldExpression(const QString &expr) const override;
    // The server's LIKE takes the backslash as its escape unless told otherwise.
    QString likeWithoutEscape() const override { return QStringLiteral(" ESCAPE ''"); }
    QString threePartName(const QString &database, const QString &table, bool sameDatabase) const override;
    QString adaptProgramSql(const QString &sql) const override;
    QString tableCreationLock(const QString &table) const override;
    // Transactions the session starts are read-only; a savepoint inside one could not make
    // its own so (the setting would go with the savepoint).
    ReadOnlyRun readOnlyRun() const override
    {
        return {QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"),
                QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ WRITE"), true, true};
    }
    QString maintenanceDatabase() const override { return QStringLiteral("postgres"); }
    QStringList databaseCreation(const QString &name, const QStringList &programStatements) const override;
    // Read both with and without standard strings (a server may have them off, where every
    // '...' takes backslash escapes): one statement only when both readings say so.
    bool isSingleStatement(QStringView sql) const override;

protected:
    QString indexColumn(const IndexDef &index, const QString &field) const override;
};

// Microsoft SQL Server through ODBC and FreeTDS: the program's own texts.
class SqlServerDialect : public Dialect
{
public:
    EngineKind kind() const override { return EngineKind::SqlServer; }
    QString qtDriver() const override { return QStringLiteral("QODBC"); }
    std::unique_ptr<Catalogue> catalogue(PhysicalConnection &connection) const override;
    // A lock not granted in time fails with error 1222, a locked record.
    QString lockWaitStatement(int milliseconds) const override
    {
        return QStringLiteral("SET LOCK_TIMEOUT %1").arg(milliseconds);
    }
    QString selectTop(const QString &selectSql, int n) const override;
    QString pageClause(int n, qint64 offset) const override;
    QString lastInsertedIdQuery(const QString &table, const QString &column) const override;
    bool exactTextEquality() const override { return false; }
    QString caseInsensitiveOrder(const QString &column) const override;
    QString leftPart(const QString &expr, int n) const override;
    const FilterSqlDialect &filterDialect() const override;
    QString lockHint() const override;
    QString isNumeric(const QString &expr) const override;
    QString concat(const QStringList &parts) const override;
    QString dateLiteral(const QDateTime &value) const override;
    QString dateLiteralText(const QDateTime &value, const QString &programLiteral) const override;
    QString keyFieldsQuery(const QString &table, const QString &indexName) const override;
    QString columnsQuery(const QString &table, bool withoutMemos) const override;
    QString columnType(const FieldDef &field) const override;
    QString identityColumnType() const override;
    QString foldExpression(const QString &expr) const override;
    QString threePartName(const QString &database, const QString &table, bool sameDatabase) const override;
    QString tableCreationLock(const QString &table) const override;
    QString maintenanceDatabase() const override { return QStringLiteral("master"); }
    // ";" is optional here: a word that starts a statement (INSERT, EXEC, DROP...) after the
    // first word counts as a second one.
    bool isSingleStatement(QStringView sql) const override;
    QString savepointStatement(const QString &name) const override { return QStringLiteral("SAVE TRANSACTION ") + name; }
    QString rollbackToSavepointStatement(const QString &name) const override
    {
        return QStringLiteral("ROLLBACK TRANSACTION ") + name;
    }
    QString releaseSavepointStatement(const QString &) const override { return {}; }
    // TEXT and IMAGE columns cannot be compared with "=".
    QString sameValueCondition(const QString &column, TFieldType type, const QString &param) const override;

    // The program's `FormatoFechaSQL` ("dd/mm/yyyy" or "mm/dd/yyyy", the default).
    static void setProgramDateFormat(const QString &format);
    static QString programDateFormat();

protected:
    QString indexColumn(const IndexDef &index, const QString &field) const override;
};

// The name under which the PostgreSQL dialect keeps its record of declared names.
inline const QString kCatalogueColumns = QStringLiteral("gp_catalogo_columnas");
inline const QString kCatalogueIndexes = QStringLiteral("gp_catalogo_indices");

} // namespace plat
