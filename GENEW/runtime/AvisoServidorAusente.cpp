#include "GENEW/runtime/AvisoServidorAusente.h"

#include "GENEW/runtime/TraduccionExcepciones.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/data/engine/Connection.h"

AvisoServidorAusente &AvisoServidorAusente::delPrograma()
{
    static AvisoServidorAusente aviso;
    return aviso;
}

bool AvisoServidorAusente::avisar(const QString &motivo)
{
    const quint64 aperturas = plat::serverOpenings();
    const bool contado = ultimo_.isValid() && !ultimo_.hasExpired(rafagaMs_) && aperturas == aperturas_;
    // Started before the message too: what fails while it is open belongs with it.
    ultimo_.start();
    if (contado)
        return false;
    aperturas_ = aperturas;
    MensajeAviso(TraducirExcepcion(motivo, false, QString(), gp::DatabaseErrorKind::ConnectionLost).texto);
    ultimo_.start();
    return true;
}

void AvisarFallo(const gp::Error &error)
{
    const auto *fallo = dynamic_cast<const gp::DatabaseError *>(&error);
    if (fallo && fallo->kind() == gp::DatabaseErrorKind::ConnectionLost)
        AvisoServidorAusente::delPrograma().avisar(error.mensaje());
    else
        MensajeAviso(error.mensaje());
}
