#include "app/vktlext/OrdenesVktlext.h"

#include "GENEW/runtime/comun/FicherosTexto.h"
#include "app/vktlext/ValoresFusion.h"
#include "platform/office/DocxMerge.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>

namespace {

int fallo(int codigo, const QString &texto)
{
    std::fprintf(stderr, "vktlext: %s\n", texto.toLocal8Bit().constData());
    return codigo;
}

int ejecutar(const LlamadaExterna &llamada)
{
    if (llamada.programa.isEmpty() || QStandardPaths::findExecutable(llamada.programa).isEmpty())
        return fallo(SalidaProgramaExterno, QStringLiteral("No se encuentra el programa %1.").arg(llamada.programa));
    const int salida = QProcess::execute(llamada.programa, llamada.argumentos);
    if (salida != 0)
        return fallo(SalidaProgramaExterno,
                     QStringLiteral("El programa %1 ha terminado con el código %2.").arg(llamada.programa).arg(salida));
    return SalidaCorrecta;
}

int abrirDocumentoWord(const QStringList &lineas, const OpcionesVktlext &opciones)
{
    const QString documento = ValorOrden(lineas, "PathDocumento");
    if (documento.endsWith(QLatin1String(".docx"), Qt::CaseInsensitive)) {
        const QString valores = LeerFicheroTexto(ValorOrden(lineas, "PathArchivoValores"));
        const QString error = plat::office::mergeDocx(documento, LeerValoresFusion(valores));
        if (!error.isEmpty())
            return fallo(SalidaFusion, QStringLiteral("No se han podido combinar los valores: ") + error);
    }
    const int salida = ejecutar({QStringLiteral("xdg-open"), {documento}});
    if (salida != SalidaCorrecta || !opciones.esperarDocumento)
        return salida;
    // The desktop's program gives no sign of closing the file: the user says so.
    QMessageBox espera(QMessageBox::Information, QStringLiteral("Documento Word"),
                       QStringLiteral("Pulse Aceptar cuando haya cerrado el documento %1.").arg(QFileInfo(documento).fileName()),
                       QMessageBox::Ok);
    espera.setWindowFlag(Qt::WindowStaysOnTopHint);
    espera.exec();
    return SalidaCorrecta;
}

} // namespace

int EjecutarOrdenVktlext(const QString &palabra, const QString &archivoOrdenes, const OpcionesVktlext &opciones)
{
    bool leido = false;
    const QStringList lineas = LeerArchivoOrdenes(LeerFicheroTexto(archivoOrdenes, &leido));
    if (palabra == QLatin1String("EnviarEMailMAPI") || palabra == QLatin1String("AbrirDocumentoWord")
        || palabra == QLatin1String("ImprimirDocumentoWord") || palabra == QLatin1String("ImprimirDocumentoPDF")) {
        if (!leido)
            return fallo(SalidaArchivoOrdenes, QStringLiteral("No se puede leer el archivo de órdenes %1.").arg(archivoOrdenes));
    } else {
        return fallo(SalidaOrdenDesconocida, QStringLiteral("Orden desconocida: \"%1\".").arg(palabra));
    }
    if (palabra == QLatin1String("EnviarEMailMAPI"))
        return ejecutar(LlamadaCorreo(lineas));
    const QString documento = ValorOrden(lineas, "PathDocumento");
    if (!QFileInfo(documento).isFile())
        return fallo(SalidaDocumento, QStringLiteral("No existe el documento \"%1\".").arg(documento));
    if (palabra == QLatin1String("AbrirDocumentoWord"))
        return abrirDocumentoWord(lineas, opciones);
    if (palabra == QLatin1String("ImprimirDocumentoPDF"))
        return ejecutar(LlamadaImpresionPDF(lineas));
    QString libreOffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (libreOffice.isEmpty())
        libreOffice = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    if (libreOffice.isEmpty())
        return fallo(SalidaProgramaExterno, QStringLiteral("LibreOffice no está instalado: no se puede imprimir el documento."));
    return ejecutar(LlamadaImpresionWord(lineas, libreOffice));
}
