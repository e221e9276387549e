#include "platform/data/engine/PhysicalConnection.h"

#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/Catalogue.h"
#include "platform/data/engine/FileAccess.h"
#include "platform/data/engine/Session.h"
#include "platform/data/engine/SqliteExtensions.h"
#include "platform/data/engine/SqliteQuery.h"

#include "platform/base/FechaHora.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QThread>
#include <QDir>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>
#include <libpq-fe.h>
#include <sqlite3.h>

namespace plat {

namespace {

QString nextQtName()
{
    static QAtomicInt counter;
    return QStringLiteral("gp_engine_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

ErrorSource sourceOf(const DatabaseLocation &loc)
{
    if (loc.engine == EngineKind::SQLite)
        return ErrorSource::SQLite;
    if (!loc.odbcDriver.isEmpty() || loc.engine == EngineKind::SqlServer)
        return ErrorSource::Odbc;
    return ErrorSource::PostgreSQL;
}

} // namespace

PhysicalConnection::PhysicalConnection(Session &session, const DatabaseLocation &location)
    : session_(session), location_(location), errorSource_(sourceOf(location)), qtName_(nextQtName())
{
    dialect_ = &Dialect::forEngine(location.engine);
    catalogue_ = dialect_->catalogue(*this);
}

PhysicalConnection::~PhysicalConnection()
{
    catalogue_.reset();
    {
        QSqlDatabase db = QSqlDatabase::database(qtName_, false);
        if (db.isOpen()) {
            if (depth_ > 0)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(qtName_);
}

QSqlDatabase PhysicalConnection::database() const { return QSqlDatabase::database(qtName_, false); }

gp::DatabaseError PhysicalConnection::error(const QSqlError &e) const
{
    return engineError(errorSource_, e, [this](const QString &n) { return declaredName(n); });
}

QString PhysicalConnection::declaredName(const QString &name) const
{
    return catalogue_->declaredName(name);
}

void PhysicalConnection::open()
{
    if (location_.engine == EngineKind::SQLite && location_.odbcDriver.isEmpty())
        openSqlite();
    else
        openServer();
    for (const QString &sql : dialect_->sessionStatements())
        execSimple(sql);
    catalogue_->prepare();
}

void PhysicalConnection::openSqlite()
{
    if (!QDir(location_.folder).exists())
        throw engineFailure(EngineText::PathNotFound, location_.folder);
    const QString file = location_.sqliteFile();
    if (const QString problem = fileAccessProblem(QFileInfo::exists(file) ? file : location_.folder); !problem.isEmpty())
        throw gp::DatabaseError(problem);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), qtName_);
    db.setDatabaseName(location_.sqliteFile());
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(SqliteDialect::kBusyTimeoutMs));
    if (!db.open())
        throw error(db.lastError());
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        if (auto *h = *static_cast<sqlite3 *const *>(handle.constData())) {
            registerSqliteExtensions(h);
            sqlite_ = h;
        }
    }
    try {
        setWalJournal();
    } catch (const gp::DatabaseError &e) {
        // The first read of the file: a file that is no database is named, so that the
        // administrator knows which one.
        if (e.mensaje().contains(QLatin1String("file is not a database")))
            throw gp::DatabaseError(e.mensaje() + QStringLiteral("\n") + location_.sqliteFile());
        throw;
    }
}

// Switching a new file to WAL needs the file to itself for a moment, and SQLite answers
// "locked" at once instead of waiting: two programs opening a new database together would
// otherwise fail. It is tried again within the busy timeout.
void PhysicalConnection::setWalJournal()
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery q(database());
        if (q.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            return;
        const QSqlError e = q.lastError();
        const bool locked = e.databaseText().contains(QLatin1String("locked")) || e.nativeErrorCode() == QLatin1String("5");
        if (!locked || waited.elapsed() > SqliteDialect::kBusyTimeoutMs)
            throw error(e);
        QThread::msleep(20);
    }
}

void PhysicalConnection::openServer()
{
    const bool odbc = !location_.odbcDriver.isEmpty() || location_.engine == EngineKind::SqlServer;
    QSqlDatabase db = QSqlDatabase::addDatabase(odbc ? QStringLiteral("QODBC") : QStringLiteral("QPSQL"), qtName_);
    if (odbc) {
        db.setDatabaseName(location_.odbcConnectionString());
    } else {
        db.setHostName(location_.host);
        if (location_.port > 0)
            db.setPort(location_.port);
        db.setDatabaseName(location_.database);
        db.setUserName(location_.user);
        db.setPassword(location_.password);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    if (!db.open())
        throw error(db.lastError());
}

void PhysicalConnection::execSimple(const QString &sql)
{
    QSqlQuery q(database());
    if (!q.exec(sql))
        throw error(q.lastError());
}

// ---- transactions ----

void PhysicalConnection::begin()
{
    if (depth_ == 0) {
        rollbackOnly_ = false;
        if (const QString begin = dialect_->beginStatement(); !begin.isEmpty()) {
            execSimple(begin);
        } else {
            QSqlDatabase db = database();
            if (!db.transaction())
                throw error(db.lastError());
        }
    }
    ++depth_;
}

void PhysicalConnection::commit()
{
    if (depth_ == 0)
        throw gp::DatabaseError(EngineText::GeneralSqlError + QStringLiteral(".\nNo transaction is active"));
    if (--depth_ > 0)
        return;
    if (rollbackOnly_) {
        rollbackOnly_ = false;
        if (!dialect_->beginStatement().isEmpty())
            execSimple(QStringLiteral("ROLLBACK"));
        else
            database().rollback();
        throw gp::DatabaseError(EngineText::GeneralSqlError
                                + QStringLiteral(".\nThe transaction was rolled back by an inner roll-back"));
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
        throw gp::DatabaseError(EngineText::GeneralSqlError + QStringLiteral(".\nNo transaction is active"));
    if (--depth_ > 0) {
        rollbackOnly_ = true;
        return;
    }
    rollbackOnly_ = false;
    if (!dialect_->beginStatement().isEmpty()) {
        execSimple(QStringLiteral("ROLLBACK"));
    } else {
        QSqlDatabase db = database();
        if (!db.rollback())
            throw error(db.lastError());
    }
}

// ---- statements ----

QString PhysicalConnection::adapt(const QString &sql)
{
    QString s = dialect_->adaptProgramSql(sql);
    if (location_.engine == EngineKind::SQLite) {
        s = removeThreePartOwner(s, [this](const QString &database, const QString &table) {
            attachIfNeeded(database);
            return attached_.contains(database.toUpper()) ? database + QLatin1Char('.') + table : table;
        });
    }
    return catalogue_->withCollations(s);
}

void PhysicalConnection::attachIfNeeded(const QString &schema)
{
    const QString key = schema.toUpper();
    if (attached_.contains(key) || key == QLatin1String("MAIN"))
        return;
    const DatabaseLocation other = session_.resolve(schema);
    if (!other.isFolder() || other.key() == location_.key())
        return;  // the connection's own database: the plain table name
    QSqlQuery q(database());
    q.prepare(QStringLiteral("ATTACH DATABASE ? AS ") + schema);
    q.addBindValue(other.sqliteFile());
    if (!q.exec())
        throw error(q.lastError());
    attached_.insert(key);
}

QVariant PhysicalConnection::bindValue(const QVariant &v) const
{
    if (!v.isValid())
        return QVariant();
    const bool odbc = errorSource_ == ErrorSource::Odbc;
    switch (v.typeId()) {
    case QMetaType::QString: {
        const QString s = v.toString();
        return s.isNull() ? QVariant(QStringLiteral("")) : v;  // '' never NULL
    }
    case QMetaType::QDateTime: {
        // Written from its date and time: the reading, whatever time zone setting the value came with.
        const QDateTime dt = FechaHoraDeReloj(v.toDateTime());
        if (!dt.isValid())
            return QVariant();
        return odbc ? QVariant(dt) : QVariant(Dialect::isoDateTime(dt));
    }
    case QMetaType::QDate: {
        const QDate d = v.toDate();
        if (!d.isValid())
            return QVariant();
        const QDateTime dt = FechaHora(d);
        return odbc ? QVariant(dt) : QVariant(Dialect::isoDateTime(dt));
    }
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        if (!t.isValid())
            return QVariant();
        return odbc ? QVariant(FechaHora(FechaCero().date(), t)) : QVariant(t.toString(QStringLiteral("HH:mm:ss")));
    }
    case QMetaType::Bool:
        return location_.engine == EngineKind::SQLite ? QVariant(v.toBool() ? 1 : 0) : v;
    default:
        return v;
    }
}

bool PhysicalConnection::runRaw(QSqlQuery &q, const QString &sql, const QVariantMap &params)
{
    // QPSQL reads forward-only results row by row and loses them when the connection
    // runs anything else (the savepoint release, a catalogue look-up): read them whole.
    q.setForwardOnly(location_.engine != EngineKind::PostgreSQL || errorSource_ == ErrorSource::Odbc);
    if (params.isEmpty())
        return q.exec(sql);
    if (!q.prepare(sql))
        return false;
    for (auto it = params.cbegin(); it != params.cend(); ++it) {
        const QString name = it.key().startsWith(QLatin1Char(':')) ? it.key() : QLatin1Char(':') + it.key();
        q.bindValue(name, bindValue(it.value()));
    }
    return q.exec();
}

QSqlQuery PhysicalConnection::run(const QString &sql, const QVariantMap &params, bool)
{
    QSqlQuery q(database());
    // A failed statement must not abort a PostgreSQL transaction: it is rolled back to
    // a savepoint taken just before it, as the other engines behave.
    const bool savepoint = depth_ > 0 && dialect_->statementSavepoints();
    if (savepoint)
        execSimple(QStringLiteral("SAVEPOINT gp_sentencia"));
    if (!runRaw(q, sql, params)) {
        const QSqlError e = q.lastError();
        if (savepoint) {
            QSqlQuery r(database());
            r.exec(QStringLiteral("ROLLBACK TO SAVEPOINT gp_sentencia"));
            r.exec(QStringLiteral("RELEASE SAVEPOINT gp_sentencia"));
        }
        throw error(e);
    }
    if (savepoint)
        execSimple(QStringLiteral("RELEASE SAVEPOINT gp_sentencia"));
    return q;
}

int PhysicalConnection::exec(const QString &sql, const QVariantMap &params)
{
    if (sql.trimmed().isEmpty())
        return 0;
    QSqlQuery q = run(sql, params, false);
    const int n = q.numRowsAffected();
    catalogue_->recordStatement(sql);
    return n;
}

QList<TFieldType> PhysicalConnection::columnTypes(const QSqlQuery &q) const
{
    const QSqlRecord rec = q.record();
    QList<TFieldType> types(rec.count(), ftUnknown);
    if (location_.engine == EngineKind::SQLite) {
        const QVariant h = q.result()->handle();
        if (h.isValid() && qstrcmp(h.typeName(), "sqlite3_stmt*") == 0) {
            if (auto *stmt = *static_cast<sqlite3_stmt *const *>(h.constData())) {
                for (int i = 0; i < rec.count() && i < sqlite3_column_count(stmt); ++i) {
                    const char *decl = sqlite3_column_decltype(stmt, i);
                    if (decl)
                        types[i] = fieldFromDeclaredType(QString(), QString::fromUtf8(decl)).type;
                }
            }
        }
        return types;
    }
    // PostgreSQL's "text" (type 25) is what memo columns are made as; strings are varchar.
    constexpr int kTextoPostgreSQL = 25;
    const bool postgres = location_.engine == EngineKind::PostgreSQL;
    for (int i = 0; i < rec.count(); ++i) {
        switch (rec.field(i).metaType().id()) {
        case QMetaType::QString:
            types[i] = postgres && rec.field(i).typeID() == kTextoPostgreSQL ? ftMemo : ftString;
            break;
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt: types[i] = ftInteger; break;
        case QMetaType::Double: types[i] = ftFloat; break;
        case QMetaType::Bool: types[i] = ftBoolean; break;
        case QMetaType::QDateTime: types[i] = ftDateTime; break;
        case QMetaType::QDate: types[i] = ftDate; break;
        case QMetaType::QTime: types[i] = ftTime; break;
        case QMetaType::QByteArray: types[i] = ftBlob; break;
        default: break;
        }
    }
    return types;
}

QVariant PhysicalConnection::readValue(const QSqlQuery &q, int column, TFieldType type) const
{
    if (q.isNull(column))
        return QVariant();
    const QVariant v = q.value(column);
    if (v.typeId() == QMetaType::QString)
        return type == ftDateTime || type == ftDate || type == ftTime ? storedTextValue(v.toString().toUtf8(), type) : v;
    if (v.typeId() != QMetaType::QDateTime)
        return v;
    // The PostgreSQL driver reads a timestamp as local time, which loses or moves a time
    // in a daylight-saving gap: its text, still in the result, is the reading itself.
    const QVariant h = q.result()->handle();
    if (h.isValid() && qstrcmp(h.typeName(), "pg_result*") == 0) {
        if (auto *res = *static_cast<PGresult *const *>(h.constData())) {
            const int row = q.isForwardOnly() ? 0 : q.at();
            const QDateTime dt = FechaHoraISO(QByteArrayView(PQgetvalue(res, row, column), PQgetlength(res, row, column)));
            if (dt.isValid())
                return dt;
        }
    }
    // Other drivers give the engine's date and time parts as local time.
    return FechaHoraDeReloj(v.toDateTime());
}

QVariantMap PhysicalConnection::boundParams(const QVariantMap &params) const
{
    QVariantMap bound;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        bound.insert(it.key(), bindValue(it.value()));
    return bound;
}

QueryResult PhysicalConnection::query(const QString &sql, const QVariantMap &params)
{
    if (sqlite_) {
        QueryResult r;
        SqliteQuery direct(sqlite_, sql, boundParams(params));
        switch (direct.run(r)) {
        case SqliteQuery::Outcome::Done: return r;
        case SqliteQuery::Outcome::Failed: throw error(direct.error());
        case SqliteQuery::Outcome::NotHandled: break;
        }
    }
    return queryThroughQt(sql, params);
}

namespace {

// Rows stepped on the SQLite statement as they are asked for.
class SqliteCursor : public QueryCursor
{
public:
    SqliteCursor(std::shared_ptr<PhysicalConnection> connection, std::unique_ptr<SqliteQuery> query)
        : connection_(std::move(connection)), query_(std::move(query))
    {
    }
    const QStringList &columns() const override { return query_->columns(); }
    const QList<TFieldType> &types() const override { return query_->types(); }
    bool next() override
    {
        switch (query_->step()) {
        case SqliteQuery::Step::Row: return true;
        case SqliteQuery::Step::End: return false;
        case SqliteQuery::Step::Failed: break;
        }
        throw connection_->error(query_->error());
    }
    QVariant value(int column) const override { return query_->value(column); }

private:
    std::shared_ptr<PhysicalConnection> connection_;
    std::unique_ptr<SqliteQuery> query_;
};

// The other engines' drivers read the rows whole anyway.
class ResultCursor : public QueryCursor
{
public:
    explicit ResultCursor(QueryResult result) : result_(std::move(result)) {}
    const QStringList &columns() const override { return result_.columns; }
    const QList<TFieldType> &types() const override { return result_.types; }
    bool next() override { return ++row_ < result_.rows.size(); }
    QVariant value(int column) const override { return result_.rows.at(row_).value(column); }

private:
    QueryResult result_;
    qsizetype row_ = -1;
};

} // namespace

std::unique_ptr<QueryCursor> PhysicalConnection::openQuery(const QString &sql, const QVariantMap &params)
{
    if (sqlite_) {
        auto direct = std::make_unique<SqliteQuery>(sqlite_, sql, boundParams(params));
        switch (direct->prepare()) {
        case SqliteQuery::Outcome::Done: return std::make_unique<SqliteCursor>(shared_from_this(), std::move(direct));
        case SqliteQuery::Outcome::Failed: throw error(direct->error());
        case SqliteQuery::Outcome::NotHandled: break;
        }
    }
    return std::make_unique<ResultCursor>(queryThroughQt(sql, params));
}

QueryResult PhysicalConnection::queryThroughQt(const QString &sql, const QVariantMap &params)
{
    QSqlQuery q = run(sql, params, true);
    QueryResult r;
    const QSqlRecord rec = q.record();
    bool typesRead = false;
    while (q.next()) {
        if (!typesRead) {
            r.types = columnTypes(q);
            typesRead = true;
        }
        QVariantList row;
        row.reserve(rec.count());
        for (int i = 0; i < rec.count(); ++i)
            row << readValue(q, i, r.types.value(i));
        r.rows << row;
    }
    if (!typesRead)
        r.types = columnTypes(q);
    if (q.lastError().isValid())
        throw error(q.lastError());
    q.finish();
    for (int i = 0; i < rec.count(); ++i)
        r.columns << declaredName(rec.fieldName(i));
    return r;
}

// ---- schema ----

QStringList PhysicalConnection::tableNames()
{
    QStringList names = catalogue_->tableNames();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

QList<FieldDef> PhysicalConnection::columns(const QString &table)
{
    return catalogue_->columns(table);
}

QList<IndexDef> PhysicalConnection::indexes(const QString &table)
{
    return catalogue_->indexes(table);
}

void PhysicalConnection::createTable(const TableDef &def)
{
    for (const QString &sql : dialect_->createTableStatements(def))
        run(sql, {}, false);
    catalogue_->recordTable(def);
}

void PhysicalConnection::dropTable(const QString &table, bool ifExists)
{
    run(QStringLiteral("DROP TABLE %1%2").arg(ifExists ? QStringLiteral("IF EXISTS ") : QString(), table), {}, false);
    catalogue_->forgetTable(table);
}

} // namespace plat
