#pragma once
#include "platform/data/engine/QueryCursor.h"
#include "platform/data/engine/QueryResult.h"

#include <QSqlError>
#include <QVariantMap>

struct sqlite3;
struct sqlite3_stmt;

namespace plat {

// A query run straight on an SQLite handle, its rows read without QtSql's per-value
// copies: texts are decoded once, stored dates read from their ISO text into program
// readings (see RutinasFechas.h), numbers kept as the engine gives them.
class SqliteQuery
{
public:
    enum class Outcome { Done, Failed, NotHandled };
    enum class Step { Row, End, Failed };

    // Parameters as the connection binds them (dates already ISO texts, booleans 0/1).
    SqliteQuery(sqlite3 *db, const QString &sql, const QVariantMap &boundParams);
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
    // The failure, worded as QtSql's SQLite driver words it.
    const QSqlError &error() const { return error_; }

private:
    QSqlError engineError(const QString &what) const;

    sqlite3 *db_;
    QString sql_;
    QVariantMap params_;
    sqlite3_stmt *stmt_ = nullptr;
    bool finished_ = false;
    QStringList columns_;
    QList<TFieldType> types_;
    QSqlError error_;
};

// A stored text value of a date, date or time column, read as the program holds it: a
// date-time reading, a QDate, a QTime. Other texts (and texts that are not dates) stay texts.
QVariant storedTextValue(QByteArrayView text, TFieldType type);

} // namespace plat
