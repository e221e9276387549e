#pragma once
#include "platform/data/engine/DatabaseLocation.h"
#include "platform/data/engine/PreparedStatement.h"
#include "platform/data/engine/Dialect.h"
#include "platform/data/engine/QueryCursor.h"
#include "platform/data/engine/QueryResult.h"
#include "platform/data/engine/Schema.h"
#include "platform/data/engine/TableChanges.h"

#include <QStringList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

namespace plat {

class Session;
class PhysicalConnection;

// Whose SQL a statement is: the program's own texts go through the dialect (TOP, the
// "SQL Generica" types, three-part names...); texts typed by users run as written.
enum class SqlOrigin { Program, AsWritten };

// One named connection of the program ("Database", "DatabaseGeneral", "DatabaseAlt",
// and their "ADO" twins). It points at a database by alias name, database name (an
// alias, "?" + a name, or a folder), parameter lines or an ADO connection string, and
// connects on demand. Connections that resolve to one SQLite file share one physical
// connection, and so its transaction: starts and ends are counted there.
// Every engine failure is raised as gp::DatabaseError with the engine's text.
class Connection
{
public:
    Connection(Session &session, const QString &name);
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    const QString &name() const { return name_; }
    Session &session() const { return session_; }

    // Where it points (changing any of these disconnects first).
    void setAliasName(const QString &alias);
    QString aliasName() const { return aliasName_; }
    void setDatabaseName(const QString &databaseName);
    QString databaseName() const { return databaseName_; }
    void setDriverName(const QString &driver) { driverName_ = driver; }
    QString driverName() const { return driverName_; }
    void setParams(const QStringList &params);
    QStringList params() const { return params_; }
    // The ADO form: the connection string the program writes.
    void setConnectionString(const QString &connectionString);
    QString connectionString() const { return connectionString_; }

    void setKeepConnection(bool keep) { keepConnection_ = keep; }
    bool keepConnection() const { return keepConnection_; }
    // Applied on connecting (and at once when connected); SQLite has none and skips it.
    void setIsolationLevel(IsolationLevel level);
    IsolationLevel isolationLevel() const { return isolation_; }

    // The location the current settings resolve to.
    DatabaseLocation location() const;

    void open();                 // connect; the database must exist
    void close();                // disconnect (an open transaction of this connection is rolled back)
    bool isOpen() const { return physical_ != nullptr; }
    bool connected() const { return isOpen(); }

    EngineKind engine() const;
    const Dialect &dialect() const;

    // Transactions. Starts on one physical connection are counted: the outermost start,
    // commit or roll-back reaches the engine as such; one inside takes a savepoint, which
    // its commit keeps and its roll-back undoes (the outer transaction goes on).
    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const { return ownDepth_ > 0; }
    // Runs the work (statements on this connection) so that the engine itself refuses every
    // write in them (Dialect::readOnlyRun): nothing they do stays. The work's own failure
    // comes through once the connection is as it was; a run the engine cannot make
    // read-only (inside a transaction already open there) runs nothing and fails.
    void runReadOnly(const std::function<void()> &work);

    // Runs a statement; answers the number of rows it changed (-1 when unknown).
    // Parameters are bound by name (":Name"); dates are written as the engine stores
    // them and a null or empty text as '' (pass an invalid QVariant for NULL).
    int exec(const QString &sql, const QVariantMap &params = {}, SqlOrigin origin = SqlOrigin::Program);
    // A statement run as written whose answer nobody reads (a lock taken inside a
    // transaction): on PostgreSQL inside a transaction it goes in the exchange of the next
    // statement (or the commit), whose failure its own failure is; elsewhere it runs now.
    void execWithNext(const QString &sql);
    // The next statement run by exec or query is the transaction's last, and its success is
    // committed: on PostgreSQL, in the outermost transaction, the COMMIT goes in that
    // statement's exchange, without a savepoint around it (its failure, or the COMMIT's,
    // is raised as the statement's, and the transaction is then only rolled back); the
    // commit() that follows sends nothing. Elsewhere, or inside an outer transaction,
    // nothing changes.
    void commitWithNext();
    // Runs a query and answers all its rows.
    QueryResult query(const QString &sql, const QVariantMap &params = {}, SqlOrigin origin = SqlOrigin::Program);
    // The same rows read one at a time (large answers written out as they are read).
    std::unique_ptr<QueryCursor> openQuery(const QString &sql, const QVariantMap &params = {},
                                           SqlOrigin origin = SqlOrigin::Program);
    // The rows of a query read as the caller asks for them, while the program goes on
    // running other statements on this connection (a query dataset that stays open). On
    // PostgreSQL outside a transaction they stream on a connection of their own, from the
    // snapshot the query started with; elsewhere they are read whole first, as `query`.
    std::unique_ptr<QueryCursor> openReader(const QString &sql, const QVariantMap &params = {},
                                            SqlOrigin origin = SqlOrigin::Program);
    // A statement that changes or reads rows, prepared once to be run many times with its
    // "?" placeholders bound by position (see PreparedStatement; not for schema changes).
    std::unique_ptr<PreparedStatement> prepare(const QString &sql, SqlOrigin origin = SqlOrigin::Program);
    // The first value of the first row, or an invalid QVariant.
    QVariant scalar(const QString &sql, const QVariantMap &params = {}, SqlOrigin origin = SqlOrigin::Program);
    // How many statements exec, query and openQuery have sent through this connection: what a
    // cache in front of it saves is counted here.
    quint64 statementsSent() const { return statementsSent_; }
    // The program's statement as this connection's engine runs it.
    QString adaptSql(const QString &sql);

    // The stamp of the table in the session's record of changes (TableChanges): a cache read
    // through this connection holds while it stays the same. Every statement that may change
    // rows marks what it may change there before it runs, and again when its transaction
    // commits (another connection reads the rows only then); a roll-back marks the database.
    TableChanges::Stamp changeStamp(const QString &table);
    // Marks the table as changed.
    void markChanged(const QString &table);
    // Marks every table of its database as changed: a refresh asks for the rows as stored
    // now, other programs' saves included, so every cache over them ends (a grid's look-ups
    // into other tables and what its calculated fields read among them).
    void markDatabaseChanged();
    // The key of the database it is open on (DatabaseLocation::key), opening it when closed.
    QString databaseKey();

    // Schema.
    QStringList tableNames();                      // user tables, sorted, declared case
    bool tableExists(const QString &table);
    QList<FieldDef> columns(const QString &table); // "Table does not exist" when missing
    // Whether `columns` would answer without asking the server (PostgreSQL: the catalogue's
    // record holds the table); a result's own description can stand in for the others.
    bool columnsHeld(const QString &table);
    QList<IndexDef> indexes(const QString &table); // primary first, logical names
    QStringList keyFields(const QString &table, const QString &indexName = {});
    void createTable(const TableDef &def);
    // The table made by the program's statements of its creation (its CREATE TABLE, then its
    // CREATE INDEXes) and recorded, unless a table of that name exists, in one exchange: the
    // check runs on the server after what the transaction queued (the creation's lock, see
    // execWithNext) and before the creation, with the commit when asked (commitWithNext).
    // True when made, false when the one there is left alone, rows and all. Where the engine
    // cannot check in the creation's own exchange (createsUnlessExists) nothing runs: no answer.
    std::optional<bool> createTableUnlessExists(const QString &table, const QStringList &statements);
    bool createsUnlessExists();
    void dropTable(const QString &table, bool ifExists = true);
    void emptyTable(const QString &table);
    // Drops the tables whose name matches the pattern ("*" and "?", ignoring case,
    // e.g. "_QS*"); answers how many.
    int dropTablesMatching(const QString &pattern);

    // The underlying QtSql connection name (for datasets that need a QSqlQuery).
    QString qtConnectionName() const;
    std::shared_ptr<PhysicalConnection> physical() const { return physical_; }

private:
    void ensureOpen();
    void applyIsolation();
    void rollBackOwnDepth();
    void noteChanges(const StatementTarget &target);
    void noteChanges(const QString &sql) { noteChanges(statementTarget(sql)); }
    friend class MarkingStatement;

    Session &session_;
    QString name_;
    QString aliasName_;
    QString databaseName_;
    QString driverName_;
    QStringList params_;
    QString connectionString_;
    bool keepConnection_ = true;
    IsolationLevel isolation_ = IsolationLevel::ReadCommitted;
    std::shared_ptr<PhysicalConnection> physical_;
    quint64 statementsSent_ = 0;
    int ownDepth_ = 0;
    // What statements of the open transaction may have changed, marked again at its commit.
    QList<StatementTarget> uncommittedChanges_;
};

// How many times a connection of this process reached a server: a failure after the count
// moved belongs to another outage than one before.
quint64 serverOpenings();

} // namespace plat
