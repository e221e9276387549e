#include "GENEW/runtime/SentenciasBaseDatosSQLServer.h"

#include <QRegularExpression>

QString IdentificadorSQLServer(const QString &nombre)
{
    return QLatin1Char('[') + QString(nombre).replace(QLatin1String("]"), QLatin1String("]]")) + QLatin1Char(']');
}

QStringList SentenciasCrearBaseDatosSQLServer(const QString &nombre, const QString &intercalacion)
{
    const QString id = IdentificadorSQLServer(nombre);
    return {
        QStringLiteral("USE master CREATE DATABASE ") + id + QStringLiteral("  COLLATE ") + intercalacion,
        QStringLiteral("EXEC sp_dbcmptlevel ") + id + QStringLiteral(", 80"),
        QStringLiteral("ALTER DATABASE ") + id + QStringLiteral(" SET RECOVERY SIMPLE"),
    };
}

namespace {

QString rechazo(const QString &clave, const QString &valor, const QString &archivo, const QString &admitido)
{
    return QStringLiteral("El valor \"%1\" de %2 (sección \"Microsoft SQL Server\" de %3) no es válido: %4")
        .arg(valor, clave, archivo, admitido);
}

} // namespace

QString MotivoRechazoAjustesSQLServer(const QString &intercalacion, const QString &nivelAislamiento,
                                      const QString &archivoConfiguracion)
{
    static const QRegularExpression palabra(QStringLiteral("^[A-Za-z0-9_]+$"));
    if (!palabra.match(intercalacion).hasMatch())
        return rechazo(QStringLiteral("NombreIntercalacionMSSQL"), intercalacion, archivoConfiguracion,
                       QStringLiteral("debe ser el nombre de una intercalación (letras, cifras y \"_\")."));
    static const QStringList niveles = {QStringLiteral("READ UNCOMMITTED"), QStringLiteral("READ COMMITTED"),
                                        QStringLiteral("REPEATABLE READ"), QStringLiteral("SNAPSHOT"),
                                        QStringLiteral("SERIALIZABLE")};
    if (!niveles.contains(nivelAislamiento.simplified(), Qt::CaseInsensitive))
        return rechazo(QStringLiteral("NivelAislamientoTransaccionesMSSQL"), nivelAislamiento, archivoConfiguracion,
                       QStringLiteral("debe ser ") + niveles.join(QStringLiteral(", ")) + u'.');
    return QString();
}
