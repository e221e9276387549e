#pragma once
#include "GENEW/reporting/informes/BandasInforme.h"
#include "GENEW/reporting/informes/ImpresoraInforme.h"
#include "platform/data/DataSet.h"
#include "platform/report/PreparedReport.h"
#include "platform/ui/Event.h"

#include <QFont>
#include <QObject>
#include <QTimer>
#include <memory>

class GeneracionInforme;

// The paper of a report: size, orientation and margins in millimetres.
class PaginaInforme : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int PaperSize READ papel WRITE ponerPapel)
    Q_PROPERTY(int Orientation READ orientacion WRITE ponerOrientacion)
    Q_PROPERTY(double LeftMargin MEMBER LeftMargin)
    Q_PROPERTY(double RightMargin MEMBER RightMargin)
    Q_PROPERTY(double TopMargin MEMBER TopMargin)
    Q_PROPERTY(double BottomMargin MEMBER BottomMargin)
public:
    using QObject::QObject;
    plat::ReportPaper PaperSize = plat::ReportPaper::A4;
    QPageLayout::Orientation Orientation = QPageLayout::Portrait;
    double LeftMargin = 10, RightMargin = 10, TopMargin = 10, BottomMargin = 10;

    int papel() const { return int(PaperSize); }
    void ponerPapel(int p) { PaperSize = plat::ReportPaper(p); }
    int orientacion() const { return int(Orientation); }
    void ponerOrientacion(int o) { Orientation = QPageLayout::Orientation(o); }

    QSizeF tamanio() const;      // the sheet in page pixels
    QRectF imprimible() const;   // inside the margins
};

// A banded report over a dataset. Its bands and their controls are children created by the
// window that owns it; Prepare generates the pages, Preview shows them while they are being
// generated (in slices on the event loop), Print sends them to a printer.
class Informe : public QObject, public plat::PreparedReport
{
    Q_OBJECT
    Q_PROPERTY(plat::DataSet *DataSet MEMBER DataSet)
    Q_PROPERTY(QString ReportTitle MEMBER ReportTitle)
    Q_PROPERTY(PaginaInforme *Page READ page CONSTANT)
    Q_PROPERTY(ImpresoraInforme *QRPrinter READ impresora CONSTANT)
    Q_PROPERTY(QFont Font MEMBER Font)
    Q_PROPERTY(bool FirstPageHeader MEMBER FirstPageHeader)
    Q_PROPERTY(bool LastPageFooter MEMBER LastPageFooter)
    Q_PROPERTY(bool PrintIfEmpty MEMBER PrintIfEmpty)

public:
    explicit Informe(QObject *parent = nullptr);
    ~Informe() override;

    plat::DataSet *DataSet = nullptr;
    QString ReportTitle;
    QFont Font;
    bool FirstPageHeader = true;   // the page header also prints on the first page
    bool LastPageFooter = true;    // the page footer also prints on the last page
    bool PrintIfEmpty = true;      // without records, a report still prints its pages
    plat::ReportPrinterSettings PrinterSettings;

    // Before the run; clearing PrintReport cancels it (no pages).
    plat::Event<void(QObject *Sender, bool &PrintReport)> BeforePrint;
    // Shows the preview: the handler opens a window whose preview control shows QRPrinter.
    plat::Event<void(QObject *Sender)> OnPreview;
    // The run has ended: finished, aborted or cancelled.
    plat::Event<void(QObject *Sender)> AfterPrint;

    PaginaInforme *page() const { return pagina_; }
    ImpresoraInforme *impresora() const { return impresora_; }

    // Generates every page now (raises gp::Error for an expression it cannot read).
    Q_INVOKABLE void Prepare();
    // Generates in slices while the preview shows the pages; returns when the preview has
    // been closed and the run has ended. The window that owns the report stays until then.
    // A report that prints nothing (no records, PrintIfEmpty off) opens no preview.
    Q_INVOKABLE void Preview();
    // Generates the pages again for the printer of PrinterSettings and prints them.
    Q_INVOKABLE void Print() { print(); }

    // The bands by kind, in creation order.
    QList<BandaInforme *> bandas() const;
    BandaInforme *banda(TipoBanda tipo) const;
    bool generando() const { return bool(generacion_); }

    // plat::PreparedReport
    plat::ReportPaper paper() const override { return pagina_->PaperSize; }
    QPageLayout::Orientation orientation() const override { return pagina_->Orientation; }
    QSizeF pageSize() const override { return pagina_->tamanio(); }
    bool prepared() const override { return preparado_; }
    void prepare() override { Prepare(); }
    int pageCount() const override { return impresora_->pageCount(); }
    void drawPage(int n, QPainter &painter) const override;
    QByteArray pageFile(int n) const override;
    bool drawPageFile(const QByteArray &fichero, QPainter &painter) const override;
    plat::ReportPrinterSettings &printerSettings() override { return PrinterSettings; }
    void print() override;
    bool exportTo(plat::ReportExport formato, const QString &fichero) const override;

private:
    void empezarGeneracion();
    void avanzarGeneracion();
    void terminarGeneracion();

    PaginaInforme *pagina_;
    ImpresoraInforme *impresora_;
    std::unique_ptr<GeneracionInforme> generacion_;
    QTimer *rodajas_;
    bool preparado_ = false;
};

Q_DECLARE_METATYPE(plat::DataSet *)
