#pragma once
#include "GENEW/reporting/impresos/InstruccionImpreso.h"
#include "GENEW/reporting/impresos/TextosCampo.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class TfGENELIMP;
namespace plat {
class DataSet;
class Field;
class TableDataSet;
} // namespace plat

// The field commands of the print engine (Camp, Expr, Conc, Suma, ISum): they read the run's
// current dataset (the lines table while [LINEAS] runs, else the documents table) and draw
// through the engine's `Text`.
class OrdenesCampo : public EjecutorOrdenesImpreso
{
public:
    // What the commands ask of the data module; each one left empty uses the data module's
    // own (none when there is no data module: no field hidden, no translation, the standard
    // template).
    struct Servicios
    {
        std::function<bool(const QString &campo)> esCampoNoVisible;
        std::function<QString(const QString &texto)> traducir;
        std::function<QString(const QString &campo)> plantillaNumerica;
        // "(Euro)" amounts: the currency codes, the euro view, the conversion (which raises
        // when it fails) and the rate of a currency.
        struct Moneda
        {
            int euro = 0;
            int nacional = 0;
            bool vistaEnEuros = false;
            std::function<double(const QString &modo, double importe)> convertir;
            std::function<double(int codigo)> cambio;
        };
        std::function<std::optional<Moneda>()> moneda;
        // The record's analysis groups in a category ("Todas": all of them joined by ",").
        std::function<QString(const QString &tabla, const QString &categoria, const QString &clave)> gruposAnalisis;
    };

    explicit OrdenesCampo(TfGENELIMP &motor) : motor_(motor) {}
    Servicios &servicios() { return servicios_; }

    void ejecutarOrden(OrdenImpreso orden, const ArgumentosInstruccion &argumentos) override;

    void Campo(const ArgumentosInstruccion &a);
    // A field written table "." field ["." qualifier]: the record the layout's connections
    // name for that table, drawn with the rules of `Camp`; nothing when none is found.
    void CampoReferencia(const ArgumentosInstruccion &a);
    // Positions `tabla` (open on the SQL table `tablaSQL`) on the record that the last
    // connection entry for that table (and qualifier) names for the current record of
    // `actual`; false when no entry matches or no record has those key values. An entry
    // whose document-reference field does not exist raises the engine's error.
    // "Tabla.Campo" or "Tabla.Selector.Campo": the field's text on the record the connection
    // of the table (or of table "." selector) names; empty when anything fails.
    QString BuscarValorTablaCampo(const QString &referencia);
    bool BuscarReferencia(plat::DataSet &tabla, const QString &tablaSQL, const QString &calificador,
                          const plat::DataSet &actual);
    // The analysis groups the first line registered under the name (table,category,key field)
    // gives for the current record of the dataset; empty when none is registered or anything fails.
    QString ValorGrupoAnalisis(const QString &nombre, const plat::DataSet &dataSet);
    void CampoMemo(const ArgumentosInstruccion &a, const plat::Field &campo, int pieza);
    void Expresion(const ArgumentosInstruccion &a);
    void Concatenar(const ArgumentosInstruccion &a);
    void Suma(const ArgumentosInstruccion &a);
    void IniciarSuma(const ArgumentosInstruccion &a);

private:
    plat::DataSet *dataSetActual() const;
    // A new table on the current dataset's connection, open; none when it cannot be opened.
    std::unique_ptr<plat::TableDataSet> abrirTabla(const QString &tablaSQL) const;
    void dibujarCampo(const ArgumentosInstruccion &a, plat::DataSet &dataSet, const NombreCampoImpreso &nombre);
    QString textoCampo(const ArgumentosInstruccion &a, const plat::Field &campo, const NombreCampoImpreso &nombre);
    QString plantilla(const QString &nombre) const;
    bool esCampoNoVisible(const QString &campo) const;
    QString traducir(const QString &texto) const;
    QString importeConvertido(double importe, const QString &formato) const;
    void dibujar(const ArgumentosInstruccion &a, const QString &valor, const QString &alineacion);
    void dibujar(const ArgumentosInstruccion &a, const QString &valor) { dibujar(a, valor, a[5]); }
    void anadirContinuacion(plat::DataSet &lineas, const plat::Field &campo, int numero, const QString &texto);

    TfGENELIMP &motor_;
    Servicios servicios_;
};
