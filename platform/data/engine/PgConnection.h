#pragma once
// One connection of the engine's own to a PostgreSQL server, through libpq itself. Each
// exchange with the server is one round trip over the network, so everything that can go
// together goes in one: the session's settings are start-up options of the connection;
// statements with parameters go through the extended protocol (parse, bind, execute and
// sync in one message train); what must precede a statement (a transaction's start, a
// savepoint, the roll-back to a failed statement's savepoint, a prepared statement's
// release) travels in the same exchange as the statement, in libpq's pipeline mode.
#include "platform/data/engine/PgStatement.h"
#include "platform/data/engine/ServerClientLibraries.h"

#include <QByteArray>
#include <QSqlError>
#include <QString>
#include <algorithm>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

namespace plat {

class PgConnection
{
public:
    explicit PgConnection(const PgClient &client);
    ~PgConnection();
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    // Connects; false with `error` set when the server cannot be reached or refuses.
    bool open(const PgParameters &parameters);
    void close();
    bool isOpen() const;
    PGconn *handle() const { return pg_; }
    const PgClient &client() const { return pq_; }

    // A statement without parameters to go ahead of the next one sent, in its exchange (a
    // transaction's start, a savepoint). Its failure is that statement's.
    void queue(const QByteArray &sql);
    // Takes back the statement queued last when it is `sql`; whether it was.
    bool unqueue(const QByteArray &sql);
    // Whether only a transaction's start (and savepoints inside it) waits in the queue:
    // nothing of the transaction reached the server yet.
    bool startQueued() const
    {
        return !queued_.empty() && queued_.front().startsWith("BEGIN")
            && std::all_of(queued_.begin() + 1, queued_.end(), [](const QByteArray &s) { return s.startsWith("SAVEPOINT"); });
    }
    // What waits in the queue, taken off (for a statement to go ahead of it) and put back.
    std::vector<QByteArray> takeQueued() { return std::exchange(queued_, {}); }
    void restoreQueued(std::vector<QByteArray> queued) { queued_ = std::move(queued); }

    // Sends the queued statements and this one, under the savepoint named (released after
    // it in the same exchange) when there is one, and then `closing` when given (the
    // transaction's COMMIT, whose failure is the statement's: it is skipped when the
    // statement fails). Its answers are then read with `next`; nothing else may be sent
    // until `next` answers null. False when nothing could be sent.
    bool send(const PgStatement &statement, const QByteArray &savepoint = {}, const QByteArray &closing = {});
    // The same for a text of several statements, through the simple protocol (no
    // parameters), the queued ones and the savepoint written ahead of it in its text, and
    // `closing` after it.
    bool sendScript(const QByteArray &sql, const QByteArray &savepoint = {}, const QByteArray &closing = {});
    // Asks for the statement's rows one at a time (right after `send`).
    bool singleRows();
    // The statement's next answer; null once every answer was read, when whatever followed
    // it in the exchange has been read too (and, after a failure, the transaction rolled
    // back to the statement's savepoint).
    PgResult next();
    // Every remaining answer read and dropped; whether one of them was a failure.
    bool drain();
    bool busy() const { return !expected_.empty() || simple_; }   // answers still to read

    // The statement sent, read whole: its last answer, or null on a failure (`error`).
    PgResult run(const PgStatement &statement, const QByteArray &savepoint = {}, const QByteArray &closing = {});
    PgResult runScript(const QByteArray &sql, const QByteArray &savepoint = {}, const QByteArray &closing = {});

    // The last failure, worded as the driver words its own.
    const QSqlError &error() const { return error_; }
    QSqlError errorOf(const char *what, const PGresult *result) const;
    // Whether the statement sent with `prepareFirst` was prepared (even when its run failed).
    bool prepared() const { return parsed_; }

private:
    enum class Slot { Command, Statement, Sync };
    struct Expected
    {
        Slot slot;
        bool counts = true;   // a command whose failure is the statement's
        bool parse = false;   // the preparation of the statement
    };
    bool sendOne(const QByteArray &sqlOrName, const PgValues *values, bool prepared = false);
    bool readCommand(bool counts);
    bool readSync();
    void readFollowing();
    void endExchange();
    void rollBackToSavepoint();
    void failed(const char *what, const PGresult *result);

    const PgClient &pq_;
    PGconn *pg_ = nullptr;
    std::vector<QByteArray> queued_;
    std::deque<Expected> expected_;   // the answers still to read, in order
    bool simple_ = false;             // a script's answers still to read
    int ahead_ = 0;                   // answers of statements sent ahead of the script
    bool pipeline_ = false;
    QByteArray savepoint_;            // the statement's, while its exchange is read
    bool statementFailed_ = false;
    bool parsed_ = false;
    bool broken_ = false;             // the exchange lost its way (the link went)
    QSqlError error_;
};

} // namespace plat
