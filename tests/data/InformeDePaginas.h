#pragma once
#include "platform/report/PreparedReport.h"

#include <QFont>
#include <QStringList>

// A report of fixed pages that stands in for the report library: each page draws its text
// in page units, and printing is counted.
class InformeDePaginas : public plat::PreparedReport
{
public:
    explicit InformeDePaginas(QStringList textos, plat::ReportPaper papel = plat::ReportPaper::A4,
                           QPageLayout::Orientation orientacion = QPageLayout::Landscape)
        : textos_(std::move(textos)), papel_(papel), orientacion_(orientacion)
    {
    }

    plat::ReportPaper paper() const override { return papel_; }
    QPageLayout::Orientation orientation() const override { return orientacion_; }
    QSizeF pageSize() const override
    {
        const QSizeF mm = QPageSize(plat::pageSizeId(papel_)).size(QPageSize::Millimeter);
        const QSizeF px = mm * plat::reportPageDpi / 25.4;
        return orientacion_ == QPageLayout::Landscape ? px.transposed() : px;
    }
    bool prepared() const override { return preparado_; }
    void prepare() override
    {
        preparado_ = true;
        ++preparaciones;
    }
    int pageCount() const override { return preparado_ ? int(textos_.size()) : 0; }
    void drawPage(int n, QPainter &painter) const override
    {
        painter.save();
        plat::mapPageUnits(painter);
        QFont fuente(QStringLiteral("DejaVu Sans"));
        fuente.setPixelSize(21);   // in page units, as the report library's fonts
        painter.setFont(fuente);
        painter.drawRect(QRectF(QPointF(20, 20), pageSize() - QSizeF(40, 40)));
        painter.drawText(QPointF(60, 100), textos_.value(n - 1));
        painter.restore();
    }
    QByteArray pageFile(int) const override { return {}; }
    bool drawPageFile(const QByteArray &, QPainter &) const override { return false; }
    plat::ReportPrinterSettings &printerSettings() override { return ajustes_; }
    void print() override { ++impresiones; }
    bool exportTo(plat::ReportExport, const QString &) const override { return false; }

    int preparaciones = 0;
    int impresiones = 0;

private:
    QStringList textos_;
    plat::ReportPaper papel_;
    QPageLayout::Orientation orientacion_;
    bool preparado_ = false;
    plat::ReportPrinterSettings ajustes_;
};
