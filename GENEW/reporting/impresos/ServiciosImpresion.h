#pragma once
#include "platform/base/Gancho.h"
#include <QByteArray>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

// What the print engine reaches outside itself: printers, the PDF server, the page preview,
// the shared listing-cancel flag. Each has a default over the system; the main window, the
// preview and tests install their own for a scope.

// The printer chosen in the print dialog, with the dialog's copies and duplex choice, or the
// PDF file chosen in its place.
struct EleccionImpresora
{
    QString nombre;
    int copias = 1;
    bool duplex = false;
    QString fichero;   // not empty: the job is written to this file, not printed
};

class ServicioImpresoras
{
public:
    virtual ~ServicioImpresoras() = default;
    virtual QString predeterminada() = 0;
    virtual QStringList impresoras() = 0;
    // The print dialog over the proposed printer: the printer, or the file, chosen; none when
    // the user cancels it.
    virtual std::optional<EleccionImpresora> dialogo(const QString &propuesta) = 0;
    // A printer ready for a drawn job; nullptr when it cannot be had. Nothing reaches the
    // printer or the file until the job is sent, so a run that fails half-way prints nothing.
    virtual std::unique_ptr<QPrinter> abrir(const EleccionImpresora &eleccion, bool apaisado) = 0;
    // The job drawn on that printer, ended: sent to the printer (or written to the file
    // chosen) under the printer's document name as its title (an error text, empty on
    // success), or thrown away.
    virtual QString enviarTrabajo(const EleccionImpresora &eleccion, QPrinter &impresora) = 0;
    virtual void descartarTrabajo(QPrinter &impresora) = 0;
    // Sends bytes as one raw job of that title (or writes them to the file chosen); the
    // answer is an error text, empty on success.
    virtual QString enviarBruto(const EleccionImpresora &eleccion, const QByteArray &datos, const QString &titulo) = 0;
    // Prints a file by its type ("DOC", "PDF"...) as a job of that title: an attached or a
    // merged Word document. The answer is why it did not print, empty when it did.
    virtual QString imprimirDocumento(const QString &fichero, const QString &impresora, const QString &tipo,
                                      const QString &titulo) = 0;
};

// The system's printers through Qt and CUPS: the platform's print dialog; a drawn job is a
// PDF spool file handed to "lp" with its title, copies and sides (or moved to the file
// chosen), a raw one goes with "-o raw"; a Word document is converted to PDF by the office
// suite and goes to "lp" like any other document.
class ServicioImpresorasSistema : public ServicioImpresoras
{
public:
    QString predeterminada() override;
    QStringList impresoras() override;
    std::optional<EleccionImpresora> dialogo(const QString &propuesta) override;
    std::unique_ptr<QPrinter> abrir(const EleccionImpresora &eleccion, bool apaisado) override;
    QString enviarTrabajo(const EleccionImpresora &eleccion, QPrinter &impresora) override;
    void descartarTrabajo(QPrinter &impresora) override;
    QString enviarBruto(const EleccionImpresora &eleccion, const QByteArray &datos, const QString &titulo) override;
    QString imprimirDocumento(const QString &fichero, const QString &impresora, const QString &tipo,
                              const QString &titulo) override;
};

// The PDF server: Word documents to PDF, and several files merged into one. Each answers an
// error text, empty on success. (The engine draws its own pages into a PDF writer.)
class ServidorPDF
{
public:
    virtual ~ServidorPDF() = default;
    virtual QString convertirWord(const QString &documento, const QString &fichero) = 0;
    virtual QString unir(const QStringList &ficheros, const QString &destino) = 0;
};

// LibreOffice headless for Word documents and qpdf for merges.
class ServidorPDFSistema : public ServidorPDF
{
public:
    QString convertirWord(const QString &documento, const QString &fichero) override;
    QString unir(const QStringList &ficheros, const QString &destino) override;
};

class TfGENELIMP;

// The services in force; a scope installs its own and gives the previous back.
struct ServiciosImpresion
{
    ServicioImpresoras *impresoras = nullptr;
    ServidorPDF *pdf = nullptr;
    // Takes the pages of a screen run in place of the engine's own preview (a caller that
    // only wants the pages); none shows the preview.
    std::function<void(TfGENELIMP &)> vistaPrevia;
    // The shared listing-cancel flag of the form framework.
    bool *listadoCancelado = nullptr;
};

Gancho<ServiciosImpresion> &ganchoServiciosImpresion();
const ServiciosImpresion &serviciosImpresion();
ServicioImpresoras &impresorasMotor();
ServidorPDF &servidorPDFMotor();
bool &ListadoCanceladoMotor();

// Installs for its life what the scope gives; the rest stays as installed.
class ServiciosImpresionInstalados : public Gancho<ServiciosImpresion>::Instalacion
{
public:
    explicit ServiciosImpresionInstalados(const ServiciosImpresion &servicios);
};
