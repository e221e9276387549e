#include "platform/base/LiteralFechaSQL.h"

Gancho<LiteralFechaSQLFn> &ganchoLiteralFechaSQL()
{
    static Gancho<LiteralFechaSQLFn> gancho;
    return gancho;
}

QString LiteralFechaSQL(const QDateTime &valor, const QString &literalPrograma)
{
    const LiteralFechaSQLFn &fn = ganchoLiteralFechaSQL().valor();
    return fn ? fn(valor, literalPrograma) : literalPrograma;
}
