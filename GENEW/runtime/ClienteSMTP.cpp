#include "GENEW/runtime/ClienteSMTP.h"

#include <curl/curl.h>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

void iniciarCurl()
{
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct LiberarCurl
{
    void operator()(CURL *c) const { curl_easy_cleanup(c); }
};
struct LiberarLista
{
    void operator()(curl_slist *l) const { curl_slist_free_all(l); }
};
using ListaCurl = std::unique_ptr<curl_slist, LiberarLista>;

ListaCurl listaCurl(const QStringList &elementos)
{
    curl_slist *lista = nullptr;
    for (const QString &e : elementos)
        lista = curl_slist_append(lista, e.toUtf8().constData());
    return ListaCurl(lista);
}

struct Lectura
{
    const QByteArray *datos;
    qsizetype posicion = 0;
};

size_t leer(char *destino, size_t tamano, size_t n, void *usuario)
{
    auto *l = static_cast<Lectura *>(usuario);
    const size_t quedan = static_cast<size_t>(l->datos->size() - l->posicion);
    const size_t copiar = std::min(tamano * n, quedan);
    std::memcpy(destino, l->datos->constData() + l->posicion, copiar);
    l->posicion += static_cast<qsizetype>(copiar);
    return copiar;
}

// Any reply of the server means the connection itself stood.
int observar(CURL *, curl_infotype tipo, char *, size_t, void *usuario)
{
    if (tipo == CURLINFO_HEADER_IN)
        *static_cast<bool *>(usuario) = true;
    return 0;
}

struct ResultadoIntento
{
    bool enviado = false;
    bool huboRespuesta = false;
    CURLcode codigo = CURLE_OK;
    QString error;   // libcurl's text
};

FalloEnvioSMTP falloDeCodigo(CURLcode codigo)
{
    switch (codigo) {
    case CURLE_COULDNT_RESOLVE_HOST: return FalloEnvioSMTP::ServidorDesconocido;
    case CURLE_COULDNT_CONNECT: return FalloEnvioSMTP::ConexionRechazada;
    case CURLE_OPERATION_TIMEDOUT: return FalloEnvioSMTP::TiempoAgotado;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR: return FalloEnvioSMTP::CertificadoNoConfiable;
    case CURLE_USE_SSL_FAILED: return FalloEnvioSMTP::SinCifrado;
    case CURLE_LOGIN_DENIED: return FalloEnvioSMTP::Autenticacion;
    default: return FalloEnvioSMTP::Otro;
    }
}

QString motivoDeFallo(FalloEnvioSMTP tipo, const ResultadoIntento &r, const AjustesSMTP &a, const TransporteSMTP &t)
{
    const QString servidor = QStringLiteral("\"") + a.servidor + u'"';
    const QString puerto = QString::number(NumeroPuertoSMTP(a.puerto));
    switch (tipo) {
    case FalloEnvioSMTP::ServidorDesconocido:
        return QStringLiteral("no se encuentra el servidor de correo ") + servidor;
    case FalloEnvioSMTP::ConexionRechazada:
        return QStringLiteral("el servidor de correo ") + servidor + QStringLiteral(" no acepta conexiones en el puerto ")
            + puerto;
    case FalloEnvioSMTP::TiempoAgotado:
        return QStringLiteral("el servidor de correo ") + servidor + QStringLiteral(" no ha respondido en ")
            + QString::number(t.segundosEspera) + QStringLiteral(" segundos");
    case FalloEnvioSMTP::CertificadoNoConfiable:
        return QStringLiteral("el certificado del servidor de correo ") + servidor
            + QStringLiteral(" no es de confianza o no es el de ese servidor");
    case FalloEnvioSMTP::SinCifrado:
        return QStringLiteral("el servidor no ofrece cifrado");
    case FalloEnvioSMTP::Autenticacion:
        return QStringLiteral("el servidor de correo no acepta el usuario o la clave de acceso");
    case FalloEnvioSMTP::Otro:
        break;
    }
    return r.error;
}

// libcurl's use of TLS for an attempt. A password only ever travels encrypted: with one, the
// switch to TLS is required; without one a server that offers no STARTTLS gets the mail in clear.
long usoTLS(ModoConexionSMTP modo, bool conCredenciales)
{
    switch (modo) {
    case ModoConexionSMTP::TLSImplicito:
        return CURLUSESSL_NONE;   // the "smtps" scheme is encrypted from the first byte
    case ModoConexionSMTP::STARTTLSObligatorio:
        return CURLUSESSL_ALL;
    case ModoConexionSMTP::STARTTLSSiSeOfrece:
        return conCredenciales ? CURLUSESSL_ALL : CURLUSESSL_TRY;
    }
    return CURLUSESSL_ALL;
}

QByteArray direccionSobre(const QString &direccion) { return '<' + direccion.trimmed().toUtf8() + '>'; }

ResultadoIntento intentar(ModoConexionSMTP modo, const AjustesSMTP &a, const QString &remitente,
                          const QStringList &sobres, const QByteArray &mensaje, const TransporteSMTP &t)
{
    ResultadoIntento r;
    std::unique_ptr<CURL, LiberarCurl> curl(curl_easy_init());
    if (!curl) {
        r.error = QStringLiteral("libcurl could not start");
        return r;
    }
    CURL *c = curl.get();
    const QString esquema = modo == ModoConexionSMTP::TLSImplicito ? QStringLiteral("smtps") : QStringLiteral("smtp");
    const QByteArray url =
        (esquema + QStringLiteral("://") + a.servidor + u':' + QString::number(NumeroPuertoSMTP(a.puerto))).toUtf8();
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_USE_SSL, usoTLS(modo, a.conAutenticacion()));
    curl_easy_setopt(c, CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray archivoCA = t.archivoCA.toUtf8();
    if (!archivoCA.isEmpty())
        curl_easy_setopt(c, CURLOPT_CAINFO, archivoCA.constData());
    ListaCurl conectarA = listaCurl(t.conectarA);
    if (conectarA)
        curl_easy_setopt(c, CURLOPT_CONNECT_TO, conectarA.get());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(t.segundosEspera));
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(t.segundosEspera));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);

    const QByteArray usuario = a.usuario.toUtf8();
    const QByteArray clave = a.clave.toUtf8();
    if (a.conAutenticacion()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, usuario.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, clave.constData());
        curl_easy_setopt(c, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    const QByteArray de = direccionSobre(remitente);
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, de.constData());
    QStringList rcpt;
    for (const QString &s : sobres)
        rcpt << QString::fromUtf8(direccionSobre(s));
    ListaCurl destinos = listaCurl(rcpt);
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, destinos.get());

    Lectura lectura{&mensaje};
    curl_easy_setopt(c, CURLOPT_READFUNCTION, leer);
    curl_easy_setopt(c, CURLOPT_READDATA, &lectura);
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, curl_off_t(mensaje.size()));

    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, observar);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &r.huboRespuesta);
    char textoError[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, textoError);

    r.codigo = curl_easy_perform(c);
    r.enviado = r.codigo == CURLE_OK;
    if (!r.enviado)
        r.error = QString::fromUtf8(textoError[0] ? textoError : curl_easy_strerror(r.codigo));
    return r;
}

} // namespace

ErrorEnvioSMTP::ErrorEnvioSMTP(FalloEnvioSMTP tipo, const QString &motivo)
    : gp::Error(TextoCorreoNoEnviado(motivo)), tipo_(tipo)
{
}

void EnviarMensajeSMTP(const AjustesSMTP &ajustes, const QString &remitente, const QStringList &sobres,
                       const QByteArray &mensaje, const TransporteSMTP &transporte)
{
    iniciarCurl();
    const QList<ModoConexionSMTP> intentos = IntentosSMTP(ajustes.puerto);
    for (qsizetype i = 0; i < intentos.size(); ++i) {
        const ResultadoIntento r = intentar(intentos[i], ajustes, remitente, sobres, mensaje, transporte);
        if (r.enviado)
            return;
        const bool quedaIntento = i + 1 < intentos.size();
        const FalloEnvioSMTP tipo = falloDeCodigo(r.codigo);
        if (tipo == FalloEnvioSMTP::SinCifrado || r.huboRespuesta || !quedaIntento)
            throw ErrorEnvioSMTP(tipo, motivoDeFallo(tipo, r, ajustes, transporte));
    }
}
