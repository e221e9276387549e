#pragma once
#include "platform/base/Gancho.h"

#include <QList>
#include <QString>
#include <QStringList>

// Every message and progress report of the program passes through one sink: the message
// form and the progress window install themselves here at start-up, and tests (and
// unattended runs) install a recorder that scripts the answers.
class SalidaMensajes
{
public:
    virtual ~SalidaMensajes() = default;

    // tipo is one of "I", "A", "C", "E", "P", or "S" for the plain system box;
    // respuesta is the default answer of a prompt.
    // Answers "SI" or "NO" for "C", the typed text for "P" (empty on cancel), else empty.
    virtual QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta) = 0;

    // The four texts of the progress window, in the order IndicarProgreso receives them.
    virtual void mostrarProgreso(const QString &texto1, const QString &texto2,
                                 const QString &texto3, const QString &texto4) = 0;
};

// The installed sink; before anything is installed, messages go to standard error and
// questions are answered "NO", prompts with an empty text.
SalidaMensajes &salidaMensajes();
// The hook behind it: nullptr when nothing is installed.
Gancho<SalidaMensajes *> &ganchoSalidaMensajes();

// A sink that records what would have been shown and answers from a script.
class SalidaMensajesGrabada : public SalidaMensajes
{
public:
    struct Mensaje
    {
        QString tipo;
        QString texto;
        QString respuestaPropuesta;
    };

    // Answers handed out in order to the questions ("C") and prompts ("P"); when the
    // script is used up a question gets "NO" and a prompt its default answer.
    void programarRespuestas(const QStringList &respuestas) { respuestas_ += respuestas; }

    QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta) override;
    void mostrarProgreso(const QString &texto1, const QString &texto2,
                         const QString &texto3, const QString &texto4) override;

    const QList<Mensaje> &mensajes() const { return mensajes_; }
    const QList<QStringList> &progresos() const { return progresos_; }
    QStringList textos() const;   // the texts of every message, in order
    void limpiar();

private:
    QList<Mensaje> mensajes_;
    QList<QStringList> progresos_;
    QStringList respuestas_;
};

// Installs a sink (not owned) for the life of this object; the previous one comes back.
class SalidaMensajesInstalada : public Gancho<SalidaMensajes *>::Instalacion
{
public:
    explicit SalidaMensajesInstalada(SalidaMensajes &salida) : Instalacion(ganchoSalidaMensajes(), &salida) {}
};
