// The transaction of a physical connection and its link to a server: nested starts as
// savepoints, and a link found lost opened anew before the next statement.
#include "platform/data/engine/PhysicalConnection.h"

#include "platform/data/engine/Catalogue.h"
#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/PgConnection.h"
#include "platform/data/engine/ServerClientLibraries.h"

#include <QSqlDriver>
#include <atomic>
#include <poll.h>
#include <sqlext.h>

namespace plat {

namespace {

// How long the close that follows a server's farewell is waited for.
constexpr int kClosingWaitMs = 100;
// An opening anew that fails after this long found no answer (not a refusal), and for the
// pause after it statements fail without trying again.
constexpr qint64 kUnansweredMs = 1000;
constexpr qint64 kUnansweredPauseMs = 5000;

std::atomic<quint64> openings{0};

gp::DatabaseError noTransaction()
{
    return gp::DatabaseError(EngineText::GeneralSqlError + QStringLiteral(".\nNo transaction is active"));
}

} // namespace

void PhysicalConnection::begin(bool readOnly)
{
    commitWithNext_ = false;
    if (pg_) {
        if (depth_ == 0)
            ensureUsable();
        else if (lost_)
            throw lostFailure();
        beginPg(readOnly);
    } else if (depth_ == 0) {
        ensureUsable();
        if (const QString begin = dialect_->beginStatement(); !begin.isEmpty()) {
            execSimple(begin);
        } else {
            QSqlDatabase db = database();
            if (!db.transaction())
                throw error(db.lastError());
        }
    } else {
        if (lost_)
            throw lostFailure();
        execSimple(dialect_->savepointStatement(savepointName(depth_)));
    }
    ++depth_;
}

void PhysicalConnection::commit()
{
    if (depth_ == 0)
        throw noTransaction();
    --depth_;
    commitWithNext_ = false;
    // The server dropped the transaction with the link: nothing of it can be committed.
    if (lost_)
        throw lostFailure();
    if (pg_) {
        commitPg();
        if (depth_ == 0)
            catalogue_->transactionCommitted();
        return;
    }
    if (depth_ > 0) {
        if (const QString release = dialect_->releaseSavepointStatement(savepointName(depth_)); !release.isEmpty())
            execSimple(release);
        return;
    }
    if (!dialect_->beginStatement().isEmpty()) {
        execSimple(QStringLiteral("COMMIT"));
    } else {
        QSqlDatabase db = database();
        if (!db.commit())
            throw error(db.lastError());
    }
}

void PhysicalConnection::rollback()
{
    if (depth_ == 0)
        throw noTransaction();
    --depth_;
    commitWithNext_ = false;
    catalogue_->transactionUndone();
    // A server that went away has let the work go already: that is what was asked.
    try {
        if (!lost_)
            undo();
    } catch (const gp::DatabaseError &e) {
        if (e.kind() != gp::DatabaseErrorKind::ConnectionLost)
            throw;
    }
}

void PhysicalConnection::undo()
{
    if (pg_) {
        undoPg();
        return;
    }
    if (depth_ > 0) {
        const QString name = savepointName(depth_);
        execSimple(dialect_->rollbackToSavepointStatement(name));
        if (const QString release = dialect_->releaseSavepointStatement(name); !release.isEmpty())
            execSimple(release);
        return;
    }
    if (!dialect_->beginStatement().isEmpty()) {
        execSimple(QStringLiteral("ROLLBACK"));
    } else {
        QSqlDatabase db = database();
        if (!db.rollback())
            throw error(db.lastError());
    }
}

quint64 PhysicalConnection::serverOpenings()
{
    return openings.load();
}

void PhysicalConnection::countServerOpening()
{
    ++openings;
}

void PhysicalConnection::setIsolation(IsolationLevel level)
{
    // A PostgreSQL session starts with it (a start-up option), the first and every next one.
    if (pg_ && level == isolation_)
        return;
    isolation_ = level;
    const QString statement = dialect_->isolationStatement(level);
    if (statement.isEmpty())
        return;
    const QString sql = dialect_->adaptProgramSql(statement);
    exec(sql, {});
    sessionSetting_ = pg_ ? QString() : sql;
}

gp::DatabaseError PhysicalConnection::error(const QSqlError &e)
{
    // A connection that never opened has no link to lose: its failure is the engine's.
    if (errorSource_ != ErrorSource::SQLite && !lost_ && linked_ && (linkLost(errorSource_, e) || driverLinkDead())) {
        lost_ = true;
        lostReason_ = linkLostError(e).mensaje();
    }
    if (lost_)
        return lostFailure();
    return engineError(errorSource_, e, [this](const QString &n) { return declaredName(n); });
}

gp::DatabaseError PhysicalConnection::lostFailure() const
{
    return gp::DatabaseError(lostReason_, gp::DatabaseErrorKind::ConnectionLost);
}

// The driver's own handle of the connection, of the type named.
void *PhysicalConnection::driverHandle(const char *type) const
{
    const QSqlDatabase db = database();
    if (!db.isValid())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), type) == 0)
        return *static_cast<void *const *>(handle.constData());
    return nullptr;
}

pg_conn *PhysicalConnection::pgConnection() const
{
    return pg_ ? pg_->handle() : nullptr;
}

// Whether the driver, asked after a failure, holds its connection for dead.
bool PhysicalConnection::driverLinkDead() const
{
    if (const PGconn *pg = pgConnection()) {
        const PgClient *client = pgClient();
        return client && client->status(pg) == CONNECTION_BAD;
    }
    if (errorSource_ != ErrorSource::Odbc)
        return false;
    SQLHANDLE connection = driverHandle("void*");   // QODBC's SQLHANDLE of the connection
    const OdbcClient *client = connection ? odbcClient() : nullptr;
    SQLUINTEGER dead = SQL_CD_FALSE;
    return client
        && SQL_SUCCEEDED(client->getConnectAttr(connection, SQL_ATTR_CONNECTION_DEAD, &dead, SQL_IS_UINTEGER, nullptr))
        && dead == SQL_CD_TRUE;
}

// A server that ended the session while the program was idle has said so and closed its
// end: both wait unread on the socket, and reading them tells the link is gone before a
// statement is sent on it. Nothing arrives unasked on an idle session but that farewell, so
// once something has, the close that follows it is waited for a moment.
bool PhysicalConnection::idleLinkClosed()
{
    PGconn *pg = pgConnection();
    const PgClient *client = pg ? pgClient() : nullptr;
    if (!client)
        return false;
    for (int reads = 0; reads < 4 && client->status(pg) == CONNECTION_OK; ++reads) {
        pollfd socket{client->socket(pg), POLLIN, 0};
        if (::poll(&socket, 1, reads == 0 ? 0 : kClosingWaitMs) <= 0 || !client->consumeInput(pg))
            break;
    }
    if (client->status(pg) == CONNECTION_OK)
        return false;
    lostReason_ = QString::fromUtf8(client->errorMessage(pg)).trimmed();
    return true;
}

void PhysicalConnection::ensureUsable()
{
    if (errorSource_ == ErrorSource::SQLite)
        return;
    if (!lost_ && depth_ == 0)
        lost_ = idleLinkClosed();
    if (!lost_)
        return;
    // Opened anew inside a transaction, its earlier work would be silently missing. A server
    // that did not answer the last try is not tried again at once: each try waits for the
    // connection's time-out, and a window's statements would wait one after another.
    if (depth_ > 0 || (unanswered_.isValid() && !unanswered_.hasExpired(kUnansweredPauseMs)))
        throw lostFailure();
    reopen();
}

void PhysicalConnection::reopen()
{
    // Statements prepared on the old session let go of it while it is still the one open.
    forgetPrepared();
    dropSpareReader();   // a reader's connection went with the server too
    QElapsedTimer trying;
    trying.start();
    const auto failed = [&](const QSqlError &e) {
        lostReason_ = linkLostError(e).mensaje();
        if (trying.hasExpired(kUnansweredMs))
            unanswered_.start();
        return lostFailure();
    };
    if (pg_) {
        // The settings are the session's start-up options, the isolation level included.
        if (!pg_->open(pgParameters()))
            throw failed(pg_->error());
    } else {
        QSqlDatabase db = database();
        db.close();
        if (!db.open())
            throw failed(db.lastError());
    }
    unanswered_.invalidate();
    lost_ = false;
    countServerOpening();
    lostReason_.clear();
    runSessionStatements();
    if (!sessionSetting_.isEmpty())
        execSimple(sessionSetting_);
}

} // namespace plat
