#pragma once
#include <QString>
#include <QStringList>

// What a table's responsibility configuration (CONFRESP.CamposSolicitados) asks for: one
// item per line, a name optionally followed by ":" and the codes of the operators who may
// sign that step, separated by ",". Qt Core only.
struct CamposSolicitados
{
    QStringList nombres;              // the item names, in line order
    QString operariosRealizadoPor;    // the code list of "RealizadoPor" (empty: any operator)
    QString operariosAprobadoPor;     // the code list of "AprobadoPor"

    bool contiene(const QString &nombre) const { return nombres.contains(nombre); }
    // Some item asks for more than the registration stamp (RegistradoPor, FechaRegistro):
    // only then is there anything to show.
    bool hayCamposSolicitados() const;
    bool pideRegistro() const;
};

CamposSolicitados LeerCamposSolicitados(const QString &memo);

// The code is one of the items of the ","-separated list, compared as exact text; the
// items count up to the first empty one.
bool OperarioEnLista(const QString &codigo, const QString &lista);

// The SQL condition that admits the listed operators: "(Codigo=<item>) OR " per item up to
// the first empty one, without the final " OR "; empty for an empty list. Items that are
// not whole numbers are left out, so the text of a configuration never becomes SQL.
QString FiltroOperarios(const QString &lista);
