#pragma once
#include <QHash>
#include <QString>
#include <QStringView>

namespace plat {

// What a statement may change: nothing (a query, a setting), one table, every table of its
// database, or any database (a name qualified with another database's).
struct StatementTarget
{
    enum Kind { Nothing, Table, WholeDatabase, Anywhere };
    Kind kind = Nothing;
    QString table;   // upper case, without schema or quotes
};

// Read from the statement's first words; what cannot be told for sure is WholeDatabase.
StatementTarget statementTarget(QStringView sql);

// The session's record of changed tables, as stamps that only move forward: a cache over a
// table keeps the stamp it was read at and ends when the stamp moves. The program's own
// statements move it (rows changed, a table made, dropped or altered, a roll-back), and so
// does a refresh, by which the user asks to see the rows as stored now, other programs'
// saves included. Databases are named by their location's key.
//
// Stamps are unique in the process: one taken in another session (a test's, or before the
// program's connections were made again) never equals one of this session.
class TableChanges
{
public:
    using Stamp = quint64;

    TableChanges();

    Stamp stamp(const QString &database, const QString &table) const;
    void changed(const QString &database, const QString &table);
    void changedDatabase(const QString &database);
    void changedEverywhere();
    // Marks what the statement may change.
    void changedBy(const QString &database, const StatementTarget &target);

private:
    static Stamp next();

    Stamp everywhere_ = 0;
    QHash<QString, Stamp> databases_;
    QHash<QString, Stamp> tables_;   // by database + '\n' + table in upper case
};

} // namespace plat
