#include "platform/data/engine/PhysicalConnection.h"

#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/Catalogue.h"
#include "platform/data/engine/FileAccess.h"
#include "platform/data/engine/PgCatalogue.h"
#include "platform/data/engine/PgCursor.h"
#include "platform/data/engine/ServerClientLibraries.h"
#include "platform/data/engine/Session.h"
#include "platform/data/engine/SqliteBusyWait.h"
#include "platform/data/engine/SqliteExtensions.h"
#include "platform/data/engine/SqliteQuery.h"

#include "platform/base/FechaHora.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QThread>
#include <QDir>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlField>
#include <QSqlRecord>
#include <QSqlResult>
#include <poll.h>
#include <sqlite3.h>

namespace plat {

namespace {

QString nextQtName()
{
    static QAtomicInt counter;
    return QStringLiteral("gp_engine_%1").arg(counter.fetchAndAddRelaxed(1) + 1);
}

const QString kStatementSavepoint = QStringLiteral("gp_sentencia");

ErrorSource sourceOf(const DatabaseLocation &loc)
{
    if (loc.engine == EngineKind::SQLite)
        return ErrorSource::SQLite;
    if (!loc.odbcDriver.isEmpty() || loc.engine == EngineKind::SqlServer)
        return ErrorSource::Odbc;
    return ErrorSource::PostgreSQL;
}

} // namespace

PhysicalConnection::PhysicalConnection(Session &session, const DatabaseLocation &location, IsolationLevel isolation)
    : session_(session), location_(location), errorSource_(sourceOf(location)), qtName_(nextQtName()),
      isolation_(isolation)
{
    dialect_ = &Dialect::forEngine(location.engine);
    catalogue_ = dialect_->catalogue(*this);
}

PhysicalConnection::~PhysicalConnection()
{
    catalogue_.reset();
    statements_.reset();   // the handle closes only with every statement finalized
    {
        QSqlDatabase db = QSqlDatabase::database(qtName_, false);
        if (db.isOpen()) {
            if (depth_ > 0)
                db.rollback();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(qtName_);
    dropSpareReader();
}

std::unique_ptr<PgConnection> PhysicalConnection::takeSpareReader()
{
    std::unique_ptr<PgConnection> reader = std::move(spareReader_);
    if (!reader)
        return reader;
    // A server that ended the idle session has said so on its socket: that one is not used.
    const PgClient &client = reader->client();
    pollfd socket{client.socket(reader->handle()), POLLIN, 0};
    if (reader->isOpen() && ::poll(&socket, 1, 0) == 0)
        return reader;
    return nullptr;
}

bool PhysicalConnection::keepSpareReader(std::unique_ptr<PgConnection> &reader)
{
    if (spareReader_ || lost_)
        return false;
    spareReader_ = std::move(reader);
    return true;
}

void PhysicalConnection::dropSpareReader()
{
    spareReader_.reset();
}

QSqlDatabase PhysicalConnection::database() const { return QSqlDatabase::database(qtName_, false); }


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
    runSessionStatements();
    catalogue_->prepare();
}

void PhysicalConnection::openSqlite()
{
    if (!QDir(location_.folder).exists())
        throw engineFailure(EngineText::PathNotFound, location_.folder);
    const QString file = location_.sqliteFile();
    if (const QString problem = fileAccessProblem(QFileInfo::exists(file) ? file : location_.folder); !problem.isEmpty())
        throw gp::DatabaseError(problem);
    QSqlDatabase db = QSqlDatabase::addDatabase(driverName(location_), qtName_);
    db.setDatabaseName(location_.sqliteFile());
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(session_.lockWait()));
    if (!db.open())
        throw error(db.lastError());
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        if (auto *h = *static_cast<sqlite3 *const *>(handle.constData())) {
            registerSqliteExtensions(h);
            busyWait_ = std::make_unique<SqliteBusyWait>(session_.lockWait());
            busyWait_->install(h);
            sqlite_ = h;
            statements_ = std::make_unique<SqliteStatementCache>();
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
        if (!locked || waited.elapsed() > session_.lockWait())
            throw error(e);
        QThread::msleep(20);
    }
}

QString PhysicalConnection::driverName(const DatabaseLocation &location)
{
    if (!location.odbcDriver.isEmpty() || location.engine == EngineKind::SqlServer)
        return QStringLiteral("QODBC");
    return location.isFolder() ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
}

void PhysicalConnection::openServer()
{
    if (errorSource_ == ErrorSource::PostgreSQL) {
        openPg();
        linked_ = true;
        countServerOpening();
        return;
    }
    const QString driver = driverName(location_);
    const bool odbc = driver == QLatin1String("QODBC");
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, qtName_);
    if (odbc) {
        db.setDatabaseName(location_.odbcConnectionString());
    }
    if (!db.open())
        throw error(db.lastError());
    linked_ = true;
    countServerOpening();
}

void PhysicalConnection::runSessionStatements()
{
    if (pg_)
        return;   // its start-up options
    for (const QString &sql : dialect_->sessionStatements())
        execSimple(sql);
    if (const QString wait = dialect_->lockWaitStatement(session_.lockWait()); !wait.isEmpty())
        execSimple(wait);
}

void PhysicalConnection::execSimple(const QString &sql)
{
    if (sqlite_) {
        int changed = 0;
        SqliteQuery direct(sqlite_, sql, {}, statements_.get());
        switch (direct.execute(changed)) {
        case SqliteQuery::Outcome::Done: return;
        case SqliteQuery::Outcome::Failed: throw error(direct.error());
        case SqliteQuery::Outcome::NotHandled: break;
        }
    }
    if (pg_) {
        PgStatement statement;
        statement.text = sql.toUtf8();
        if (!pg_->run(statement))
            throw error(pg_->error());
        return;
    }
    QSqlQuery q(database());
    if (!q.exec(sql))
        throw error(q.lastError());
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

bool PhysicalConnection::runRaw(QSqlQuery &q, const QString &sql, const QVariantMap &params, bool streamed)
{
    // Read forward: QtSql carries SQLite's scripts and the ODBC engines, none of which
    // scrolls back.
    Q_UNUSED(streamed);
    q.setForwardOnly(true);
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

// A failed statement must not abort a PostgreSQL transaction: it is rolled back to a
// savepoint taken just before it, as the other engines behave.
bool PhysicalConnection::takeSavepoint()
{
    const bool savepoint = depth_ > 0 && dialect_->statementSavepoints();
    if (savepoint)
        execSimple(dialect_->savepointStatement(kStatementSavepoint));
    return savepoint;
}

void PhysicalConnection::endSavepoint(bool failed)
{
    if (!failed) {
        execSimple(dialect_->releaseSavepointStatement(kStatementSavepoint));
        return;
    }
    QSqlQuery r(database());
    r.exec(dialect_->rollbackToSavepointStatement(kStatementSavepoint));
    r.exec(dialect_->releaseSavepointStatement(kStatementSavepoint));
}

QSqlQuery PhysicalConnection::run(const QString &sql, const QVariantMap &params, bool)
{
    readReadersWhole(sql);
    QSqlQuery q(database());
    const bool savepoint = takeSavepoint();
    if (!runRaw(q, sql, params)) {
        const QSqlError e = q.lastError();
        if (savepoint)
            endSavepoint(true);
        throw error(e);
    }
    if (savepoint)
        endSavepoint(false);
    return q;
}

int PhysicalConnection::exec(const QString &sql, const QVariantMap &params)
{
    ensureUsable();
    if (sql.trimmed().isEmpty())
        return 0;
    if (sqlite_) {
        int changed = 0;
        SqliteQuery direct(sqlite_, sql, boundParams(params), statements_.get());
        const SqliteQuery::Outcome outcome = direct.execute(changed);
        if (!SqliteStatementCache::keeps(sql.toUtf8()))
            statements_->clear();   // the schema may have changed
        switch (outcome) {
        case SqliteQuery::Outcome::Done:
            catalogue_->recordStatement(sql);
            return changed;
        case SqliteQuery::Outcome::Failed: throw error(direct.error());
        case SqliteQuery::Outcome::NotHandled: break;
        }
        statements_->clear();   // a script QtSql runs may change the schema
    }
    if (pg_) {
        if (auto *record = dynamic_cast<PgCatalogue *>(catalogue_.get()); record && params.isEmpty() && record->createRecorded(sql))
            return 0;
        const int n = pgChangedRows(runPg(sql, params));
        catalogue_->recordStatement(sql);
        return n;
    }
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
    for (int i = 0; i < rec.count(); ++i)
        types[i] = fieldTypeOfValues(rec.field(i).metaType().id(),
                                     postgres && rec.field(i).typeID() == kTextoPostgreSQL);
    return types;
}

TFieldType fieldTypeOfValues(int metaTypeId, bool textColumn)
{
    switch (metaTypeId) {
    case QMetaType::QString: return textColumn ? ftMemo : ftString;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt: return ftInteger;
    case QMetaType::Double: return ftFloat;
    case QMetaType::Bool: return ftBoolean;
    case QMetaType::QDateTime: return ftDateTime;
    case QMetaType::QDate: return ftDate;
    case QMetaType::QTime: return ftTime;
    case QMetaType::QByteArray: return ftBlob;
    default: return ftUnknown;
    }
}

namespace {

bool isDateType(TFieldType type)
{
    return type == ftDateTime || type == ftDate || type == ftTime;
}

} // namespace

QVariant PhysicalConnection::readValue(const QSqlQuery &q, int column, TFieldType type) const
{
    if (q.isNull(column))
        return QVariant();
    const bool dated = isDateType(type);
    const QVariant v = q.value(column);
    if (v.typeId() == QMetaType::QString)
        return dated ? storedTextValue(v.toString().toUtf8(), type) : v;
    if (v.typeId() != QMetaType::QDateTime)
        return v;
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
    ensureUsable();
    if (sqlite_) {
        QueryResult r;
        SqliteQuery direct(sqlite_, sql, boundParams(params), statements_.get());
        switch (direct.run(r)) {
        case SqliteQuery::Outcome::Done: return r;
        case SqliteQuery::Outcome::Failed: throw error(direct.error());
        case SqliteQuery::Outcome::NotHandled: break;
        }
    }
    if (pg_)
        return queryPg(sql, params);
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
    Cell cell(int column) const override { return query_->cell(column); }

private:
    std::shared_ptr<PhysicalConnection> connection_;
    std::unique_ptr<SqliteQuery> query_;
};

// Rows the driver has read whole (statements QtSql runs for SQLite).
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

// Rows of an ODBC engine read forward as they arrive (a forward-only cursor): the first rows
// are used before the last arrive, and a large result is never held whole. Nothing else may
// run on the connection until the cursor is read to its end or destroyed.
class ServerCursor : public QueryCursor
{
public:
    ServerCursor(std::shared_ptr<PhysicalConnection> connection, const QString &sql, const QVariantMap &params)
        : connection_(std::move(connection)), query_(connection_->database())
    {
        connection_->declaredName(QString());   // the catalogue's names are read before the rows start
        savepoint_ = connection_->takeSavepoint();
        if (!connection_->runRaw(query_, sql, params, true))
            fail(query_.lastError());
        types_ = connection_->columnTypes(query_);
        const QSqlRecord rec = query_.record();
        for (int i = 0; i < rec.count(); ++i)
            columns_ << connection_->declaredName(rec.fieldName(i));
    }

    ~ServerCursor() override
    {
        if (done_)
            return;
        try {
            finish(false);
        } catch (const gp::Error &) {
            // The rows were read (or given up); the release failing changes nothing read.
        }
    }

    const QStringList &columns() const override { return columns_; }
    const QList<TFieldType> &types() const override { return types_; }

    bool next() override
    {
        if (done_)
            return false;
        if (query_.next())
            return true;
        if (query_.lastError().isValid())
            fail(query_.lastError());
        finish(false);
        return false;
    }

    QVariant value(int column) const override { return connection_->readValue(query_, column, types_.value(column)); }

private:
    void finish(bool failed)
    {
        done_ = true;
        query_.finish();
        if (savepoint_) {
            savepoint_ = false;
            connection_->endSavepoint(failed);
        }
    }

    [[noreturn]] void fail(const QSqlError &e)
    {
        finish(true);
        throw connection_->error(e);
    }

    std::shared_ptr<PhysicalConnection> connection_;
    QSqlQuery query_;
    QStringList columns_;
    QList<TFieldType> types_;
    bool savepoint_ = false;
    bool done_ = false;
};

// Rows of a PostgreSQL query streamed on a connection of their own (opened with this one's
// settings), so that the program may run other statements on its connection meanwhile.
// A single SELECT comes in batches of a server cursor (PgRows) that outlives its transaction:
// the transaction ends once the server has the rows, not when the program has read them, so
// that rows shown and looked at hold no snapshot and no lock on the server. Given up early,
// the batch asked for is read, the cursor closed and the connection kept for the next reader.
// A statement read one row at a time (with parameters, or one that no cursor takes) closes
// its connection instead, and the server stops. While it streams, the server holds a share
// lock on the tables it reads: before this connection changes a table's structure (which
// would wait for that lock), the rest of the rows is read into memory and the reader's
// statement ended (`readWhole`).
class ReaderCursor : public QueryCursor
{
public:
    // A `readOnly` reader streams in a read-only transaction of its own; a statement it cannot
    // so read (one with parameters, one no cursor takes) it leaves alone: `streams` is false.
    ReaderCursor(std::shared_ptr<PhysicalConnection> connection, const QString &sql, const QVariantMap &params,
                 bool readOnly)
        : connection_(std::move(connection)), link_(connection_->takeSpareReader())
    {
        if (!link_) {
            link_ = std::make_unique<PgConnection>(*pgClient());
            if (!link_->open(connection_->pgParameters())) {
                const QSqlError e = link_->error();
                link_.reset();
                throw connection_->error(e);
            }
        }
        connection_->declaredName(QString());   // the catalogue's names are read on the main connection
        rows_ = std::make_unique<PgRows>(*link_);
        bool script = false;
        const PgStatement statement = connection_->pgStatement(sql, params, values_, script);
        const bool started = readOnly ? !statement.values && rows_->startBatched(statement.text, script, true)
                             : statement.values ? rows_->start(statement)
                                                : rows_->startBatched(statement.text, script);
        if (!started) {
            const QSqlError e = rows_->error();
            close();
            if (readOnly && !e.isValid())
                return;
            throw connection_->error(e);
        }
        streams_ = true;
        types_ = rows_->types();
        for (int i = 0; i < rows_->columnCount(); ++i)
            columns_ << connection_->declaredName(rows_->columnName(i));
        connection_->readers_.push_back(this);
    }

    ~ReaderCursor() override
    {
        std::erase(connection_->readers_, this);
        close();
    }

    bool streams() const { return streams_; }

    const QStringList &columns() const override { return columns_; }
    const QList<TFieldType> &types() const override { return types_; }

    bool next() override
    {
        if (held_) {
            if (++heldRow_ < held_->size())
                return true;
            if (heldError_.isValid())
                throw connection_->error(std::exchange(heldError_, QSqlError()));
            return false;
        }
        if (done_)
            return false;
        positioned_ = rows_->next();
        if (positioned_)
            return true;
        done_ = true;
        if (const QSqlError e = rows_->error(); e.isValid())
            throw connection_->error(e);
        return false;
    }

    QVariant value(int column) const override
    {
        if (held_)
            return held_->value(heldRow_).value(column);
        return rows_->value(column, types_.value(column));
    }

    Cell cell(int column) const override { return held_ ? Cell() : rows_->cell(column, types_.value(column)); }

    Cell storedCell(int column) const override
    {
        return held_ ? Cell() : rows_->cell(column, types_.value(column), true);
    }

    void readingAll() override
    {
        if (!held_)
            rows_->readAll();
    }

    // The rest of the rows (the current one included) read into memory; the reader's
    // connection closes. A failure is kept for the row it stopped at.
    void readWhole()
    {
        if (held_)
            return;
        held_ = std::make_unique<QList<QVariantList>>();
        heldRow_ = -1;
        if (positioned_) {
            held_->append(currentRow());
            heldRow_ = 0;
        }
        if (!done_) {
            while (rows_->next())
                held_->append(currentRow());
            heldError_ = rows_->error();
            done_ = true;
        }
        close();
    }

private:
    QVariantList currentRow() const
    {
        QVariantList row;
        for (int i = 0; i < columns_.size(); ++i)
            row << rows_->value(i, types_.value(i));
        return row;
    }

    void close()
    {
        if (!link_)
            return;
        // Closed first: the server stops sending when its client goes.
        // A connection whose statement ended cleanly serves the next reader: opening one
        // costs more round trips to the server than the reading of a screen of rows.
        if (rows_ && rows_->release() && connection_->keepSpareReader(link_)) {
            rows_.reset();
            return;
        }
        if (rows_)
            rows_->abandon();
        rows_.reset();
        link_.reset();
    }

    std::shared_ptr<PhysicalConnection> connection_;
    std::unique_ptr<PgConnection> link_;   // the reader's own connection
    std::unique_ptr<PgRows> rows_;
    PgValues values_;
    QStringList columns_;
    QList<TFieldType> types_;
    bool streams_ = false;
    bool positioned_ = false;
    bool done_ = false;
    std::unique_ptr<QList<QVariantList>> held_;
    qsizetype heldRow_ = -1;
    QSqlError heldError_;
};

void PhysicalConnection::readReadersWhole(const QString &sql)
{
    // Rows written or read take no lock that a streaming query holds against them, nor does
    // a setting of the session (a read-only run's start and end).
    static const QRegularExpression rowStatement(QStringLiteral("^\\s*(SELECT|INSERT|UPDATE|DELETE|WITH|SET)\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
    if (readers_.empty() || rowStatement.match(sql).hasMatch())
        return;
    for (ReaderCursor *reader : readers_)
        reader->readWhole();
}

std::unique_ptr<QueryCursor> PhysicalConnection::openReader(const QString &sql, const QVariantMap &params)
{
    ensureUsable();
    // Inside a transaction the rows must be read where its changes are seen; a read-only
    // run's own transaction has none, and its reader's transaction is read-only too.
    const bool readOnly = readOnlyReaders_ && depth_ == 1;
    if (pg_ && (depth_ == 0 || readOnly)) {
        try {
            auto reader = std::make_unique<ReaderCursor>(shared_from_this(), sql, params, readOnly);
            if (reader->streams())
                return reader;
        } catch (const gp::DatabaseError &) {
            // Whatever failed there is answered (or done) on this connection, as before.
        }
    }
    return std::make_unique<ResultCursor>(query(sql, params));
}

std::unique_ptr<QueryCursor> PhysicalConnection::openQuery(const QString &sql, const QVariantMap &params)
{
    ensureUsable();
    if (sqlite_) {
        auto direct = std::make_unique<SqliteQuery>(sqlite_, sql, boundParams(params));
        switch (direct->prepare()) {
        case SqliteQuery::Outcome::Done: return std::make_unique<SqliteCursor>(shared_from_this(), std::move(direct));
        case SqliteQuery::Outcome::Failed: throw error(direct->error());
        case SqliteQuery::Outcome::NotHandled: break;
        }
    }
    if (pg_)
        return std::make_unique<PgCursor>(shared_from_this(), *pg_, sql, params);
    if (!sqlite_)
        return std::make_unique<ServerCursor>(shared_from_this(), sql, params);
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
    ensureUsable();
    QStringList names = catalogue_->tableNames();
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

QList<FieldDef> PhysicalConnection::columns(const QString &table)
{
    ensureUsable();
    return catalogue_->columns(table);
}

bool PhysicalConnection::holdsColumns(const QString &table)
{
    ensureUsable();
    return catalogue_->holdsColumns(table);
}

QList<IndexDef> PhysicalConnection::indexes(const QString &table)
{
    ensureUsable();
    return catalogue_->indexes(table);
}

void PhysicalConnection::createTable(const TableDef &def)
{
    ensureUsable();
    if (auto *record = pg_ ? dynamic_cast<PgCatalogue *>(catalogue_.get()) : nullptr) {
        record->createAndRecord(def, dialect_->createTableStatements(def));
        return;
    }
    for (const QString &sql : dialect_->createTableStatements(def)) {
        if (pg_)
            runPg(sql, {});
        else
            run(sql, {}, false);
    }
    catalogue_->recordTable(def);
}

void PhysicalConnection::dropTable(const QString &table, bool ifExists)
{
    ensureUsable();
    const QString drop = QStringLiteral("DROP TABLE %1%2").arg(ifExists ? QStringLiteral("IF EXISTS ") : QString(), table);
    if (pg_)
        runPg(drop, {});
    else
        run(drop, {}, false);
    catalogue_->forgetTable(table);
}

} // namespace plat
