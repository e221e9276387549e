// The libcurl functions mail and the web service call, loaded with the library the first
// time one of them is called: the program starts without libcurl and the two dozen libraries
// it brings (TLS, SSH, LDAP, Kerberos, HTTP/2), which cost a start about as much as its own
// window. Without the library the calls fail as libcurl fails to start: no handle, an error
// code, an empty list.
#include "platform/base/BibliotecaBajoDemanda.h"

#include <cstdarg>
#include <curl/curl.h>

namespace {

struct Curl
{
    decltype(&curl_global_init) globalInit;
    decltype(&curl_easy_init) easyInit;
    decltype(&curl_easy_setopt) easySetopt;
    decltype(&curl_easy_perform) easyPerform;
    decltype(&curl_easy_cleanup) easyCleanup;
    decltype(&curl_easy_strerror) easyStrerror;
    decltype(&curl_slist_append) slistAppend;
    decltype(&curl_slist_free_all) slistFreeAll;
};

bool resolver(plat::BibliotecaBajoDemanda &b, Curl &f)
{
    return b.resolver("curl_global_init", f.globalInit) && b.resolver("curl_easy_init", f.easyInit)
           && b.resolver("curl_easy_setopt", f.easySetopt) && b.resolver("curl_easy_perform", f.easyPerform)
           && b.resolver("curl_easy_cleanup", f.easyCleanup) && b.resolver("curl_easy_strerror", f.easyStrerror)
           && b.resolver("curl_slist_append", f.slistAppend) && b.resolver("curl_slist_free_all", f.slistFreeAll);
}

plat::FuncionesBajoDemanda<Curl> &biblioteca()
{
    static plat::FuncionesBajoDemanda<Curl> b("libcurl.so.4", resolver);
    return b;
}

const Curl *curl()
{
    return biblioteca()();
}

} // namespace

extern "C" {

CURLcode curl_global_init(long flags)
{
    const Curl *f = curl();
    return f ? f->globalInit(flags) : CURLE_FAILED_INIT;
}

CURL *curl_easy_init()
{
    const Curl *f = curl();
    return f ? f->easyInit() : nullptr;
}

// The option's number says what its one argument is (a long, a pointer, a file offset).
CURLcode curl_easy_setopt(CURL *handle, CURLoption opcion, ...)
{
    const Curl *f = curl();
    if (!f)
        return CURLE_FAILED_INIT;
    va_list argumentos;
    va_start(argumentos, opcion);
    CURLcode codigo;
    if (opcion < CURLOPTTYPE_OBJECTPOINT) {
        codigo = f->easySetopt(handle, opcion, va_arg(argumentos, long));
    } else if (opcion >= CURLOPTTYPE_OFF_T && opcion < CURLOPTTYPE_BLOB) {
        codigo = f->easySetopt(handle, opcion, va_arg(argumentos, curl_off_t));
    } else {
        codigo = f->easySetopt(handle, opcion, va_arg(argumentos, void *));
    }
    va_end(argumentos);
    return codigo;
}

CURLcode curl_easy_perform(CURL *handle)
{
    const Curl *f = curl();
    return f ? f->easyPerform(handle) : CURLE_FAILED_INIT;
}

void curl_easy_cleanup(CURL *handle)
{
    if (const Curl *f = curl())
        f->easyCleanup(handle);
}

const char *curl_easy_strerror(CURLcode codigo)
{
    if (const Curl *f = curl())
        return f->easyStrerror(codigo);
    static const QByteArray motivo = biblioteca().motivo().toUtf8();
    return motivo.constData();
}

curl_slist *curl_slist_append(curl_slist *lista, const char *texto)
{
    const Curl *f = curl();
    return f ? f->slistAppend(lista, texto) : nullptr;
}

void curl_slist_free_all(curl_slist *lista)
{
    if (const Curl *f = curl())
        f->slistFreeAll(lista);
}

} // extern "C"
