#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

// The SMTP settings and the message of one send, built as the program states them; no
// network here (see ClienteSMTP.h).

// The keys of the settings text (TModuloDatos::ConfiguracionSMTP) that sending reads.
struct AjustesSMTP
{
    QString servidor;       // "ServidorSMTP"
    QString usuario;        // "CodigoUsuarioSMTP"
    QString clave;          // "ClaveAccesoSMTP"
    QString puerto;         // "PuertoSSL", as text
    QString cuentaCopias;   // "CuentaSMTPCopiasDocumentos"
    QString cuentaFrom;     // "CuentaFromSMTP"

    static AjustesSMTP deTexto(const QString &texto);
    // "CuentaFromSMTP"; when empty the user when it holds "@"; else the copies account.
    QString direccionRemitente() const;
    bool conAutenticacion() const { return !usuario.isEmpty() || !clave.isEmpty(); }
};

// Settings that send by SMTP: they hold "ClienteSMTP=Indy" (also as "ClienteSMTP(Masivo)=Indy");
// any other settings hand the mail to the desktop's mail program.
bool EnviaPorSMTP(const QString &ajustes);

// What the user is told of a mail that could not go: "¡No ha sido posible enviar el correo
// electrónico!. Motivo: " and the reason.
QString TextoCorreoNoEnviado(const QString &motivo);

// How one connection attempt starts: in plain text that switches to TLS with STARTTLS whenever
// the server offers it (and, with a user or password, only then goes on), encrypted from the
// first byte, or in plain text that must switch to TLS with STARTTLS before anything else.
enum class ModoConexionSMTP { STARTTLSSiSeOfrece, TLSImplicito, STARTTLSObligatorio };

// The attempts for a port text, in order: "465" and "587" encrypted from the start and then
// STARTTLS (never plain text); empty, port 25 twice with STARTTLS when offered; any other port
// with STARTTLS when offered and then encrypted from the start.
QList<ModoConexionSMTP> IntentosSMTP(const QString &puerto);
int NumeroPuertoSMTP(const QString &puerto);   // 25 for an empty text

// Addresses cut at "," and ";", blanks trimmed, empty pieces dropped.
QStringList DividirDirecciones(const QString &texto);
// The pieces of a "|" list that are existing regular files, in order; any other piece (an
// empty one, a missing file, a folder) is skipped and the list goes on.
QStringList AdjuntosExistentes(const QString &lista);

struct MensajeCorreo
{
    QString nombreRemitente;
    QString direccionRemitente;
    QStringList destinatarios;
    QStringList copias;
    QString asunto;
    QString texto;
    QStringList adjuntos;   // file paths

    // Everyone the message is delivered to: the recipients and the copies.
    QStringList sobres() const { return destinatarios + copias; }
};

// A header text as RFC 2047 encoded words when it holds anything but printable ASCII (line
// breaks included), so that no header ever carries a raw line break.
QByteArray CodificarPalabrasCabecera(const QString &texto);

// The message in Internet format (CR LF lines): headers, the text as UTF-8, and each
// attachment in base64 under its file name. Raises gp::Error when an attachment cannot be read.
QByteArray ComponerMensaje(const MensajeCorreo &mensaje, const QDateTime &fecha, const QByteArray &frontera,
                           const QByteArray &idMensaje);
