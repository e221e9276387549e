#pragma once
#include "platform/base/Gancho.h"
#include "platform/report/PreparedReport.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

// Where reports find a printer for a job. The main window's printer service installs
// itself; tests install a recorder.
namespace plat {

class PrinterProvider
{
public:
    virtual ~PrinterProvider() = default;
    // A printer ready for a job with these settings; nullptr when there is none.
    virtual std::unique_ptr<QPrinter> printerFor(const ReportPrinterSettings &settings) = 0;
};

// The default: the output file as a PDF writer, or the named printer (else the system's
// default), copies and automatic source.
class SystemPrinterProvider : public PrinterProvider
{
public:
    std::unique_ptr<QPrinter> printerFor(const ReportPrinterSettings &settings) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        if (!settings.outputFile.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(settings.outputFile);
            return printer;
        }
        if (!settings.printerName.isEmpty())
            printer->setPrinterName(settings.printerName);
        if (!printer->isValid())
            return nullptr;
        printer->setCopyCount(qMax(1, settings.copies));
        printer->setPaperSource(settings.outputBin < 0 ? QPrinter::Auto
                                                       : QPrinter::PaperSource(settings.outputBin));
        return printer;
    }
};

// The provider the program installs (the main window's printer service); none at first, and
// then the system's printers serve.
inline Gancho<PrinterProvider *> &printerProviderHook()
{
    static Gancho<PrinterProvider *> hook(nullptr);
    return hook;
}

inline PrinterProvider &printerProvider()
{
    static SystemPrinterProvider system;
    PrinterProvider *installed = printerProviderHook().valor();
    return installed ? *installed : system;
}

// Installs a provider (not owned) for the life of this object; the previous one comes back.
class ScopedPrinterProvider : public Gancho<PrinterProvider *>::Instalacion
{
public:
    explicit ScopedPrinterProvider(PrinterProvider &provider) : Instalacion(printerProviderHook(), &provider) {}
};

} // namespace plat
