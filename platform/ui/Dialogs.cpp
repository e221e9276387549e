#include "platform/ui/Dialogs.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

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
        result << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return result.join(QStringLiteral(";;"));
}

bool OpenDialog::Execute()
{
    if (script())
        return script()(this);
    const QString dir = InitialDir.isEmpty() ? FileName : InitialDir;
    if (MultiSelect) {
        Files = QFileDialog::getOpenFileNames(nullptr, Title, dir, qtFilter(Filter));
        FileName = Files.value(0);
        return !Files.isEmpty();
    }
    const QString chosen = QFileDialog::getOpenFileName(nullptr, Title, dir, qtFilter(Filter));
    if (chosen.isEmpty())
        return false;
    FileName = chosen;
    Files = QStringList{chosen};
    return true;
}

bool SaveDialog::Execute()
{
    if (script())
        return script()(this);
    const QString dir = InitialDir.isEmpty() ? FileName : InitialDir + QLatin1Char('/') + FileName;
    QString chosen = QFileDialog::getSaveFileName(nullptr, Title, dir, qtFilter(Filter));
    if (chosen.isEmpty())
        return false;
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
    const QFont chosen = QFontDialog::getFont(&ok, Font);
    if (ok)
        Font = chosen;
    return ok;
}

bool ColorDialog::Execute()
{
    if (script())
        return script()(this);
    const QColor chosen = QColorDialog::getColor(toQColor(Color));
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
    QPrintDialog dialog(&sharedPrinter());
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, FromPage > 0);
    if (FromPage > 0)
        dialog.setFromTo(FromPage, ToPage);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    PrinterName = sharedPrinter().printerName();
    Copies = sharedPrinter().copyCount();
    Landscape = sharedPrinter().pageLayout().orientation() == QPageLayout::Landscape;
    FromPage = dialog.fromPage();
    ToPage = dialog.toPage();
    return true;
}

bool PrinterSetupDialog::Execute()
{
    if (script())
        return script()(this);
    QPageSetupDialog dialog(&sharedPrinter());
    return dialog.exec() == QDialog::Accepted;
}

bool FolderDialog::Execute()
{
    if (script())
        return script()(this);
    QString chosen = QFileDialog::getExistingDirectory(nullptr, Title, Folder);
    if (chosen.isEmpty())
        return false;
    if (!chosen.endsWith(QLatin1Char('/')))
        chosen += QLatin1Char('/');
    Folder = chosen;
    return true;
}

} // namespace plat
