#pragma once
#include <QVariant>
#include <QVariantList>

namespace plat {

// A statement that changes or reads rows, prepared once on a connection and run again and
// again, its "?" placeholders bound by position from the values given to each run (bound
// as `Connection::exec` binds them: dates as the engine stores them, a null text as '').
// A failing run raises gp::DatabaseError with the engine's text and, on PostgreSQL inside
// a transaction, leaves the transaction usable, as `Connection::exec` does. The statement
// keeps its connection's database open while it lives.
class PreparedStatement
{
public:
    virtual ~PreparedStatement() = default;
    // Each run takes one value per placeholder, in their order.
    // Runs it; answers the number of rows it changed.
    virtual int exec(const QVariantList &values) = 0;
    // Runs it; answers the first value of its first row, or an invalid QVariant.
    virtual QVariant scalar(const QVariantList &values) = 0;
};

} // namespace plat
