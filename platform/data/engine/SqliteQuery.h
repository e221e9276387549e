#pragma once
#include "platform/data/engine/QueryResult.h"

#include <QSqlError>
#include <QVariantMap>

struct sqlite3;

namespace plat {

// A query run straight on an SQLite handle, its rows read into a QueryResult without
// QtSql's per-value copies: texts are decoded once, stored dates read from their ISO text
// into program readings (see RutinasFechas.h), numbers kept as the engine gives them.
class SqliteQuery
{
public:
    enum class Outcome { Done, Failed, NotHandled };

    // Parameters as the connection binds them (dates already ISO texts, booleans 0/1).
    SqliteQuery(sqlite3 *db, const QString &sql, const QVariantMap &boundParams);

    // NotHandled leaves the statement to QtSql, which words those cases itself: several
    // statements in one text, positional or unbound placeholders.
    Outcome run(QueryResult &result);
    // The failure, worded as QtSql's SQLite driver words it.
    const QSqlError &error() const { return error_; }

private:
    QSqlError engineError(const QString &what) const;

    sqlite3 *db_;
    const QString &sql_;
    const QVariantMap &params_;
    QSqlError error_;
};

// A stored text value of a date, date or time column, read as the program holds it: a
// date-time reading, a QDate, a QTime. Other texts (and texts that are not dates) stay texts.
QVariant storedTextValue(QByteArrayView text, TFieldType type);

} // namespace plat
