#pragma once
#include "platform/base/Gancho.h"

#include <QString>
#include <QStringList>
#include <array>

class QFont;

class QWidget;

namespace plat {
class DataSet;
class Field;
class Form;
} // namespace plat

// The numeric display templates of the general parameters: the standard one and the five
// extended ones (1 quantities, 2 prices, 3 amounts, 4 percentages, 5 coefficients) with the
// field-name words of each.
struct PlantillasVisualizacion
{
    QString estandar;
    std::array<QString, 6> plantillas;     // index 1 to 5
    std::array<QStringList, 6> campos;     // index 1 to 5
};

// What the form framework needs of the data module above it: rights, hidden fields,
// translation, display handlers and templates, key texts, users' settings and the access
// log. The data module implements it and installs itself while it exists; with none
// installed the framework prepares forms without these services (no right is refused,
// nothing hidden or translated).
class ServiciosFormulario
{
public:
    virtual ~ServiciosFormulario() = default;

    virtual QString NivelAccesoPrograma(const QString &usuario, const QString &programa) = 0;
    virtual bool HayCamposNoVisibles() const = 0;
    virtual bool EsCampoNoVisible(const QString &campo) const = 0;
    virtual QString LeerConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &defecto) = 0;
    virtual void GrabarConfiguracionUsuario(const QString &usuario, const QString &clave, const QString &valor) = 0;
    virtual void RegistrarAccesoFormulario(const plat::Form *formulario, const QString &accion) = 0;

    virtual QString Traducir(const QString &texto) = 0;
    virtual QString TraducirLista(const QString &lista) = 0;

    virtual PlantillasVisualizacion Plantillas() const = 0;
    // The text handlers of date and hour fields and of amount fields (installar false takes
    // the amount handler away again).
    virtual void InstalarTextoFecha(plat::Field &campo) = 0;
    virtual void InstalarTextoHora(plat::Field &campo) = 0;
    virtual void InstalarTextoImporte(plat::Field &campo, bool instalar) = 0;
    // Whether the base currency differs from the euro (the "pbEuro" button's picture).
    virtual bool MonedaBaseDistintaEuro() = 0;
    virtual bool SolicitarCamposUsuario() = 0;
    virtual bool EsCampoHora(const plat::DataSet &dataSet, const QString &campo) = 0;

    virtual QString NombreTablaSQL(const QString &tabla) const = 0;
    virtual QString QuitarPropietarioTabla(const QString &tabla) const = 0;
    virtual QString ClaveRegistro(plat::DataSet &dataSet, const QString &indice) = 0;
    // The "|" key text the side tables (RESPDOC, DOCUTRON...) keep for the record.
    virtual QString ClaveLateralRegistro(plat::DataSet &dataSet) = 0;
    virtual QString ClaveUltimoRegistroGrupo(plat::DataSet &dataSet) = 0;
    // A statement of the data module's SQL service (missing tables are made first).
    virtual QString EjecutarSQL(const QString &sql, const QString &baseDatos, const QString &opciones) = 0;
};

// The installed services (none at first): the data module installs itself while it is the
// program's one.
Gancho<ServiciosFormulario *> &ganchoServiciosFormulario();
inline ServiciosFormulario *serviciosFormulario() { return ganchoServiciosFormulario().valor(); }
