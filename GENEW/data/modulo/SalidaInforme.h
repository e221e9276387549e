#pragma once
#include "platform/base/Gancho.h"
#include "platform/report/PreparedReport.h"

#include <QString>
#include <QStringList>
#include <functional>

// Where a finished report leaves the program (TModuloDatos::ImprimirInforme): a PDF file,
// the first installed printer whose name contains the destination, or the current printer
// (through the print dialog unless the general parameters say not to ask).

struct DestinoInforme
{
    enum Tipo { Pdf, ImpresoraNombrada, ImpresoraActual };
    Tipo tipo = ImpresoraActual;
    QString valor;   // the PDF path, or the text a printer's name must contain

    // "PDF:" + path is a PDF file; any other non-empty text names a printer; empty is the
    // current printer.
    static DestinoInforme de(const QString &destino);
};

// The installed printers in their list order, and printing on them. Tests replace it.
class ServicioImpresorasInforme
{
public:
    virtual ~ServicioImpresorasInforme() = default;
    virtual QStringList nombres() const = 0;
    // Prints the report on the printer of its settings.
    virtual void imprimir(plat::PreparedReport &informe) = 0;
};

// The system's printers (CUPS) in QPrinterInfo's order; the report prints itself.
class ServicioImpresorasInformeSistema : public ServicioImpresorasInforme
{
public:
    QStringList nombres() const override;
    void imprimir(plat::PreparedReport &informe) override { informe.print(); }
};

// The printer service in force: the system's unless one is installed.
Gancho<ServicioImpresorasInforme *> &ganchoServicioImpresoras();
ServicioImpresorasInforme &servicioImpresoras();

// Installs a printer service (not owned) for the life of this object.
class ServicioImpresorasInstalado : public Gancho<ServicioImpresorasInforme *>::Instalacion
{
public:
    explicit ServicioImpresorasInstalado(ServicioImpresorasInforme &servicio)
        : Instalacion(ganchoServicioImpresoras(), &servicio)
    {
    }
};

// The paper text of the PDF server for a report: "A4", "A3" or "A5", with "-Apaisado" for
// a landscape page.
QString PapelPDF(const plat::PreparedReport &informe);

// The report as a PDF file: the PDF server draws its pages straight into the file (a page
// recorded again as a picture, written and read back would cost as much as the report's
// generation). A report without pages writes nothing. A server failure is shown as a
// warning with its reason.
void EscribirInformePDF(plat::PreparedReport &informe, const QString &fichero);

// Prints the report on the first printer (in list order) whose name contains nombre, case
// counting; nothing, and no message, when none does. Returns whether it printed.
bool ImprimirEnImpresoraNombrada(plat::PreparedReport &informe, const QString &nombre,
                                 ServicioImpresorasInforme &impresoras);
