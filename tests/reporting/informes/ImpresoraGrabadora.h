#pragma once
#include "platform/report/ReportPrinter.h"

#include <QList>

namespace gptest {

// Takes every print job into a PDF file and remembers the settings it was given.
class ImpresoraGrabadora : public plat::PrinterProvider
{
public:
    explicit ImpresoraGrabadora(QString fichero) : fichero_(std::move(fichero)) {}
    std::unique_ptr<QPrinter> printerFor(const plat::ReportPrinterSettings &ajustes) override
    {
        pedidos << ajustes;
        auto impresora = std::make_unique<QPrinter>(QPrinter::HighResolution);
        impresora->setOutputFormat(QPrinter::PdfFormat);
        impresora->setOutputFileName(fichero_);
        return impresora;
    }
    QList<plat::ReportPrinterSettings> pedidos;

private:
    QString fichero_;
};

} // namespace gptest
