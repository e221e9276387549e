#pragma once
// PostgreSQL rows read straight from libpq on the engine's own connections, in single-row
// mode: each row is used as it arrives, without per-row work of a driver's.
#include "platform/data/engine/PgConnection.h"
#include "platform/data/engine/QueryCursor.h"

#include <QByteArray>
#include <QObject>
#include <QSqlError>
#include <memory>
#include <vector>

namespace plat {

class PhysicalConnection;

// The program's types of a result's columns, as the engine has always given them (a column
// of the server's "text" a memo).
QList<TFieldType> pgColumnTypes(const PgClient &pq, const PGresult *result);
// A value of a result as the program reads it: dates from their stored text, numbers and
// texts as their types give them, NULL as an invalid QVariant.
QVariant pgValue(const PgClient &pq, const PGresult *result, int row, int column, TFieldType type);

// One statement's rows on a connection. Nothing else may be sent on the connection until
// `finish` (or the end of the rows, or a failure, which finish by themselves); `abandon`
// is for a connection about to be closed, whose unread rows go with it.
class PgRows
{
public:
    explicit PgRows(PgConnection &connection);
    ~PgRows();
    PgRows(const PgRows &) = delete;
    PgRows &operator=(const PgRows &) = delete;

    // Sends the statement (with what the connection has queued, under the savepoint named)
    // and waits for its first answer; false on a failure (`error`), the connection then ready
    // for the next statement. A `script` of several statements goes through the simple protocol.
    bool start(const PgStatement &statement, const QByteArray &savepoint = {}, bool script = false);
    // The same for a connection of the rows' own: a single SELECT is read through a cursor of
    // the server in batches, the next one asked for before the current one is used (a row
    // at a time costs libpq a result of its own; the first two go in the opening exchange,
    // the first one answered as soon as the server has it). A result whose first batch holds every row
    // ends its transaction at once; otherwise the cursor outlives its transaction, which is
    // committed once the program is idle again (its event loop runs: the rows are shown and
    // looked at), the server keeping the rest of the rows for the cursor, so that they hold
    // no lock while they are looked at. A statement the server does not take as a cursor
    // runs as `start` runs it; in a `readOnly` transaction (the reader of a read-only run) it
    // does not run at all, the answer false without a failure, for the caller to run it
    // where the engine refuses its writes.
    bool startBatched(const QByteArray &sql, bool script, bool readOnly = false);
    int columnCount() const { return int(oids_.size()); }
    QString columnName(int column) const { return names_.value(column); }
    // The engine's types as the program's, as columnTypes gives them for the driver's query.
    QList<TFieldType> types() const;

    // The next row; false past the last one or on a failure (`failed`, `error`).
    bool next();
    // Every row will be read: the rest of a batched read comes in few requests, taken off the
    // connection by a thread of the rows' own while the rows before it are used.
    void readAll();
    bool failed() const { return error_.isValid(); }
    const QSqlError &error() const { return error_; }

    // The current row's value as the driver's query gives it read through readValue.
    QVariant value(int column, TFieldType type) const;
    // With `floatText`, a float whose text is a plain decimal comes as that text.
    QueryCursor::Cell cell(int column, TFieldType type, bool floatText = false) const;

    // The statement's remaining answers read and dropped, the server first asked to stop
    // when `cancel`; whether one of them was a failure (a transaction's savepoint must
    // then be rolled back to).
    bool finish(bool cancel);
    void abandon();
    // Done with the statement, the connection kept: the batch asked for is read and the
    // cursor's transaction rolled back, as closing would have; whether the connection is
    // ready for another statement (not after a failure, nor amid rows read one at a time).
    bool release();
    bool active() const { return active_; }

private:
    QSqlError errorOf(const char *what, const PGresult *result) const { return connection_.errorOf(what, result); }
    void take(PGresult *result);
    bool drain(bool cancel);
    void readColumns();
    bool command(const char *sql);
    bool sendOpening(const std::vector<QByteArray> &commands);
    PGresult *nextAnswer();
    bool endCursor(const char *sql);
    void afterFetch();
    bool askFetches();
    struct Ahead;
    void startAhead();
    void readAhead();
    PGresult *nextAhead();
    enum class Stop { Finish, Cancel, Cut };
    void stopAhead(Stop how);
    void endBatches(bool failed);
    const char *closing(bool failed) const;
    void endTransactionWhileIdle();
    PGresult *nextBatch();
    void dropHeld();

    PgConnection &connection_;
    PGconn *pg_;
    const PgClient &pq_;
    PGresult *result_ = nullptr;
    int row_ = -1;
    int rowsInResult_ = 0;
    bool active_ = false;    // answers of the statement still to be read
    bool exchanged_ = false; // sent through the connection's exchange (read with its `next`)
    bool atEnd_ = false;
    bool batched_ = false;   // read through the server's cursor
    bool pipelined_ = false; // the connection in pipeline mode until the opening's answers end
    bool holding_ = false;   // the commit of the cursor's transaction was asked for
    bool committed_ = false; // and answered: the cursor outlived its transaction
    bool closed_ = false;    // the cursor was closed with that commit, its last batch kept aside
    PGresult *held_ = nullptr;           // a batch taken off the connection before it was wanted
    std::unique_ptr<QObject> idle_;      // whose call ends the transaction once the program is idle
    int fetchSize_ = 0;      // rows each batch asked for
    int fetchesLeft_ = 0;    // batches of the request sent still to arrive
    bool readingAll_ = false;
    int restRequest_ = 0;    // batches in the next request when every row is wanted
    std::unique_ptr<Ahead> ahead_;   // the thread reading the rest, while there is one
    std::vector<Oid> oids_;
    QStringList names_;
    QSqlError error_;
};

// A query's rows on the connection's own PostgreSQL session, as they arrive. Inside a
// transaction the statement runs under a savepoint, released with it (rolled back to on a
// failure). Given up before its last row, a SELECT is cancelled on the server and
// anything else read to its end, so that the connection is ready for the next statement.
class PgCursor : public QueryCursor
{
public:
    PgCursor(std::shared_ptr<PhysicalConnection> connection, PgConnection &pg, const QString &sql,
             const QVariantMap &params);
    ~PgCursor() override;

    const QStringList &columns() const override { return columns_; }
    const QList<TFieldType> &types() const override { return types_; }
    bool next() override;
    QVariant value(int column) const override { return rows_.value(column, types_.value(column)); }
    Cell cell(int column) const override { return rows_.cell(column, types_.value(column)); }
    Cell storedCell(int column) const override { return rows_.cell(column, types_.value(column), true); }

private:
    void finish(bool cancel);
    [[noreturn]] void fail();

    std::shared_ptr<PhysicalConnection> connection_;
    PgRows rows_;
    PgValues values_;
    QStringList columns_;
    QList<TFieldType> types_;
    bool cancellable_ = false;
    bool done_ = false;
};

} // namespace plat
