#pragma once
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

// The default: the named printer (else the system's default), copies and automatic source.
class SystemPrinterProvider : public PrinterProvider
{
public:
    std::unique_ptr<QPrinter> printerFor(const ReportPrinterSettings &settings) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
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

inline PrinterProvider *&installedPrinterProvider()
{
    static PrinterProvider *provider = nullptr;
    return provider;
}

inline PrinterProvider &printerProvider()
{
    static SystemPrinterProvider system;
    PrinterProvider *installed = installedPrinterProvider();
    return installed ? *installed : system;
}

// Installs a provider (not owned); nullptr restores the system's. Returns the previous one.
inline PrinterProvider *installPrinterProvider(PrinterProvider *provider)
{
    PrinterProvider *previous = installedPrinterProvider();
    installedPrinterProvider() = provider;
    return previous;
}

class ScopedPrinterProvider
{
public:
    explicit ScopedPrinterProvider(PrinterProvider &provider) : previous_(installPrinterProvider(&provider)) {}
    ~ScopedPrinterProvider() { installPrinterProvider(previous_); }
    ScopedPrinterProvider(const ScopedPrinterProvider &) = delete;
    ScopedPrinterProvider &operator=(const ScopedPrinterProvider &) = delete;

private:
    PrinterProvider *previous_;
};

} // namespace plat
