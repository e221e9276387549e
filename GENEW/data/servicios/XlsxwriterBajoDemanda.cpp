// The libxlsxwriter functions of the Excel export, loaded with the library the first time one
// of them is called: a start does not load it nor the zip and compression libraries it brings.
// Without the library a workbook cannot be created (no handle) and any other call answers the
// library's own error for a missing argument.
#include "GENEW/data/servicios/XlsxwriterBajoDemanda.h"

#include <xlsxwriter.h>

namespace {

struct Xlsxwriter
{
    decltype(&workbook_new_opt) workbookNewOpt;
    decltype(&workbook_add_worksheet) workbookAddWorksheet;
    decltype(&workbook_add_format) workbookAddFormat;
    decltype(&workbook_close) workbookClose;
    decltype(&format_set_num_format) formatSetNumFormat;
    decltype(&format_set_align) formatSetAlign;
    decltype(&format_set_bold) formatSetBold;
    decltype(&worksheet_set_column) worksheetSetColumn;
    decltype(&worksheet_write_number) worksheetWriteNumber;
    decltype(&worksheet_write_string) worksheetWriteString;
    decltype(&lxw_strerror) strerror;
};

bool resolver(plat::BibliotecaBajoDemanda &b, Xlsxwriter &f)
{
    return b.resolver("workbook_new_opt", f.workbookNewOpt) && b.resolver("workbook_add_worksheet", f.workbookAddWorksheet)
           && b.resolver("workbook_add_format", f.workbookAddFormat) && b.resolver("workbook_close", f.workbookClose)
           && b.resolver("format_set_num_format", f.formatSetNumFormat) && b.resolver("format_set_align", f.formatSetAlign)
           && b.resolver("format_set_bold", f.formatSetBold) && b.resolver("worksheet_set_column", f.worksheetSetColumn)
           && b.resolver("worksheet_write_number", f.worksheetWriteNumber)
           && b.resolver("worksheet_write_string", f.worksheetWriteString) && b.resolver("lxw_strerror", f.strerror);
}

plat::FuncionesBajoDemanda<Xlsxwriter> &biblioteca()
{
    static plat::FuncionesBajoDemanda<Xlsxwriter> b("libxlsxwriter.so.4", resolver);
    return b;
}

const Xlsxwriter *xlsx()
{
    return biblioteca()();
}

} // namespace

plat::BibliotecaBajoDemanda &BibliotecaXlsxwriter()
{
    return biblioteca();
}

extern "C" {

lxw_workbook *workbook_new_opt(const char *fichero, lxw_workbook_options *opciones)
{
    const Xlsxwriter *f = xlsx();
    return f ? f->workbookNewOpt(fichero, opciones) : nullptr;
}

lxw_worksheet *workbook_add_worksheet(lxw_workbook *libro, const char *nombre)
{
    const Xlsxwriter *f = xlsx();
    return f ? f->workbookAddWorksheet(libro, nombre) : nullptr;
}

lxw_format *workbook_add_format(lxw_workbook *libro)
{
    const Xlsxwriter *f = xlsx();
    return f ? f->workbookAddFormat(libro) : nullptr;
}

lxw_error workbook_close(lxw_workbook *libro)
{
    const Xlsxwriter *f = xlsx();
    return f ? f->workbookClose(libro) : LXW_ERROR_NULL_PARAMETER_IGNORED;
}

void format_set_num_format(lxw_format *formato, const char *numero)
{
    if (const Xlsxwriter *f = xlsx())
        f->formatSetNumFormat(formato, numero);
}

void format_set_align(lxw_format *formato, uint8_t alineacion)
{
    if (const Xlsxwriter *f = xlsx())
        f->formatSetAlign(formato, alineacion);
}

void format_set_bold(lxw_format *formato)
{
    if (const Xlsxwriter *f = xlsx())
        f->formatSetBold(formato);
}

lxw_error worksheet_set_column(lxw_worksheet *hoja, lxw_col_t primera, lxw_col_t ultima, double ancho, lxw_format *formato)
{
    const Xlsxwriter *f = xlsx();
    return f ? f->worksheetSetColumn(hoja, primera, ultima, ancho, formato) : LXW_ERROR_NULL_PARAMETER_IGNORED;
}

lxw_error worksheet_write_number(lxw_worksheet *hoja, lxw_row_t fila, lxw_col_t columna, double numero, lxw_format *formato)
{
    const Xlsxwriter *f = xlsx();
    return f ? f->worksheetWriteNumber(hoja, fila, columna, numero, formato) : LXW_ERROR_NULL_PARAMETER_IGNORED;
}

lxw_error worksheet_write_string(lxw_worksheet *hoja, lxw_row_t fila, lxw_col_t columna, const char *texto,
                                 lxw_format *formato)
{
    const Xlsxwriter *f = xlsx();
    return f ? f->worksheetWriteString(hoja, fila, columna, texto, formato) : LXW_ERROR_NULL_PARAMETER_IGNORED;
}

char *lxw_strerror(lxw_error codigo)
{
    if (const Xlsxwriter *f = xlsx())
        return f->strerror(codigo);
    // The library's texts live as long as the program; so does this one.
    static QByteArray motivo = BibliotecaXlsxwriter().motivo().toUtf8();
    return motivo.data();
}

} // extern "C"
