#include "GENEW/runtime/estructura/FicherosDefiniciones.h"

#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace estructura {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
QString DesdeWindows1252(const QByteArray &bytes)
{
    static const char16_t kAltos[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString texto;
    texto.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        texto += (byte >= 0x80 && byte < 0xA0) ? QChar(kAltos[byte - 0x80]) : QChar(byte);
    }
    return texto;
}

// The file as named, or a file of the same folder whose name differs only in case.
QString BuscarFichero(const QString &ruta)
{
    const QFileInfo info(ruta);
    if (info.exists())
        return ruta;
    const QDir carpeta = info.dir();
    for (const QString &nombre : carpeta.entryList(QDir::Files)) {
        if (nombre.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return carpeta.filePath(nombre);
    }
    return {};
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
    const QString encontrado = BuscarFichero(ruta);
    QFile fichero(encontrado.isEmpty() ? ruta : encontrado);
    if (!fichero.open(QIODevice::ReadOnly)) {
        motivo = fichero.errorString();
        return false;
    }
    const QByteArray bytes = fichero.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    texto = utf8.decode(bytes);
    if (utf8.hasError())
        texto = DesdeWindows1252(bytes);
    return true;
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

} // namespace estructura
