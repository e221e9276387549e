#include "platform/base/SalidaMensajes.h"

#include <cstdio>

namespace {

class SalidaError final : public SalidaMensajes
{
public:
    QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &) override
    {
        std::fprintf(stderr, "[%s] %s\n", qPrintable(tipo), qPrintable(texto));
        return tipo == QLatin1String("C") ? QStringLiteral("NO") : QString();
    }
    void mostrarProgreso(const QString &, const QString &, const QString &, const QString &) override {}
};

SalidaError salidaPorDefecto;
constinit Gancho<SalidaMensajes *> ganchoSalida(nullptr);

} // namespace

Gancho<SalidaMensajes *> &ganchoSalidaMensajes()
{
    return ganchoSalida;
}

SalidaMensajes &salidaMensajes()
{
    SalidaMensajes *instalada = ganchoSalida.valor();
    return instalada ? *instalada : salidaPorDefecto;
}

QString SalidaMensajesGrabada::mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta)
{
    mensajes_.append({tipo, texto, respuesta});
    const bool pregunta = tipo == QLatin1String("C") || tipo == QLatin1String("P");
    if (!pregunta)
        return QString();
    if (!respuestas_.isEmpty())
        return respuestas_.takeFirst();
    return tipo == QLatin1String("C") ? QStringLiteral("NO") : respuesta;
}

void SalidaMensajesGrabada::mostrarProgreso(const QString &texto1, const QString &texto2,
                                            const QString &texto3, const QString &texto4)
{
    progresos_.append({texto1, texto2, texto3, texto4});
}

QStringList SalidaMensajesGrabada::textos() const
{
    QStringList out;
    for (const Mensaje &m : mensajes_)
        out << m.texto;
    return out;
}

void SalidaMensajesGrabada::limpiar()
{
    mensajes_.clear();
    progresos_.clear();
    respuestas_.clear();
}
