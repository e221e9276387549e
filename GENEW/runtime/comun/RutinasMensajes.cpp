#include "GENEW/runtime/comun/RutinasMensajes.h"

#include "GENEW/runtime/comun/SalidaMensajes.h"

void MensajeInformacion(const QString &texto)
{
    salidaMensajes().mostrarMensaje(QStringLiteral("I"), texto, QString());
}

void MensajeAviso(const QString &texto)
{
    salidaMensajes().mostrarMensaje(QStringLiteral("A"), texto, QString());
}

QString MensajeConfirmacion(const QString &texto)
{
    return salidaMensajes().mostrarMensaje(QStringLiteral("C"), texto, QString());
}

void MensajeError(const QString &texto)
{
    salidaMensajes().mostrarMensaje(QStringLiteral("E"), texto, QString());
}

QString MensajePedirDato(const QString &texto, const QString &propuesta)
{
    return salidaMensajes().mostrarMensaje(QStringLiteral("P"), texto, propuesta);
}

void MensajeSistema(const QString &texto)
{
    salidaMensajes().mostrarMensaje(TipoCuadroSistema, texto, QString());
}

void IndicarProgreso(const QString &texto1, const QString &texto2, const QString &texto3,
                     const QString &texto4)
{
    salidaMensajes().mostrarProgreso(texto1, texto2, texto3, texto4);
}
