#include "GENEW/runtime/ServicioWeb.h"

#include "GENEW/runtime/comun/FicherosTexto.h"

#include <curl/curl.h>
#include <memory>
#include <mutex>

namespace {

size_t acumular(char *datos, size_t tamano, size_t n, void *usuario)
{
    static_cast<QByteArray *>(usuario)->append(datos, static_cast<qsizetype>(tamano * n));
    return tamano * n;
}

} // namespace

QString PlegarPeticionServicioWeb(const QString &peticion)
{
    QString texto = peticion;
    texto.replace(QLatin1String("\r\n"), QLatin1String(" "));
    texto.replace(u' ', u'_');
    return texto;
}

QString DireccionServicioWeb(const QString &servidor, const QString &peticion)
{
    if (servidor.isEmpty())
        return {};
    QByteArray ruta;
    for (const char byte : PlegarPeticionServicioWeb(peticion).toUtf8()) {
        const auto b = static_cast<unsigned char>(byte);
        if (b <= 0x20 || b >= 0x7F || b == '%' || b == '#')
            ruta += '%' + QByteArray::number(b, 16).toUpper().rightJustified(2, '0');
        else
            ruta += byte;
    }
    return QStringLiteral("http://") + servidor + QStringLiteral("/WebVKT.EXE") + QString::fromLatin1(ruta);
}

RespuestaServicioWeb ConsultarServicioWeb(const QString &direccion, int segundosEspera)
{
    static std::once_flag iniciado;
    std::call_once(iniciado, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    RespuestaServicioWeb r;
    if (direccion.isEmpty()) {
        r.texto = QStringLiteral("No web service server is configured");
        return r;
    }
    std::unique_ptr<CURL, void (*)(CURL *)> curl(curl_easy_init(), curl_easy_cleanup);
    if (!curl) {
        r.texto = QStringLiteral("libcurl could not start");
        return r;
    }
    CURL *c = curl.get();
    const QByteArray url = direccion.toUtf8();
    QByteArray cuerpo;
    char textoError[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, long(segundosEspera));
    curl_easy_setopt(c, CURLOPT_TIMEOUT, long(segundosEspera));
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, acumular);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &cuerpo);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, textoError);
    curl_easy_setopt(c, CURLOPT_FAILONERROR, 1L);
    const CURLcode codigo = curl_easy_perform(c);
    r.correcta = codigo == CURLE_OK;
    r.texto = r.correcta ? TextoDeBytes(cuerpo) : QString::fromUtf8(textoError[0] ? textoError : curl_easy_strerror(codigo));
    return r;
}
