#include "GENEW/reporting/impresos/ServiciosImpresion.h"
#include "GENEW/reporting/impresos/QpdfBajoDemanda.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/base/WholeFile.h"
#include "platform/office/ConversionPDF.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QPrinterInfo>
#include <QProcess>
#include <qpdf/qpdf-c.h>

namespace {

QString EjecutarLp(const QStringList &argumentos, const QByteArray &entrada)
{
    QProcess lp;
    lp.start(QStringLiteral("lp"), argumentos);
    if (!lp.waitForStarted())
        return QStringLiteral("No se puede ejecutar lp: ") + lp.errorString();
    lp.write(entrada);
    lp.closeWriteChannel();
    lp.waitForFinished(-1);
    if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0) {
        const QString dicho = QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
        return dicho.isEmpty() ? QStringLiteral("lp ha terminado con el código %1").arg(lp.exitCode()) : dicho;
    }
    return {};
}

} // namespace

// ---- printers -------------------------------------------------------------------------

QString ServicioImpresorasSistema::predeterminada()
{
    return QPrinterInfo::defaultPrinterName();
}

QStringList ServicioImpresorasSistema::impresoras()
{
    return QPrinterInfo::availablePrinterNames();
}

std::optional<EleccionImpresora> ServicioImpresorasSistema::dialogo(const QString &propuesta)
{
    // The data module's dialog when there is one, so that its settings carry between runs.
    plat::PrintDialog propio;
    plat::PrintDialog &dialogo = ModuloDatos ? *ModuloDatos->PrintDialog1 : propio;
    dialogo.PrinterName = propuesta;
    if (!dialogo.Execute())
        return std::nullopt;
    EleccionImpresora eleccion{dialogo.PrinterName.isEmpty() ? propuesta : dialogo.PrinterName, qMax(1, dialogo.Copies),
                               false, dialogo.OutputFileName};
    if (!eleccion.fichero.isEmpty())
        eleccion.nombre.clear();
    return eleccion;
}

std::unique_ptr<QPrinter> ServicioImpresorasSistema::abrir(const EleccionImpresora &eleccion, bool apaisado)
{
    std::unique_ptr<QPrinter> impresora;
    if (eleccion.fichero.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::printerInfo(eleccion.nombre);
        if (info.isNull())
            return nullptr;
        impresora = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        impresora = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    impresora->setOutputFormat(QPrinter::PdfFormat);
    QTemporaryFile cola(QDir(DirectorioTemporal()).filePath(QStringLiteral("trabajo-XXXXXX.pdf")));
    if (!cola.open())
        return nullptr;
    cola.setAutoRemove(false);
    impresora->setOutputFileName(cola.fileName());
    impresora->setPageOrientation(apaisado ? QPageLayout::Landscape : QPageLayout::Portrait);
    return impresora;
}

QString ServicioImpresorasSistema::enviarTrabajo(const EleccionImpresora &eleccion, QPrinter &impresora)
{
    const QString cola = impresora.outputFileName();
    QString error;
    if (!eleccion.fichero.isEmpty()) {
        if (const QString copia = plat::copyWholeFile(cola, eleccion.fichero); !copia.isEmpty())
            error = QStringLiteral("no se puede escribir el archivo ") + copia;
    } else {
        QStringList opciones = {QStringLiteral("-d"), eleccion.nombre, QStringLiteral("-t"), impresora.docName(),
                                QStringLiteral("-n"), QString::number(qMax(1, eleccion.copias))};
        if (eleccion.duplex)
            opciones << QStringLiteral("-o") << QStringLiteral("sides=two-sided-long-edge");
        opciones << QStringLiteral("--") << cola;
        error = EjecutarLp(opciones, {});
    }
    QFile::remove(cola);
    return error;
}

void ServicioImpresorasSistema::descartarTrabajo(QPrinter &impresora)
{
    QFile::remove(impresora.outputFileName());
}

QString ServicioImpresorasSistema::enviarBruto(const EleccionImpresora &eleccion, const QByteArray &datos,
                                               const QString &titulo)
{
    if (!eleccion.fichero.isEmpty()) {
        const QString error = plat::writeWholeFile(eleccion.fichero, [&datos](plat::WholeFileTarget &destino) {
            destino.device.write(datos);
            return QString();
        });
        return error.isEmpty() ? error : QStringLiteral("no se puede escribir el archivo ") + error;
    }
    return EjecutarLp({QStringLiteral("-d"), eleccion.nombre, QStringLiteral("-t"), titulo, QStringLiteral("-o"),
                       QStringLiteral("raw")},
                      datos);
}

QString ServicioImpresorasSistema::imprimirDocumento(const QString &fichero, const QString &impresora,
                                                     const QString &tipo, const QString &titulo)
{
    // Without any printer "lp" (and the office suite) would say little or nothing.
    if (impresora.isEmpty() && impresoras().isEmpty())
        return QStringLiteral("No hay ninguna impresora instalada.");
    // A Word document is printed as the PDF the office suite makes of it: the suite's own
    // printing says nothing when it fails and names the job after the file.
    QString documento = fichero;
    std::optional<QTemporaryDir> conversion;
    if (tipo == QLatin1String("DOC")) {
        conversion.emplace(QDir(DirectorioTemporal()).filePath(QStringLiteral("documento-XXXXXX")));
        if (!conversion->isValid())
            return QStringLiteral("No se puede crear una carpeta temporal: ") + conversion->errorString();
        documento = conversion->filePath(QFileInfo(fichero).completeBaseName() + QStringLiteral(".pdf"));
        if (const QString error = plat::office::convertToPdf(fichero, documento); !error.isEmpty())
            return error;
    }
    QStringList opciones;
    if (!impresora.isEmpty())
        opciones << QStringLiteral("-d") << impresora;
    opciones << QStringLiteral("-t") << titulo << QStringLiteral("--") << documento;
    return EjecutarLp(opciones, {});
}

// ---- PDF ----------------------------------------------------------------------------

namespace {

// One document of qpdf's C interface, given back when it goes out of scope.
struct DocumentoQpdf
{
    DocumentoQpdf() : datos(qpdf_init())
    {
        // The failures are read from the calls' answers, not printed.
        if (datos)
            qpdf_silence_errors(datos);
    }
    ~DocumentoQpdf() { qpdf_cleanup(&datos); }
    DocumentoQpdf(const DocumentoQpdf &) = delete;
    DocumentoQpdf &operator=(const DocumentoQpdf &) = delete;

    // The text of the last failure; empty when there was none.
    QString error()
    {
        if (!qpdf_has_error(datos))
            return {};
        return QString::fromLocal8Bit(qpdf_get_error_full_text(datos, qpdf_get_error(datos)));
    }

    qpdf_data datos;
};

} // namespace

QString ServidorPDFSistema::convertirWord(const QString &documento, const QString &fichero)
{
    return plat::office::convertToPdf(documento, fichero);
}

QString ServidorPDFSistema::unir(const QStringList &ficheros, const QString &destino)
{
    DocumentoQpdf salida;
    if (!salida.datos)
        return BibliotecaQpdf().motivo();
    if (qpdf_empty_pdf(salida.datos) & QPDF_ERRORS)
        return salida.error();
    // The sources must live until the merged file is written.
    std::vector<std::unique_ptr<DocumentoQpdf>> fuentes;
    for (const QString &fichero : ficheros) {
        fuentes.push_back(std::make_unique<DocumentoQpdf>());
        DocumentoQpdf &fuente = *fuentes.back();
        if (qpdf_read(fuente.datos, QFile::encodeName(fichero).constData(), nullptr) & QPDF_ERRORS)
            return fuente.error();
        const int paginas = qpdf_get_num_pages(fuente.datos);
        if (paginas < 0)
            return fuente.error();
        for (int p = 0; p < paginas; ++p) {
            const qpdf_oh pagina = qpdf_get_page_n(fuente.datos, size_t(p));
            if (const QString error = fuente.error(); !error.isEmpty())
                return error;
            if (qpdf_add_page(salida.datos, fuente.datos, pagina, QPDF_FALSE) & QPDF_ERRORS)
                return salida.error();
        }
    }
    if ((qpdf_init_write_memory(salida.datos) & QPDF_ERRORS) || (qpdf_write(salida.datos) & QPDF_ERRORS))
        return salida.error();
    const QByteArray escrito = QByteArray::fromRawData(reinterpret_cast<const char *>(qpdf_get_buffer(salida.datos)),
                                                       qsizetype(qpdf_get_buffer_length(salida.datos)));
    return plat::writeWholeFile(destino, [&escrito](plat::WholeFileTarget &archivo) {
        archivo.device.write(escrito);
        return QString();
    });
}

// ---- the services in force ------------------------------------------------------------

namespace {

const ServiciosImpresion &instalados()
{
    return ganchoServiciosImpresion().valor();
}

// Only what the scope gives replaces what is installed; the rest stays.
ServiciosImpresion combinados(const ServiciosImpresion &actuales, const ServiciosImpresion &nuevos)
{
    ServiciosImpresion r = actuales;
    if (nuevos.impresoras)
        r.impresoras = nuevos.impresoras;
    if (nuevos.pdf)
        r.pdf = nuevos.pdf;
    if (nuevos.vistaPrevia)
        r.vistaPrevia = nuevos.vistaPrevia;
    if (nuevos.listadoCancelado)
        r.listadoCancelado = nuevos.listadoCancelado;
    return r;
}

} // namespace

Gancho<ServiciosImpresion> &ganchoServiciosImpresion()
{
    static Gancho<ServiciosImpresion> gancho;
    return gancho;
}

const ServiciosImpresion &serviciosImpresion()
{
    return instalados();
}

ServicioImpresoras &impresorasMotor()
{
    static ServicioImpresorasSistema sistema;
    return instalados().impresoras ? *instalados().impresoras : sistema;
}

ServidorPDF &servidorPDFMotor()
{
    static ServidorPDFSistema sistema;
    return instalados().pdf ? *instalados().pdf : sistema;
}

bool &ListadoCanceladoMotor()
{
    static bool propio = false;
    return instalados().listadoCancelado ? *instalados().listadoCancelado : propio;
}

ServiciosImpresionInstalados::ServiciosImpresionInstalados(const ServiciosImpresion &servicios)
    : Instalacion(ganchoServiciosImpresion(), combinados(instalados(), servicios))
{
}
