#pragma once
#include "GENEW/runtime/MensajeCorreo.h"
#include "GENEW/runtime/comun/Errores.h"

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

// Why a send failed, as the user is told it.
enum class FalloEnvioSMTP {
    ServidorDesconocido,      // the server's name names no machine
    ConexionRechazada,        // nothing listens at that port, or the machine cannot be reached
    TiempoAgotado,            // the server did not answer in time
    CertificadoNoConfiable,   // the certificate is not one the system trusts, or names another host
    SinCifrado,               // the server would not switch to TLS where it had to
    Autenticacion,            // the server refused the user or the password
    Otro,                     // anything else: libcurl's own text is the reason
};

// A refused send: its kind, and the text shown, TextoCorreoNoEnviado of the reason in Spanish
// (libcurl's text for Otro).
class ErrorEnvioSMTP : public gp::Error
{
public:
    ErrorEnvioSMTP(FalloEnvioSMTP tipo, const QString &motivo);
    FalloEnvioSMTP tipo() const noexcept { return tipo_; }

private:
    FalloEnvioSMTP tipo_;
};

// Sends the message through the settings' server with the attempts of IntentosSMTP: the
// second attempt follows only a failure of the connection itself (no connection, a failed
// TLS handshake, no greeting). Authenticates with LOGIN when the settings have a user or a
// password, never before the connection is encrypted. Raises ErrorEnvioSMTP when the send
// fails.
void EnviarMensajeSMTP(const AjustesSMTP &ajustes, const QString &remitente, const QStringList &sobres,
                       const QByteArray &mensaje, const TransporteSMTP &transporte);
