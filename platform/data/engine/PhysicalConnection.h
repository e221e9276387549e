#pragma once
#include "platform/data/engine/DatabaseLocation.h"
#include "platform/data/engine/Dialect.h"
#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/PgStatement.h"
#include "platform/data/engine/PreparedStatement.h"
#include "platform/data/engine/QueryCursor.h"
#include "platform/data/engine/QueryResult.h"
#include "platform/data/engine/Schema.h"

#include <QElapsedTimer>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <vector>

struct sqlite3;

namespace plat {
class SqliteStatementCache;
class ReaderCursor;
class ServerPreparedStatement;
class SqliteBusyWait;
class PgConnection;
}

namespace plat {

class Session;
class Catalogue;

// One real connection to one database, shared by every named connection that resolves
// to it (SQLite) or owned by one (servers). It keeps the transaction depth, runs
// statements with their parameters and maps every failure to the engine's text.
// The field type of a result column from the type its values come as; `textColumn` tells a
// column of unbounded text (a memo) from a string.
TFieldType fieldTypeOfValues(int metaTypeId, bool textColumn);

class PhysicalConnection : public std::enable_shared_from_this<PhysicalConnection>
{
public:
    // `isolation` is the level its sessions start with (see setIsolation).
    PhysicalConnection(Session &session, const DatabaseLocation &location,
                       IsolationLevel isolation = IsolationLevel::ReadCommitted);
    ~PhysicalConnection();

    void open();
    const DatabaseLocation &location() const { return location_; }
    Session &session() const { return session_; }
    const Dialect &dialect() const { return *dialect_; }
    ErrorSource errorSource() const { return errorSource_; }
    QSqlDatabase database() const;
    const QString &qtConnectionName() const { return qtName_; }

    // Counted transaction: the outermost start and end reach the engine as a transaction,
    // a start inside one as a savepoint, so that an inner roll-back undoes its own work only.
    // A transaction's start (`readOnly`: one where the engine refuses every write, on a
    // server whose transactions can start so; see readOnlyRun), or a savepoint inside one.
    void begin(bool readOnly = false);
    // How a read-only run goes on this connection: the dialect's, or, where the engine's
    // own connection starts the transaction read-only, without the session's setting.
    Dialect::ReadOnlyRun readOnlyRun() const;
    void commit();
    void rollback();
    int depth() const { return depth_; }

    // The isolation level of the session's transactions: set now (on PostgreSQL a session
    // opened with it already has it), and again whenever the connection to the server is
    // opened anew.
    void setIsolation(IsolationLevel level);
    // How many times a connection of this process reached a server (see plat::serverOpenings).
    static quint64 serverOpenings();
    // The QtSql driver a location's connections go through.
    static QString driverName(const DatabaseLocation &location);

    int exec(const QString &sql, const QVariantMap &params);
    QueryResult query(const QString &sql, const QVariantMap &params);
    // A read of the catalogue. In a transaction nothing has run in yet (whose start waits to
    // go with its first statement) it runs ahead of the start, outside the transaction, so
    // that a transaction in which only the catalogue was read never reaches the server.
    QueryResult catalogueQuery(const QString &sql);
    // The statement queued to go with the next one, where it can (see Connection::execWithNext).
    bool queueWithNext(const QString &sql);
    // The next statement run by exec or query ends the outermost transaction when it
    // succeeds (see Connection::commitWithNext).
    void commitWithNext();
    // Whether it was asked for, no longer asked (for a statement of the engine's own that
    // runs first, the mark given back for the one it was asked for).
    bool takeCommitWithNext();
    std::unique_ptr<QueryCursor> openQuery(const QString &sql, const QVariantMap &params);
    std::unique_ptr<QueryCursor> openReader(const QString &sql, const QVariantMap &params);
    // While a read-only run's transaction (Connection::runReadOnly) is the connection's only
    // one, a reader streams on a connection of its own in a read-only transaction.
    void setReadOnlyReaders(bool on) { readOnlyReaders_ = on; }
    std::unique_ptr<PreparedStatement> prepare(const QString &sql);
    // Program text as this engine runs it (dialect, attached databases, collations).
    QString adapt(const QString &sql);

    QStringList tableNames();
    QList<FieldDef> columns(const QString &table);
    bool holdsColumns(const QString &table);
    QList<IndexDef> indexes(const QString &table);
    void createTable(const TableDef &def);
    void dropTable(const QString &table, bool ifExists);
    // See Connection::createTableUnlessExists; no answer where the engine cannot.
    bool createsUnlessExists() const;
    std::optional<bool> createTableUnlessExists(const QString &table, const QStringList &statements);

    // The failure as the program reports it. A failure that finds the link to the server
    // gone marks the connection lost: the next statement opens it anew (see ensureUsable).
    gp::DatabaseError error(const QSqlError &e);
    // A name the engine gives back (PostgreSQL folds) in the case it was declared.
    QString declaredName(const QString &name) const;

private:
    friend class ServerCursor;
    friend class PgCursor;
    friend class ReaderCursor;
    friend class SqlitePreparedStatement;
    friend class QtPreparedStatement;
    friend class PgPreparedStatement;
    QSqlQuery run(const QString &sql, const QVariantMap &params, bool forRows);
    bool runRaw(QSqlQuery &q, const QString &sql, const QVariantMap &params, bool streamed = false);
    bool takeSavepoint();
    void endSavepoint(bool failed);
    QVariant bindValue(const QVariant &v) const;
    QVariant readValue(const QSqlQuery &q, int column, TFieldType type) const;
    QueryResult queryThroughQt(const QString &sql, const QVariantMap &params);
    QVariantMap boundParams(const QVariantMap &params) const;
    QList<TFieldType> columnTypes(const QSqlQuery &q) const;
    void execSimple(const QString &sql);
    // What every connection runs on opening, and again when opened anew (the lock wait too).
    void runSessionStatements();
    void openSqlite();
    void setWalJournal();
    void openServer();
    void attachIfNeeded(const QString &database);
    // Before a statement on a server: a connection found lost is opened anew, unless a
    // transaction was open on it, which went with it and fails whole until it ends.
    void ensureUsable();
    void undo();   // the roll-back of the level just ended
    void forgetPrepared();
    bool idleLinkClosed();
    void reopen();
    gp::DatabaseError lostFailure() const;
    static void countServerOpening();
    void *driverHandle(const char *type) const;
    pg_conn *pgConnection() const;
    // ---- PostgreSQL through the engine's own libpq connection (PhysicalConnectionPg.cpp) ----
    PgParameters pgParameters() const;
    void openPg();
    // The statement as the server takes it ($n placeholders, the values' texts in `values`);
    // `script` when the text holds several statements.
    PgStatement pgStatement(const QString &sql, const QVariantMap &params, PgValues &values, bool &script) const;
    // A value bound as the server reads it (see bindValue).
    QByteArray pgText(const QVariant &value) const;
    // The savepoint a statement runs under: inside a transaction its failure must leave the
    // transaction usable, as on the other engines.
    QByteArray statementSavepoint() const;
    PgResult runPg(const QString &sql, const QVariantMap &params, bool aheadOfTransaction = false);
    QueryResult queryPg(const QString &sql, const QVariantMap &params, bool aheadOfTransaction = false);
    void beginPg(bool readOnly);
    void commitPg();
    void undoPg();
    bool driverLinkDead() const;
    QString savepointName(int level) const { return QStringLiteral("gp_nivel%1").arg(level); }

    Session &session_;
    DatabaseLocation location_;
    const Dialect *dialect_;
    ErrorSource errorSource_;
    QString qtName_;
    int depth_ = 0;
    bool readOnlyReaders_ = false;
    bool linked_ = false;     // the server answered once: a link to lose
    bool lost_ = false;       // the server's link is gone
    QString lostReason_;      // the driver's words for it
    QElapsedTimer unanswered_;   // since an opening anew that got no answer from the server
    IsolationLevel isolation_;
    QString sessionSetting_;   // the isolation's statement, where one was run
    QSet<QString> attached_;
    std::unique_ptr<Catalogue> catalogue_;
    sqlite3 *sqlite_ = nullptr;   // the SQLite handle, run straight for single statements
    std::unique_ptr<PgConnection> pg_;   // PostgreSQL's libpq connection, the engine's own
    QByteArray pgStart_;                 // the start of the transaction, while it waits to be sent
    bool commitWithNext_ = false;        // the next statement takes the transaction's COMMIT along
    std::unique_ptr<SqliteBusyWait> busyWait_;   // its wait for another program's lock, outliving it
    std::unique_ptr<SqliteStatementCache> statements_;   // its prepared statements, kept
    std::vector<ReaderCursor *> readers_;   // queries streaming on connections of their own
    std::vector<ServerPreparedStatement *> prepared_;   // statements prepared on the server's session
    void readReadersWhole(const QString &sql);
    // The connection of a reader whose statement ended cleanly, kept open for the next one.
    std::unique_ptr<PgConnection> spareReader_;
    std::unique_ptr<PgConnection> takeSpareReader();
    bool keepSpareReader(std::unique_ptr<PgConnection> &reader);
    void dropSpareReader();
};

} // namespace plat
