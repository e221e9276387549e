#pragma once
#include "GENEW/runtime/EjecutorCreacionPrograma.h"
#include "platform/base/SalidaMensajes.h"

#include <QHash>

class ConexionesPrograma;

// The start's creation transactions, committed on the file engine without waiting for the
// disk: SQLite's "synchronous" goes to NORMAL (OFF on a file this start made) when such a
// transaction starts and back to what it was once it ends. On the WAL journal a crash may then lose the tables made, never damage
// the file; the next start makes them again, and the first later commit that waits for the disk
// makes them lasting as well. The other engines are left as they are.
class TransaccionesArranque final : public estructura::TransaccionesCreacion
{
public:
    explicit TransaccionesArranque(ConexionesPrograma &conexiones) : conexiones_(conexiones), transacciones_(conexiones) {}
    ~TransaccionesArranque() override;
    TransaccionesArranque(const TransaccionesArranque &) = delete;
    TransaccionesArranque &operator=(const TransaccionesArranque &) = delete;
    void iniciarTransaccion(const QString &conexion) override;
    void confirmarTransaccion(const QString &conexion) override;
    void deshacerTransaccion(const QString &conexion) override;

private:
    void restaurar(const QString &conexion);

    ConexionesPrograma &conexiones_;
    TransaccionesConexiones transacciones_;
    QHash<QString, QVariant> nivelAnterior_;   // by connection word, while lowered
};

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
    TransaccionesArranque transacciones_;
    SalidaMensajes &siguiente_;
    // Declared after the sink it replaces and before the batch: the batch confirms first, then
    // the sink before it comes back.
    SalidaMensajesInstalada instalada_;
    estructura::LoteCreacion lote_;
};
