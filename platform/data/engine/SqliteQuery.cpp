#include "platform/data/engine/SqliteQuery.h"

#include "platform/data/engine/Schema.h"

#include "platform/base/FechaHora.h"

#include <sqlite3.h>

namespace plat {

namespace {

bool onlyBlanksAndSemicolons(const char *text)
{
    for (; text && *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n' && *text != ';')
            return false;
    }
    return true;
}

// Nothing after the statement but blanks, ";" and comments, as SQLite itself reads the rest
// (QtSql's driver would refuse a comment there as a second statement).
bool nothingAfter(sqlite3 *db, const char *tail)
{
    while (!onlyBlanksAndSemicolons(tail)) {
        sqlite3_stmt *next = nullptr;
        const char *rest = nullptr;
        const bool empty = sqlite3_prepare_v2(db, tail, -1, &next, &rest) == SQLITE_OK && !next && rest != tail;
        sqlite3_finalize(next);
        if (!empty)
            return false;
        tail = rest;
    }
    return true;
}

int bindParameter(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    // A null of any type is SQL NULL, as QtSql binds it; texts come here never null.
    if (value.isNull() && value.typeId() != QMetaType::QString)
        return sqlite3_bind_null(stmt, index);
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(stmt, index);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return sqlite3_bind_int64(stmt, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
    }
    default: {
        if (value.isNull() && value.typeId() != QMetaType::QString)
            return sqlite3_bind_null(stmt, index);
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(stmt, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    }
    }
}

// The bound value of a placeholder ":Name" given without its ':' (the map may hold
// "Name" or ":Name").
const QVariant *paramFor(const QVariantMap &params, const QByteArray &name)
{
    const QString key = QString::fromUtf8(name);
    auto it = params.constFind(key);
    if (it == params.cend())
        it = params.constFind(u':' + key);
    return it == params.cend() ? nullptr : &it.value();
}

QVariant columnValue(sqlite3_stmt *stmt, int column, TFieldType type)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(stmt, column)));
    }
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        const QByteArrayView bytes(text, sqlite3_column_bytes(stmt, column));
        if (type == ftDateTime || type == ftDate || type == ftTime)
            return storedTextValue(bytes, type);
        return QVariant(QString::fromUtf8(bytes));
    }
    }
}

QSqlError engineErrorOf(sqlite3 *db, const QString &what)
{
    const int code = sqlite3_extended_errcode(db);
    return QSqlError(what, QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::StatementError, QString::number(code));
}

} // namespace

QVariant storedTextValue(QByteArrayView text, TFieldType type)
{
    switch (type) {
    case ftDateTime: {
        const QDateTime value = FechaHoraISO(text);
        if (value.isValid())
            return value;
        // A date alone followed by anything else is still that date.
        const QDate date = FechaISO(text);
        if (date.isValid())
            return FechaHora(date);
        break;
    }
    case ftDate: {
        const QDate date = FechaISO(text);
        if (date.isValid())
            return date;
        break;
    }
    case ftTime: {
        // A time alone, or the time of a date-time text.
        QTime time = HoraISO(text);
        if (!time.isValid())
            time = FechaHoraISO(text).time();
        if (time.isValid())
            return time;
        break;
    }
    default:
        break;
    }
    return QVariant(QString::fromUtf8(text));
}

bool SqliteStatementCache::keeps(const QByteArray &sql)
{
    const QByteArray text = sql.trimmed();
    static const char *const kept[] = {"INSERT", "UPDATE", "DELETE", "BEGIN", "COMMIT", "ROLLBACK", "SAVEPOINT", "RELEASE"};
    for (const char *word : kept)
        if (text.startsWith(word) || text.left(int(qstrlen(word))).toUpper() == word)
            return true;
    return text.left(6).toUpper() == "SELECT" && !text.contains('*');
}

SqliteStatementCache::~SqliteStatementCache()
{
    clear();
}

bool SqliteStatementCache::take(const QByteArray &sql, Statement &out)
{
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it)
        if (it->first == sql) {
            out = std::move(it->second);
            entries_.erase(std::next(it).base());
            return true;
        }
    return false;
}

void SqliteStatementCache::give(const QByteArray &sql, Statement statement)
{
    sqlite3_reset(statement.stmt);
    sqlite3_clear_bindings(statement.stmt);
    entries_.emplace_back(sql, std::move(statement));
    if (int(entries_.size()) > capacity_) {
        sqlite3_finalize(entries_.front().second.stmt);
        entries_.erase(entries_.begin());
    }
}

void SqliteStatementCache::clear()
{
    for (auto &entry : entries_)
        sqlite3_finalize(entry.second.stmt);
    entries_.clear();
}

SqliteQuery::SqliteQuery(sqlite3 *db, const QString &sql, const QVariantMap &boundParams, SqliteStatementCache *cache)
    : db_(db), sql_(sql), params_(boundParams), cache_(cache)
{
}

SqliteQuery::~SqliteQuery()
{
    if (cacheable_ && cache_ && SqliteStatementCache::keeps(text_))
        cache_->give(text_, {stmt_, std::move(columns_), std::move(types_), std::move(paramNames_)});
    else
        sqlite3_finalize(stmt_);
}

SqliteQuery::Outcome SqliteQuery::bindAll()
{
    for (int i = 0; i < paramNames_.size(); ++i) {
        const QVariant *value = paramFor(params_, paramNames_[i]);
        if (!value)
            return Outcome::NotHandled;
        if (bindParameter(stmt_, i + 1, *value) != SQLITE_OK) {
            error_ = engineError(QStringLiteral("Unable to bind parameters"));
            return Outcome::Failed;
        }
    }
    return Outcome::Done;
}

QSqlError SqliteQuery::engineError(const QString &what) const
{
    return engineErrorOf(db_, what);
}

SqliteQuery::Outcome SqliteQuery::prepare()
{
    text_ = sql_.toUtf8();
    SqliteStatementCache::Statement kept;
    if (cache_ && cache_->take(text_, kept)) {
        stmt_ = kept.stmt;
        columns_ = std::move(kept.columns);
        types_ = std::move(kept.types);
        paramNames_ = std::move(kept.paramNames);
        cacheable_ = true;
        return bindAll();
    }
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db_, text_.constData(), int(text_.size()), &stmt_, &tail) != SQLITE_OK) {
        error_ = engineError(QStringLiteral("Unable to execute statement"));
        return Outcome::Failed;
    }
    if (!stmt_ || !nothingAfter(db_, tail))
        return Outcome::NotHandled;

    const int placeholders = sqlite3_bind_parameter_count(stmt_);
    for (int i = 1; i <= placeholders; ++i) {
        const char *name = sqlite3_bind_parameter_name(stmt_, i);
        if (!name || name[0] != ':')
            return Outcome::NotHandled;
        paramNames_ << QByteArray(name + 1);
    }
    if (const Outcome bound = bindAll(); bound != Outcome::Done)
        return bound;

    readColumns();
    cacheable_ = true;
    return Outcome::Done;
}

void SqliteQuery::readColumns()
{
    const int count = sqlite3_column_count(stmt_);
    columns_.clear();
    types_.clear();
    columns_.reserve(count);
    types_.reserve(count);
    for (int i = 0; i < count; ++i) {
        columns_ << QString::fromUtf8(sqlite3_column_name(stmt_, i)).remove(QLatin1Char('"'));
        const char *declared = sqlite3_column_decltype(stmt_, i);
        types_ << (declared ? fieldFromDeclaredType(QString(), QString::fromUtf8(declared)).type : ftUnknown);
    }
}

SqliteQuery::Step SqliteQuery::step()
{
    // Stepping a finished statement would run it again from the start.
    if (finished_)
        return Step::End;
    switch (sqlite3_step(stmt_)) {
    case SQLITE_ROW: return Step::Row;
    case SQLITE_DONE:
        finished_ = true;
        return Step::End;
    default:
        finished_ = true;
        error_ = engineError(QStringLiteral("Unable to fetch row"));
        return Step::Failed;
    }
}

QVariant SqliteQuery::value(int column) const
{
    return columnValue(stmt_, column, types_.at(column));
}

QueryCursor::Cell SqliteQuery::cell(int column) const
{
    QueryCursor::Cell c;
    switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
        c.kind = QueryCursor::Cell::Kind::Null;
        break;
    case SQLITE_INTEGER:
        c.kind = QueryCursor::Cell::Kind::Integer;
        c.integer = sqlite3_column_int64(stmt_, column);
        break;
    case SQLITE_FLOAT:
        c.kind = QueryCursor::Cell::Kind::Real;
        c.real = sqlite3_column_double(stmt_, column);
        break;
    case SQLITE_TEXT:
        c.kind = QueryCursor::Cell::Kind::Text;
        c.text = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
        c.size = sqlite3_column_bytes(stmt_, column);
        break;
    default:
        break;
    }
    return c;
}

SqliteQuery::Outcome SqliteQuery::execute(int &changed)
{
    if (const Outcome prepared = prepare(); prepared != Outcome::Done)
        return prepared;
    for (;;) {
        switch (step()) {
        case Step::Row: continue;
        case Step::End:
            changed = sqlite3_changes(db_);
            return Outcome::Done;
        case Step::Failed:
            return Outcome::Failed;
        }
    }
}

SqliteQuery::Outcome SqliteQuery::run(QueryResult &result)
{
    if (const Outcome prepared = prepare(); prepared != Outcome::Done)
        return prepared;
    // A kept statement whose tables changed since is prepared again by its first step
    // (another connection changed the schema): its columns are read again then.
    const int reprepared = sqlite3_stmt_status(stmt_, SQLITE_STMTSTATUS_REPREPARE, 0);
    QueryResult read;
    int count = 0;
    for (bool first = true;; first = false) {
        const Step stepped = step();
        if (first) {
            if (sqlite3_stmt_status(stmt_, SQLITE_STMTSTATUS_REPREPARE, 0) != reprepared)
                readColumns();
            count = int(columns_.size());
        }
        switch (stepped) {
        case Step::End:
            read.columns = columns_;
            read.types = types_;
            result = std::move(read);
            return Outcome::Done;
        case Step::Failed:
            return Outcome::Failed;
        case Step::Row:
            break;
        }
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.emplace_back(columnValue(stmt_, i, types_.at(i)));
        read.rows.emplace_back(std::move(row));
    }
}

SqliteBoundStatement::SqliteBoundStatement(sqlite3 *db, const QString &sql) : db_(db), text_(sql.toUtf8()) {}

SqliteBoundStatement::~SqliteBoundStatement()
{
    sqlite3_finalize(stmt_);
}

bool SqliteBoundStatement::prepare()
{
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db_, text_.constData(), int(text_.size()), &stmt_, &tail) != SQLITE_OK) {
        error_ = engineErrorOf(db_, QStringLiteral("Unable to execute statement"));
        return false;
    }
    if (!stmt_ || !nothingAfter(db_, tail)) {
        error_ = QSqlError(QStringLiteral("Unable to execute statement"),
                           QStringLiteral("one statement is prepared at a time"), QSqlError::StatementError);
        return false;
    }
    if (const char *declared = sqlite3_column_count(stmt_) > 0 ? sqlite3_column_decltype(stmt_, 0) : nullptr)
        firstType_ = fieldFromDeclaredType(QString(), QString::fromUtf8(declared)).type;
    return true;
}

int SqliteBoundStatement::parameterCount() const
{
    return sqlite3_bind_parameter_count(stmt_);
}

bool SqliteBoundStatement::bound(int result)
{
    if (result == SQLITE_OK)
        return true;
    error_ = engineErrorOf(db_, QStringLiteral("Unable to bind parameters"));
    sqlite3_reset(stmt_);
    return false;
}

bool SqliteBoundStatement::bind(int position, const QVariant &bound)
{
    return this->bound(bindParameter(stmt_, position, bound));
}

bool SqliteBoundStatement::bindText(int position, QByteArrayView utf8)
{
    return bound(sqlite3_bind_text64(stmt_, position, utf8.data(), sqlite3_uint64(utf8.size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8));
}

bool SqliteBoundStatement::run(int &changed, QVariant *first)
{
    bool read = false;
    int stepped;
    while ((stepped = sqlite3_step(stmt_)) == SQLITE_ROW)
        if (first && !read) {
            *first = columnValue(stmt_, 0, firstType_);
            read = true;
        }
    if (stepped != SQLITE_DONE) {
        error_ = engineErrorOf(db_, QStringLiteral("Unable to fetch row"));
        sqlite3_reset(stmt_);
        return false;
    }
    changed = sqlite3_changes(db_);
    sqlite3_reset(stmt_);
    return true;
}

} // namespace plat
