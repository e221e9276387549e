#include "platform/base/EngineKind.h"

#include "platform/base/Errores.h"

#include <optional>

namespace plat {

namespace {

struct EngineWord
{
    const char *word;
    EngineKind kind;
};

constexpr EngineWord kEngineWords[] = {
    {"Paradox", EngineKind::SQLite},
    {"SQL Generica", EngineKind::PostgreSQL},
    {"Microsoft SQL Server", EngineKind::SqlServer},
};

std::optional<EngineKind> engineOfWord(const QString &word)
{
    const QString w = word.trimmed();
    if (w.isEmpty())
        return EngineKind::SQLite;
    for (const EngineWord &e : kEngineWords) {
        // Settings written by hand spell the word in any case ("paradox" is "Paradox").
        if (w.compare(QLatin1String(e.word), Qt::CaseInsensitive) == 0)
            return e.kind;
    }
    return std::nullopt;
}

} // namespace

QString engineRefusal(const QString &word)
{
    if (engineOfWord(word))
        return QString();
    const QString w = word.trimmed();
    const QLatin1String validas("Indique \"Paradox\", \"SQL Generica\" o \"Microsoft SQL Server\" en TipoBaseDatos "
                                "de BASESDATOS.TXT.");
    if (w.compare(QLatin1String("Microsoft Access"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("El tipo de base de datos \"Microsoft Access\" no está disponible en Linux. ") + validas;
    return QStringLiteral("El tipo de base de datos \"%1\" no existe. ").arg(w) + validas;
}

EngineKind engineFromTypeWord(const QString &word)
{
    if (const std::optional<EngineKind> kind = engineOfWord(word))
        return *kind;
    throw gp::DatabaseError(engineRefusal(word));
}

QString engineTypeWord(EngineKind kind)
{
    for (const EngineWord &e : kEngineWords) {
        if (e.kind == kind)
            return QString::fromLatin1(e.word);
    }
    return {};
}

} // namespace plat
