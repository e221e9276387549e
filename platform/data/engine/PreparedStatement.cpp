#include "platform/data/engine/PreparedStatement.h"

#include "platform/data/engine/PhysicalConnection.h"
#include "platform/data/engine/SqliteQuery.h"

#include "platform/base/FechaHora.h"

namespace plat {

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
            throw connection_->error(
                QSqlError(QString(), QStringLiteral("Parameter count mismatch"), QSqlError::StatementError));
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

// Through QtSql, prepared once by the driver (PostgreSQL, ODBC), and again on the session
// that replaces one whose server went away.
class QtPreparedStatement : public PreparedStatement
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

    // The session it was prepared on is closing.
    void forget() { query_.reset(); }

private:
    void prepareQuery()
    {
        auto query = std::make_unique<QSqlQuery>(connection_->database());
        // As `PhysicalConnection::run`: PostgreSQL's answer is read whole, so the savepoint's
        // release does not lose it.
        query->setForwardOnly(connection_->location().engine != EngineKind::PostgreSQL
                              || connection_->errorSource() == ErrorSource::Odbc);
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
            throw connection_->error(
                QSqlError(QString(), QStringLiteral("Parameter count mismatch"), QSqlError::StatementError));
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

void PhysicalConnection::forgetPrepared()
{
    for (QtPreparedStatement *statement : prepared_)
        statement->forget();
}

std::unique_ptr<PreparedStatement> PhysicalConnection::prepare(const QString &sql)
{
    if (sqlite_)
        return std::make_unique<SqlitePreparedStatement>(shared_from_this(), sql);
    return std::make_unique<QtPreparedStatement>(shared_from_this(), sql);
}

} // namespace plat
