// The functions of qpdf's C interface that join PDF files, loaded with the library the first
// time one of them is called: a start does not load it nor the dozen cryptography and image
// libraries it brings. Without the library no document can be made (no handle) and every other
// call answers an error.
#include "GENEW/reporting/impresos/QpdfBajoDemanda.h"

#include <qpdf/qpdf-c.h>

namespace {

struct Qpdf
{
    decltype(&qpdf_init) init;
    decltype(&qpdf_cleanup) cleanup;
    decltype(&qpdf_silence_errors) silenceErrors;
    decltype(&qpdf_has_error) hasError;
    decltype(&qpdf_get_error) getError;
    decltype(&qpdf_get_error_full_text) getErrorFullText;
    decltype(&qpdf_empty_pdf) emptyPdf;
    decltype(&qpdf_read) read;
    decltype(&qpdf_get_num_pages) getNumPages;
    decltype(&qpdf_get_page_n) getPageN;
    decltype(&qpdf_add_page) addPage;
    decltype(&qpdf_init_write_memory) initWriteMemory;
    decltype(&qpdf_write) write;
    decltype(&qpdf_get_buffer_length) getBufferLength;
    decltype(&qpdf_get_buffer) getBuffer;
};

bool resolver(plat::BibliotecaBajoDemanda &b, Qpdf &f)
{
    return b.resolver("qpdf_init", f.init) && b.resolver("qpdf_cleanup", f.cleanup)
           && b.resolver("qpdf_silence_errors", f.silenceErrors) && b.resolver("qpdf_has_error", f.hasError)
           && b.resolver("qpdf_get_error", f.getError) && b.resolver("qpdf_get_error_full_text", f.getErrorFullText)
           && b.resolver("qpdf_empty_pdf", f.emptyPdf) && b.resolver("qpdf_read", f.read)
           && b.resolver("qpdf_get_num_pages", f.getNumPages) && b.resolver("qpdf_get_page_n", f.getPageN)
           && b.resolver("qpdf_add_page", f.addPage) && b.resolver("qpdf_init_write_memory", f.initWriteMemory)
           && b.resolver("qpdf_write", f.write) && b.resolver("qpdf_get_buffer_length", f.getBufferLength)
           && b.resolver("qpdf_get_buffer", f.getBuffer);
}

plat::FuncionesBajoDemanda<Qpdf> &biblioteca()
{
    static plat::FuncionesBajoDemanda<Qpdf> b("libqpdf.so.29", resolver);
    return b;
}

const Qpdf *qpdf()
{
    return biblioteca()();
}

} // namespace

plat::BibliotecaBajoDemanda &BibliotecaQpdf()
{
    return biblioteca();
}

extern "C" {

qpdf_data qpdf_init()
{
    const Qpdf *f = qpdf();
    return f ? f->init() : nullptr;
}

void qpdf_cleanup(qpdf_data *documento)
{
    if (const Qpdf *f = qpdf())
        f->cleanup(documento);
}

void qpdf_silence_errors(qpdf_data documento)
{
    if (const Qpdf *f = qpdf())
        f->silenceErrors(documento);
}

QPDF_BOOL qpdf_has_error(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->hasError(documento) : QPDF_TRUE;
}

qpdf_error qpdf_get_error(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->getError(documento) : nullptr;
}

char const *qpdf_get_error_full_text(qpdf_data documento, qpdf_error error)
{
    if (const Qpdf *f = qpdf())
        return f->getErrorFullText(documento, error);
    static const QByteArray motivo = BibliotecaQpdf().motivo().toLocal8Bit();
    return motivo.constData();
}

QPDF_ERROR_CODE qpdf_empty_pdf(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->emptyPdf(documento) : QPDF_ERRORS;
}

QPDF_ERROR_CODE qpdf_read(qpdf_data documento, char const *fichero, char const *clave)
{
    const Qpdf *f = qpdf();
    return f ? f->read(documento, fichero, clave) : QPDF_ERRORS;
}

int qpdf_get_num_pages(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->getNumPages(documento) : -1;
}

qpdf_oh qpdf_get_page_n(qpdf_data documento, size_t indice)
{
    const Qpdf *f = qpdf();
    return f ? f->getPageN(documento, indice) : 0;
}

QPDF_ERROR_CODE qpdf_add_page(qpdf_data documento, qpdf_data origen, qpdf_oh pagina, QPDF_BOOL primera)
{
    const Qpdf *f = qpdf();
    return f ? f->addPage(documento, origen, pagina, primera) : QPDF_ERRORS;
}

QPDF_ERROR_CODE qpdf_init_write_memory(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->initWriteMemory(documento) : QPDF_ERRORS;
}

QPDF_ERROR_CODE qpdf_write(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->write(documento) : QPDF_ERRORS;
}

size_t qpdf_get_buffer_length(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->getBufferLength(documento) : 0;
}

unsigned char const *qpdf_get_buffer(qpdf_data documento)
{
    const Qpdf *f = qpdf();
    return f ? f->getBuffer(documento) : nullptr;
}

} // extern "C"
