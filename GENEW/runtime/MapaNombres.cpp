#include "GENEW/runtime/MapaNombres.h"

#include "GENEW/runtime/LecturaArchivos.h"

#include <QRegularExpression>

MapaNombres MapaNombres::leer(const QString &directorioTrabajo)
{
    const QString ruta = LocalizarArchivo(directorioTrabajo + QLatin1String(NombreArchivo));
    return deTexto(LeerArchivoTexto(ruta).value_or(QString()));
}

MapaNombres MapaNombres::deTexto(const QString &texto)
{
    static const QRegularExpression saltos(QStringLiteral("\r\n|\n|\r"));
    QStringList lineas = texto.split(saltos);
    // A final line break does not start another line.
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
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

int parteNumero(const QString &linea)
{
    const qsizetype igual = linea.indexOf(QLatin1Char('='));
    bool ok = false;
    const int numero = igual < 0 ? 0 : linea.mid(igual + 1).trimmed().toInt(&ok);
    return ok ? numero : 0;
}

} // namespace

int MapaNombres::codigoDeNombre(const QString &nombre) const
{
    for (const QString &linea : lineas_) {
        if (linea.contains(QLatin1Char('=')) && parteNombre(linea).compare(nombre, Qt::CaseInsensitive) == 0)
            return parteNumero(linea);
    }
    return 0;
}

QString NombreDeCodigoEnLista(const MapaNombres &mapa, int codigo)
{
    for (const QString &linea : mapa.lineas()) {
        if (parteNumero(linea) == codigo)
            return parteNombre(linea);
    }
    return QString();
}
