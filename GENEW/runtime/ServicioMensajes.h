#pragma once
#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <functional>
#include <optional>

class TfGENEMENS;

// Shows every message of the program in the message window and answers it, as the message
// sink. A message raised while another is on screen gets a window of its own above the
// first, so no message goes unseen and no question is answered for the user. After a message
// of kind "E" the application terminates.
class ServicioMensajes : public SalidaMensajes
{
public:
    // ventana: gives the long-lived message window (fGENEMENS); the program makes it the
    // first time a message is shown.
    explicit ServicioMensajes(std::function<TfGENEMENS &()> ventana);
    explicit ServicioMensajes(TfGENEMENS &formulario);
    ~ServicioMensajes() override;

    // kind, text (a text marked "TRADUCIR: " is put in Spanish first) and the default
    // answer; returns "SI"/"NO" for "C", the typed text or empty for "P", else empty.
    QString MostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta);

    // Becomes the message sink; progress reports still go to the sink that was there before.
    void instalar();
    void desinstalar();

    QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta) override
    {
        return MostrarMensaje(tipo, texto, respuesta);
    }
    void mostrarProgreso(const QString &texto1, const QString &texto2, const QString &texto3,
                         const QString &texto4) override;

    // What ends the program after an error message (the application's terminate unless a
    // caller replaces it).
    std::function<void()> terminar;

    // The plain system box that shows kind "S" (a modal box of the toolkit with the
    // application's title unless a caller replaces it).
    std::function<void(const QString &texto)> cuadroSistema;

private:
    std::function<TfGENEMENS &()> ventana_;
    SalidaMensajes *anterior_ = nullptr;
    std::optional<SalidaMensajesInstalada> instalacion_;
};
