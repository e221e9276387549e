#pragma once
#include "platform/data/engine/Connection.h"

#include <QString>
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
    // The held value, emptied first when the database or a table's stamp moved since it was
    // filled. Tables are named as the connection's statements name them.
    T &current(Connection &connection, std::initializer_list<QString> tables)
    {
        QString database = connection.databaseKey();
        std::vector<TableChanges::Stamp> stamps;
        stamps.reserve(tables.size());
        for (const QString &table : tables)
            stamps.push_back(connection.changeStamp(table));
        if (!filled_ || database != database_ || stamps != stamps_) {
            database_ = std::move(database);
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
    std::vector<TableChanges::Stamp> stamps_;
    T value_{};
};

} // namespace plat
