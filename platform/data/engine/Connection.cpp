#include "platform/data/engine/Connection.h"

#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/PhysicalConnection.h"
#include "platform/data/engine/Session.h"

#include <QRegularExpression>
#include <algorithm>
#include <utility>

namespace plat {

Connection::Connection(Session &session, const QString &name) : session_(session), name_(name) {}

Connection::~Connection()
{
    try {
        close();
    } catch (...) {
        // Closing on destruction never throws.
    }
}

void Connection::setAliasName(const QString &alias)
{
    close();
    aliasName_ = alias;
}

void Connection::setDatabaseName(const QString &databaseName)
{
    close();
    databaseName_ = databaseName;
}

void Connection::setParams(const QStringList &params)
{
    close();
    params_ = params;
}

void Connection::setConnectionString(const QString &connectionString)
{
    close();
    connectionString_ = connectionString;
}

void Connection::setIsolationLevel(IsolationLevel level)
{
    isolation_ = level;
    if (isOpen())
        applyIsolation();
}

DatabaseLocation Connection::location() const
{
    if (!connectionString_.isEmpty()) {
        const QStringList p = paramsFromAdoConnectionString(connectionString_);
        return session_.resolve(paramValue(p, QStringLiteral("DATABASE NAME")), p);
    }
    const QString name = !databaseName_.isEmpty() ? databaseName_ : aliasName_;
    if (!aliasName_.isEmpty() && session_.isAlias(aliasName_) && params_.isEmpty() && !databaseName_.contains(QLatin1Char('/')))
        return session_.resolve(aliasName_);
    return session_.resolve(name, params_);
}

void Connection::open()
{
    if (physical_)
        return;
    physical_ = session_.physicalFor(location(), isolation_);
    applyIsolation();
}

void Connection::ensureOpen()
{
    if (!physical_)
        open();
}

void Connection::applyIsolation()
{
    physical_->setIsolation(isolation_);
}

void Connection::rollBackOwnDepth()
{
    while (ownDepth_ > 0) {
        --ownDepth_;
        physical_->rollback();
    }
}

void Connection::close()
{
    if (!physical_)
        return;
    uncommittedChanges_.clear();
    auto physical = physical_;
    try {
        rollBackOwnDepth();
    } catch (...) {
        physical_.reset();
        ownDepth_ = 0;
        throw;
    }
    physical_.reset();
}

EngineKind Connection::engine() const { return physical_ ? physical_->location().engine : location().engine; }

const Dialect &Connection::dialect() const
{
    return physical_ ? physical_->dialect() : Dialect::forEngine(location().engine);
}

void Connection::startTransaction()
{
    ensureOpen();
    physical_->begin();
    ++ownDepth_;
}

void Connection::commit()
{
    if (ownDepth_ == 0 || !physical_)
        throw gp::DatabaseError(EngineText::GeneralSqlError + QStringLiteral(".\nNo transaction is active on ") + name_);
    --ownDepth_;
    physical_->commit();
    if (physical_->depth() == 0) {
        for (const StatementTarget &target : std::exchange(uncommittedChanges_, {}))
            session_.tableChanges().changedBy(databaseKey(), target);
    }
}

void Connection::rollback()
{
    if (ownDepth_ == 0 || !physical_)
        throw gp::DatabaseError(EngineText::GeneralSqlError + QStringLiteral(".\nNo transaction is active on ") + name_);
    --ownDepth_;
    physical_->rollback();
    // Whatever the transaction changed is as it was.
    session_.tableChanges().changedDatabase(databaseKey());
    if (physical_->depth() == 0)
        uncommittedChanges_.clear();
}

void Connection::runReadOnly(const std::function<void()> &work)
{
    ensureOpen();
    const Dialect::ReadOnlyRun run = physical_->readOnlyRun();
    if (run.ownTransaction && physical_->depth() > 0)
        throw gp::DatabaseError(EngineText::GeneralSqlError
                                + QStringLiteral(".\nA read-only statement cannot run inside an open transaction"));
    if (!run.start.isEmpty())
        exec(run.start, {}, SqlOrigin::AsWritten);
    const auto restore = [&] {
        if (!run.end.isEmpty())
            exec(run.end, {}, SqlOrigin::AsWritten);
    };
    try {
        if (run.transaction) {
            physical_->begin(run.readOnlyStart);
            ++ownDepth_;
            // A reader the work opens streams in a read-only transaction of its own, which
            // then ends as any reader's does, not with the rows read whole first.
            physical_->setReadOnlyReaders(run.ownTransaction);
            try {
                work();
            } catch (...) {
                physical_->setReadOnlyReaders(false);
                rollback();
                throw;
            }
            physical_->setReadOnlyReaders(false);
            rollback();
        } else {
            work();
        }
    } catch (...) {
        try {
            restore();
        } catch (const gp::Error &) {
            // The work's failure is the one the caller hears of.
        }
        throw;
    }
    restore();
}

QString Connection::databaseKey()
{
    ensureOpen();
    return physical_->location().key();
}

TableChanges::Stamp Connection::changeStamp(const QString &table)
{
    ensureOpen();
    return session_.tableChanges().stamp(databaseKey(), table);
}

void Connection::markChanged(const QString &table)
{
    ensureOpen();
    session_.tableChanges().changed(databaseKey(), table);
}

void Connection::markDatabaseChanged()
{
    ensureOpen();
    session_.tableChanges().changedDatabase(databaseKey());
}

void Connection::noteChanges(const StatementTarget &target)
{
    if (target.kind == StatementTarget::Nothing)
        return;
    session_.tableChanges().changedBy(databaseKey(), target);
    if (physical_->depth() == 0) {
        uncommittedChanges_.clear();
        return;
    }
    const bool noted = std::any_of(uncommittedChanges_.cbegin(), uncommittedChanges_.cend(), [&](const StatementTarget &t) {
        return t.kind == target.kind && t.table == target.table;
    });
    if (!noted)
        uncommittedChanges_ << target;
}

// A prepared statement that marks what it may change at every run, as `exec` does.
class MarkingStatement : public PreparedStatement
{
public:
    MarkingStatement(Connection &connection, std::unique_ptr<PreparedStatement> statement, StatementTarget target)
        : connection_(connection), statement_(std::move(statement)), target_(std::move(target))
    {
    }
    int exec(const QVariantList &values) override
    {
        connection_.noteChanges(target_);
        return statement_->exec(values);
    }
    QVariant scalar(const QVariantList &values) override
    {
        connection_.noteChanges(target_);
        return statement_->scalar(values);
    }

private:
    Connection &connection_;
    std::unique_ptr<PreparedStatement> statement_;
    StatementTarget target_;
};

QString Connection::adaptSql(const QString &sql)
{
    ensureOpen();
    return physical_->adapt(sql);
}

int Connection::exec(const QString &sql, const QVariantMap &params, SqlOrigin origin)
{
    ensureOpen();
    ++statementsSent_;
    noteChanges(sql);
    return physical_->exec(origin == SqlOrigin::Program ? physical_->adapt(sql) : sql, params);
}

void Connection::execWithNext(const QString &sql)
{
    ensureOpen();
    ++statementsSent_;
    noteChanges(sql);
    if (!physical_->queueWithNext(sql))
        physical_->exec(sql, {});
}

void Connection::commitWithNext()
{
    if (physical_ && ownDepth_ > 0)
        physical_->commitWithNext();
}

QueryResult Connection::query(const QString &sql, const QVariantMap &params, SqlOrigin origin)
{
    ensureOpen();
    ++statementsSent_;
    noteChanges(sql);
    return physical_->query(origin == SqlOrigin::Program ? physical_->adapt(sql) : sql, params);
}

std::unique_ptr<QueryCursor> Connection::openQuery(const QString &sql, const QVariantMap &params, SqlOrigin origin)
{
    ensureOpen();
    ++statementsSent_;
    noteChanges(sql);
    return physical_->openQuery(origin == SqlOrigin::Program ? physical_->adapt(sql) : sql, params);
}

std::unique_ptr<QueryCursor> Connection::openReader(const QString &sql, const QVariantMap &params, SqlOrigin origin)
{
    ensureOpen();
    noteChanges(sql);
    return physical_->openReader(origin == SqlOrigin::Program ? physical_->adapt(sql) : sql, params);
}

std::unique_ptr<PreparedStatement> Connection::prepare(const QString &sql, SqlOrigin origin)
{
    ensureOpen();
    std::unique_ptr<PreparedStatement> statement =
        physical_->prepare(origin == SqlOrigin::Program ? physical_->adapt(sql) : sql);
    StatementTarget target = statementTarget(sql);
    if (target.kind == StatementTarget::Nothing)
        return statement;
    return std::make_unique<MarkingStatement>(*this, std::move(statement), std::move(target));
}

QVariant Connection::scalar(const QString &sql, const QVariantMap &params, SqlOrigin origin)
{
    const QueryResult r = query(sql, params, origin);
    return r.rows.isEmpty() ? QVariant() : r.rows.first().value(0);
}

QStringList Connection::tableNames()
{
    ensureOpen();
    return physical_->tableNames();
}

bool Connection::tableExists(const QString &table)
{
    const QStringList names = tableNames();
    for (const auto &n : names)
        if (n.compare(table, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QList<FieldDef> Connection::columns(const QString &table)
{
    ensureOpen();
    return physical_->columns(table);
}

bool Connection::columnsHeld(const QString &table)
{
    ensureOpen();
    return physical_->holdsColumns(table);
}

QList<IndexDef> Connection::indexes(const QString &table)
{
    ensureOpen();
    return physical_->indexes(table);
}

QStringList Connection::keyFields(const QString &table, const QString &indexName)
{
    const QList<IndexDef> list = indexes(table);
    if (list.isEmpty())
        return {};
    if (indexName.isEmpty())
        return list.first().fields;
    const QString logical = dialect().logicalIndexName(table, indexName);
    for (const auto &ix : list)
        if (ix.name.compare(indexName, Qt::CaseInsensitive) == 0 || ix.name.compare(logical, Qt::CaseInsensitive) == 0)
            return ix.fields;
    return {};
}

void Connection::createTable(const TableDef &def)
{
    ensureOpen();
    TableDef d = def;
    for (auto &ix : d.indexes) {
        if (ix.name.isEmpty() || ix.name == QLatin1String("<Primary>"))
            ix.name = QStringLiteral("Clave1");
    }
    std::stable_sort(d.indexes.begin(), d.indexes.end(),
                     [](const IndexDef &a, const IndexDef &b) { return a.primary && !b.primary; });
    noteChanges(StatementTarget{StatementTarget::Table, d.name.toUpper()});
    physical_->createTable(d);
}

bool Connection::createsUnlessExists()
{
    ensureOpen();
    return physical_->createsUnlessExists();
}

std::optional<bool> Connection::createTableUnlessExists(const QString &table, const QStringList &statements)
{
    if (!createsUnlessExists())
        return std::nullopt;
    QStringList adapted;
    for (const QString &sql : statements)
        adapted << physical_->adapt(sql);
    ++statementsSent_;
    noteChanges(StatementTarget{StatementTarget::Table, table.toUpper()});
    return physical_->createTableUnlessExists(table, adapted);
}

void Connection::dropTable(const QString &table, bool ifExists)
{
    ensureOpen();
    noteChanges(StatementTarget{StatementTarget::Table, table.toUpper()});
    physical_->dropTable(table, ifExists);
}

void Connection::emptyTable(const QString &table)
{
    exec(QStringLiteral("DELETE FROM ") + table, {}, SqlOrigin::AsWritten);
}

int Connection::dropTablesMatching(const QString &pattern)
{
    // The program names files ("_QS*.*"): a table has no extension.
    QString p = pattern;
    if (p.endsWith(QLatin1String(".*")))
        p.chop(2);
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(p),
                                QRegularExpression::CaseInsensitiveOption);
    int n = 0;
    for (const QString &table : tableNames()) {
        if (re.match(table).hasMatch()) {
            dropTable(table, true);
            ++n;
        }
    }
    return n;
}

QString Connection::qtConnectionName() const { return physical_ ? physical_->qtConnectionName() : QString(); }

quint64 serverOpenings()
{
    return PhysicalConnection::serverOpenings();
}

} // namespace plat
