#include "GENEW/runtime/NombresConexion.h"

#include "platform/data/engine/DatabaseLocation.h"

namespace {

const QString PrefijoTuberia = QStringLiteral("np:");

QString aplicacion(const QString &ejecutable, const QString &usuarioActual)
{
    return ejecutable + QLatin1Char('|') + usuarioActual;
}

} // namespace

QString NombreBaseDatosEmpresa(plat::EngineKind motor, const QString &pathBaseDatosGeneral,
                               const QString &baseAliasEmpresa, int codigoEmpresa)
{
    const bool carpetas = motor == plat::EngineKind::SQLite;
    if (codigoEmpresa == 0)
        return carpetas ? pathBaseDatosGeneral : baseAliasEmpresa;
    const QString codigo = QString::number(codigoEmpresa);
    return carpetas ? pathBaseDatosGeneral + QLatin1Char('/') + codigo : baseAliasEmpresa + codigo;
}

QString NombreServidor(const QString &servidorAlias, bool autenticacionWindows)
{
    if (autenticacionWindows && !servidorAlias.contains(PrefijoTuberia))
        return PrefijoTuberia + servidorAlias;
    return servidorAlias;
}

QString CadenaConexionADO(const DatosCadenaADO &datos, const QString &selector, const QString &servidor)
{
    QString catalogo;
    if (selector.startsWith(QLatin1Char('?')))
        catalogo = selector.mid(1);
    else if (selector == QLatin1String("DatabaseGeneral"))
        catalogo = datos.baseDatosGeneral;
    else if (selector == QLatin1String("DatabaseAlt"))
        catalogo = datos.baseDatosAlt;
    else if (selector.isEmpty() || selector == QLatin1String("Database"))
        catalogo = datos.catalogoForzado.isEmpty() ? datos.baseDatosEmpresaActual : datos.catalogoForzado;
    else
        catalogo = selector;

    QString origen = servidor.isEmpty() ? datos.servidor : servidor;
    origen.remove(PrefijoTuberia);

    // A name from the settings is one value whatever it holds (";" included).
    const QString final = QStringLiteral("Initial Catalog=") + plat::quotedAdoValue(catalogo)
        + QStringLiteral(";Data Source=") + plat::quotedAdoValue(origen) + QStringLiteral(";Application Name=")
        + plat::quotedAdoValue(aplicacion(datos.ejecutable, datos.usuarioActual));
    if (datos.autenticacionWindows)
        return QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;") + final;
    return QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=") + plat::quotedAdoValue(datos.usuario)
        + QStringLiteral(";Password=") + plat::quotedAdoValue(datos.password) + QStringLiteral(";Connect Timeout=0;")
        + final;
}

QStringList ParametrosConexionEmpresa(const QString &servidor, const QString &nombreBaseDatos,
                                      const QString &usuario, const QString &password,
                                      const QString &ejecutable, const QString &usuarioActual)
{
    return {
        QStringLiteral("SERVER NAME=") + servidor,
        QStringLiteral("DATABASE NAME=") + nombreBaseDatos,
        QStringLiteral("USER NAME=") + usuario,
        QStringLiteral("HOST NAME=") + usuario,
        QStringLiteral("APPLICATION NAME=") + aplicacion(ejecutable, usuarioActual).left(30),
        QStringLiteral("OPEN MODE=READ/WRITE"),
        QStringLiteral("SCHEMA CACHE SIZE=8"),
        QStringLiteral("LANGDRIVER="),
        QStringLiteral("SQLQRYMODE="),
        QStringLiteral("SQLPASSTHRU MODE=SHARED AUTOCOMMIT"),
        QStringLiteral("SCHEMA CACHE TIME=-1"),
        QStringLiteral("PASSWORD=") + password,
    };
}

QString AdaptarNombreSQL(const QString &nombre, plat::EngineKind motor)
{
    if (motor != plat::EngineKind::SqlServer)
        return nombre;
    QString adaptado = nombre;
    if (adaptado.contains(QStringLiteral("ñ")))
        adaptado.replace(QStringLiteral("ñ"), QStringLiteral("_"));
    else
        adaptado.remove(QLatin1Char('-'));
    return adaptado;
}

QString TipoDecimalSQL(const QString &nombreCampo)
{
    if (nombreCampo == QLatin1String("Cambio") || nombreCampo.contains(QLatin1String("Factor")))
        return QStringLiteral("DECIMAL(28,12)");
    return QStringLiteral("DECIMAL(28,8)");
}
