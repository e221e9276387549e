#include "platform/data/engine/PgConnection.h"

#include <QCoreApplication>
#include <QSet>
#include <cstdlib>
#include <mutex>

namespace plat {

namespace {

// The server's notices (a warning at most, by the session's settings) are not the
// program's to print.
void ignoreNotice(void *, const char *) {}

bool isFailure(ExecStatusType status)
{
    return status == PGRES_FATAL_ERROR || status == PGRES_BAD_RESPONSE || status == PGRES_NONFATAL_ERROR;
}

} // namespace

void PgResultFree::operator()(PGresult *result) const
{
    if (result)
        pgClient()->clear(result);
}

int pgChangedRows(const PgResult &result)
{
    return result ? std::atoi(pgClient()->cmdTuples(result.get())) : 0;
}

PgConnection::PgConnection(const PgClient &client) : pq_(client) {}

PgConnection::~PgConnection()
{
    close();
}

namespace {

// A server answers a connection's request for TLS before it knows the database or the user:
// one that said no to a connection of the process says no to every one. Later connections to
// it (a reader's, another database's) then do not ask, which saves their first exchange, as
// long as TLS is only preferred (libpq's default), not asked for by the environment.
std::mutex withoutTlsLock;
QSet<QByteArray> withoutTls;   // "host:port"

QByteArray serverOf(const PgParameters &parameters)
{
    QByteArray host, port;
    for (const auto &[keyword, value] : parameters) {
        if (keyword == "host")
            host = value;
        else if (keyword == "port")
            port = value;
        else if (keyword == "sslmode")
            return {};
    }
    const QByteArray mode = qgetenv("PGSSLMODE");
    if (host.isEmpty() || host.startsWith('/') || (!mode.isEmpty() && mode != "prefer") || !qgetenv("PGSERVICE").isEmpty())
        return {};
    return host + ':' + port;
}

} // namespace

bool PgConnection::open(const PgParameters &parameters)
{
    close();
    const QByteArray server = serverOf(parameters);
    bool askTls = true;
    if (!server.isEmpty()) {
        const std::lock_guard lock(withoutTlsLock);
        askTls = !withoutTls.contains(server);
    }
    std::vector<const char *> keywords, values;
    for (const auto &[keyword, value] : parameters) {
        keywords.push_back(keyword.constData());
        values.push_back(value.constData());
    }
    if (!askTls) {
        keywords.push_back("sslmode");
        values.push_back("disable");
    }
    keywords.push_back(nullptr);
    values.push_back(nullptr);
    pg_ = pq_.connectdbParams(keywords.data(), values.data(), 0);
    if (pg_ && pq_.status(pg_) == CONNECTION_OK) {
        pq_.setNoticeProcessor(pg_, &ignoreNotice, nullptr);
        if (askTls && !server.isEmpty() && !pq_.sslInUse(pg_)) {
            const std::lock_guard lock(withoutTlsLock);
            withoutTls.insert(server);
        }
        return true;
    }
    error_ = QSqlError(QStringLiteral("QPSQL: ") + QCoreApplication::translate("QPSQLDriver", "Unable to connect"),
                       pg_ ? QString::fromUtf8(pq_.errorMessage(pg_)) : QString(), QSqlError::ConnectionError);
    close();
    return false;
}

void PgConnection::close()
{
    if (pg_)
        pq_.finish(pg_);
    pg_ = nullptr;
    queued_.clear();
    expected_.clear();
    simple_ = pipeline_ = false;
}

bool PgConnection::isOpen() const
{
    return pg_ && pq_.status(pg_) == CONNECTION_OK;
}

void PgConnection::queue(const QByteArray &sql)
{
    queued_.push_back(sql);
}

bool PgConnection::unqueue(const QByteArray &sql)
{
    if (queued_.empty() || queued_.back() != sql)
        return false;
    queued_.pop_back();
    return true;
}

QSqlError PgConnection::errorOf(const char *what, const PGresult *result) const
{
    // Worded as the driver words its own failures, so that they read (and classify) alike.
    QString message = QString::fromUtf8(result ? pq_.resultErrorMessage(result) : pg_ ? pq_.errorMessage(pg_) : "");
    QString state;
    if (result) {
        state = QString::fromLatin1(pq_.resultErrorField(result, PG_DIAG_SQLSTATE));
        message += QStringLiteral("(%1)").arg(state);
    }
    return QSqlError(QStringLiteral("QPSQL: ") + QCoreApplication::translate("QPSQLResult", what), message,
                     QSqlError::StatementError, state);
}

void PgConnection::failed(const char *what, const PGresult *result)
{
    if (!error_.isValid())
        error_ = errorOf(what, result);
}

bool PgConnection::sendOne(const QByteArray &sqlOrName, const PgValues *values, bool prepared)
{
    std::vector<const char *> texts;
    std::vector<int> lengths;
    if (values) {
        for (const QByteArray &v : *values) {
            texts.push_back(v.isNull() ? nullptr : v.constData());
            lengths.push_back(int(v.size()));
        }
    }
    if (prepared)
        return pq_.sendQueryPrepared(pg_, sqlOrName.constData(), int(texts.size()), texts.data(), lengths.data(),
                                     nullptr, 0);
    return pq_.sendQueryParams(pg_, sqlOrName.constData(), int(texts.size()), nullptr, texts.data(), lengths.data(),
                               nullptr, 0);
}

bool PgConnection::send(const PgStatement &statement, const QByteArray &savepoint, const QByteArray &closing)
{
    error_ = QSqlError();
    statementFailed_ = broken_ = parsed_ = false;
    if (!pg_) {
        failed("Unable to send query", nullptr);
        return false;
    }
    if (busy())
        drain();
    // Whatever an earlier statement left unread would answer in this one's place.
    while (PGresult *left = pq_.getResult(pg_))
        pq_.clear(left);
    if (!pq_.enterPipelineMode(pg_)) {
        failed("Unable to send query", nullptr);
        return false;
    }
    pipeline_ = true;
    savepoint_ = savepoint;
    // One synchronisation point for the whole exchange: libpq sends its messages together.
    bool sent = true;
    for (const QByteArray &sql : std::exchange(queued_, {})) {
        sent = sent && sendOne(sql, nullptr);
        expected_.push_back({Slot::Command});
    }
    if (!savepoint.isEmpty()) {
        sent = sent && sendOne("SAVEPOINT " + savepoint, nullptr);
        expected_.push_back({Slot::Command});
    }
    if (statement.preparedName.isEmpty()) {
        sent = sent && sendOne(statement.text, statement.values);
    } else {
        if (statement.prepareFirst) {
            sent = sent && pq_.sendPrepare(pg_, statement.preparedName.constData(), statement.text.constData(), 0, nullptr);
            expected_.push_back({Slot::Command, true, true});
        }
        sent = sent && sendOne(statement.preparedName, statement.values, true);
    }
    expected_.push_back({Slot::Statement});
    if (!savepoint.isEmpty()) {
        sent = sent && sendOne("RELEASE SAVEPOINT " + savepoint, nullptr);
        expected_.push_back({Slot::Command, false});
    }
    if (!closing.isEmpty()) {
        sent = sent && sendOne(closing, nullptr);
        expected_.push_back({Slot::Command});
    }
    sent = sent && pq_.pipelineSync(pg_);
    expected_.push_back({Slot::Sync});
    if (!sent) {
        failed("Unable to send query", nullptr);
        broken_ = true;
        endExchange();
        return false;
    }
    // Everything ahead of the statement's own answers.
    while (!expected_.empty() && expected_.front().slot == Slot::Command) {
        const Expected e = expected_.front();
        expected_.pop_front();
        const bool ok = readCommand(e.counts);
        if (e.parse)
            parsed_ = ok;
    }
    return true;
}

bool PgConnection::sendScript(const QByteArray &sql, const QByteArray &savepoint, const QByteArray &closing)
{
    error_ = QSqlError();
    statementFailed_ = broken_ = parsed_ = false;
    if (!pg_) {
        failed("Unable to send query", nullptr);
        return false;
    }
    if (busy())
        drain();
    while (PGresult *left = pq_.getResult(pg_))
        pq_.clear(left);
    // What precedes it and its savepoint go in its text: the simple protocol takes nothing
    // else with it. The comment that may end the script ends with its line.
    QByteArray text;
    ahead_ = 0;
    for (const QByteArray &before : std::exchange(queued_, {})) {
        text += before + ';';
        ++ahead_;
    }
    if (!savepoint.isEmpty()) {
        text += "SAVEPOINT " + savepoint + ';';
        ++ahead_;
    }
    text += sql;
    if (!savepoint.isEmpty())
        text += "\n;RELEASE SAVEPOINT " + savepoint;
    if (!closing.isEmpty())
        text += "\n;" + closing;
    savepoint_ = savepoint;
    if (!pq_.sendQuery(pg_, text.constData())) {
        failed("Unable to send query", nullptr);
        savepoint_.clear();
        return false;
    }
    simple_ = true;
    return true;
}

bool PgConnection::singleRows()
{
    return pq_.setSingleRowMode(pg_);
}

bool PgConnection::readCommand(bool counts)
{
    bool ok = true;
    while (PGresult *answer = pq_.getResult(pg_)) {
        const ExecStatusType status = pq_.resultStatus(answer);
        if (isFailure(status)) {
            ok = false;
            if (counts)
                failed("Unable to create query", answer);
        } else if (status == PGRES_PIPELINE_ABORTED) {
            ok = false;
        }
        pq_.clear(answer);
    }
    if (!ok && counts)
        statementFailed_ = true;
    if (pq_.status(pg_) != CONNECTION_OK) {
        broken_ = true;
        failed("Unable to get result", nullptr);
    }
    return ok;
}

bool PgConnection::readSync()
{
    PGresult *answer = broken_ ? nullptr : pq_.getResult(pg_);
    if (!answer) {
        broken_ = true;
        return false;
    }
    const bool synced = pq_.resultStatus(answer) == PGRES_PIPELINE_SYNC;
    pq_.clear(answer);
    return synced;
}

PgResult PgConnection::next()
{
    if (simple_) {
        for (;;) {
            PGresult *answer = pq_.getResult(pg_);
            if (!answer)
                break;
            const bool failure = isFailure(pq_.resultStatus(answer));
            if (failure) {
                statementFailed_ = true;
                failed("Unable to create query", answer);
            }
            // The answers of what went ahead of the script are not its own.
            if (ahead_ > 0 && !failure) {
                --ahead_;
                pq_.clear(answer);
                continue;
            }
            return PgResult(answer);
        }
        simple_ = false;
        if (pq_.status(pg_) != CONNECTION_OK) {
            broken_ = true;
            failed("Unable to get result", nullptr);
        }
        // A script that failed stopped there, its transaction unusable until rolled back to
        // the savepoint; one that did not has released it.
        if (!savepoint_.isEmpty() && statementFailed_ && !broken_)
            rollBackToSavepoint();
        savepoint_.clear();
        return nullptr;
    }
    if (expected_.empty())
        return nullptr;
    if (expected_.front().slot != Slot::Statement) {
        readFollowing();
        return nullptr;
    }
    PGresult *answer = broken_ ? nullptr : pq_.getResult(pg_);
    if (answer) {
        const ExecStatusType status = pq_.resultStatus(answer);
        if (isFailure(status)) {
            statementFailed_ = true;
            failed("Unable to create query", answer);
        } else if (status == PGRES_PIPELINE_ABORTED) {
            statementFailed_ = true;
            failed("Unable to create query", nullptr);
        }
        return PgResult(answer);
    }
    expected_.pop_front();
    if (pq_.status(pg_) != CONNECTION_OK) {
        broken_ = true;
        failed("Unable to get result", nullptr);
    }
    readFollowing();
    return nullptr;
}

// What the exchange holds after the statement: its savepoint's release and the sync.
void PgConnection::readFollowing()
{
    bool released = true;
    while (!expected_.empty()) {
        const Expected e = expected_.front();
        expected_.pop_front();
        if (broken_)
            continue;
        if (e.slot == Slot::Command)
            released = readCommand(e.counts) && released;
        else if (e.slot == Slot::Sync)
            readSync();
    }
    endExchange();
    if (!savepoint_.isEmpty() && !broken_ && (statementFailed_ || !released))
        rollBackToSavepoint();
    savepoint_.clear();
}

void PgConnection::endExchange()
{
    if (!broken_) {
        while (!expected_.empty())
            next();
    }
    expected_.clear();
    if (pipeline_ && pg_)
        pq_.exitPipelineMode(pg_);
    pipeline_ = false;
}

// A statement that failed left its transaction unusable until it rolls back to the
// savepoint: that goes ahead of whatever is sent next, in its exchange.
void PgConnection::rollBackToSavepoint()
{
    const QByteArray savepoint = std::exchange(savepoint_, {});
    queued_.push_back("ROLLBACK TO SAVEPOINT " + savepoint);
    queued_.push_back("RELEASE SAVEPOINT " + savepoint);
    statementFailed_ = true;   // its work, or the release's failure, undone
}

bool PgConnection::drain()
{
    bool failure = false;
    while (busy()) {
        if (PgResult answer = next())
            failure = failure || isFailure(pq_.resultStatus(answer.get()));
        else if (!busy())
            break;
    }
    return failure || statementFailed_;
}

PgResult PgConnection::run(const PgStatement &statement, const QByteArray &savepoint, const QByteArray &closing)
{
    if (!send(statement, savepoint, closing))
        return nullptr;
    PgResult last;
    while (PgResult answer = next())
        last = std::move(answer);
    if (statementFailed_ || broken_ || !last)
        return nullptr;
    return last;
}

PgResult PgConnection::runScript(const QByteArray &sql, const QByteArray &savepoint, const QByteArray &closing)
{
    if (!sendScript(sql, savepoint, closing))
        return nullptr;
    // The last answers are the savepoint's release and the closing: the script's own is the
    // one before them.
    const size_t after = (savepoint.isEmpty() ? 0 : 1) + (closing.isEmpty() ? 0 : 1);
    std::deque<PgResult> last;
    while (PgResult answer = next()) {
        last.push_back(std::move(answer));
        if (last.size() > after + 1)
            last.pop_front();
    }
    if (statementFailed_ || broken_ || last.size() <= after)
        return nullptr;
    return std::move(last.front());
}

// ---- placeholders ----

namespace {

bool isNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

} // namespace

QByteArray pgPlaceholders(const QString &sql, bool positional, QStringList *names, int *count)
{
    QString out;
    out.reserve(sql.size() + 8);
    QStringList seen;
    int numbers = 0;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql.at(i);
        // Quoted texts and names, and comments, are copied as they are.
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype end = i + 1;
            while (end < n && sql.at(end) != c)
                ++end;
            out += sql.mid(i, end + 1 - i);
            i = end + 1;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql.at(i + 1) == QLatin1Char('-')) {
            qsizetype end = sql.indexOf(QLatin1Char('\n'), i);
            if (end < 0)
                end = n;
            out += sql.mid(i, end - i);
            i = end;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && sql.at(i + 1) == QLatin1Char('*')) {
            qsizetype end = sql.indexOf(QLatin1String("*/"), i + 2);
            end = end < 0 ? n : end + 2;
            out += sql.mid(i, end - i);
            i = end;
            continue;
        }
        if (positional && c == QLatin1Char('?')) {
            out += QLatin1Char('$') + QString::number(++numbers);
            ++i;
            continue;
        }
        // ":Name", but not the second colon of a cast ("x::integer").
        if (!positional && c == QLatin1Char(':') && i + 1 < n && isNameCharacter(sql.at(i + 1))
            && (i == 0 || sql.at(i - 1) != QLatin1Char(':'))) {
            qsizetype end = i + 1;
            while (end < n && isNameCharacter(sql.at(end)))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            qsizetype number = seen.indexOf(name);
            if (number < 0) {
                seen << name;
                number = seen.size() - 1;
            }
            out += QLatin1Char('$') + QString::number(number + 1);
            i = end;
            continue;
        }
        out += c;
        ++i;
    }
    if (names)
        *names = seen;
    if (count)
        *count = positional ? numbers : int(seen.size());
    return out.toUtf8();
}

} // namespace plat
