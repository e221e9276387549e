// The libcurl functions mail and the web service call, loaded with the library the first
// time one of them is called: the program starts without libcurl and the two dozen libraries
// it brings (TLS, SSH, LDAP, Kerberos, HTTP/2), which cost a start about as much as its own
// window. Without the library the calls fail as libcurl fails to start: no handle, an error
// code, an empty list.
#include <curl/curl.h>

#include <cstdarg>
#include <dlfcn.h>
#include <mutex>

namespace {

struct Curl
{
    CURLcode (*globalInit)(long) = nullptr;
    CURL *(*easyInit)() = nullptr;
    CURLcode (*easySetopt)(CURL *, CURLoption, ...) = nullptr;
    CURLcode (*easyPerform)(CURL *) = nullptr;
    void (*easyCleanup)(CURL *) = nullptr;
    const char *(*easyStrerror)(CURLcode) = nullptr;
    curl_slist *(*slistAppend)(curl_slist *, const char *) = nullptr;
    void (*slistFreeAll)(curl_slist *) = nullptr;
    bool cargada = false;
};

template<typename F>
bool resolver(void *biblioteca, const char *nombre, F &funcion)
{
    funcion = reinterpret_cast<F>(dlsym(biblioteca, nombre));
    return funcion != nullptr;
}

const Curl &curl()
{
    static Curl c;
    static std::once_flag cargada;
    std::call_once(cargada, [] {
        void *biblioteca = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!biblioteca)
            return;
        c.cargada = resolver(biblioteca, "curl_global_init", c.globalInit)
                    && resolver(biblioteca, "curl_easy_init", c.easyInit)
                    && resolver(biblioteca, "curl_easy_setopt", c.easySetopt)
                    && resolver(biblioteca, "curl_easy_perform", c.easyPerform)
                    && resolver(biblioteca, "curl_easy_cleanup", c.easyCleanup)
                    && resolver(biblioteca, "curl_easy_strerror", c.easyStrerror)
                    && resolver(biblioteca, "curl_slist_append", c.slistAppend)
                    && resolver(biblioteca, "curl_slist_free_all", c.slistFreeAll);
    });
    return c;
}

} // namespace

extern "C" {

CURLcode curl_global_init(long flags)
{
    return curl().cargada ? curl().globalInit(flags) : CURLE_FAILED_INIT;
}

CURL *curl_easy_init()
{
    return curl().cargada ? curl().easyInit() : nullptr;
}

// The option's number says what its one argument is (a long, a pointer, a file offset).
CURLcode curl_easy_setopt(CURL *handle, CURLoption opcion, ...)
{
    if (!curl().cargada)
        return CURLE_FAILED_INIT;
    va_list argumentos;
    va_start(argumentos, opcion);
    CURLcode codigo;
    if (opcion < CURLOPTTYPE_OBJECTPOINT) {
        codigo = curl().easySetopt(handle, opcion, va_arg(argumentos, long));
    } else if (opcion >= CURLOPTTYPE_OFF_T && opcion < CURLOPTTYPE_BLOB) {
        codigo = curl().easySetopt(handle, opcion, va_arg(argumentos, curl_off_t));
    } else {
        codigo = curl().easySetopt(handle, opcion, va_arg(argumentos, void *));
    }
    va_end(argumentos);
    return codigo;
}

CURLcode curl_easy_perform(CURL *handle)
{
    return curl().cargada ? curl().easyPerform(handle) : CURLE_FAILED_INIT;
}

void curl_easy_cleanup(CURL *handle)
{
    if (curl().cargada)
        curl().easyCleanup(handle);
}

const char *curl_easy_strerror(CURLcode codigo)
{
    return curl().cargada ? curl().easyStrerror(codigo) : "libcurl could not be loaded";
}

curl_slist *curl_slist_append(curl_slist *lista, const char *texto)
{
    return curl().cargada ? curl().slistAppend(lista, texto) : nullptr;
}

void curl_slist_free_all(curl_slist *lista)
{
    if (curl().cargada)
        curl().slistFreeAll(lista);
}

} // extern "C"
