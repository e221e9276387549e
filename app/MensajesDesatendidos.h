#pragma once
#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <QString>

// Unattended runs (tests, a virtual screen): no message window opens, nor the plain system
// box (kind "S"). Every message is answered from a script and written, kind and text, to a
// file as it comes, so that a run that ends on an error still leaves its reason; when the
// file cannot be written, to standard error. After a message of kind "E" the program ends,
// as it does with the message window.
class MensajesDesatendidos : public SalidaMensajesGrabada
{
public:
    // The environment variable that switches this on: the scripted answers joined by "|".
    static constexpr const char *VariableRespuestas = "GP_RESPUESTAS_MENSAJES";
    // Where the messages go (default: MENSAJES.TXT in the working folder).
    static constexpr const char *VariableArchivo = "GP_ARCHIVO_MENSAJES";

    // nullptr when the environment does not ask for an unattended run.
    static MensajesDesatendidos *desdeEntorno();

    explicit MensajesDesatendidos(QString archivo) : archivo_(std::move(archivo)) {}
    QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta) override;

private:
    QString archivo_;
};
