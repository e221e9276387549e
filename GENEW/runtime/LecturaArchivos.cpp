#include "GENEW/runtime/LecturaArchivos.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

QString LocalizarArchivo(const QString &ruta)
{
    const QFileInfo info(ruta);
    if (info.exists())
        return ruta;
    const QDir carpeta = info.dir();
    const QStringList nombres = carpeta.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &nombre : nombres) {
        if (nombre.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return carpeta.filePath(nombre);
    }
    return ruta;
}

std::optional<QString> LeerArchivoTexto(const QString &ruta)
{
    QFile archivo(ruta);
    if (QFileInfo(ruta).isDir() || !archivo.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = archivo.readAll();
    if (archivo.error() != QFileDevice::NoError)
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString texto = utf8.decode(bytes);
    if (!utf8.hasError())
        return texto;
    QStringDecoder occidental("windows-1252");
    if (occidental.isValid())
        return QString(occidental.decode(bytes));
    return QString::fromLatin1(bytes);
}
