#pragma once
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

// The general-parameters record PARAGENE of a company and what the data module takes
// from it when it is created: the numeric display templates, the VAT and surcharge rates
// and the currency codes. Also the defaults of a new record and of the first user.

// The standard numeric display template; "#,###.##" until PARAGENE is read, empty when
// the record says "Ninguna" (numbers shown without a template).
extern QString FormatoNumericoEstandar;
// The five extended templates (entries 1..5: quantities, prices, amounts, percentages,
// coefficients) and the field names each one applies to; entry 0 is unused.
extern std::array<QString, 6> FormatosNumericos;
extern std::array<QStringList, 6> CamposFormatoNumerico;

inline const QString FormatoNumericoInicial = QStringLiteral("#,###.##");

// The PARAGENE record as the module reads it; a null value for an empty table.
class RegistroParametrosGenerales
{
public:
    virtual ~RegistroParametrosGenerales() = default;
    virtual QVariant valor(const QString &campo) const = 0;
};

// The templates read from the record's PlantillaNumericaStd and PlantillaNumericaExt
// ("PlantillaNumerica<n>=<template> <field>,<field>..." lines); a template without its
// line is the standard one. An empty record leaves the built-in templates.
struct PlantillasNumericas
{
    QString estandar = FormatoNumericoInicial;
    std::array<QString, 6> formatos;
    std::array<QStringList, 6> campos;

    static PlantillasNumericas dePlantillas(const QString &plantillaStd, const QString &plantillaExt);
    static PlantillasNumericas deRegistro(const RegistroParametrosGenerales &registro);
    // Makes these the templates of the program.
    void aplicar() const;
};

// The standard template as the parameters editor saves it: "Ninguna" none, empty the
// built-in one.
QString FormatoNumericoEstandarDe(const QString &plantillaStd);

// VAT and equivalence-surcharge rates 1..5 (index 0 is always 0).
struct TiposImpuesto
{
    std::array<double, 6> iva{};
    std::array<double, 6> recargo{};

    static TiposImpuesto deRegistro(const RegistroParametrosGenerales &registro);
};

// The three currency codes of the record.
struct CodigosMoneda
{
    int base = 0;
    int euro = 0;
    int nacional = 0;

    static CodigosMoneda deRegistro(const RegistroParametrosGenerales &registro);
};

// Column values of a record, in the order they are assigned.
using ValoresRegistro = QList<QPair<QString, QVariant>>;

// The values a new PARAGENE record gets (the current standard template among them).
ValoresRegistro ValoresNuevoRegistroParametros(const QString &formatoEstandarActual);
// The extended templates by default (also "Asignar las Plantillas por Defecto").
QString PlantillaNumericaExtPorDefecto();
// The mail settings the parameters editor offers, one Name=Value a line.
QString ConfiguracionCorreoPorDefecto();

// The user that an empty USUARIO gets, so that the first log-in works: "ADMIN", no
// password, category "Administrador", access to company 1.
ValoresRegistro RegistroUsuarioAdministrador();
