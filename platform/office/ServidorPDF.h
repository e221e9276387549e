#pragma once
#include <QPageLayout>
#include <QString>
#include <functional>

class QPainter;

// The PDF server: one PDF file made from numbered page files.
//
// listaArchivos: the PDF's path, "|", and the common prefix of the page files; the pages are
// prefix + "1.pic", prefix + "2.pic", ... (vector pictures written by QPicture::save), taken
// in order up to the first number that has no file.
// papel: "A4", "A3" or "A5", with "-Apaisado" for landscape ("A4-Apaisado").
// Each picture is drawn over the whole sheet, scaled from its own resolution, so its texts
// stay texts in the PDF. error (out) is empty on success, else the reason for the user.
// Returns whether the PDF was written.
bool CrearPDFDesdeImagenes(const QString &listaArchivos, const QString &papel, QString &error);

// One PDF file of paginas pages, each drawn by dibujarPagina(n, painter) (n from 1) on a
// painter whose origin is the sheet's top-left corner; papel and error as above. Pages drawn
// straight into the writer keep their marks as drawn, with no picture recorded in between.
bool CrearPDF(const QString &destino, const QString &papel, int paginas,
              const std::function<void(int, QPainter &)> &dibujarPagina, QString &error);

// The pages of a PDF: the sheet, the painter's resolution (0: the writer's own), the title,
// and how each page n (from 1) is drawn on a painter whose origin is the sheet's corner.
struct PaginasPDF
{
    QPageLayout hoja;
    int resolucion = 0;
    QString titulo;
    int cuenta = 0;
    std::function<void(int, QPainter &)> dibujar;
};

// Every PDF of the program is written here, whole or not at all (plat::writeWholeFile): a
// failure leaves a previous file at `destino` as it was. Answers empty when written, else
// the reason for the user.
QString EscribirPDF(const QString &destino, const PaginasPDF &paginas);
