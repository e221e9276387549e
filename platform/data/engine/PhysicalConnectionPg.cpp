// PostgreSQL through the engine's own libpq connection: the session's settings given as
// start-up options, statements with their parameters in one exchange each, and a
// transaction's start and savepoints sent with the statement they precede.
#include "platform/data/engine/PhysicalConnection.h"

#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/PgConnection.h"
#include "platform/data/engine/PgCatalogue.h"
#include "platform/data/engine/PgCursor.h"
#include "platform/data/engine/Session.h"

#include <QLocale>
#include <cmath>

namespace plat {

namespace {

const QByteArray kStatementSavepoint = QByteArrayLiteral("gp_sentencia");

} // namespace

PgParameters PhysicalConnection::pgParameters() const
{
    PgParameters p;
    const auto add = [&p](const char *keyword, const QString &value) {
        if (!value.isEmpty())
            p.emplace_back(keyword, value.toUtf8());
    };
    add("host", location_.host);
    add("port", location_.port > 0 ? QString::number(location_.port) : QString());
    add("dbname", location_.database);
    add("user", location_.user);
    add("password", location_.password);
    add("connect_timeout", QStringLiteral("10"));
    add("client_encoding", QStringLiteral("UTF8"));
    p.emplace_back("options", static_cast<const PostgresDialect *>(dialect_)->startupOptions(session_.lockWait(), isolation_));
    return p;
}

void PhysicalConnection::openPg()
{
    const PgClient *client = pgClient();
    if (!client)
        throw gp::DatabaseError(EngineText::GeneralSqlError + QStringLiteral(".\nlibpq 14 or later could not be loaded"));
    auto pg = std::make_unique<PgConnection>(*client);
    if (!pg->open(pgParameters()))
        throw error(pg->error());
    pg_ = std::move(pg);
}

QByteArray PhysicalConnection::pgText(const QVariant &value) const
{
    const QVariant v = bindValue(value);
    if (!v.isValid() || v.isNull())
        return QByteArray();
    switch (v.typeId()) {
    case QMetaType::QString: {
        const QByteArray text = v.toString().toUtf8();
        return text.isNull() ? QByteArray("") : text;
    }
    case QMetaType::Bool: return v.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = v.toDouble();
        if (std::isnan(d))
            return QByteArrayLiteral("NaN");
        if (std::isinf(d))
            return d > 0 ? QByteArrayLiteral("Infinity") : QByteArrayLiteral("-Infinity");
        return QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::QByteArray: return "\\x" + v.toByteArray().toHex();
    default: return v.toString().toUtf8();
    }
}

PgStatement PhysicalConnection::pgStatement(const QString &sql, const QVariantMap &params, PgValues &values,
                                            bool &script) const
{
    PgStatement statement;
    script = params.isEmpty() && !dialect_->isSingleStatement(sql);
    if (params.isEmpty()) {
        statement.text = sql.toUtf8();
        return statement;
    }
    QStringList names;
    statement.text = pgPlaceholders(sql, false, &names);
    values.clear();
    values.reserve(size_t(names.size()));
    for (const QString &name : names) {
        // Bound with or without the colon; a name given no value is NULL.
        auto it = params.constFind(name);
        if (it == params.constEnd())
            it = params.constFind(QLatin1Char(':') + name);
        values.push_back(it == params.constEnd() ? QByteArray() : pgText(*it));
    }
    statement.values = &values;
    return statement;
}

QByteArray PhysicalConnection::statementSavepoint() const
{
    return depth_ > 0 && dialect_->statementSavepoints() ? kStatementSavepoint : QByteArray();
}

PgResult PhysicalConnection::runPg(const QString &sql, const QVariantMap &params, bool aheadOfTransaction)
{
    readReadersWhole(sql);
    PgValues values;
    bool script = false;
    const PgStatement statement = pgStatement(sql, params, values, script);
    // Ahead of a transaction's start, the statement runs outside it: no savepoint, and what
    // waits to be sent waits on for the next statement.
    std::vector<QByteArray> waiting;
    if (aheadOfTransaction)
        waiting = pg_->takeQueued();
    // The outermost transaction's last statement takes its COMMIT along and needs no
    // savepoint: its failure ends the transaction, which the caller then rolls back.
    const bool closes = !aheadOfTransaction && std::exchange(commitWithNext_, false) && depth_ == 1;
    const QByteArray savepoint = aheadOfTransaction || closes ? QByteArray() : statementSavepoint();
    const QByteArray closing = closes ? QByteArrayLiteral("COMMIT") : QByteArray();
    PgResult result = script ? pg_->runScript(statement.text, savepoint, closing) : pg_->run(statement, savepoint, closing);
    if (aheadOfTransaction)
        pg_->restoreQueued(std::move(waiting));
    if (!result)
        throw error(pg_->error());
    // Committed: what runs before the program's commit goes in a transaction of its own,
    // which that commit (or a roll-back) ends without a word to the server when nothing ran.
    if (closes)
        pg_->queue(pgStart_);
    return result;
}

void PhysicalConnection::commitWithNext()
{
    commitWithNext_ = pg_ != nullptr && depth_ == 1;
}

bool PhysicalConnection::takeCommitWithNext()
{
    return std::exchange(commitWithNext_, false);
}

QueryResult PhysicalConnection::catalogueQuery(const QString &sql)
{
    ensureUsable();
    if (pg_ && depth_ > 0 && pg_->startQueued())
        return queryPg(sql, {}, true);
    return query(sql, {});
}

bool PhysicalConnection::queueWithNext(const QString &sql)
{
    if (!pg_ || depth_ == 0)
        return false;
    ensureUsable();
    pg_->queue(sql.toUtf8());
    return true;
}

bool PhysicalConnection::createsUnlessExists() const
{
    return pg_ && dynamic_cast<const PgCatalogue *>(catalogue_.get());
}

std::optional<bool> PhysicalConnection::createTableUnlessExists(const QString &table, const QStringList &statements)
{
    if (!createsUnlessExists())
        return std::nullopt;
    ensureUsable();
    return static_cast<PgCatalogue &>(*catalogue_).createUnlessExists(table, statements);
}

Dialect::ReadOnlyRun PhysicalConnection::readOnlyRun() const
{
    Dialect::ReadOnlyRun run = dialect_->readOnlyRun();
    if (pg_) {
        // The transaction starts read-only itself: no setting of the session to send and undo.
        run.start.clear();
        run.end.clear();
        run.readOnlyStart = true;
    }
    return run;
}

QueryResult PhysicalConnection::queryPg(const QString &sql, const QVariantMap &params, bool aheadOfTransaction)
{
    const PgResult result = runPg(sql, params, aheadOfTransaction);
    const PgClient &pq = pg_->client();
    QueryResult r;
    r.types = pgColumnTypes(pq, result.get());
    const int columns = int(r.types.size());
    const int rows = pq.ntuples(result.get());
    r.rows.reserve(rows);
    for (int row = 0; row < rows; ++row) {
        QVariantList values;
        values.reserve(columns);
        for (int column = 0; column < columns; ++column)
            values << pgValue(pq, result.get(), row, column, r.types.at(column));
        r.rows << values;
    }
    for (int column = 0; column < columns; ++column)
        r.columns << declaredName(QString::fromUtf8(pq.fname(result.get(), column)));
    return r;
}

// A transaction's start goes with its first statement; one that ends before any ran never
// reaches the server.
void PhysicalConnection::beginPg(bool readOnly)
{
    if (depth_ == 0) {
        pgStart_ = readOnly ? QByteArrayLiteral("BEGIN READ ONLY") : QByteArrayLiteral("BEGIN");
        pg_->queue(pgStart_);
        return;
    }
    pg_->queue(dialect_->savepointStatement(savepointName(depth_)).toUtf8());
}

void PhysicalConnection::commitPg()
{
    if (depth_ > 0) {
        const QString name = savepointName(depth_);
        if (!pg_->unqueue(dialect_->savepointStatement(name).toUtf8()))
            pg_->queue(dialect_->releaseSavepointStatement(name).toUtf8());
        return;
    }
    if (pg_->unqueue(pgStart_))
        return;
    PgStatement commit;
    commit.text = "COMMIT";
    const PgResult result = pg_->run(commit);
    if (!result)
        throw error(pg_->error());
    // A transaction the server had to abandon answers its COMMIT with a ROLLBACK.
    if (qstrcmp(pgClient()->cmdStatus(result.get()), "ROLLBACK") == 0)
        throw error(QSqlError(QStringLiteral("QPSQL: Could not commit transaction"),
                              QStringLiteral("The transaction was rolled back"), QSqlError::TransactionError));
}

void PhysicalConnection::undoPg()
{
    QByteArray last = "ROLLBACK";
    if (depth_ > 0) {
        const QString name = savepointName(depth_);
        if (pg_->unqueue(dialect_->savepointStatement(name).toUtf8()))
            return;
        pg_->queue(dialect_->rollbackToSavepointStatement(name).toUtf8());
        last = dialect_->releaseSavepointStatement(name).toUtf8();
    } else if (pg_->unqueue(pgStart_)) {
        return;
    }
    PgStatement statement;
    statement.text = last;
    if (!pg_->run(statement))
        throw error(pg_->error());
}

} // namespace plat
