#include "platform/data/engine/PreparedStatement.h"

#include "platform/data/engine/PgCursor.h"
#include "platform/data/engine/PhysicalConnection.h"
#include "platform/data/engine/SqliteQuery.h"

#include "platform/base/FechaHora.h"

namespace plat {

namespace {

QSqlError parameterCountMismatch()
{
    return QSqlError(QString(), QStringLiteral("Parameter count mismatch"), QSqlError::StatementError);
}

} // namespace

// On the SQLite handle itself: bound and stepped without QtSql.
class SqlitePreparedStatement : public PreparedStatement
{
public:
    SqlitePreparedStatement(std::shared_ptr<PhysicalConnection> connection, const QString &sql)
        : connection_(std::move(connection)), statement_(connection_->sqlite_, sql)
    {
        if (!statement_.prepare())
            throw connection_->error(statement_.error());
    }

    int exec(const QVariantList &values) override { return run(values, nullptr); }

    QVariant scalar(const QVariantList &values) override
    {
        QVariant first;
        run(values, &first);
        return first;
    }

private:
    int run(const QVariantList &values, QVariant *first)
    {
        if (values.size() != statement_.parameterCount())
            throw connection_->error(parameterCountMismatch());
        for (int i = 0; i < values.size(); ++i)
            if (!bind(i + 1, values[i]))
                throw connection_->error(statement_.error());
        int changed = 0;
        if (!statement_.run(changed, first))
            throw connection_->error(statement_.error());
        return changed;
    }

    // Texts and dates, most of what is written, are bound from a buffer of the statement's
    // own; every value is bound as the connection binds it (a null text as '').
    bool bind(int position, const QVariant &value)
    {
        char date[19];
        switch (value.typeId()) {
        case QMetaType::QString:
            return statement_.bindText(position, utf8(*static_cast<const QString *>(value.constData())));
        case QMetaType::QDateTime:
            if (Dialect::isoDateTimeText(FechaHoraDeReloj(value.toDateTime()), date))
                return statement_.bindText(position, QByteArrayView(date, sizeof date));
            break;
        default:
            break;
        }
        return statement_.bind(position, connection_->bindValue(value));
    }

    QByteArrayView utf8(QStringView text)
    {
        text_.resize(text.size());
        char *out = text_.data();
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) {
                text_ = text.toUtf8();
                return text_;
            }
            *out++ = char(c.unicode());
        }
        return QByteArrayView(text_.isEmpty() ? "" : text_.constData(), text_.size());
    }

    std::shared_ptr<PhysicalConnection> connection_;   // the handle outlives the statement
    SqliteBoundStatement statement_;
    QByteArray text_;
};

// A statement prepared on a server's session, prepared again on the session that replaces
// one whose server went away.
class ServerPreparedStatement : public PreparedStatement
{
public:
    // The session it was prepared on is closing.
    virtual void forget() = 0;
};

// Through QtSql, prepared once by the driver (ODBC).
class QtPreparedStatement : public ServerPreparedStatement
{
public:
    QtPreparedStatement(std::shared_ptr<PhysicalConnection> connection, const QString &sql)
        : connection_(std::move(connection)), sql_(sql)
    {
        connection_->ensureUsable();
        prepareQuery();
        connection_->prepared_.push_back(this);
    }

    ~QtPreparedStatement() override { std::erase(connection_->prepared_, this); }

    int exec(const QVariantList &values) override
    {
        run(values);
        return query_->numRowsAffected();
    }

    QVariant scalar(const QVariantList &values) override
    {
        run(values);
        const QVariant first = query_->next() ? query_->value(0) : QVariant();
        query_->finish();
        return first;
    }

    void forget() override { query_.reset(); }

private:
    void prepareQuery()
    {
        auto query = std::make_unique<QSqlQuery>(connection_->database());
        query->setForwardOnly(true);
        if (!query->prepare(sql_))
            throw connection_->error(query->lastError());
        query_ = std::move(query);
    }

    void run(const QVariantList &values)
    {
        // The driver keeps the values of the last run: a run with fewer would reuse them.
        if (placeholders_ < 0)
            placeholders_ = int(values.size());
        else if (values.size() != placeholders_)
            throw connection_->error(parameterCountMismatch());
        connection_->ensureUsable();
        if (!query_)
            prepareQuery();
        connection_->readReadersWhole(sql_);
        for (int i = 0; i < values.size(); ++i)
            query_->bindValue(i, connection_->bindValue(values[i]));
        const bool savepoint = connection_->takeSavepoint();
        if (!query_->exec()) {
            const QSqlError e = query_->lastError();
            if (savepoint)
                connection_->endSavepoint(true);
            throw connection_->error(e);
        }
        if (savepoint)
            connection_->endSavepoint(false);
    }

    std::shared_ptr<PhysicalConnection> connection_;
    QString sql_;
    std::unique_ptr<QSqlQuery> query_;   // none once its session closed, until run again
    int placeholders_ = -1;   // the values of the first run
};

// On PostgreSQL's own connection: a named statement of the session, parsed in the exchange
// of its first run and run by name after it; let go of with the next exchange after it goes.
class PgPreparedStatement : public ServerPreparedStatement
{
public:
    PgPreparedStatement(std::shared_ptr<PhysicalConnection> connection, const QString &sql)
        : connection_(std::move(connection)), sql_(sql),
          name_("gp_sentencia_" + QByteArray::number(serial_.fetchAndAddRelaxed(1) + 1))
    {
        connection_->ensureUsable();
        statement_.text = pgPlaceholders(sql, true, nullptr, &placeholders_);
        statement_.preparedName = name_;
        statement_.values = &values_;
        connection_->prepared_.push_back(this);
    }

    ~PgPreparedStatement() override
    {
        std::erase(connection_->prepared_, this);
        if (prepared_ && connection_->pg_)
            connection_->pg_->queue("DEALLOCATE " + name_);
    }

    int exec(const QVariantList &values) override { return pgChangedRows(run(values)); }

    QVariant scalar(const QVariantList &values) override
    {
        const PgResult result = run(values);
        const PgClient &pq = *pgClient();
        if (pq.ntuples(result.get()) == 0 || pq.nfields(result.get()) == 0)
            return QVariant();
        return pgValue(pq, result.get(), 0, 0, pgColumnTypes(pq, result.get()).value(0));
    }

    void forget() override { prepared_ = false; }

private:
    PgResult run(const QVariantList &values)
    {
        if (values.size() != placeholders_)
            throw connection_->error(parameterCountMismatch());
        connection_->ensureUsable();
        connection_->readReadersWhole(sql_);
        values_.clear();
        for (const QVariant &value : values)
            values_.push_back(connection_->pgText(value));
        PgConnection &pg = *connection_->pg_;
        statement_.prepareFirst = !prepared_;
        PgResult result = pg.run(statement_, connection_->statementSavepoint());
        // Parsed once, even when the run itself then failed.
        prepared_ = prepared_ || pg.prepared();
        if (!result)
            throw connection_->error(pg.error());
        return result;
    }

    static inline QAtomicInt serial_;
    std::shared_ptr<PhysicalConnection> connection_;
    QString sql_;
    QByteArray name_;
    PgStatement statement_;
    PgValues values_;
    int placeholders_ = 0;
    bool prepared_ = false;   // on the session open now
};

void PhysicalConnection::forgetPrepared()
{
    for (ServerPreparedStatement *statement : prepared_)
        statement->forget();
}

std::unique_ptr<PreparedStatement> PhysicalConnection::prepare(const QString &sql)
{
    if (sqlite_)
        return std::make_unique<SqlitePreparedStatement>(shared_from_this(), sql);
    if (pg_)
        return std::make_unique<PgPreparedStatement>(shared_from_this(), sql);
    return std::make_unique<QtPreparedStatement>(shared_from_this(), sql);
}

} // namespace plat
