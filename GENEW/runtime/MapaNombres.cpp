#include "GENEW/runtime/MapaNombres.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasTexto.h"

MapaNombres MapaNombres::leer(const QString &directorioTrabajo, const QString &directorioInstalacion)
{
    LecturaFicheroTexto lectura = LeerFicheroTextoConMotivo(directorioTrabajo + QLatin1String(NombreArchivo));
    if (!lectura.existe && !directorioInstalacion.isEmpty())
        lectura = LeerFicheroTextoConMotivo(directorioInstalacion + QLatin1String(NombreArchivo));
    return lectura.leido ? deTexto(lectura.texto) : MapaNombres();
}

MapaNombres MapaNombres::deTexto(const QString &texto)
{
    QStringList lineas = DividirLineas(texto);
    for (QString &linea : lineas)
        linea = reescribirLinea(linea);
    return MapaNombres(lineas);
}

QString MapaNombres::reescribirLinea(const QString &linea)
{
    // Every blank separates words, so consecutive blanks make empty words.
    const QStringList palabras = linea.split(QLatin1Char(' '));
    QString reescrita = palabras.value(1) + QLatin1Char('=') + palabras.value(2);
    reescrita.replace(QLatin1Char('_'), QLatin1Char(' '));
    return reescrita;
}

namespace {

QString parteNombre(const QString &linea) { return linea.section(QLatin1Char('='), 0, 0); }

int comoNumero(const QString &texto)
{
    bool ok = false;
    const int numero = texto.trimmed().toInt(&ok);
    return ok ? numero : 0;
}

int parteNumero(const QString &linea)
{
    const qsizetype igual = linea.indexOf(QLatin1Char('='));
    return igual < 0 ? 0 : comoNumero(linea.mid(igual + 1));
}

} // namespace

int MapaNombres::codigoDeNombre(const QString &nombre) const
{
    return comoNumero(LeerValorDeLineas(nombre, lineas_));
}

QString NombreDeCodigoEnLista(const MapaNombres &mapa, int codigo)
{
    for (const QString &linea : mapa.lineas()) {
        if (parteNumero(linea) == codigo)
            return parteNombre(linea);
    }
    return QString();
}
