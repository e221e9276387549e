#include "app/MensajesDesatendidos.h"

#include "platform/ui/Application.h"

#include <QDir>
#include <QFile>

MensajesDesatendidos *MensajesDesatendidos::desdeEntorno()
{
    if (!qEnvironmentVariableIsSet(VariableRespuestas))
        return nullptr;
    QString archivo = qEnvironmentVariable(VariableArchivo);
    if (archivo.isEmpty())
        archivo = QDir::current().filePath(QStringLiteral("MENSAJES.TXT"));
    auto *salida = new MensajesDesatendidos(archivo);
    const QString respuestas = qEnvironmentVariable(VariableRespuestas);
    if (!respuestas.isEmpty())
        salida->programarRespuestas(respuestas.split(u'|'));
    return salida;
}

QString MensajesDesatendidos::mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta)
{
    const QString contestado = SalidaMensajesGrabada::mostrarMensaje(tipo, texto, respuesta);
    QFile f(archivo_);
    if (f.open(QIODevice::Append)) {
        f.write((tipo + QStringLiteral(": ") + texto + u'\n').toUtf8());
        f.close();
    }
    if (tipo == QLatin1String("E"))
        plat::application().terminate();
    return contestado;
}
