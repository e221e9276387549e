// The libzip functions of the zip packages, loaded with the library the first time one of them
// is called: a start does not load it nor the compression libraries it brings. Without the
// library no archive opens (no handle, an error code) and every error text names the library.
#include "platform/base/BibliotecaBajoDemanda.h"

#include <cstring>
#include <zip.h>

namespace {

struct Libzip
{
    decltype(&zip_open) open;
    decltype(&zip_close) close;
    decltype(&zip_discard) discard;
    decltype(&zip_strerror) strerror;
    decltype(&zip_error_init_with_code) errorInitWithCode;
    decltype(&zip_error_strerror) errorStrerror;
    decltype(&zip_error_fini) errorFini;
    decltype(&zip_get_num_entries) getNumEntries;
    decltype(&zip_get_name) getName;
    decltype(&zip_stat_init) statInit;
    decltype(&zip_stat_index) statIndex;
    decltype(&zip_fopen_index) fopenIndex;
    decltype(&zip_fread) fread;
    decltype(&zip_fclose) fclose;
    decltype(&zip_file_strerror) fileStrerror;
    decltype(&zip_source_buffer) sourceBuffer;
    decltype(&zip_source_free) sourceFree;
    decltype(&zip_file_add) fileAdd;
    decltype(&zip_set_file_compression) setFileCompression;
};

bool resolver(plat::BibliotecaBajoDemanda &b, Libzip &f)
{
    return b.resolver("zip_open", f.open) && b.resolver("zip_close", f.close) && b.resolver("zip_discard", f.discard)
           && b.resolver("zip_strerror", f.strerror) && b.resolver("zip_error_init_with_code", f.errorInitWithCode)
           && b.resolver("zip_error_strerror", f.errorStrerror) && b.resolver("zip_error_fini", f.errorFini)
           && b.resolver("zip_get_num_entries", f.getNumEntries) && b.resolver("zip_get_name", f.getName)
           && b.resolver("zip_stat_init", f.statInit) && b.resolver("zip_stat_index", f.statIndex)
           && b.resolver("zip_fopen_index", f.fopenIndex) && b.resolver("zip_fread", f.fread)
           && b.resolver("zip_fclose", f.fclose) && b.resolver("zip_file_strerror", f.fileStrerror)
           && b.resolver("zip_source_buffer", f.sourceBuffer) && b.resolver("zip_source_free", f.sourceFree)
           && b.resolver("zip_file_add", f.fileAdd) && b.resolver("zip_set_file_compression", f.setFileCompression);
}

plat::FuncionesBajoDemanda<Libzip> &biblioteca()
{
    static plat::FuncionesBajoDemanda<Libzip> b("libzip.so.4", resolver);
    return b;
}

const Libzip *libzip()
{
    return biblioteca()();
}

// The text every error gives when the library is missing: the callers show the library's texts.
const char *ausente()
{
    static const QByteArray motivo = biblioteca().motivo().toLocal8Bit();
    return motivo.constData();
}

} // namespace

extern "C" {

zip_t *zip_open(const char *ruta, int modo, int *error)
{
    if (const Libzip *f = libzip())
        return f->open(ruta, modo, error);
    if (error)
        *error = ZIP_ER_OPEN;
    return nullptr;
}

int zip_close(zip_t *archivo)
{
    const Libzip *f = libzip();
    return f ? f->close(archivo) : -1;
}

void zip_discard(zip_t *archivo)
{
    if (const Libzip *f = libzip())
        f->discard(archivo);
}

const char *zip_strerror(zip_t *archivo)
{
    const Libzip *f = libzip();
    return f ? f->strerror(archivo) : ausente();
}

// Filled by hand without the library: the error's text is asked for next.
void zip_error_init_with_code(zip_error_t *error, int codigo)
{
    if (const Libzip *f = libzip()) {
        f->errorInitWithCode(error, codigo);
        return;
    }
    std::memset(error, 0, sizeof *error);
    error->zip_err = codigo;
}

const char *zip_error_strerror(zip_error_t *error)
{
    const Libzip *f = libzip();
    return f ? f->errorStrerror(error) : ausente();
}

void zip_error_fini(zip_error_t *error)
{
    if (const Libzip *f = libzip())
        f->errorFini(error);
}

zip_int64_t zip_get_num_entries(zip_t *archivo, zip_flags_t opciones)
{
    const Libzip *f = libzip();
    return f ? f->getNumEntries(archivo, opciones) : -1;
}

const char *zip_get_name(zip_t *archivo, zip_uint64_t indice, zip_flags_t opciones)
{
    const Libzip *f = libzip();
    return f ? f->getName(archivo, indice, opciones) : nullptr;
}

void zip_stat_init(zip_stat_t *estado)
{
    if (const Libzip *f = libzip())
        f->statInit(estado);
    else
        std::memset(estado, 0, sizeof *estado);
}

int zip_stat_index(zip_t *archivo, zip_uint64_t indice, zip_flags_t opciones, zip_stat_t *estado)
{
    const Libzip *f = libzip();
    return f ? f->statIndex(archivo, indice, opciones, estado) : -1;
}

zip_file_t *zip_fopen_index(zip_t *archivo, zip_uint64_t indice, zip_flags_t opciones)
{
    const Libzip *f = libzip();
    return f ? f->fopenIndex(archivo, indice, opciones) : nullptr;
}

zip_int64_t zip_fread(zip_file_t *entrada, void *destino, zip_uint64_t bytes)
{
    const Libzip *f = libzip();
    return f ? f->fread(entrada, destino, bytes) : -1;
}

int zip_fclose(zip_file_t *entrada)
{
    const Libzip *f = libzip();
    return f ? f->fclose(entrada) : ZIP_ER_INVAL;
}

const char *zip_file_strerror(zip_file_t *entrada)
{
    const Libzip *f = libzip();
    return f ? f->fileStrerror(entrada) : ausente();
}

zip_source_t *zip_source_buffer(zip_t *archivo, const void *datos, zip_uint64_t bytes, int liberar)
{
    const Libzip *f = libzip();
    return f ? f->sourceBuffer(archivo, datos, bytes, liberar) : nullptr;
}

void zip_source_free(zip_source_t *fuente)
{
    if (const Libzip *f = libzip())
        f->sourceFree(fuente);
}

zip_int64_t zip_file_add(zip_t *archivo, const char *nombre, zip_source_t *fuente, zip_flags_t opciones)
{
    const Libzip *f = libzip();
    return f ? f->fileAdd(archivo, nombre, fuente, opciones) : -1;
}

int zip_set_file_compression(zip_t *archivo, zip_uint64_t indice, zip_int32_t metodo, zip_uint32_t nivel)
{
    const Libzip *f = libzip();
    return f ? f->setFileCompression(archivo, indice, metodo, nivel) : -1;
}

} // extern "C"
