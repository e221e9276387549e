#include "app/MensajesDesatendidos.h"

#include "platform/ui/Application.h"

#include <QDir>
#include <QFile>

#include <cstdio>

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
    const QByteArray linea = (tipo + QStringLiteral(": ") + texto + u'\n').toUtf8();
    QFile f(archivo_);
    // A message that cannot be written to its file is not lost: it goes to standard error.
    if (!f.open(QIODevice::Append) || f.write(linea) != linea.size() || !f.flush()) {
        std::fwrite(linea.constData(), 1, size_t(linea.size()), stderr);
        std::fflush(stderr);
    }
    if (tipo == QLatin1String("E"))
        plat::application().terminate();
    return contestado;
}
