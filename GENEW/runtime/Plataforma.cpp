#include "GENEW/runtime/Plataforma.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QRegularExpression>
#include <QStringList>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString nombreDistribucion(const QString &osRelease)
{
    for (const QString &linea : DividirLineas(osRelease)) {
        if (!linea.startsWith(QLatin1String("PRETTY_NAME=")))
            continue;
        QString valor = linea.mid(12).trimmed();
        if (valor.size() >= 2 && (valor.startsWith(QLatin1Char('"')) || valor.startsWith(QLatin1Char('\'')))
            && valor.endsWith(valor.at(0)))
            valor = valor.mid(1, valor.size() - 2);
        return valor;
    }
    return QString();
}

// "6.1.0-18-amd64" gives "6.1.0"; missing parts count as 0.
QString versionNumerica(const QString &versionNucleo)
{
    static const QRegularExpression numeros(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = numeros.match(versionNucleo);
    QStringList partes;
    for (int i = 1; i <= 3; ++i)
        partes << (m.hasMatch() && !m.captured(i).isEmpty() ? m.captured(i) : QStringLiteral("0"));
    return partes.join(QLatin1Char('.'));
}

} // namespace

QString ObtenerPlataformaDe(const QString &osRelease, const QString &versionNucleo)
{
    QString nombre = nombreDistribucion(osRelease);
    if (nombre.isEmpty())
        nombre = QStringLiteral("Desconocida");
    return QStringLiteral("PlataformaBase=Linux\r\nPlataforma=") + nombre + QStringLiteral("\r\nVersion=")
        + versionNumerica(versionNucleo) + QStringLiteral("\r\nNivel=");
}

QString ObtenerPlataforma()
{
    return ObtenerPlataformaDe(LeerFicheroTexto(QStringLiteral("/etc/os-release")), QSysInfo::kernelVersion());
}

int NumeroSesionRed()
{
    return 0;
}

QString ObtenerUsuarioWindows()
{
    if (const passwd *cuenta = getpwuid(geteuid()); cuenta && cuenta->pw_name && *cuenta->pw_name)
        return QString::fromLocal8Bit(cuenta->pw_name);
    const QString variable = qEnvironmentVariable("USER");
    return variable.isEmpty() ? QStringLiteral("Unknown") : variable;
}
