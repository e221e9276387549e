#pragma once
#include "GENEW/data/servicios/ParametrosGenerales.h"

#include <QString>
#include <functional>
#include <optional>

// Amounts between the base, national and euro currencies, with the rates of table MONEDA,
// and the texts that show an amount in the other currency.

// The base currency's values, read from MONEDA (0, 1.0, empty, empty without its row).
extern int DecimalesMonedaBase;
extern double CambioMonedaBase;
extern QString AbreviaturaMonedaBase;
extern QString DescripcionMonedaBase;

struct RegistroMoneda
{
    int codigo = 0;
    QString descripcion;
    QString abreviatura;
    int decimales = 0;
    double cambio = 0;
};

// Table MONEDA of the company as the conversions walk it: a cursor that is positioned by
// code and stays where it was put.
class TablaMonedas
{
public:
    virtual ~TablaMonedas() = default;
    // Opens the table (or keeps it open); false when it cannot be opened.
    virtual bool abrir() = 0;
    // Positions on the row of the code; nullopt (and the position unchanged) without it.
    virtual std::optional<RegistroMoneda> localizar(int codigo) = 0;
    // The row the table stands on; nullopt on an empty table.
    virtual std::optional<RegistroMoneda> actual() = 0;
};

class ServicioMoneda
{
public:
    explicit ServicioMoneda(TablaMonedas &monedas) : monedas_(monedas) {}

    // The codes of PARAGENE; recomputes MonedaBaseDistintaNacional and reloads the base
    // currency (on creation and after every post of the parameters).
    void cargar(const CodigosMoneda &codigos);
    const CodigosMoneda &codigos() const { return codigos_; }
    bool MonedaBaseDistintaNacional() const { return codigos_.base != codigos_.nacional; }

    // The amount in the other currency. Modes: "" (to the other currency, its decimals),
    // "AutoInverso" (back to the base, base decimals), "Otra Moneda" (to euro decimals).
    // 0 when MONEDA cannot be opened, the needed row is missing or its rate is 0.
    double ConvertirMoneda(const QString &modo, double importe);
    int DecimalesMoneda(int codigo);
    double CambioMoneda(int codigo);

    // The display text of an amount text in the other currency: debit/credit marks "D"
    // and "H" kept at the end, the amounts template, and "€ " in front when the base is
    // the national currency and the amount is not zero.
    QString ConvertirTextoImporte(const QString &importe, const QString &modo);
    QString ImporteEnOtraMoneda(const QString &importe) { return ConvertirTextoImporte(importe, QString()); }

    // What a report shows for an amount control: the amount in the other currency while
    // the euro button of the active form is pressed, else the value as it is. The report
    // layer calls it from the control's print hook.
    QString MostrarImporteMonedaInforme(const QString &valor);
    // Asks the form layer whether the active form's "pbEuro" is pressed.
    void ponerBotonEuroPulsado(std::function<bool()> pulsado) { botonEuroPulsado_ = std::move(pulsado); }

    // The text of a float amount field (OnGetText). vista: Propia, the value with its
    // template; BotonEuro, the active form's euro button is pressed; MenuEuro, the main
    // menu shows amounts in the other currency, through the "Cambio" of the field's record
    // (or of its master) when it has one.
    enum class VistaMoneda { Propia, BotonEuro, MenuEuro };
    QString MostrarImporteMoneda(double valor, const QString &plantilla, VistaMoneda vista,
                                 std::optional<double> cambioRegistro = std::nullopt);

private:
    CodigosMoneda codigos_;
    TablaMonedas &monedas_;
    std::function<bool()> botonEuroPulsado_;
};
