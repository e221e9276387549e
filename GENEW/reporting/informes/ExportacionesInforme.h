#pragma once
#include "GENEW/reporting/informes/PaginasGuardadas.h"
#include "GENEW/reporting/informes/PaginasInforme.h"
#include "platform/report/PreparedReport.h"

#include <QByteArray>
#include <QVector>

// Export filters over generated pages, UTF-8 with CR LF line ends:
// - text: each row of texts one line, one character per 8 page pixels, a form feed
//   between pages;
// - CSV: one record per printed band with texts, its values left to right (the lines of one
//   control are one value), RFC 4180 quoting; the page header only from page 1, no page
//   footers;
// - HTML: one document, each page a block of absolutely placed texts in their fonts, a page
//   break between pages.
// Texts drawn on pictures take part, in reading order.

// A text of a band with its place on the page.
struct TextoSituado
{
    QString texto;
    QRectF caja;
    QFont fuente;
    QColor color;
    int control = -1;    // texts of one control share it; picture texts have their own
};

// The band's texts: its text lines and the texts drawn on its pictures, in reading order
// (top to bottom, then left to right).
QVector<TextoSituado> textosDeBanda(const BandaImpresa &banda);

QByteArray exportarTexto(const PaginasGuardadas &paginas);
QByteArray exportarCSV(const PaginasGuardadas &paginas);
QByteArray exportarHTML(const PaginasGuardadas &paginas);

// Writes the export to the file; false when it cannot be written.
bool grabarExportacion(plat::ReportExport formato, const PaginasGuardadas &paginas, const QString &fichero);
