#pragma once
#include "GENEW/reporting/consultas/InstruccionesConsulta.h"

#include <optional>

namespace plat {
class DBGrid;
class Field;
} // namespace plat

// What a result grid of typed SQL offers, over any dataset it shows: its look after a run
// (the stored font, hidden fields, abbreviated titles, number and date formats, an ellipsis
// on memo columns), the filters by the selected column's value, the search, the listing and the files.
class ComandosRejilla
{
public:
    explicit ComandosRejilla(plat::DBGrid &rejilla) : rejilla_(rejilla) {}

    // The grid font (the look's default without a stored one), the title font the same in navy.
    void ponerFuente(const std::optional<FuenteConsulta> &fuente, const QFont &porDefecto);
    // The columns of the open result: fields the user may not see hidden, memo columns with
    // an ellipsis and their text on one line, titles abbreviated to one letter per word,
    // float formats by field name, date-time columns 10 wide shown as dates, or as
    // "hh:nn:ss" when the name holds "HORA".
    void prepararColumnas();

    enum class Comparacion { Igual, Desde, Hasta };
    // Asks a value for the selected column and adds "(field op 'value')" to the filter
    // (after " AND "); nothing while editing or on a calculated field. A failure warns and
    // keeps the earlier filter.
    void filtrar(Comparacion comparacion);
    void cancelarFiltros();
    // Asks a value and moves to the first row whose selected field equals it.
    void buscar();
    // The rows the grid shows through the run-time listing, in the grid's font, numeric
    // columns summed and words wrapped; previewed when the user says so, else printed.
    void listar(const QString &titulo, bool apaisado);
    // The rows to "SQL.TXT" and back, and to the workbook "SQL.XLS", through the data services;
    // the files leave out, header and rows, the fields the user may not see (by name: the
    // same value under another name stays).
    void exportarTexto();
    void importarTexto();
    void exportarExcel();

private:
    static void prepararCampo(plat::Field &campo);

    plat::DBGrid &rejilla_;
};
