#include "platform/data/engine/EngineKind.h"

#include "platform/base/Errores.h"

namespace plat {

QString accessNotAvailableText()
{
    return QStringLiteral("El motor de base de datos \"Microsoft Access\" no está disponible en Linux. "
                          "Elija \"Paradox\", \"SQL Generica\" o \"Microsoft SQL Server\" en TipoBaseDatos.");
}

EngineKind engineFromTypeWord(const QString &word)
{
    const QString w = word.trimmed();
    if (w.isEmpty() || w == QLatin1String("Paradox"))
        return EngineKind::SQLite;
    if (w == QLatin1String("SQL Generica"))
        return EngineKind::PostgreSQL;
    if (w == QLatin1String("Microsoft SQL Server"))
        return EngineKind::SqlServer;
    if (w == QLatin1String("Microsoft Access"))
        throw gp::DatabaseError(accessNotAvailableText());
    throw gp::DatabaseError(QStringLiteral("Tipo de base de datos desconocido: \"%1\"").arg(w));
}

QString engineTypeWord(EngineKind kind)
{
    switch (kind) {
    case EngineKind::SQLite: return QStringLiteral("Paradox");
    case EngineKind::PostgreSQL: return QStringLiteral("SQL Generica");
    case EngineKind::SqlServer: return QStringLiteral("Microsoft SQL Server");
    }
    return {};
}

} // namespace plat
