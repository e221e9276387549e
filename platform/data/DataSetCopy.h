#pragma once
#include "platform/data/engine/TableCopy.h"

#include "platform/base/Errores.h"

#include <QList>
#include <functional>

namespace plat {

class DataSet;

// Copies the rows the dataset shows (its filter, range and master link applied; calculated
// fields left out) into a table of the target connection, matching them by the table's
// primary key. Writes in transactions of up to `batch` records, each committed: a failing
// record leaves the earlier ones stored and raises, and the dataset stays on its record.
// From a table of one SQLite file into an empty table of another, when SQL alone says which
// rows the dataset shows, the engine moves each batch itself: the values go as the source
// stores them.
CopyCounts copyRecords(DataSet &source, Connection &target, const QString &table, CopyMode mode, int batch = 1000);

// One table of a copy with details: the dataset whose rows are copied, the connection they
// go to (none: the table is left out) and the table there.
struct CopiedTable
{
    DataSet *source = nullptr;
    Connection *target = nullptr;
    QString table;
};

// Copies each record the master dataset shows, from the first, and after it the rows each
// detail dataset shows for it (a detail follows its master's record), each table matched by
// its primary key. A master commits together with its details' rows, several masters to a
// transaction of about `batch` rows, so that a copy stopped at any moment leaves every master
// with all its rows or as it was, and no transaction holds a whole company. A record the
// engine refuses is reported through `refused` with its table's place in `tables` (the master
// first) and ends the copy of that table; the other tables go on, and nothing written is
// undone. Any other failure raises, the masters of the open transaction left as they were.
// The master is left on its last record.
void copyWithDetails(const QList<CopiedTable> &tables, CopyMode mode,
                     const std::function<void(int table, const gp::Error &)> &refused, int batch = 1000);

} // namespace plat
