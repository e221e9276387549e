#include "GENEW/runtime/ComandosVktlext.h"

#include "GENEW/runtime/ProgramasExternos.h"
#include "GENEW/runtime/comun/FicherosTexto.h"

#include <QDir>
#include <QFile>

namespace {

const QString kPathArchivoValores = QStringLiteral("PathArchivoValores");

// A line break of a folded value: CR LF as the program writes it, a bare LF or CR as text
// typed here may hold.
QString plegarSaltos(QString valor)
{
    valor.replace(QLatin1String("\r\n"), QStringLiteral("·"));
    valor.replace(u'\n', u'·').replace(u'\r', u'·');
    return valor;
}

bool seEscribePlegada(const QString &clave)
{
    return clave == QLatin1String("Texto") || clave == QLatin1String("ArchivosAdjuntos");
}

} // namespace

ComandoVktlext ComandoEnviarEMailMAPI(const QString &asunto, const QString &texto, const QString &adjuntos,
                                      const QString &nombreRemitente, const QString &emailRemitente,
                                      const QString &nombreDestinatario, const QString &emailDestinatario,
                                      const QString &nombreDestinatarioCC, const QString &emailDestinatarioCC,
                                      const QString &opciones)
{
    return {QStringLiteral("EnviarEMailMAPI"),
            {{QStringLiteral("Asunto"), asunto},
             {QStringLiteral("Texto"), texto},
             {QStringLiteral("ArchivosAdjuntos"), adjuntos},
             {QStringLiteral("NombreRemitente"), nombreRemitente},
             {QStringLiteral("EMailRemitente"), emailRemitente},
             {QStringLiteral("NombreDestinatario"), nombreDestinatario},
             {QStringLiteral("EMailDestinatario"), emailDestinatario},
             {QStringLiteral("NombreDestinatarioCC"), nombreDestinatarioCC},
             {QStringLiteral("EMailDestinatarioCC"), emailDestinatarioCC},
             {QStringLiteral("Opciones"), opciones}},
            false,
            {}};
}

ComandoVktlext ComandoAbrirDocumentoWord(const QString &documento, const QString &valores)
{
    return {QStringLiteral("AbrirDocumentoWord"),
            {{QStringLiteral("PathDocumento"), documento}, {kPathArchivoValores, QString()}},
            true,
            valores};
}

ComandoVktlext ComandoImprimirDocumento(const QString &documento, const QString &impresora, const QString &tipo)
{
    QString palabra;
    if (tipo == QLatin1String("DOC"))
        palabra = QStringLiteral("ImprimirDocumentoWord");
    else if (tipo == QLatin1String("PDF"))
        palabra = QStringLiteral("ImprimirDocumentoPDF");
    return {palabra,
            {{QStringLiteral("PathDocumento"), documento}, {QStringLiteral("NombreImpresora"), impresora}},
            false,
            {}};
}

ArchivosComandoVktlext ArchivosComandoVktlext::nuevos(const QString &directorioTemporal, const QString &identificador)
{
    const QString base = QDir(directorioTemporal).filePath(identificador);
    return {base + QStringLiteral(".INI"), base + QStringLiteral(".VAL"), base + QStringLiteral(".BAT")};
}

QString TextoINIVktlext(const ComandoVktlext &comando, const QString &rutaValores)
{
    QString texto;
    for (const auto &[clave, valor] : comando.claves) {
        QString escrito = seEscribePlegada(clave) ? plegarSaltos(valor) : valor;
        if (comando.conValores && clave == kPathArchivoValores)
            escrito = rutaValores;
        texto += clave + u'=' + escrito + QLatin1String("\r\n");
    }
    return texto;
}

QString LineaBATVktlext(const QString &programa, const QString &palabra, const QString &rutaINI)
{
    return EntrecomillarArgumento(programa) + u' ' + EntrecomillarArgumento(palabra) + u' '
        + EntrecomillarArgumento(rutaINI);
}

int EjecutarComandoVktlext(const ComandoVktlext &comando, const EntornoVktlext &entorno)
{
    if (entorno.programa.isEmpty()) {
        MostrarCuadroMensaje(TextoFalloArranque({FalloArranque::NoEncontrado, static_cast<int>(FalloArranque::NoEncontrado)},
                                                QStringLiteral("VKTLEXT.EXE")));
        return -1;
    }
    const ArchivosComandoVktlext archivos = ArchivosComandoVktlext::nuevos(entorno.directorioTemporal, entorno.nuevoIdentificador());
    if (comando.conValores)
        EscribirFicheroTexto(archivos.val, comando.valores);
    EscribirFicheroTexto(archivos.ini, TextoINIVktlext(comando, archivos.val));
    int codigo = -1;
    if (CrearArchivoBAT(archivos.bat, LineaBATVktlext(entorno.programa, comando.palabra, archivos.ini)))
        codigo = EjecutarProcesoYEsperar(archivos.bat, QString());
    if (!entorno.directorioArranque.isEmpty())
        QDir::setCurrent(entorno.directorioArranque);
    QFile::remove(archivos.bat);
    QFile::remove(archivos.ini);
    if (comando.conValores)
        QFile::remove(archivos.val);
    return codigo;
}
