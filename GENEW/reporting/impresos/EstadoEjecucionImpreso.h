#pragma once
#include <QSize>
#include <QString>
#include <QtGlobal>

// Where the pages of a run go: page bitmaps (screen preview and PDF) or the printer's canvas.
enum class DestinoImpresion { Pantalla, Impresora };

// What the layout reads of the run in progress. The print engine owns it and keeps it up to
// date; the layout reads it to convert positions and writes one thing: reading a layout sets
// the label position past the last label, so that the first document starts a page.
struct EstadoEjecucionImpreso
{
    DestinoImpresion destino = DestinoImpresion::Pantalla;
    bool lineasActivas = false;   // [LINEAS] runs (field commands read the lines table)
    bool pieActivo = false;       // a foot section runs
    qint64 lineaEnPagina = 1;     // number of the current line on the page, from 1
    qint64 lineaTextoImpresora = 0;   // the printer's current line in text mode
    qint64 posicionEtiqueta = 1;  // position of the current document's label, from 1
    QString codigoImpresoPeticion;    // the layout the request names
    // The printer's physical size in pixels, read once per run.
    int anchoFisicoImpresora = 0;
    int altoFisicoImpresora = 0;
    // The page bitmap in force: TamanoPaginaPantalla on screen, the PDF service's size for PDF.
    QSize tamanoPagina;
};
