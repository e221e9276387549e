#pragma once
#include <QString>
#include <functional>

namespace plat {
class DataSet;
}

// A data set (and the lines of each of its records) written as an .xlsx workbook of one
// sheet, row by row in constant memory.
//
// Every field whose Tag is not 999 takes the next column from "A". Columns are text ("@"),
// left and top aligned; without a detail, float columns are numbers aligned right and
// columns get their type's width. Header cells hold the field name split into words (the
// main data set's translated); the detail's headers are bold.
namespace exportacionExcel {

struct Opciones
{
    bool cabeceras = true;
    std::function<QString(const QString &)> traducir;   // main headers; none: as they are
};

// The file name the workbook is written to: ".xls" (any case) or no extension become ".xlsx".
QString NombreLibro(const QString &fichero);

// Column letters of a 0-based column: 0 "A", 25 "Z", 26 "AA".
QString LetrasColumna(int columna);

// Writes the workbook whole or not at all (a previous file at `fichero` stays as it was
// until the new one is complete); on failure answers false with the reason in `error`.
bool Exportar(const QString &fichero, plat::DataSet &principal, plat::DataSet *detalle, const Opciones &opciones,
              QString &error);

} // namespace exportacionExcel
