#pragma once
#include <QString>

namespace plat {

class Connection;

enum class CopyMode {
    Append,           // only records whose key the target lacks
    Update,           // only records whose key the target has
    AppendAndUpdate,  // both
};

struct CopyCounts
{
    int appended = 0;
    int updated = 0;
};

// Copies the records of a table from one connection to another, matching them by the
// target table's primary key; only the columns both tables have are copied. Runs in
// one transaction of the target: a failure leaves the target as it was.
CopyCounts copyRecords(Connection &source, Connection &target, const QString &table, CopyMode mode,
                       const QString &targetTable = {});

} // namespace plat
