#include "platform/base/LiteralFechaSQL.h"

namespace {

LiteralFechaSQLFn &literalInstalado()
{
    static LiteralFechaSQLFn fn;
    return fn;
}

} // namespace

void InstalarLiteralFechaSQL(LiteralFechaSQLFn fn)
{
    literalInstalado() = std::move(fn);
}

QString LiteralFechaSQL(const QDateTime &valor, const QString &literalPrograma)
{
    const LiteralFechaSQLFn &fn = literalInstalado();
    return fn ? fn(valor, literalPrograma) : literalPrograma;
}
