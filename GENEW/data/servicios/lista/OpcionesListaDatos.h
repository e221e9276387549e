#pragma once
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The options text of the list editor (Name=Value lines) and its rows as text, read without
// any form so that the readers can be checked on their own.

// One column of "DefinicionCampos": name, field type name, size, "ReadOnly", calculation
// ("Target->formula"), width in pixels, search table; pieces separated by ",".
struct ColumnaListaDatos
{
    QString nombre;
    QString tipo;          // the type name normalised through the type ("ftString" ...)
    int tamano = 0;        // 0 when the piece is not a number
    bool soloLectura = false;
    QString calculo;
    int ancho = 0;         // 0: the default width
    QString tablaBusqueda;

    bool esFlotante() const { return tipo == QStringLiteral("ftFloat"); }
    bool esMemo() const { return tipo == QStringLiteral("ftMemo"); }
};

struct OpcionesListaDatos
{
    QString modo;
    // "Consulta" makes a choice list; "Eliminar" lets its rows be deleted; "Sin Seleccion"
    // chooses nothing.
    bool consulta = false;
    bool eliminar = false;
    bool sinSeleccion = false;
    // Empty when "NumeroCampos" is not a number: nothing is shown.
    std::optional<int> numeroCampos;
    QString formato;
    QString titulo;
    QString camposTotalizadores;
    bool noRedimensionarGrid = false;
    // The first NumeroCampos definitions.
    QList<ColumnaListaDatos> columnas;

    // Lines field + ":" + calculation, one per column that has a calculation.
    QStringList lineasCalculo() const;
    // Lines search table + ">" + field, one per column that names a search table.
    QStringList lineasBusqueda() const;
    // The temporary table's definition: the line number GENEMLISLinea first and key, then
    // one column per definition.
    QString definicionTabla() const;
};

OpcionesListaDatos LeerOpcionesListaDatos(const QString &opciones);

// The row's values as the rows text carries them: cut at "|", "·" standing for a line break
// in a memo value.
QStringList ValoresFilaLista(const QString &linea);
// A value as the rows text carries it: line breaks written as "·".
QString ValorEnFilaLista(const QString &valor);

// A calculation "Importe->Cantidad*Precio" (or "Importe>..."): the target field and the
// formula; empty when the text names no target.
struct CalculoColumna
{
    QString destino;
    QString formula;
};
std::optional<CalculoColumna> LeerCalculoColumna(const QString &calculo);

// The check lines a data-entry definition (name,type,size,...,check table,allowed values,
// options; pieces by ",") gives the field viewer: check table + ">" + name + ">>" + options
// when it names a table, and "?" + name + ">" + name + ">" + values + ">" + table when it
// lists the allowed values ("/"-separated).
QStringList DescriptoresDatosVisor(const QString &definicion);

inline const QString kCampoLineaLista = QStringLiteral("GENEMLISLinea");
inline const QString kCampoEstiloLinea = QStringLiteral("EstiloLinea");
