#pragma once
#include "platform/base/Errores.h"

#include <QElapsedTimer>
#include <QString>

// While the server cannot be reached every statement fails alike, and a window that runs a
// dozen of them on opening would show a dozen boxes. The user is told once for the failures
// of one outage that come together: another one is not shown again unless the server has been
// reached meanwhile or the last such failure is a while ago (counted from when its message
// was closed, so that a user reading one box is not shown the next).
class AvisoServidorAusente
{
public:
    explicit AvisoServidorAusente(qint64 rafagaMs = 30000) : rafagaMs_(rafagaMs) {}

    // The one the program's windows and services share.
    static AvisoServidorAusente &delPrograma();

    // Shows "¡ No es posible conectar con el servidor de la Base de Datos !. Motivo: " and the
    // engine's reason, unless the failures it belongs with have been told; answers whether it
    // showed it.
    bool avisar(const QString &motivo);
    // A new session starts with nothing told.
    void olvidar() { ultimo_.invalidate(); }

private:
    qint64 rafagaMs_;
    QElapsedTimer ultimo_;    // since the last failure told or passed over
    quint64 aperturas_ = 0;   // the server openings of the process when it was told
};

// A failure the user is warned of with its own text; one of a server that cannot be reached
// is told once for its outage instead.
void AvisarFallo(const gp::Error &error);
