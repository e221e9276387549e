#include "GENEW/reporting/impresos/ServiciosImpresion.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/base/WholeFile.h"
#include "platform/office/ConversionPDF.h"
#include "platform/ui/Dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <QPrinterInfo>
#include <QProcess>
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/Pipeline.hh>
#include <qpdf/QPDFWriter.hh>

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
    if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
        return QString::fromLocal8Bit(lp.readAllStandardError()).trimmed();
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
    if (!dialogo.Execute())
        return std::nullopt;
    return EleccionImpresora{propuesta, qMax(1, dialogo.Copies), false};
}

std::unique_ptr<QPrinter> ServicioImpresorasSistema::abrir(const EleccionImpresora &eleccion, bool apaisado)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(eleccion.nombre);
    if (info.isNull())
        return nullptr;
    auto impresora = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
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
    QStringList opciones = {QStringLiteral("-d"), eleccion.nombre, QStringLiteral("-n"),
                            QString::number(qMax(1, eleccion.copias))};
    if (eleccion.duplex)
        opciones << QStringLiteral("-o") << QStringLiteral("sides=two-sided-long-edge");
    opciones << impresora.outputFileName();
    const QString error = EjecutarLp(opciones, {});
    QFile::remove(impresora.outputFileName());
    return error;
}

void ServicioImpresorasSistema::descartarTrabajo(QPrinter &impresora)
{
    QFile::remove(impresora.outputFileName());
}

QString ServicioImpresorasSistema::enviarBruto(const QString &impresora, const QByteArray &datos)
{
    return EjecutarLp({QStringLiteral("-d"), impresora, QStringLiteral("-o"), QStringLiteral("raw")}, datos);
}

QString ServicioImpresorasSistema::imprimirDocumento(const QString &fichero, const QString &impresora, const QString &tipo)
{
    // Without any printer the office suite would end quietly with nothing printed.
    if (impresora.isEmpty() && impresoras().isEmpty())
        return QStringLiteral("No hay ninguna impresora instalada.");
    if (!fGENEINIC)
        return EjecutarLp({QStringLiteral("-d"), impresora, fichero}, {});
    // The start-up form prints documents by their type (Word through the office suite).
    const int codigo = fGENEINIC->ImprimirDocumento(fichero, impresora, tipo);
    return codigo == 0 ? QString()
                       : QStringLiteral("La impresión del documento %1 ha terminado con el código %2.")
                             .arg(QFileInfo(fichero).fileName())
                             .arg(codigo);
}

// ---- PDF ----------------------------------------------------------------------------

namespace {

// The end of qpdf's output chain: the bytes go to a device, which checks them.
class TuberiaDispositivo : public Pipeline
{
public:
    explicit TuberiaDispositivo(QIODevice &dispositivo) : Pipeline("dispositivo", nullptr), dispositivo_(dispositivo) {}
    void write(unsigned char const *datos, size_t longitud) override
    {
        dispositivo_.write(reinterpret_cast<const char *>(datos), qint64(longitud));
    }
    void finish() override {}

private:
    QIODevice &dispositivo_;
};

} // namespace

QString ServidorPDFSistema::convertirWord(const QString &documento, const QString &fichero)
{
    return plat::office::convertToPdf(documento, fichero);
}

QString ServidorPDFSistema::unir(const QStringList &ficheros, const QString &destino)
{
    try {
        // The sources must live until the merged file is written.
        std::vector<std::unique_ptr<QPDF>> fuentes;
        QPDF salida;
        salida.emptyPDF();
        QPDFPageDocumentHelper paginasSalida(salida);
        for (const QString &fichero : ficheros) {
            auto fuente = std::make_unique<QPDF>();
            fuente->processFile(QFile::encodeName(fichero).constData());
            for (QPDFPageObjectHelper &pagina : QPDFPageDocumentHelper(*fuente).getAllPages())
                paginasSalida.addPage(pagina, false);
            fuentes.push_back(std::move(fuente));
        }
        return plat::writeWholeFile(destino, [&salida](plat::WholeFileTarget &archivo) {
            TuberiaDispositivo tuberia(archivo.device);
            QPDFWriter escritor(salida);
            escritor.setOutputPipeline(&tuberia);
            escritor.write();
            return QString();
        });
    } catch (const std::exception &e) {
        return QString::fromLocal8Bit(e.what());
    }
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
