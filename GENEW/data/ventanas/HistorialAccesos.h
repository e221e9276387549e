#pragma once
#include <QString>

namespace plat {
class DataSet;
}

// The access history of the dataset's current record (Ctrl+A), from REGACCES, in a choice
// list of the list editor; only while the access log is switched on.
void MostrarHistorialAccesos(plat::DataSet &dataSet);

// The statement that reads the history of a record of a table (its name without owner):
// rows whose key is the record's key text with "|" between values, with or without the
// last "|".
QString SentenciaHistorialAccesos(const QString &tabla, const QString &claveTexto);
