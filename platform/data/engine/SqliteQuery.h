#pragma once
#include "platform/data/engine/QueryCursor.h"
#include "platform/data/engine/QueryResult.h"

#include <QSqlError>
#include <QVariantMap>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace plat {

// Prepared statements of one SQLite handle kept by their text, so that a statement the
// program runs again and again (a dataset's insert, its select by key, a transaction's
// start and end) is prepared once. A statement is taken out while it runs and given back
// reset; the least recently used go past the capacity. The handle's owner clears the cache
// before closing the handle.
class SqliteStatementCache
{
public:
    struct Statement
    {
        sqlite3_stmt *stmt = nullptr;
        QStringList columns;
        QList<TFieldType> types;
        QList<QByteArray> paramNames;   // without the ':'
    };

    explicit SqliteStatementCache(int capacity = 48) : capacity_(capacity) {}
    ~SqliteStatementCache();
    SqliteStatementCache(const SqliteStatementCache &) = delete;
    SqliteStatementCache &operator=(const SqliteStatementCache &) = delete;

    // Whether a statement of this text is kept: writes, transaction control, and selects
    // that name their columns. A statement prepared before a schema change keeps the old
    // column names and types until it runs again, so "SELECT *" is never kept, the
    // connection clears the cache when it runs any other statement (a schema change), and
    // a kept select whose first step prepares it again (another connection changed the
    // schema) reads its columns again (`run`; cursors never take kept statements).
    static bool keeps(const QByteArray &sql);

    bool take(const QByteArray &sql, Statement &out);
    void give(const QByteArray &sql, Statement statement);
    void clear();

private:
    std::vector<std::pair<QByteArray, Statement>> entries_;   // most recently given last
    int capacity_;
};

// A query run straight on an SQLite handle, its rows read without QtSql's per-value
// copies: texts are decoded once, stored dates read from their ISO text into program
// readings (see RutinasFechas.h), numbers kept as the engine gives them.
class SqliteQuery
{
public:
    enum class Outcome { Done, Failed, NotHandled };
    enum class Step { Row, End, Failed };

    // Parameters as the connection binds them (dates already ISO texts, booleans 0/1).
    SqliteQuery(sqlite3 *db, const QString &sql, const QVariantMap &boundParams, SqliteStatementCache *cache = nullptr);
    ~SqliteQuery();
    SqliteQuery(const SqliteQuery &) = delete;
    SqliteQuery &operator=(const SqliteQuery &) = delete;

    // Prepares and binds; the columns and their types are known after it. NotHandled
    // leaves the statement to QtSql, which words those cases itself: several statements
    // in one text, positional or unbound placeholders.
    Outcome prepare();
    const QStringList &columns() const { return columns_; }
    const QList<TFieldType> &types() const { return types_; }
    Step step();
    QVariant value(int column) const;   // of the current row
    QueryCursor::Cell cell(int column) const;

    // All of it: prepares and reads every row.
    Outcome run(QueryResult &result);
    // A statement that answers no rows (any it answers are passed over); `changed` is the
    // number of rows it changed.
    Outcome execute(int &changed);
    // The failure, worded as QtSql's SQLite driver words it.
    const QSqlError &error() const { return error_; }

private:
    QSqlError engineError(const QString &what) const;

    Outcome bindAll();
    void readColumns();

    sqlite3 *db_;
    QString sql_;
    QByteArray text_;
    QVariantMap params_;
    SqliteStatementCache *cache_;
    bool cacheable_ = false;
    sqlite3_stmt *stmt_ = nullptr;
    bool finished_ = false;
    QStringList columns_;
    QList<TFieldType> types_;
    QList<QByteArray> paramNames_;
    QSqlError error_;
};

// One statement of an SQLite handle prepared once and run again and again, its "?"
// placeholders bound by position (1 for the first) before each run, and reset after it.
class SqliteBoundStatement
{
public:
    SqliteBoundStatement(sqlite3 *db, const QString &sql);
    ~SqliteBoundStatement();
    SqliteBoundStatement(const SqliteBoundStatement &) = delete;
    SqliteBoundStatement &operator=(const SqliteBoundStatement &) = delete;

    bool prepare();
    int parameterCount() const;
    // A value as the connection binds it (dates already texts, booleans 0/1).
    bool bind(int position, const QVariant &bound);
    bool bindText(int position, QByteArrayView utf8);
    // Runs to its end and answers the rows changed; `first`, when given, takes the first
    // value of the first row.
    bool run(int &changed, QVariant *first = nullptr);
    // The failure, worded as QtSql's SQLite driver words it.
    const QSqlError &error() const { return error_; }

private:
    bool bound(int result);

    sqlite3 *db_;
    QByteArray text_;
    sqlite3_stmt *stmt_ = nullptr;
    TFieldType firstType_ = ftUnknown;
    QSqlError error_;
};

// A stored text value of a date, date or time column, read as the program holds it: a
// date-time reading, a QDate, a QTime. Other texts (and texts that are not dates) stay texts.
QVariant storedTextValue(QByteArrayView text, TFieldType type);

} // namespace plat
