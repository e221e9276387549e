#pragma once
#include <QString>

namespace plat {
class DataSet;
}

// What the record viewers opened from the keyboard ask of the dataset they are given.

// True for a dataset owned by a data module (the viewers leave those alone).
bool EsDataSetDeModuloDatos(plat::DataSet &dataSet);
// The table a dataset shows: a table's name, or the table of a query's statement; empty
// for any other dataset.
QString TablaDeDataSet(plat::DataSet &dataSet);
