#pragma once
#include "platform/ui/Colors.h"

#include <QFont>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QPrinter;

// The common dialogs: each Execute() shows the system's dialog modally and answers true
// when the user accepted it. Tests and unattended runs install a script that answers for
// the person (fills in the dialog's values and returns the answer) so that nothing blocks.
namespace plat {

// Called with the dialog object instead of showing it; nullptr restores real dialogs.
void setDialogScript(std::function<bool(QObject *dialog)> script);

class OpenDialog : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString FileName MEMBER FileName)
    Q_PROPERTY(QString Title MEMBER Title)
    Q_PROPERTY(int FilterIndex MEMBER FilterIndex)
public:
    explicit OpenDialog(QObject *parent = nullptr) : QObject(parent) {}
    QString FileName;
    QStringList Files;          // every file chosen with MultiSelect
    QString Filter;             // the class library's "Texto|*.txt|Todos|*.*"
    int FilterIndex = 1;        // the filter offered first, and after Execute the one chosen (from 1)
    QString InitialDir;
    QString DefaultExt;
    QString Title;
    bool MultiSelect = false;
    virtual bool Execute();
    // The filter in Qt's form ("Texto (*.txt);;Todos (*.*)").
    static QString qtFilter(const QString &filter);

protected:
    // The Qt filter entry of FilterIndex; and FilterIndex set from the entry chosen.
    QString selectedQtFilter() const;
    void setFilterIndexFrom(const QString &qtEntry);
};

class SaveDialog : public OpenDialog
{
    Q_OBJECT
public:
    explicit SaveDialog(QObject *parent = nullptr) : OpenDialog(parent) {}
    bool Execute() override;
};

// A file dialog shared by several commands gets its title, filter, chosen filter and default
// extension back when this goes, so that one command's settings never show in the next one.
class FileDialogSettingsKept
{
public:
    explicit FileDialogSettingsKept(OpenDialog &dialog)
        : dialog_(dialog), title_(dialog.Title), filter_(dialog.Filter), filterIndex_(dialog.FilterIndex),
          defaultExt_(dialog.DefaultExt)
    {
    }
    ~FileDialogSettingsKept()
    {
        dialog_.Title = title_;
        dialog_.Filter = filter_;
        dialog_.FilterIndex = filterIndex_;
        dialog_.DefaultExt = defaultExt_;
    }
    FileDialogSettingsKept(const FileDialogSettingsKept &) = delete;
    FileDialogSettingsKept &operator=(const FileDialogSettingsKept &) = delete;

private:
    OpenDialog &dialog_;
    QString title_;
    QString filter_;
    int filterIndex_;
    QString defaultExt_;
};

class FontDialog : public QObject
{
    Q_OBJECT
public:
    explicit FontDialog(QObject *parent = nullptr) : QObject(parent) {}
    QFont Font;
    bool Execute();
};

class ColorDialog : public QObject
{
    Q_OBJECT
public:
    explicit ColorDialog(QObject *parent = nullptr) : QObject(parent) {}
    int Color = clBlack;
    bool Execute();
};

// The print and printer set-up dialogs work on one printer object, kept for the run.
QPrinter &sharedPrinter();

class PrintDialog : public QObject
{
    Q_OBJECT
public:
    explicit PrintDialog(QObject *parent = nullptr) : QObject(parent) {}
    // What the user chose, read after an accepted Execute (a script fills them in). Set
    // before Execute they are what the dialog offers: a PrinterName of an installed printer,
    // the copies, the orientation and, when FromPage is set, the pages; a range is always
    // offered, and FromPage 0 after Execute means every page.
    QString PrinterName;
    // The PDF file chosen in place of a printer ("Imprimir a archivo (PDF)"); empty when the
    // job goes to PrinterName.
    QString OutputFileName;
    int Copies = 1;
    bool Landscape = false;
    int FromPage = 0;
    int ToPage = 0;
    bool Execute();
};

class PrinterSetupDialog : public QObject
{
    Q_OBJECT
public:
    explicit PrinterSetupDialog(QObject *parent = nullptr) : QObject(parent) {}
    bool Execute();
};

// Asks for a folder; on acceptance Folder holds it (with a closing "/").
class FolderDialog : public QObject
{
    Q_OBJECT
public:
    explicit FolderDialog(QObject *parent = nullptr) : QObject(parent) {}
    QString Title;
    QString Folder;
    bool Execute();
};

} // namespace plat
