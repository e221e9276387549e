#pragma once
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QByteArray>
#include <QSizeF>
#include <QString>
#include <optional>

// A report as the program's output services see it: generated pages in 96-dpi page pixels
// that can be drawn on any painter, written as page files, printed on the report's own
// printer settings or exported.
namespace plat {

// Page units of every report page: pixels of a 96-dpi page.
constexpr double reportPageDpi = 96.0;

enum class ReportPaper { A4, A3, A5 };
enum class ReportExport { Text, Csv, Html };

// The printer settings a print dialog fills in and a print uses. A first or last page of 0
// means "from the first" or "to the last".
struct ReportPrinterSettings
{
    QString printerName;   // empty: the current printer
    QString outputFile;    // not empty: the job is written to this PDF file, not printed
    int copies = 1;
    // Chosen for printing (a print dialog): the report is laid out again on it; none keeps
    // the report page's.
    std::optional<QPageLayout::Orientation> orientation;
    int firstPage = 0;
    int lastPage = 0;
    int outputBin = -1;    // -1: the printer's automatic source
};

class PreparedReport
{
public:
    virtual ~PreparedReport() = default;

    virtual ReportPaper paper() const = 0;
    virtual QPageLayout::Orientation orientation() const = 0;
    // Size of one page in page units (the whole sheet, margins included).
    virtual QSizeF pageSize() const = 0;

    // Whether pages have been generated; prepare() generates them (again) to completion.
    virtual bool prepared() const = 0;
    virtual void prepare() = 0;
    virtual int pageCount() const = 0;

    // Draws page n (from 1) on an active painter whose origin is the sheet's top-left
    // corner; page units are mapped onto the device by its logical resolution.
    virtual void drawPage(int n, QPainter &painter) const = 0;
    // Page n as a page file: its drawing in page units, to be stored and drawn later, on any
    // device, by drawPageFile (which maps page units as drawPage does, nothing more).
    virtual QByteArray pageFile(int n) const = 0;
    // Draws a page file like drawPage; false, and nothing drawn, when the bytes are not one.
    virtual bool drawPageFile(const QByteArray &file, QPainter &painter) const = 0;

    virtual ReportPrinterSettings &printerSettings() = 0;
    // Generates the report for the printer of its settings and prints it (copies and page
    // range included). The printer comes from installPrinterProvider().
    virtual void print() = 0;
    // Writes the generated pages through one of the export filters; false when the file
    // could not be written.
    virtual bool exportTo(ReportExport format, const QString &fileName) const = 0;
};

// Maps page units onto the painter's device by its logical resolution.
inline void mapPageUnits(QPainter &painter)
{
    const QPaintDevice *device = painter.device();
    painter.scale(device->logicalDpiX() / reportPageDpi, device->logicalDpiY() / reportPageDpi);
}

inline QPageSize::PageSizeId pageSizeId(ReportPaper paper)
{
    switch (paper) {
    case ReportPaper::A3: return QPageSize::A3;
    case ReportPaper::A5: return QPageSize::A5;
    case ReportPaper::A4: break;
    }
    return QPageSize::A4;
}

} // namespace plat
