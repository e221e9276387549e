#pragma once
#include "platform/report/PreparedReport.h"

#include <QImage>
#include <QMarginsF>
#include <QRectF>

// One page holding a picture (a window's image), printed at its size on screen or
// fitted to the printable part of the page with its proportions kept.
class InformeImagen : public plat::PreparedReport
{
public:
    enum class Escala { Original, PaginaCompleta };

    // resolucionPantalla: the dots per inch the picture was taken at.
    InformeImagen(QImage imagen, double resolucionPantalla, Escala escala);

    plat::ReportPaper paper() const override { return plat::ReportPaper::A4; }
    QPageLayout::Orientation orientation() const override;
    QSizeF pageSize() const override;
    bool prepared() const override { return true; }
    void prepare() override {}
    int pageCount() const override { return 1; }
    void drawPage(int n, QPainter &painter) const override;
    QByteArray pageFile(int n) const override;
    bool drawPageFile(const QByteArray &file, QPainter &painter) const override;
    plat::ReportPrinterSettings &printerSettings() override { return ajustes_; }
    // On the printer of the settings, inside that printer's margins.
    void print() override;
    bool exportTo(plat::ReportExport, const QString &) const override { return false; }

    // Where the picture goes on the page, in page units.
    QRectF rectanguloImagen() const;
    // The page less the printer's margins, in page units.
    QRectF areaImprimible() const;

private:
    QImage imagen_;
    double resolucionPantalla_;
    Escala escala_;
    QMarginsF margenes_;
    plat::ReportPrinterSettings ajustes_;
};
