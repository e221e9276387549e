#pragma once
#include "platform/base/EngineKind.h"
#include "platform/data/engine/Schema.h"
#include "platform/data/filter/FilterSqlDialect.h"
#include "platform/base/LiteralFechaSQL.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

namespace plat {

class Catalogue;
class PhysicalConnection;

// Transaction isolation as the program names it.
enum class IsolationLevel { DirtyRead, ReadCommitted, RepeatableRead };

// The SQL the program builds, said the way one engine wants it. One object per engine,
// shared and stateless. On SQL Server texts stay exactly as the program writes them;
// the other engines get their equivalent.
class Dialect
{
public:
    virtual ~Dialect() = default;
    static const Dialect &forEngine(EngineKind kind);

    virtual EngineKind kind() const = 0;
    // The QtSql driver that carries this engine ("QSQLITE", "QPSQL", "QODBC").
    virtual QString qtDriver() const = 0;
    // The reader of what a connection's database holds, made with the connection.
    virtual std::unique_ptr<Catalogue> catalogue(PhysicalConnection &connection) const = 0;
    // Statements every new connection runs before the program's own.
    virtual QStringList sessionStatements() const { return {}; }
    // How long a statement waits for a lock another connection holds before it fails as a
    // locked record, whatever the engine: a held record is told, never waited on for good.
    static constexpr int kLockWaitMs = 10000;
    // The statement that sets that wait on a new connection; empty where the engine takes it
    // otherwise (SQLite's busy handler, set on its handle).
    virtual QString lockWaitStatement(int milliseconds) const
    {
        Q_UNUSED(milliseconds);
        return QString();
    }
    // The statement that starts a transaction when the driver's own start will not do
    // (SQLite takes its write lock at once with "BEGIN IMMEDIATE"); empty: the driver's.
    // Such a transaction ends with the plain "COMMIT" and "ROLLBACK".
    virtual QString beginStatement() const { return QString(); }
    // Whether a failed statement spoils the open transaction unless it ran inside a
    // savepoint of its own (PostgreSQL).
    virtual bool statementSavepoints() const { return false; }
    // A nested transaction is a savepoint: the statements that take it, roll back to it and
    // release it (empty where the engine has no release).
    virtual QString savepointStatement(const QString &name) const { return QStringLiteral("SAVEPOINT ") + name; }
    virtual QString rollbackToSavepointStatement(const QString &name) const
    {
        return QStringLiteral("ROLLBACK TO SAVEPOINT ") + name;
    }
    virtual QString releaseSavepointStatement(const QString &name) const
    {
        return QStringLiteral("RELEASE SAVEPOINT ") + name;
    }
    // The condition that a column of that type still holds the non-null value bound as
    // `param` (what an edit read); empty where the engine cannot compare such a column.
    virtual QString sameValueCondition(const QString &column, TFieldType type, const QString &param) const
    {
        Q_UNUSED(type);
        return column + QStringLiteral(" = ") + param;
    }

    // "SELECT ..." limited to its first n rows ("SELECT TOP n ..." or "... LIMIT n").
    virtual QString selectTop(const QString &selectSql, int n) const = 0;
    // What follows an ordered SELECT to read n rows after the first `offset` ones
    // (" LIMIT n OFFSET m", or " OFFSET m ROWS FETCH NEXT n ROWS ONLY").
    virtual QString pageClause(int n, qint64 offset) const;
    // The query answering the value an auto-increment column got from the last INSERT of
    // this connection into the table.
    virtual QString lastInsertedIdQuery(const QString &table, const QString &column) const = 0;
    // Whether NULL sorts before every value in ascending order (SQLite, SQL Server) or
    // after (PostgreSQL).
    virtual bool nullsSortFirst() const { return true; }
    // Whether "=" on text holds only for the same characters (a binary or deterministic
    // collation); SQL Server's usual collations ignore case, accents and trailing blanks.
    virtual bool exactTextEquality() const { return true; }
    // A text column ordered and compared ignoring case, and the value it is compared with.
    virtual QString caseInsensitiveOrder(const QString &column) const = 0;
    virtual QString caseInsensitiveValue(const QString &value) const { return value; }
    // The first n characters of a text expression.
    virtual QString leftPart(const QString &expr, int n) const;
    // How a dataset's filter is written as a condition on this engine.
    virtual const FilterSqlDialect &filterDialect() const = 0;
    // Table hint for reads that must not wait for writers: " WITH(NOLOCK) " on SQL
    // Server, a single blank elsewhere (so the text around it reads the same).
    virtual QString lockHint() const;
    // An expression worth 1 when `expr` reads as a number, else 0.
    virtual QString isNumeric(const QString &expr) const = 0;
    // `expr` (a text that reads as a number) as an integer: "CAST(expr AS INTEGER)".
    virtual QString castInteger(const QString &expr) const;
    virtual QString concat(const QStringList &parts) const;

    // A date-time literal, quoted, as this engine reads it. The zero date is 30/12/1899.
    virtual QString dateLiteral(const QDateTime &value) const;
    QString zeroDateLiteral() const { return dateLiteral(zeroDate()); }
    // What goes between the quotes of a date the program writes, given the program's
    // own literal text: SQL Server keeps it; the others write 'yyyy-mm-dd hh:mm:ss'
    // whatever the program's text looks like (an invalid date is the zero date).
    virtual QString dateLiteralText(const QDateTime &value, const QString &programLiteral) const;
    // dateLiteralText as the hook through which the program writes date literals.
    LiteralFechaSQLFn programDateLiteral() const;
    static QDateTime zeroDate();
    // The reading a literal writes: the value's own date and time (whatever its time zone setting),
    // the zero date when it has none.
    static QDateTime literalReading(const QDateTime &value);
    // 'yyyy-mm-dd hh:mm:ss' for a date-time; the form the layer stores and binds.
    static QString isoDateTime(const QDateTime &value);
    // The same text of a valid value of years 0 to 9999 into `text`; false for any other.
    static bool isoDateTimeText(const QDateTime &value, char (&text)[19]);

    // A text literal with inner quotes doubled.
    static QString quoted(const QString &text);

    // Catalogue queries answering one column of names, in order: the key fields of an
    // index (its engine name "<table>_<index>", or empty for the primary), and the
    // columns of a table (optionally without memo columns).
    virtual QString keyFieldsQuery(const QString &table, const QString &indexName) const = 0;
    virtual QString columnsQuery(const QString &table, bool withoutMemos) const = 0;

    // The physical column type for a declared field type word (see Schema.h).
    virtual QString columnType(const FieldDef &field) const = 0;
    // The column text of an auto-increment integer.
    virtual QString identityColumnType() const = 0;
    // " COLLATE <name>" as this engine takes the program's collation name.
    virtual QString collate(const QString &name) const;
    // "<database>.dbo.<table>" of the program, as this engine reaches it. `sameDatabase`
    // tells the table lives in the connection's own database.
    virtual QString threePartName(const QString &database, const QString &table, bool sameDatabase) const;

    // The one comparison that ignores case and accents (searches, translations). With LIKE,
    // "%" and "_" are the wildcards and every other character, the backslash too, stands for
    // itself.
    virtual QString foldExpression(const QString &expr) const = 0;
    QString foldedCompare(const QString &lhs, const QString &op, const QString &rhs) const;
    // What follows a LIKE so that no character escapes the next one; empty where none does.
    virtual QString likeWithoutEscape() const { return QString(); }

    // Index names are global to a database: index X of table T is "T_X" physically.
    QString physicalIndexName(const QString &table, const QString &logical) const;
    QString logicalIndexName(const QString &table, const QString &physical) const;

    // Statements that create a table from its definition (table, then indexes).
    virtual QStringList createTableStatements(const TableDef &def) const;
    virtual QString isolationStatement(IsolationLevel level) const;
    // How a statement runs so that the engine itself refuses every write it attempts,
    // however it is worded (SELECT ... INTO, a function that writes, a data-changing WITH):
    // a setting of the connection run before it and undone after it, and whether it runs
    // inside a transaction that is always rolled back. Where the setting makes only the
    // transactions it starts read-only, the run cannot join one already open.
    struct ReadOnlyRun
    {
        QString start;
        QString end;
        bool transaction = true;
        bool ownTransaction = false;
        bool readOnlyStart = false;   // the transaction itself starts read-only (no setting)
    };
    virtual ReadOnlyRun readOnlyRun() const { return {}; }
    // A statement that, inside a transaction, waits until no other session is creating the
    // table and holds them off until the transaction ends; empty where starting the
    // transaction is already that lock (SQLite's BEGIN IMMEDIATE).
    virtual QString tableCreationLock(const QString &table) const;
    // The server's own database, where a new one is created ("postgres", "master"); empty on
    // the embedded engine, whose databases are folders.
    virtual QString maintenanceDatabase() const { return QString(); }
    // What creates the database `name` there: the program's own statements where it writes
    // them (SQL Server), else the engine's CREATE DATABASE.
    virtual QStringList databaseCreation(const QString &name, const QStringList &programStatements) const
    {
        return programStatements;
    }

    // A program's statement turned into this engine's text (TOP, the engine's own type
    // words...). On SQL Server the text is returned as written.
    virtual QString adaptProgramSql(const QString &sql) const;

    // Whether the text is one statement at most as this engine reads it (quotes, quoted names,
    // comments): a final ";" may close it, followed by blanks and comments only. False whenever
    // a second statement may follow, and for an unclosed quote or comment.
    virtual bool isSingleStatement(QStringView sql) const = 0;

    // The filter writing every engine shares: folding through foldExpression and left
    // parts through leftPart; each engine's own derives from it.
    class FilterSqlOf : public FilterSqlDialect
    {
    public:
        explicit FilterSqlOf(const Dialect &dialect) : dialect_(dialect) {}
        QString caseInsensitive(const QString &e) const override { return dialect_.foldExpression(e); }
        QString leftPart(const QString &e, int characters) const override { return dialect_.leftPart(e, characters); }

    protected:
        const Dialect &dialect_;
    };

protected:
    virtual QString columnDefinition(const FieldDef &field) const;
    virtual QString indexColumn(const IndexDef &index, const QString &field) const;
};

} // namespace plat
