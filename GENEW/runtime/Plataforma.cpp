#include "GENEW/runtime/Plataforma.h"

#include "GENEW/runtime/SesionRedLocal.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

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

} // namespace

QString ObtenerPlataformaDe(const QString &osRelease, const VersionWindows &version)
{
    QString nombre = nombreDistribucion(osRelease);
    if (nombre.isEmpty() || version.tamano == 0)
        nombre = QStringLiteral("Desconocida");
    return QStringLiteral("PlataformaBase=Linux\r\nPlataforma=%1\r\nVersion=%2.%3.%4\r\nNivel=%5")
        .arg(nombre)
        .arg(version.versionMayor)
        .arg(version.versionMenor)
        .arg(version.compilacion)
        .arg(version.textoServicio);
}

QString ObtenerPlataforma()
{
    VersionWindows version;
    if (!LeerVersionWindows(version))
        LeerVersionWindows(version);   // a second attempt, as for the extended record
    return ObtenerPlataformaDe(LeerFicheroTexto(QStringLiteral("/etc/os-release")), version);
}

int NumeroSesionRed()
{
    return SesionRedLocal::delPrograma();
}

QString ObtenerUsuarioWindows()
{
    return NombreUsuarioWindows();
}
