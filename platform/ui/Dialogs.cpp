#include "platform/ui/Dialogs.h"

#include "platform/ui/Form.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace plat {
namespace {

std::function<bool(QObject *)> &script()
{
    static std::function<bool(QObject *)> s;
    return s;
}

} // namespace

void setDialogScript(std::function<bool(QObject *dialog)> s)
{
    script() = std::move(s);
}

QString OpenDialog::qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that already shows its patterns ("Texto (*.TXT)") keeps them once.
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        result << (parts[i].trimmed().endsWith(shown, Qt::CaseInsensitive) ? parts[i].trimmed()
                                                                            : QStringLiteral("%1 %2").arg(parts[i], shown));
    }
    return result.join(QStringLiteral(";;"));
}

QString OpenDialog::selectedQtFilter() const
{
    return qtFilter(Filter).split(QStringLiteral(";;")).value(FilterIndex - 1);
}

void OpenDialog::setFilterIndexFrom(const QString &qtEntry)
{
    const int index = qtFilter(Filter).split(QStringLiteral(";;")).indexOf(qtEntry);
    if (index >= 0)
        FilterIndex = index + 1;
}

bool OpenDialog::Execute()
{
    if (script())
        return script()(this);
    const QString dir = InitialDir.isEmpty() ? FileName : InitialDir;
    QString entry = selectedQtFilter();
    if (MultiSelect) {
        Files = QFileDialog::getOpenFileNames(activeWindowForDialogs(), Title, dir, qtFilter(Filter), &entry);
        FileName = Files.value(0);
        setFilterIndexFrom(entry);
        return !Files.isEmpty();
    }
    const QString chosen = QFileDialog::getOpenFileName(activeWindowForDialogs(), Title, dir, qtFilter(Filter), &entry);
    if (chosen.isEmpty())
        return false;
    setFilterIndexFrom(entry);
    FileName = chosen;
    Files = QStringList{chosen};
    return true;
}

bool SaveDialog::Execute()
{
    if (script())
        return script()(this);
    const QString dir = InitialDir.isEmpty() ? FileName : InitialDir + QLatin1Char('/') + FileName;
    QString entry = selectedQtFilter();
    QString chosen = QFileDialog::getSaveFileName(activeWindowForDialogs(), Title, dir, qtFilter(Filter), &entry);
    if (chosen.isEmpty())
        return false;
    setFilterIndexFrom(entry);
    if (!DefaultExt.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + DefaultExt;
    FileName = chosen;
    return true;
}

bool FontDialog::Execute()
{
    if (script())
        return script()(this);
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, Font, activeWindowForDialogs());
    if (ok)
        Font = chosen;
    return ok;
}

bool ColorDialog::Execute()
{
    if (script())
        return script()(this);
    const QColor chosen = QColorDialog::getColor(toQColor(Color), activeWindowForDialogs());
    if (!chosen.isValid())
        return false;
    Color = fromQColor(chosen);
    return true;
}

QPrinter &sharedPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

bool PrintDialog::Execute()
{
    if (script())
        return script()(this);
    QPrinter &printer = sharedPrinter();
    if (!PrinterName.isEmpty() && QPrinterInfo::availablePrinterNames().contains(PrinterName))
        printer.setPrinterName(PrinterName);
    // The job's orientation and copies are what the dialog offers: a landscape listing stays
    // landscape unless the person turns it.
    printer.setPageOrientation(Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setCopyCount(qMax(1, Copies));
    QPrintDialog dialog(&printer, activeWindowForDialogs());
    // A range is always offered (without the option Qt still lets one be chosen, then prints
    // every page), and every job starts on every page, whatever the previous one chose.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setPrintRange(QAbstractPrintDialog::AllPages);
    if (FromPage > 0)
        dialog.setFromTo(FromPage, qMax(FromPage, ToPage));
    else
        printer.setFromTo(0, 0);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // Printing to a file turns the printer into a PDF writer with no printer's name.
    OutputFileName = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    PrinterName = OutputFileName.isEmpty() ? printer.printerName() : QString();
    Copies = printer.copyCount();
    Landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
    FromPage = dialog.fromPage();
    ToPage = dialog.toPage();
    return true;
}

bool PrinterSetupDialog::Execute()
{
    if (script())
        return script()(this);
    QPageSetupDialog dialog(&sharedPrinter(), activeWindowForDialogs());
    return dialog.exec() == QDialog::Accepted;
}

bool FolderDialog::Execute()
{
    if (script())
        return script()(this);
    QString chosen = QFileDialog::getExistingDirectory(activeWindowForDialogs(), Title, Folder);
    if (chosen.isEmpty())
        return false;
    if (!chosen.endsWith(QLatin1Char('/')))
        chosen += QLatin1Char('/');
    Folder = chosen;
    return true;
}

} // namespace plat
