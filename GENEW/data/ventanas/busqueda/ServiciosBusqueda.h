#pragma once
#include <QString>
#include <QVariant>

namespace plat {
class DataSet;
class TableDataSet;
} // namespace plat

// The record search services. Each shows the search form chosen at start-up over a table
// and answers the chosen record's key values: a QVariantList in a QVariant with one text
// per key field (an empty text for an empty value), or a null QVariant when the user
// cancels. The pending filter, visible columns and default datum are set by the variants
// and consumed by the search.

QVariant BuscarRegistro(const QString &tabla, int indice);
// Reads "Filtro", "CamposVisibles", "DatoABuscarPorDefecto" and "IndiceBusqueda" from the
// Name=Value text.
QVariant BuscarRegistroConParametros(const QString &tabla, const QString &parametros);
QVariant BuscarRegistroConFiltro(const QString &tabla, int indice, const QString &filtro);
QVariant BuscarRegistroConFiltroYDato(const QString &tabla, int indice, const QString &filtro, const QString &dato);
// Searches the table's own table proposing its current key, and moves it to the chosen
// record.
QVariant BuscarYPosicionarTabla(plat::TableDataSet &tabla, int indice);
QString ObtenerValorParametroDef(const QString &nombre, const QString &texto, const QString &defecto);
// The approximate form over the table; the chosen key values, one per line.
QString BuscarPorAproximacion(const QString &tabla);

// BUSQUEDA.TXT of the working directory: data control name = search table.
QString LeerValorBusqueda(const QString &clave);
void GrabarValorBusqueda(const QString &clave, const QString &valor);

// The key values of a search answer as the form framework takes them: joined by ";"
// (empty when cancelled). opciones: the index number, empty for the primary key.
QString BuscarRegistroTexto(const QString &tabla, const QString &opciones);

// Gives the form framework's entry points (any record with the members LeerValorBusqueda,
// GrabarValorBusqueda and BuscarRegistro) the search's services.
template<class PuntosEntrada>
void instalarServiciosBusqueda(PuntosEntrada &puntos)
{
    puntos.LeerValorBusqueda = LeerValorBusqueda;
    puntos.GrabarValorBusqueda = GrabarValorBusqueda;
    puntos.BuscarRegistro = BuscarRegistroTexto;
}
