#include "platform/data/DatabaseLink.h"

#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

namespace plat {

void DatabaseLink::setDatabaseName(const QString &name)
{
    databaseName_ = name;
    connection_ = nullptr;
}

Connection &DatabaseLink::connection()
{
    if (connection_)
        return *connection_;
    Session &session = session_ ? *session_ : Session::defaultSession();
    if (Connection *named = session.findConnection(databaseName_))
        return *(connection_ = named);
    Connection &made = session.connection(databaseName_);
    if (made.databaseName().isEmpty() && made.aliasName().isEmpty())
        made.setDatabaseName(databaseName_);
    return *(connection_ = &made);
}

int DatabaseLink::inTransaction(const std::function<int()> &write)
{
    Connection &c = connection();
    c.startTransaction();
    try {
        // The write is the transaction's one statement: its commit can travel with it.
        c.commitWithNext();
        const int result = write();
        c.commit();
        return result;
    } catch (...) {
        try {
            c.rollback();
        } catch (...) {
            // The write's own failure is the one to report.
        }
        throw;
    }
}

} // namespace plat
