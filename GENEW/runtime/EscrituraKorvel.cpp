#include "GENEW/runtime/EscrituraKorvel.h"

#include "GENEW/runtime/CifradoClave.h"
#include "GENEW/runtime/ParametrosKorvel.h"
#include "GENEW/runtime/comun/FicherosTexto.h"

#include <QStringList>
#include <algorithm>

namespace {

const QString ClaveTablas = QStringLiteral("Tablas");

} // namespace

void GuardarPasswordInicioSesion(const QString &archivo, const QString &password)
{
    EscribirINI(archivo, QString::fromUtf8(ParametrosKorvel::SeccionSQLServer), QStringLiteral("PasswordInicioSesion"),
                CifrarClave(password));
}

bool FalloPideReconstruccion(plat::EngineKind motor, const QString &mensajeFallo)
{
    if (motor != plat::EngineKind::SQLite)
        return false;
    const QString mayusculas = mensajeFallo.toUpper();
    return mayusculas.contains(QLatin1String("INDEX")) || mayusculas.contains(QLatin1String("CORRUPT"));
}

void AnotarTablaParaReconstruir(const QString &archivo, const QString &tabla)
{
    const QString seccion = QString::fromUtf8(ParametrosKorvel::SeccionReconstruccion);
    QStringList tablas;
    for (const QString &pieza : LeerINI(archivo, seccion, ClaveTablas).split(QLatin1Char(','))) {
        if (!pieza.trimmed().isEmpty())
            tablas << pieza.trimmed();
    }
    tablas << tabla;
    const auto sinMayusculas = [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    };
    std::stable_sort(tablas.begin(), tablas.end(), sinMayusculas);
    const auto iguales = [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) == 0;
    };
    tablas.erase(std::unique(tablas.begin(), tablas.end(), iguales), tablas.end());
    EscribirINI(archivo, seccion, ClaveTablas, tablas.join(QLatin1Char(',')));
}
