#include "platform/data/engine/PgCursor.h"

#include "platform/data/engine/PhysicalConnection.h"
#include "platform/data/engine/SqliteQuery.h"

#include "platform/base/FechaHora.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>
#include <sys/socket.h>

namespace plat {

namespace {

// The server's type numbers the driver tells apart; any other reads as text.
enum : Oid {
    kBool = 16, kBytea = 17, kInt8 = 20, kInt2 = 21, kRegproc = 24, kText = 25, kInt4 = 23, kXid = 28, kCid = 29,
    kFloat4 = 700, kFloat8 = 701, kAbstime = 702, kReltime = 703, kDate = 1082, kTime = 1083, kTimestamp = 1114,
    kTimestampTz = 1184, kTimeTz = 1266, kNumeric = 1700,
    kDriverOid = 2278,   // the driver's number for "oid" (the server's "void"), kept so that values match its own
};

// The value type the driver gives a column of the server's type.
QMetaType::Type driverType(Oid oid)
{
    switch (oid) {
    case kBool: return QMetaType::Bool;
    case kInt8: return QMetaType::LongLong;
    case kInt2: case kInt4: case kDriverOid: case kRegproc: case kXid: case kCid: return QMetaType::Int;
    case kNumeric: case kFloat4: case kFloat8: return QMetaType::Double;
    case kAbstime: case kReltime: case kDate: return QMetaType::QDate;
    case kTime: case kTimeTz: return QMetaType::QTime;
    case kTimestamp: case kTimestampTz: return QMetaType::QDateTime;
    case kBytea: return QMetaType::QByteArray;
    default: return QMetaType::QString;
    }
}

bool isDateType(TFieldType type)
{
    return type == ftDateTime || type == ftDate || type == ftTime;
}

// The driver's value of a text the server sent (its numeric precision policy being the
// default one, which reads NUMERIC as a double).
QVariant driverValue(Oid oid, const char *text, int size, const PgClient &pq)
{
    const QByteArray bytes = QByteArray::fromRawData(text, size);
    switch (driverType(oid)) {
    case QMetaType::Bool: return QVariant(text[0] == 't');
    case QMetaType::LongLong:
        return text[0] == '-' ? QVariant(bytes.toLongLong()) : QVariant(bytes.toULongLong());
    case QMetaType::Int: return QVariant(std::atoi(text));
    case QMetaType::Double: {
        bool ok = false;
        double value = bytes.toDouble(&ok);
        if (!ok) {
            if (qstricmp(text, "NaN") == 0)
                value = qQNaN();
            else if (qstricmp(text, "Infinity") == 0)
                value = qInf();
            else if (qstricmp(text, "-Infinity") == 0)
                value = -qInf();
            else
                return QVariant();
        }
        return value;
    }
    case QMetaType::QDate: return QVariant(QDate::fromString(QString::fromLatin1(bytes), Qt::ISODate));
    case QMetaType::QTime: return QVariant(QTime::fromString(QString::fromLatin1(bytes), Qt::ISODate));
    case QMetaType::QDateTime: return QVariant(QDateTime::fromString(QString::fromLatin1(bytes), Qt::ISODate));
    case QMetaType::QByteArray: {
        size_t length = 0;
        unsigned char *data = pq.unescapeBytea(reinterpret_cast<const unsigned char *>(text), &length);
        if (!data)
            return QVariant(QByteArray());
        QByteArray value(reinterpret_cast<const char *>(data), qsizetype(length));
        pq.freemem(data);
        return value;
    }
    default: return QString::fromUtf8(bytes);
    }
}

// An optional minus, digits and at most one point among them: std::from_chars reads it whole,
// and with 24 characters at most it is finite.
bool isPlainDecimal(const char *text, int size)
{
    if (size <= 0 || size > 24)
        return false;
    const char *at = text, *end = text + size;
    if (*at == '-')
        ++at;
    bool digits = false, point = false;
    for (; at < end; ++at) {
        if (*at >= '0' && *at <= '9')
            digits = true;
        else if (*at == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

// Rows of the server's cursor asked for at a time: few at first, for the first screen.
constexpr int kFirstBatch = 100;
constexpr int kBatch = 2000;
// When every row is wanted, batches go many to a request, so that the server sends them one
// after another instead of waiting for the client to ask for each; requests grow to a limit.
constexpr int kRestBatch = 5000;
constexpr int kFirstRestRequest = 16;
constexpr int kLastRestRequest = 64;
// Batches taken ahead of the one used, at most.
constexpr size_t kAheadBatches = 8;

} // namespace

// ---- PgRows ----

PgRows::PgRows(PgConnection &connection)
    : connection_(connection), pg_(connection.handle()), pq_(connection.client())
{
}

PgRows::~PgRows()
{
    abandon();
}

void PgRows::take(PGresult *result)
{
    if (result_)
        pq_.clear(result_);
    result_ = result;
    row_ = -1;
    rowsInResult_ = result ? pq_.ntuples(result) : 0;
}

bool PgRows::start(const PgStatement &statement, const QByteArray &savepoint, bool script)
{
    const bool sent = script ? connection_.sendScript(statement.text, savepoint) : connection_.send(statement, savepoint);
    if (!sent) {
        error_ = connection_.error();
        return false;
    }
    active_ = exchanged_ = true;
    connection_.singleRows();   // refused only if the statement was not sent: then the rows come whole
    take(connection_.next().release());
    const ExecStatusType status = result_ ? pq_.resultStatus(result_) : PGRES_FATAL_ERROR;
    if (status != PGRES_SINGLE_TUPLE && status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const QSqlError e = connection_.error().isValid() ? connection_.error() : errorOf("Unable to create query", result_);
        take(nullptr);
        finish(false);
        error_ = e;
        return false;
    }
    if (status != PGRES_COMMAND_OK)
        readColumns();
    // The first row stays for `next`; a statement that answered whole has its end read now.
    atEnd_ = status != PGRES_SINGLE_TUPLE;
    if (atEnd_)
        drain(false);
    return true;
}

void PgRows::readColumns()
{
    const int fields = pq_.nfields(result_);
    oids_.reserve(size_t(fields));
    for (int i = 0; i < fields; ++i) {
        oids_.push_back(pq_.ftype(result_, i));
        names_ << QString::fromUtf8(pq_.fname(result_, i));
    }
}

bool PgRows::startBatched(const QByteArray &sql, bool script, bool readOnly)
{
    PgStatement alone;
    alone.text = sql;
    const auto unbatched = [&] { return !readOnly && start(alone, {}, script); };
    // One statement only: whatever followed it would run inside the cursor's transaction.
    static const QRegularExpression read(QStringLiteral("^\\s*(SELECT|WITH|VALUES|TABLE)\\b"),
                                         QRegularExpression::CaseInsensitiveOption);
    QByteArray body = sql.trimmed();
    while (body.endsWith(';'))
        body = body.chopped(1).trimmed();
    if (script || body.contains(';') || !read.match(QString::fromUtf8(body.left(16))).hasMatch())
        return unbatched();
    while (PGresult *left = pq_.getResult(pg_))
        pq_.clear(left);
    // The comment that may end the statement ends with its line. The cursor outlives its
    // transaction (see endTransactionWhileIdle). What the connection keeps for its next
    // exchange (an earlier reader's cursor to close) goes ahead of it. The second batch is
    // asked for in the same exchange, behind a flush: the server sends the first batch as
    // soon as it has it, and finds the second one's rows while the first are shown.
    std::vector<QByteArray> commands = connection_.takeQueued();
    commands.push_back(readOnly ? "BEGIN READ ONLY" : "BEGIN");
    commands.push_back("DECLARE gp_filas NO SCROLL CURSOR WITH HOLD FOR " + body + '\n');
    commands.push_back("FETCH " + QByteArray::number(kFirstBatch) + " FROM gp_filas");
    if (!sendOpening(commands))
        return unbatched();
    PGresult *rows = nullptr;
    bool failed = false;
    for (size_t i = 0; i < commands.size() && !failed; ++i) {
        PGresult *answer = nextAnswer();
        const ExecStatusType status = answer ? pq_.resultStatus(answer) : PGRES_FATAL_ERROR;
        if (status == PGRES_TUPLES_OK && i + 1 == commands.size())
            rows = answer;
        else if (answer)
            pq_.clear(answer);
        failed = status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK;
    }
    if (failed || !rows) {
        // Not a statement a cursor takes, or one that fails: run alone, it answers for itself.
        if (rows)
            pq_.clear(rows);
        while (PGresult *left = nextAnswer())
            pq_.clear(left);
        command("ROLLBACK");
        return unbatched();
    }
    batched_ = true;
    holding_ = committed_ = closed_ = false;
    take(rows);
    readColumns();
    fetchSize_ = kFirstBatch;
    fetchesLeft_ = 2;
    active_ = true;   // the second batch is on its way
    afterFetch();
    if (batched_ && QCoreApplication::instance()) {
        // Once the program is idle again (the rows shown, the user looking at them), the
        // cursor's transaction ends.
        idle_ = std::make_unique<QObject>();
        QTimer::singleShot(0, idle_.get(), [this] { endTransactionWhileIdle(); });
    }
    return true;
}

// The opening commands, the first batch and a second one sent in one exchange, as a
// pipeline: each statement alone through the extended protocol, a flush after the first
// batch and the synchronisation at the end. Whether it was all sent.
bool PgRows::sendOpening(const std::vector<QByteArray> &commands)
{
    if (!pq_.enterPipelineMode(pg_))
        return false;
    pipelined_ = true;
    const auto sendOne = [&](const QByteArray &sql) {
        return pq_.sendQueryParams(pg_, sql.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0) != 0;
    };
    bool sent = std::all_of(commands.begin(), commands.end(), sendOne) && pq_.sendFlushRequest(pg_)
        && sendOne("FETCH " + QByteArray::number(kBatch) + " FROM gp_filas") && pq_.pipelineSync(pg_);
    if (!sent) {
        // Whatever left stays unanswered: the link is gone or libpq out of memory.
        pq_.exitPipelineMode(pg_);
        pipelined_ = false;
    }
    return sent;
}

// The request's next answer; null once every one was read. A pipeline's answers come each
// followed by a null and end with its synchronisation: they are given as a text's would be,
// so that the reading after the opening need not tell them apart, and the connection leaves
// pipeline mode when they end.
PGresult *PgRows::nextAnswer()
{
    if (!pipelined_)
        return pq_.getResult(pg_);
    bool ended = false;   // a statement's answers ended: a second null means nothing follows
    for (;;) {
        PGresult *answer = pq_.getResult(pg_);
        if (!answer && std::exchange(ended, true))
            break;
        if (!answer)
            continue;
        if (pq_.resultStatus(answer) != PGRES_PIPELINE_SYNC)
            return answer;
        pq_.clear(answer);
        break;
    }
    pq_.exitPipelineMode(pg_);
    pipelined_ = false;
    return nullptr;
}

// The rows read on so far hold a snapshot and a share lock on every table the statement
// reads, which would stop another session's ALTER or LOCK for as long as the rows are looked
// at: the cursor is made to outlive its transaction, which is committed. The batch asked
// for is taken off the connection first and kept for when it is wanted; the commit's answer
// (the server has then kept the rest of the rows for the cursor) is read before the next
// request. Not while every row is being read: that ends the transaction soon enough.
void PgRows::endTransactionWhileIdle()
{
    if (!batched_ || holding_ || atEnd_ || readingAll_ || ahead_ || failed() || held_)
        return;
    if (active_) {
        held_ = nextAnswer();
        while (PGresult *left = nextAnswer())
            pq_.clear(left);
        active_ = false;
        if (!held_ || pq_.resultStatus(held_) != PGRES_TUPLES_OK)
            return;   // the failure is met where the batch is wanted
    }
    // A short batch kept aside is the cursor's last: the cursor goes with the commit.
    const bool last = held_ && pq_.ntuples(held_) < fetchSize_;
    if (!pq_.sendQuery(pg_, last ? "CLOSE gp_filas;COMMIT" : "COMMIT"))
        return;
    holding_ = active_ = true;
    closed_ = last;
}

PGresult *PgRows::nextBatch()
{
    return held_ ? std::exchange(held_, nullptr) : nextAnswer();
}

void PgRows::dropHeld()
{
    if (held_)
        pq_.clear(std::exchange(held_, nullptr));
}

// Sent and its answers read; whether it succeeded.
bool PgRows::command(const char *sql)
{
    if (!pq_.sendQuery(pg_, sql))
        return false;
    bool ok = true;
    while (PGresult *answer = pq_.getResult(pg_)) {
        const ExecStatusType status = pq_.resultStatus(answer);
        ok = ok && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK);
        pq_.clear(answer);
    }
    return ok;
}

// After a batch arrived: the next request sent at once when this batch was its last, so
// that the server works on it while this one is used; a short batch was the cursor's last.
void PgRows::afterFetch()
{
    --fetchesLeft_;
    if (rowsInResult_ < fetchSize_) {
        // The request's batches after it are empty.
        if (drain(false) && !error_.isValid())
            error_ = errorOf("Unable to get result", nullptr);
        atEnd_ = true;
        endBatches(error_.isValid());
        return;
    }
    if (fetchesLeft_ > 0) {
        if (fetchSize_ == kFirstBatch)
            fetchSize_ = kBatch;   // the opening's second batch, asked for with the first
        return;
    }
    if (drain(false)) {
        error_ = errorOf("Unable to get result", nullptr);
        atEnd_ = true;
        endBatches(true);
        return;
    }
    if (!askFetches()) {
        error_ = errorOf("Unable to send query", nullptr);
        atEnd_ = true;
        endBatches(true);
    }
}

// The next request of batches sent; false when it could not be.
bool PgRows::askFetches()
{
    const int batches = readingAll_ ? restRequest_ : 1;
    fetchSize_ = readingAll_ ? kRestBatch : kBatch;
    const QByteArray fetch = "FETCH " + QByteArray::number(fetchSize_) + " FROM gp_filas";
    QByteArray request = fetch;
    for (int i = 1; i < batches; ++i)
        request += ';' + fetch;

    if (readingAll_)
        restRequest_ = qMin(2 * restRequest_, kLastRestRequest);
    if (!pq_.sendQuery(pg_, request.constData()))
        return false;
    active_ = true;
    fetchesLeft_ = batches;
    return true;
}

struct PgRows::Ahead
{
    std::thread thread;
    std::mutex lock;
    std::condition_variable arrived, room;
    std::deque<PGresult *> results;   // batches taken, in order
    bool done = false;                // the thread ended, the connection idle
    bool stop = false;
    QSqlError error;                  // a failure the thread met
    PGcancel *cancel = nullptr;
};

// Batches taken off the connection while the rows before them are used: libpq's reading and
// parsing of the rest go on beside the packing.
void PgRows::startAhead()
{
    ahead_ = std::make_unique<Ahead>();
    ahead_->cancel = pq_.getCancel(pg_);
    try {
        ahead_->thread = std::thread([this] { readAhead(); });
    } catch (const std::system_error &) {
        // No thread to be had: the batches are read here, as they are used.
        if (ahead_->cancel)
            pq_.freeCancel(ahead_->cancel);
        ahead_.reset();
    }
}

// The thread's work: the connection is its own until it is joined.
void PgRows::readAhead()
{
    Ahead &a = *ahead_;
    bool ended = false;   // the cursor's end or a failure met: the rest is read and dropped
    for (;;) {
        PGresult *result = nextAnswer();
        if (!result) {
            {
                const std::lock_guard lock(a.lock);
                if (ended || a.stop)
                    break;
            }
            // Every batch of the request was full: the next request.
            if (!askFetches()) {
                const std::lock_guard lock(a.lock);
                a.error = errorOf("Unable to send query", nullptr);
                break;
            }
            continue;
        }
        if (ended || pq_.resultStatus(result) == PGRES_COMMAND_OK) {
            committed_ = committed_ || !ended;   // read once the thread is joined
            pq_.clear(result);
            continue;
        }
        if (pq_.resultStatus(result) != PGRES_TUPLES_OK) {
            const std::lock_guard lock(a.lock);
            if (!a.stop)
                a.error = errorOf("Unable to get result", result);
            pq_.clear(result);
            ended = true;
            continue;
        }
        --fetchesLeft_;
        ended = pq_.ntuples(result) < fetchSize_;
        std::unique_lock lock(a.lock);
        a.room.wait(lock, [&] { return a.stop || a.results.size() < kAheadBatches; });
        if (a.stop) {
            pq_.clear(result);
            ended = true;
            continue;
        }
        a.results.push_back(result);
        a.arrived.notify_one();
    }
    active_ = false;
    fetchesLeft_ = 0;
    const std::lock_guard lock(a.lock);
    a.done = true;
    a.arrived.notify_one();
}

// The next batch the thread took; null once it is done and every batch was given.
PGresult *PgRows::nextAhead()
{
    Ahead &a = *ahead_;
    std::unique_lock lock(a.lock);
    a.arrived.wait(lock, [&] { return a.done || !a.results.empty(); });
    if (a.results.empty())
        return nullptr;
    PGresult *result = a.results.front();
    a.results.pop_front();
    a.room.notify_one();
    return result;
}

// The thread ended and joined, the connection idle and the rows' again. A statement stopped
// is cancelled on the server, or its connection cut when it is about to be closed (a server
// that no longer answers cannot keep the thread waiting); a failure stopping makes is none.
void PgRows::stopAhead(Stop how)
{
    if (!ahead_)
        return;
    Ahead &a = *ahead_;
    const bool stop = how != Stop::Finish;
    bool running = false;
    {
        const std::lock_guard lock(a.lock);
        running = !a.done;
        if (stop)
            a.stop = true;
        a.room.notify_one();
    }
    if (running && how == Stop::Cancel && a.cancel) {
        char reason[256];
        pq_.cancel(a.cancel, reason, int(sizeof reason));
    } else if (running && how == Stop::Cut) {
        ::shutdown(pq_.socket(pg_), SHUT_RDWR);
    }
    a.thread.join();
    for (PGresult *left : a.results)
        pq_.clear(left);
    if (a.cancel)
        pq_.freeCancel(a.cancel);
    if (!stop && a.error.isValid() && !error_.isValid())
        error_ = a.error;
    ahead_.reset();
}

void PgRows::readAll()
{
    if (readingAll_)
        return;
    readingAll_ = true;
    restRequest_ = kFirstRestRequest;
    // The batch asked for is the thread's first: the next request leaves as soon as it is in.
    // A cursor closed with its commit has nothing more to ask for.
    if (batched_ && active_ && !failed() && !closed_)
        startAhead();
}

// What ends the cursor: its transaction while it lasts, the cursor itself once it outlived
// it, nothing once it went with the commit. A commit stopped on its way took the cursor with
// it, and a roll-back ends nothing.
const char *PgRows::closing(bool failed) const
{
    if (committed_)
        return closed_ ? nullptr : "CLOSE gp_filas";
    return failed || holding_ ? "ROLLBACK" : "CLOSE gp_filas;COMMIT";
}

void PgRows::endBatches(bool failed)
{
    if (!batched_)
        return;
    batched_ = false;
    const char *sql = closing(failed);
    if (sql && !endCursor(sql) && !failed && !error_.isValid())
        error_ = errorOf("Unable to get result", nullptr);
}

// A cursor that outlived its transaction holds nothing but the rows kept for it: its closing
// goes ahead of the connection's next statement, in that one's exchange. Anything else is
// sent now.
bool PgRows::endCursor(const char *sql)
{
    if (committed_ && qstrcmp(sql, "CLOSE gp_filas") == 0) {
        connection_.queue(sql);
        return true;
    }
    return command(sql);
}

QList<TFieldType> PgRows::types() const
{
    QList<TFieldType> types(columnCount());
    for (int i = 0; i < columnCount(); ++i)
        types[i] = fieldTypeOfValues(driverType(oids_[size_t(i)]), oids_[size_t(i)] == kText);
    return types;
}

bool PgRows::next()
{
    if (result_ && row_ + 1 < rowsInResult_) {
        ++row_;
        return true;
    }
    if (atEnd_ || failed()) {
        take(nullptr);
        return false;
    }
    if (ahead_) {
        while (PGresult *batch = held_ ? std::exchange(held_, nullptr) : nextAhead()) {
            take(batch);
            if (rowsInResult_ > 0) {
                row_ = 0;
                return true;
            }
        }
        take(nullptr);
        stopAhead(Stop::Finish);
        atEnd_ = true;
        endBatches(failed());
        return false;
    }
    take(exchanged_ ? connection_.next().release() : nextBatch());
    const ExecStatusType status = result_ ? pq_.resultStatus(result_) : PGRES_FATAL_ERROR;
    if (batched_ && status == PGRES_TUPLES_OK) {
        afterFetch();
        if (rowsInResult_ > 0) {
            row_ = 0;
            return true;
        }
        take(nullptr);
        return false;
    }
    if (status == PGRES_SINGLE_TUPLE && rowsInResult_ > 0) {
        row_ = 0;
        return true;
    }
    if (status == PGRES_TUPLES_OK) {
        take(nullptr);
        atEnd_ = true;
        drain(false);
        return false;
    }
    const QSqlError e = exchanged_ && connection_.error().isValid() ? connection_.error()
                                                                     : errorOf("Unable to get result", result_);
    take(nullptr);
    finish(false);
    error_ = e;
    return false;
}

bool PgRows::finish(bool cancel)
{
    take(nullptr);
    dropHeld();
    stopAhead(cancel ? Stop::Cancel : Stop::Finish);
    const bool failure = drain(cancel && !batched_);
    endBatches(failure || error_.isValid());
    return failure;
}

// Whatever follows the rows read (the answers of further statements in the same text too:
// the driver gives the first one only) is read and dropped.
bool PgRows::drain(bool cancel)
{
    if (!active_)
        return false;
    active_ = false;
    if (cancel) {
        if (PGcancel *request = pq_.getCancel(pg_)) {
            char reason[256];
            pq_.cancel(request, reason, int(sizeof reason));
            pq_.freeCancel(request);
        }
    }
    if (std::exchange(exchanged_, false))
        return connection_.drain();
    bool failure = false;
    while (PGresult *left = nextAnswer()) {
        const ExecStatusType status = pq_.resultStatus(left);
        failure = failure || status == PGRES_FATAL_ERROR || status == PGRES_BAD_RESPONSE;
        committed_ = committed_ || (batched_ && status == PGRES_COMMAND_OK);
        pq_.clear(left);
    }
    return failure;
}

void PgRows::abandon()
{
    take(nullptr);
    dropHeld();
    stopAhead(Stop::Cut);
    active_ = exchanged_ = pipelined_ = false;
    batched_ = false;   // the connection goes, and its transaction with it
}

bool PgRows::release()
{
    take(nullptr);
    dropHeld();
    stopAhead(Stop::Cancel);
    if (failed() || (active_ && !batched_))
        return false;
    if (batched_) {
        // Many batches still asked for are stopped rather than read, and so is a commit that
        // may still be finishing a large result for the cursor: what was stopped fails.
        const bool stop = fetchesLeft_ > 1 || (holding_ && !committed_);
        const bool failure = drain(stop);
        batched_ = false;
        const char *sql = closing(true);
        if ((sql && !endCursor(sql)) || (failure && !stop))
            return false;
    }
    return pq_.status(pg_) == CONNECTION_OK;
}

namespace {

// A value's text as the program reads it (see pgValue).
QVariant valueOfText(Oid oid, const char *text, int size, TFieldType type, const PgClient &pq)
{
    // A date's text is the reading itself, never converted through the local time.
    const bool dated = isDateType(type);
    if (dated) {
        const QVariant stored = storedTextValue(QByteArrayView(text, size), type);
        if (stored.typeId() != QMetaType::QString)
            return stored;
    }
    const QVariant v = driverValue(oid, text, size, pq);
    if (v.typeId() == QMetaType::QString)
        return dated ? storedTextValue(v.toString().toUtf8(), type) : v;
    if (v.typeId() != QMetaType::QDateTime)
        return v;
    return FechaHoraDeReloj(v.toDateTime());
}

} // namespace

QList<TFieldType> pgColumnTypes(const PgClient &pq, const PGresult *result)
{
    const int columns = result ? pq.nfields(result) : 0;
    QList<TFieldType> types(columns);
    for (int i = 0; i < columns; ++i) {
        const Oid oid = pq.ftype(result, i);
        types[i] = fieldTypeOfValues(driverType(oid), oid == kText);
    }
    return types;
}

QVariant pgValue(const PgClient &pq, const PGresult *result, int row, int column, TFieldType type)
{
    if (pq.getIsNull(result, row, column))
        return QVariant();
    return valueOfText(pq.ftype(result, column), pq.getValue(result, row, column), pq.getLength(result, row, column),
                       type, pq);
}

QVariant PgRows::value(int column, TFieldType type) const
{
    if (!result_ || row_ < 0 || column < 0 || column >= columnCount() || pq_.getIsNull(result_, row_, column))
        return QVariant();
    return valueOfText(oids_[size_t(column)], pq_.getValue(result_, row_, column), pq_.getLength(result_, row_, column),
                       type, pq_);
}

// The server's texts, for the types whose text is what the value would write; integers
// and floats as numbers.
QueryCursor::Cell PgRows::cell(int column, TFieldType type, bool floatText) const
{
    QueryCursor::Cell c;
    if (!result_ || row_ < 0 || column < 0 || column >= columnCount())
        return c;
    // Only an empty value can be a null one: most cells need no third call into libpq.
    const int size = pq_.getLength(result_, row_, column);
    if (size == 0 && pq_.getIsNull(result_, row_, column)) {
        c.kind = QueryCursor::Cell::Kind::Null;
        return c;
    }
    const char *text = pq_.getValue(result_, row_, column);
    switch (type) {
    case ftString:
    case ftMemo:
    case ftDateTime:
    case ftDate:
    case ftTime:
        c.kind = QueryCursor::Cell::Kind::Text;
        c.text = text;
        c.size = size;
        break;
    case ftInteger: {
        qint64 value = 0;
        const auto [end, error] = std::from_chars(text, text + size, value);
        if (error == std::errc() && end == text + size) {
            c.kind = QueryCursor::Cell::Kind::Integer;
            c.integer = value;
        }
        break;
    }
    case ftFloat: {
        if (floatText && isPlainDecimal(text, size)) {
            c.kind = QueryCursor::Cell::Kind::Text;
            c.text = text;
            c.size = size;
            c.decimal = true;
            break;
        }
        double value = 0;
        const auto [end, error] = std::from_chars(text, text + size, value);
        if (error == std::errc() && end == text + size && std::isfinite(value)) {
            c.kind = QueryCursor::Cell::Kind::Real;
            c.real = value;
        }
        break;
    }
    default:
        break;
    }
    return c;
}

// ---- PgCursor ----

PgCursor::PgCursor(std::shared_ptr<PhysicalConnection> connection, PgConnection &pg, const QString &sql,
                   const QVariantMap &params)
    : connection_(std::move(connection)), rows_(pg)
{
    // Only a plain read is stopped on the server when given up: anything else that was sent
    // is carried out whole, as if read to its end.
    static const QRegularExpression read(QStringLiteral("^\\s*SELECT\\b"), QRegularExpression::CaseInsensitiveOption);
    cancellable_ = read.match(sql).hasMatch();
    connection_->declaredName(QString());   // the catalogue's names are read before the rows start
    bool script = false;
    const PgStatement statement = connection_->pgStatement(sql, params, values_, script);
    if (!rows_.start(statement, connection_->statementSavepoint(), script))
        fail();
    try {
        types_ = rows_.types();
        for (int i = 0; i < rows_.columnCount(); ++i)
            columns_ << connection_->declaredName(rows_.columnName(i));
    } catch (...) {
        // No destructor runs for a cursor not made: the statement is ended here.
        finish(cancellable_);
        throw;
    }
}

PgCursor::~PgCursor()
{
    if (done_)
        return;
    finish(cancellable_);
}

bool PgCursor::next()
{
    if (done_)
        return false;
    if (rows_.next())
        return true;
    if (rows_.failed())
        fail();
    finish(false);
    return false;
}

// The statement's savepoint is released (or rolled back to) with its last answer.
void PgCursor::finish(bool cancel)
{
    done_ = true;
    rows_.finish(cancel);
}

void PgCursor::fail()
{
    const QSqlError e = rows_.error();
    finish(false);
    throw connection_->error(e);
}

} // namespace plat
