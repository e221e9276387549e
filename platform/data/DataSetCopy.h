#pragma once
#include "platform/data/engine/TableCopy.h"

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

} // namespace plat
