#pragma once
#include "GENEW/runtime/MensajeCorreo.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Where and how long a send may wait. TLS is 1.2 or later, and the server's certificate and
// host name are checked against the system's store (or the given CA file).
struct TransporteSMTP
{
    int segundosEspera = 30;    // connect, and each reply of the server
    QStringList conectarA;      // libcurl connect-to entries "host:port:otro-host:otro-puerto"
    QString archivoCA;          // CA certificates to trust instead of the system's store
};

// Sends the message through the settings' server with the attempts of IntentosSMTP: the
// second attempt follows only a failure of the connection itself (no connection, a failed
// TLS handshake, no greeting). Authenticates with LOGIN when the settings have a user or a
// password, never before the connection is encrypted. Raises gp::Error with libcurl's text
// when the send fails, followed on a line of its own by "el servidor no ofrece cifrado" when
// the server would not switch to TLS where it had to.
void EnviarMensajeSMTP(const AjustesSMTP &ajustes, const QString &remitente, const QStringList &sobres,
                       const QByteArray &mensaje, const TransporteSMTP &transporte);
