#include "GENEW/runtime/CreacionesArranque.h"

#include "GENEW/runtime/ConexionesPrograma.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"

void TransaccionesArranque::iniciarTransaccion(const QString &conexion)
{
    plat::Connection &c = conexiones_.ConexionDeSelector(conexion);
    // The level is the physical connection's: it is only changed outside any transaction on it
    // (SQLite refuses otherwise), and a refusal leaves it as it was.
    if (!nivelAnterior_.contains(conexion) && !c.inTransaction() && c.engine() == plat::EngineKind::SQLite) {
        try {
            const QVariant nivel = c.scalar(QStringLiteral("PRAGMA synchronous"), {}, plat::SqlOrigin::AsWritten);
            // A file this start made holds nothing but the start's tables: even the header of
            // its new journal need not wait for the disk, since a crash loses no more than the
            // next start makes again. The file is never written but by a checkpoint, and the
            // start's few pages are far from the size that runs one before the level is back.
            const int bajo = c.session().madeFile(c) ? 0 : 1;
            if (nivel.isValid() && nivel.toInt() > bajo) {
                c.exec(QStringLiteral("PRAGMA synchronous=") + QString::number(bajo), {}, plat::SqlOrigin::AsWritten);
                nivelAnterior_.insert(conexion, nivel);
            }
        } catch (const gp::Error &) {
        }
    }
    try {
        transacciones_.iniciarTransaccion(conexion);
    } catch (...) {
        restaurar(conexion);
        throw;
    }
}

void TransaccionesArranque::confirmarTransaccion(const QString &conexion)
{
    try {
        transacciones_.confirmarTransaccion(conexion);
    } catch (...) {
        restaurar(conexion);
        throw;
    }
    restaurar(conexion);
}

void TransaccionesArranque::deshacerTransaccion(const QString &conexion)
{
    try {
        transacciones_.deshacerTransaccion(conexion);
    } catch (...) {
        restaurar(conexion);
        throw;
    }
    restaurar(conexion);
}

TransaccionesArranque::~TransaccionesArranque()
{
    for (const QString &conexion : nivelAnterior_.keys())
        restaurar(conexion);
}

void TransaccionesArranque::restaurar(const QString &conexion)
{
    const auto it = nivelAnterior_.constFind(conexion);
    if (it == nivelAnterior_.constEnd())
        return;
    const QVariant nivel = it.value();
    // A connection closed since has nothing to restore: the next opening sets its own level.
    // Refused inside a transaction still open (a failed commit), the level stays noted, and
    // the next commit or the end of the batch tries again.
    try {
        plat::Connection &c = conexiones_.ConexionDeSelector(conexion);
        if (c.isOpen())
            c.exec(QStringLiteral("PRAGMA synchronous=") + QString::number(nivel.toInt()), {}, plat::SqlOrigin::AsWritten);
        nivelAnterior_.remove(conexion);
    } catch (const gp::Error &) {
    }
}

CreacionesArranque::CreacionesArranque(ConexionesPrograma &conexiones)
    : transacciones_(conexiones), siguiente_(salidaMensajes()), instalada_(*this), lote_(transacciones_)
{
}

QString CreacionesArranque::mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta)
{
    lote_.confirmar();
    return siguiente_.mostrarMensaje(tipo, texto, respuesta);
}

void CreacionesArranque::mostrarProgreso(const QString &texto1, const QString &texto2, const QString &texto3,
                                         const QString &texto4)
{
    siguiente_.mostrarProgreso(texto1, texto2, texto3, texto4);
}
