#include "GENEW/runtime/ConfiguracionBasesDatos.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QDir>

namespace {

void asignarSiNoVacio(QString &destino, const QString &valor)
{
    const QString limpio = valor.trimmed();
    if (!limpio.isEmpty())
        destino = limpio;
}

// Folders are written with "/" here; one written with "\" (a copied installation) is
// read the same way.
QString carpetaAbsoluta(const QString &carpeta, const QString &directorioTrabajo)
{
    QString ruta = carpeta;
    ruta.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isRelativePath(ruta))
        ruta = directorioTrabajo + ruta;
    return QDir::cleanPath(ruta);
}

} // namespace

ConfiguracionBasesDatos ConfiguracionBasesDatos::leer(const QString &directorioTrabajo)
{
    return deTexto(LeerFicheroTexto(directorioTrabajo + QLatin1String(NombreArchivo)), directorioTrabajo);
}

ConfiguracionBasesDatos ConfiguracionBasesDatos::deTexto(const QString &texto, const QString &directorioTrabajo)
{
    ConfiguracionBasesDatos c;
    const QString tipoBaseDatos = LeerValorDeLista(QStringLiteral("TipoBaseDatos"), texto);
    c.rechazoMotor_ = plat::engineRefusal(tipoBaseDatos);
    if (c.rechazoMotor_.isEmpty())
        c.Motor = plat::engineFromTypeWord(tipoBaseDatos);
    asignarSiNoVacio(c.AliasBaseDatosGeneral, LeerValorDeLista(QStringLiteral("AliasBaseDatosGeneral"), texto));
    asignarSiNoVacio(c.PathBaseDatosGeneral, LeerValorDeLista(QStringLiteral("PathBaseDatosGeneral"), texto));
    asignarSiNoVacio(c.AliasBaseDatos, LeerValorDeLista(QStringLiteral("AliasBaseDatos"), texto));
    asignarSiNoVacio(c.PathArchivosTemporales, LeerValorDeLista(QStringLiteral("PathArchivosTemporales"), texto));

    c.PathBaseDatosGeneral = carpetaAbsoluta(c.PathBaseDatosGeneral, directorioTrabajo);
    // A value without a folder separator names a database (an alias), not a folder.
    if (c.PathArchivosTemporales.contains(QLatin1Char('/')) || c.PathArchivosTemporales.contains(QLatin1Char('\\')))
        c.PathArchivosTemporales = carpetaAbsoluta(c.PathArchivosTemporales, directorioTrabajo);
    return c;
}

bool ConfiguracionBasesDatos::temporalesEnBaseDatos() const
{
    return !PathArchivosTemporales.contains(QLatin1Char('/'));
}

void ConfiguracionBasesDatos::sustituirDirectorioPrivado(const QString &directorioPrivado)
{
    if (PathArchivosTemporales == QLatin1String(ValorDirectorioPrivado))
        PathArchivosTemporales = directorioPrivado;
}

