#include "GENEW/runtime/estructura/FicherosDefiniciones.h"

#include "GENEW/runtime/comun/FicherosTexto.h"

#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace estructura {

namespace {

// The file as named, or one of the same folder whose name differs only in case; empty
// when there is none.
QString BuscarFichero(const QString &ruta)
{
    const QString encontrado = LocalizarFichero(ruta);
    return QFileInfo::exists(encontrado) ? encontrado : QString();
}

QString EnCarpeta(const QString &carpeta, const QString &nombre)
{
    return QDir(carpeta.isEmpty() ? QStringLiteral(".") : carpeta).filePath(nombre);
}

} // namespace

bool LectorFicherosDisco::existe(const QString &ruta) const
{
    return !BuscarFichero(ruta).isEmpty();
}

bool LectorFicherosDisco::leer(const QString &ruta, QString &texto, QString &motivo) const
{
    const LecturaFicheroTexto lectura = LeerFicheroTextoConMotivo(ruta);
    texto = lectura.texto;
    motivo = lectura.motivo;
    return lectura.leido;
}

QString FicheroDefinicionesBaseDatos(const QString &directorioGeneral, const QString &directorioTrabajo,
                                     const QString &directorioInstalacion)
{
    const QString destino = EnCarpeta(directorioGeneral, kNombreFicheroDefiniciones);
    const QString existente = BuscarFichero(destino);
    if (!existente.isEmpty())
        return existente;
    for (const QString &carpeta : {directorioTrabajo, directorioInstalacion}) {
        const QString origen = BuscarFichero(EnCarpeta(carpeta, kNombreFicheroDefiniciones));
        if (!origen.isEmpty()) {
            QDir().mkpath(QFileInfo(destino).absolutePath());
            QFile::copy(origen, destino);
            break;
        }
    }
    return destino;
}

QString CambiarExtension(const QString &ruta, const QString &extension)
{
    const qsizetype barra = ruta.lastIndexOf(u'/');
    const qsizetype punto = ruta.lastIndexOf(u'.');
    return (punto > barra ? ruta.left(punto) : ruta) + extension;
}

QString CargarDefinicionesEstructura(const QString &estandar, const QString &especifico,
                                     const QString &variantes, const LectorFicheros &lector,
                                     const MostrarMensajeEstructura &mostrarMensaje)
{
    QString texto;
    QString leido;
    QString motivo;
    if (!especifico.isEmpty() && lector.existe(especifico) && lector.leer(especifico, leido, motivo))
        texto = leido;

    leido.clear();
    if (lector.leer(estandar, leido, motivo)) {
        if (!leido.isEmpty())
            texto += kSaltoLinea + leido;
    } else if (mostrarMensaje) {
        mostrarMensaje(QStringLiteral("A"), QStringLiteral("No está disponible el archivo ") + estandar
                                                + QStringLiteral(". Motivo: ") + motivo);
    }

    for (const QString &variante : variantes.split(u',')) {
        if (variante.isEmpty() || !lector.existe(variante))
            continue;
        leido.clear();
        if (lector.leer(variante, leido, motivo))
            texto = CombinarDefiniciones(texto, leido);
    }
    return texto;
}

QString TextoEstructura(const QString &estandar, const LectorFicheros &lector,
                        const MostrarMensajeEstructura &mostrarMensaje)
{
    return CargarDefinicionesEstructura(estandar, CambiarExtension(estandar, QStringLiteral(".ESP")),
                                        CambiarExtension(estandar, QStringLiteral(".VRT")), lector, mostrarMensaje);
}

} // namespace estructura
