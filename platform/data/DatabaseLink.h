#pragma once
#include <QString>
#include <functional>

namespace plat {

class Connection;
class Session;

// Which connection a table or query runs on: one given directly, or a database name
// that names a connection of the session (for a folder or an alias the session makes
// a connection of that name on first use).
class DatabaseLink
{
public:
    void setConnection(Connection *connection) { connection_ = connection; }
    void setSession(Session *session) { session_ = session; }
    void setDatabaseName(const QString &name);
    QString databaseName() const { return databaseName_; }
    Connection *assigned() const { return connection_; }
    Connection &connection();
    // Runs one write in its own short transaction (nested in the connection's when one
    // is open); answers what the write answers.
    int inTransaction(const std::function<int()> &write);

private:
    Connection *connection_ = nullptr;
    Session *session_ = nullptr;
    QString databaseName_;
};

} // namespace plat
