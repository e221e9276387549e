#pragma once
#include <QString>

namespace plat {
class DataSet;
class TableDataSet;
} // namespace plat

// The sorted copy a logical-mode listing is made of: a temporary table of the dataset's
// fields ("Tabla Temporal" text of DefinicionCopiaClasificada), each with the dataset field's
// display width, filled with the dataset's rows from the first inside one transaction of its
// connection, and read in its primary-index order; the counter keeps equal keys in the
// dataset's order. A copy that cannot be made shows the engine's text, is dropped and gives
// false.
bool CrearCopiaClasificada(plat::DataSet &origen, plat::TableDataSet &copia, const QString &propietario);

// Closes and drops the copy; one that cannot be dropped now is a leftover, not lost data.
void BorrarCopiaClasificada(plat::TableDataSet &copia);
