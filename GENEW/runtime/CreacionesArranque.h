#pragma once
#include "GENEW/runtime/EjecutorCreacionPrograma.h"
#include "platform/base/SalidaMensajes.h"

class ConexionesPrograma;

// The tables a start makes, gathered into one transaction per database file (see
// estructura::LoteCreacion) from the start-up form's creation until the main window is shown.
// While it lives it stands before the message sink: every message or prompt first confirms
// what is held, so that the program never waits for its user while holding the lock other
// programs wait for.
class CreacionesArranque final : public SalidaMensajes
{
public:
    explicit CreacionesArranque(ConexionesPrograma &conexiones);
    CreacionesArranque(const CreacionesArranque &) = delete;
    CreacionesArranque &operator=(const CreacionesArranque &) = delete;

    estructura::LoteCreacion &lote() { return lote_; }

    QString mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta) override;
    void mostrarProgreso(const QString &texto1, const QString &texto2, const QString &texto3,
                         const QString &texto4) override;

private:
    TransaccionesConexiones transacciones_;
    SalidaMensajes &siguiente_;
    // Declared after the sink it replaces and before the batch: the batch confirms first, then
    // the sink before it comes back.
    SalidaMensajesInstalada instalada_;
    estructura::LoteCreacion lote_;
};
