#pragma once
#include "platform/data/engine/Connection.h"

#include <QString>
#include <algorithm>
#include <initializer_list>
#include <utility>
#include <vector>

namespace plat {

// What the program read from some tables of one database, kept until one of them changes
// (the program's own writes, or a refresh: see TableChanges) or the connection turns to
// another database. The owner reads through current() every time, so an answer can never
// outlive what it was read from.
template <class T>
class HeldUntilChanged
{
public:
    // The held value, emptied first when it was filled for another database or other tables,
    // or a table's stamp moved since. Tables are named as the connection's statements name
    // them. The names are compared too: tables nobody changed in the session share its first
    // stamp, so the stamps alone would serve one table's value for another.
    T &current(Connection &connection, std::initializer_list<QString> tables)
    {
        QString database = connection.databaseKey();
        std::vector<TableChanges::Stamp> stamps;
        stamps.reserve(tables.size());
        for (const QString &table : tables)
            stamps.push_back(connection.changeStamp(table));
        if (!filled_ || database != database_ || stamps != stamps_
            || !std::equal(tables.begin(), tables.end(), tables_.begin(), tables_.end())) {
            database_ = std::move(database);
            tables_.assign(tables.begin(), tables.end());
            stamps_ = std::move(stamps);
            value_ = T{};
            filled_ = true;
        }
        return value_;
    }

    // Forgets what was held, as when the owner's connection is made again.
    void clear()
    {
        filled_ = false;
        value_ = T{};
    }

private:
    bool filled_ = false;
    QString database_;
    std::vector<QString> tables_;
    std::vector<TableChanges::Stamp> stamps_;
    T value_{};
};

} // namespace plat
