#include "platform/base/AjustesComunes.h"

void AjustesComunes::ponerFormatoFechaSQL(const QString &formato)
{
    FormatoFechaSQL = formato;
    FechaCeroSQL = fechaCeroSQLDeFormato(formato);
}

QString AjustesComunes::fechaCeroSQLDeFormato(const QString &formato)
{
    return formato == QLatin1String("dd/mm/yyyy") ? QStringLiteral("30/12/1899 00:00:00")
                                                   : QStringLiteral("12/30/1899 00:00:00");
}

AjustesComunes &ajustesComunes()
{
    static AjustesComunes ajustes;
    return ajustes;
}
