#include "GENEW/runtime/ConfiguracionBasesDatos.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

#include <QDir>
#include <QRegularExpression>

namespace {

void asignarSiNoVacio(QString &destino, const QString &valor)
{
    const QString limpio = valor.trimmed();
    if (!limpio.isEmpty())
        destino = limpio;
}

QString carpetaAbsoluta(const QString &carpeta, const QString &directorioTrabajo)
{
    return QDir::cleanPath(QDir::isRelativePath(carpeta) ? directorioTrabajo + carpeta : carpeta);
}

// A folder written for Windows (a drive letter, or "\") names nothing here: a copied
// installation would otherwise start on a new, empty database beside the old one.
QString motivoRutaWindows(const QString &ajuste, const QString &valor)
{
    if (!EsRutaWindows(valor))
        return QString();
    return QStringLiteral("El valor \"%1\" de %2 en %3 es una ruta de Windows. Indique una carpeta de este "
                          "sistema, con \"/\" como separador.")
        .arg(valor, ajuste, QLatin1String(ConfiguracionBasesDatos::NombreArchivo));
}

} // namespace

bool EsRutaWindows(const QString &ruta)
{
    static const QRegularExpression unidad(QStringLiteral("^[A-Za-z]:"));
    return ruta.contains(QLatin1Char('\\')) || unidad.match(ruta).hasMatch();
}

ConfiguracionBasesDatos ConfiguracionBasesDatos::leer(const QString &directorioTrabajo)
{
    const LecturaFicheroTexto lectura = LeerFicheroAjustesConMotivo(directorioTrabajo + QLatin1String(NombreArchivo));
    ConfiguracionBasesDatos c = deTexto(lectura.texto, directorioTrabajo);
    if (lectura.ilegible())
        c.motivoLectura = lectura.textoNoDisponible();
    return c;
}

QString ConfiguracionBasesDatos::carpetaPorDefecto(const QString &directorioTrabajo)
{
    return carpetaAbsoluta(QStringLiteral("datos"), directorioTrabajo);
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
    c.motivoLectura = motivoRutaWindows(QStringLiteral("PathBaseDatosGeneral"), c.PathBaseDatosGeneral);

    c.PathBaseDatosGeneral = carpetaAbsoluta(c.PathBaseDatosGeneral, directorioTrabajo);
    // A value without a folder separator names a database (an alias), not a folder; the
    // temporary tables' folder of a copied installation holds nothing to lose, so one
    // written with "\" is read as this system's.
    if (c.PathArchivosTemporales.contains(QLatin1Char('/')) || c.PathArchivosTemporales.contains(QLatin1Char('\\')))
        c.PathArchivosTemporales =
            carpetaAbsoluta(QString(c.PathArchivosTemporales).replace(QLatin1Char('\\'), QLatin1Char('/')), directorioTrabajo);
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
