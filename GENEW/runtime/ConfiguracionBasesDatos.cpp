#include "GENEW/runtime/ConfiguracionBasesDatos.h"

#include "GENEW/runtime/LecturaArchivos.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>

namespace {

// Name=Value look-up: the name ends at the first "=", case is ignored, the first line wins.
QString valorDeLista(const QString &nombre, const QString &texto)
{
    static const QRegularExpression saltos(QStringLiteral("\r\n|\n|\r"));
    for (const QString &linea : texto.split(saltos)) {
        const qsizetype igual = linea.indexOf(QLatin1Char('='));
        if (igual >= 0 && linea.left(igual).compare(nombre, Qt::CaseInsensitive) == 0)
            return linea.mid(igual + 1);
    }
    return QString();
}

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
    const QString ruta = LocalizarArchivo(directorioTrabajo + QLatin1String(NombreArchivo));
    return deTexto(LeerArchivoTexto(ruta).value_or(QString()), directorioTrabajo);
}

ConfiguracionBasesDatos ConfiguracionBasesDatos::deTexto(const QString &texto, const QString &directorioTrabajo)
{
    ConfiguracionBasesDatos c;
    asignarSiNoVacio(c.TipoBaseDatos, valorDeLista(QStringLiteral("TipoBaseDatos"), texto));
    asignarSiNoVacio(c.AliasBaseDatosGeneral, valorDeLista(QStringLiteral("AliasBaseDatosGeneral"), texto));
    asignarSiNoVacio(c.PathBaseDatosGeneral, valorDeLista(QStringLiteral("PathBaseDatosGeneral"), texto));
    asignarSiNoVacio(c.AliasBaseDatos, valorDeLista(QStringLiteral("AliasBaseDatos"), texto));
    asignarSiNoVacio(c.PathArchivosTemporales, valorDeLista(QStringLiteral("PathArchivosTemporales"), texto));

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

QString ConfiguracionBasesDatos::motivoRechazo() const
{
    if (TipoBaseDatos == QLatin1String("Microsoft Access"))
        return QStringLiteral("El tipo de base de datos \"Microsoft Access\" no está disponible en este sistema. "
                              "Indique \"Paradox\", \"SQL Generica\" o \"Microsoft SQL Server\" en %1.")
            .arg(QLatin1String(NombreArchivo));
    return QString();
}
