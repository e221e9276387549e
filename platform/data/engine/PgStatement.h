#pragma once
// What the engine sends to PostgreSQL and gets back, named without libpq's header (which
// only the data layer's own sources see).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

struct pg_conn;
struct pg_result;

namespace plat {

// The values bound to a statement's $1, $2...: each one's text as the server reads it, a
// null QByteArray for NULL.
using PgValues = std::vector<QByteArray>;

// A connection's libpq keywords and their values.
using PgParameters = std::vector<std::pair<QByteArray, QByteArray>>;

// A result of libpq's, cleared when it goes.
struct PgResultFree
{
    void operator()(pg_result *result) const;
};
using PgResult = std::unique_ptr<pg_result, PgResultFree>;
// The rows a statement's result says it changed (0 where it says none).
int pgChangedRows(const PgResult &result);

// A statement to send: its text with $n placeholders, or the name of one prepared on the
// session (parsed first under that name when `prepareFirst` is set).
struct PgStatement
{
    QByteArray text;
    const PgValues *values = nullptr;
    QByteArray preparedName;   // run by name, the text then only for preparing it
    bool prepareFirst = false;
};

// The program's statement as the server reads it: its ":Name" placeholders (or, with
// `positional`, its "?" ones) as $1, $2..., outside quotes, quoted names and comments.
// `names` gets each name in the order of its number (a name used twice has one number).
QByteArray pgPlaceholders(const QString &sql, bool positional, QStringList *names = nullptr, int *count = nullptr);

} // namespace plat
