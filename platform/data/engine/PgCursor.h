#pragma once
// PostgreSQL rows read straight from libpq on the connection the driver opened, in
// single-row mode: each row is used as it arrives, without the driver's per-row work.
#include "platform/data/engine/QueryCursor.h"
#include "platform/data/engine/ServerClientLibraries.h"

#include <QByteArray>
#include <QSqlError>
#include <memory>
#include <vector>

namespace plat {

class PhysicalConnection;

// One statement's rows on a PGconn. Nothing else may be sent on the connection until
// `finish` (or the end of the rows, or a failure, which finish by themselves); `abandon`
// is for a connection about to be closed, whose unread rows go with it.
class PgRows
{
public:
    PgRows(PGconn *connection, const PgClient &client);
    ~PgRows();
    PgRows(const PgRows &) = delete;
    PgRows &operator=(const PgRows &) = delete;

    // Sends the statement and waits for its first answer; false on a failure (`error`),
    // the connection then ready for the next statement.
    bool start(const QByteArray &sql);
    // The same for a connection of the rows' own: a single SELECT is read through a cursor of
    // the server in batches, the next one asked for before the current one is used (a row
    // at a time costs libpq a result of its own). The cursor's transaction is committed at
    // the end, as the statement alone would have been; a statement the server does not take
    // as a cursor runs as `start` runs it.
    bool startBatched(const QByteArray &sql);
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
    QSqlError errorOf(const char *what, const PGresult *result) const;
    void take(PGresult *result);
    bool drain(bool cancel);
    void readColumns();
    bool command(const char *sql);
    void afterFetch();
    bool askFetches();
    struct Ahead;
    void startAhead();
    void readAhead();
    PGresult *nextAhead();
    enum class Stop { Finish, Cancel, Cut };
    void stopAhead(Stop how);
    void endBatches(bool failed);

    PGconn *pg_;
    const PgClient &pq_;
    PGresult *result_ = nullptr;
    int row_ = -1;
    int rowsInResult_ = 0;
    bool active_ = false;    // answers of the statement still to be read
    bool atEnd_ = false;
    bool batched_ = false;   // read through the server's cursor, whose transaction is open
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
// transaction the statement runs under a savepoint, released at the end (rolled back to
// on a failure). Given up before its last row, a SELECT is cancelled on the server and
// anything else read to its end, so that the connection is ready for the next statement.
class PgCursor : public QueryCursor
{
public:
    PgCursor(std::shared_ptr<PhysicalConnection> connection, PGconn *pg, const QString &sql);
    ~PgCursor() override;

    const QStringList &columns() const override { return columns_; }
    const QList<TFieldType> &types() const override { return types_; }
    bool next() override;
    QVariant value(int column) const override { return rows_.value(column, types_.value(column)); }
    Cell cell(int column) const override { return rows_.cell(column, types_.value(column)); }
    Cell storedCell(int column) const override { return rows_.cell(column, types_.value(column), true); }

private:
    void finish(bool failed, bool cancel);
    [[noreturn]] void fail();

    std::shared_ptr<PhysicalConnection> connection_;
    PgRows rows_;
    QStringList columns_;
    QList<TFieldType> types_;
    bool cancellable_ = false;
    bool savepoint_ = false;
    bool done_ = false;
};

} // namespace plat
