#include "GENEW/runtime/ProgramasExternos.h"

#include "GENEW/runtime/comun/RutinasSistema.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

// The exec family's answer for a file that exists but cannot be run as a program.
constexpr int kErrnoFormatoEjecutable = ENOEXEC;

bool esArchivoDeOrdenes(const QString &programa)
{
    return programa.endsWith(QLatin1String(".BAT"), Qt::CaseInsensitive);
}

} // namespace

QString LocalizarProgramaHermano(const QString &nombre, const QString &carpetaPrograma)
{
    if (nombre.isEmpty())
        return {};
    QStringList candidatos{nombre};
    if (nombre.endsWith(QLatin1String(".EXE"), Qt::CaseInsensitive)) {
        const QString base = nombre.left(nombre.size() - 4);
        candidatos << base << base.toLower();
    }
    candidatos.removeDuplicates();
    const QDir carpeta(carpetaPrograma);
    for (const QString &candidato : candidatos) {
        const QFileInfo info(carpeta.filePath(candidato));
        if (!carpetaPrograma.isEmpty() && info.isFile())
            return info.absoluteFilePath();
    }
    for (const QString &candidato : candidatos) {
        const QString enPath = QStandardPaths::findExecutable(candidato);
        if (!enPath.isEmpty())
            return enPath;
    }
    return {};
}

DiagnosticoArranque DiagnosticarPrograma(const QString &ruta)
{
    auto fallo = [](FalloArranque tipo) { return DiagnosticoArranque{tipo, static_cast<int>(tipo)}; };
    if (ruta.isEmpty())
        return fallo(FalloArranque::NoEncontrado);
    const QFileInfo info(ruta);
    if (!info.absoluteDir().exists())
        return fallo(FalloArranque::CaminoNoEncontrado);
    if (!info.exists())
        return fallo(FalloArranque::NoEncontrado);
    if (!info.isFile())
        return fallo(FalloArranque::NoEjecutable);
    if (::access(QFile::encodeName(info.absoluteFilePath()).constData(), X_OK) != 0) {
        const int error = errno;
        if (error == EACCES || error == EPERM)
            return fallo(FalloArranque::NoEjecutable);
        if (error == ENOMEM)
            return fallo(FalloArranque::SinRecursos);
        return DiagnosticoArranque{FalloArranque::Ninguno, error};
    }
    return {};
}

QString TextoFalloArranque(const DiagnosticoArranque &d, const QString &linea)
{
    switch (d.fallo) {
    case FalloArranque::SinRecursos:
        return QStringLiteral("Memoria o Recursos Insuficientes.");
    case FalloArranque::NoEjecutable:
        return QStringLiteral("El archivo ") + linea + QStringLiteral(" no es válido o no es una aplicación Win32.");
    case FalloArranque::NoEncontrado:
        return QStringLiteral("El archivo ") + linea + QStringLiteral(" no ha sido encontrado.");
    case FalloArranque::CaminoNoEncontrado:
        return QStringLiteral("El camino(path) del archivo ") + linea + QStringLiteral(" no ha sido encontrado.");
    case FalloArranque::Ninguno:
        break;
    }
    return QStringLiteral("Error desconocido de tipo ") + QString::number(d.codigo) + u'.';
}

void MostrarCuadroMensaje(const QString &texto)
{
    if (const CuadroMensajeFn &cuadro = ganchoCuadroMensaje().valor()) {
        cuadro(texto);
        return;
    }
    if (qobject_cast<QApplication *>(QCoreApplication::instance())) {
        QMessageBox::information(plat::activeWindowForDialogs(), plat::application().title(), texto);
        return;
    }
    std::fprintf(stderr, "%s\n", texto.toLocal8Bit().constData());
}

Gancho<CuadroMensajeFn> &ganchoCuadroMensaje()
{
    static Gancho<CuadroMensajeFn> gancho;
    return gancho;
}

bool IniciarPrograma(const QString &nombre, const QStringList &argumentos, const QString &textoMensaje,
                     const QString &opciones, const QString &carpetaPrograma)
{
    const QString programa = nombre.contains(u'/') ? nombre : LocalizarProgramaHermano(nombre, carpetaPrograma);
    DiagnosticoArranque diagnostico = DiagnosticarPrograma(programa);
    // Checked beforehand, a file that still does not start is one the system cannot run.
    if (diagnostico.codigo == -1 && !QProcess::startDetached(programa, argumentos))
        diagnostico = {FalloArranque::NoEjecutable, static_cast<int>(FalloArranque::NoEjecutable)};
    if (diagnostico.codigo == -1)
        return true;
    if (!opciones.contains(QLatin1String("SinMensaje")))
        MostrarCuadroMensaje(TextoFalloArranque(diagnostico, textoMensaje));
    return false;
}

bool EjecutarPrograma(const QString &lineaComandos, const QString &opciones, const QString &carpetaPrograma)
{
    QStringList palabras = DividirLineaComandos(lineaComandos);
    const QString programa = palabras.isEmpty() ? QString() : palabras.takeFirst();
    return IniciarPrograma(programa, palabras, lineaComandos, opciones, carpetaPrograma);
}

EjecutarProgramaFn EjecutorProgramas(const QString &carpetaPrograma)
{
    return [carpetaPrograma](const QString &linea, const QString &opciones) {
        EjecutarPrograma(linea, opciones, carpetaPrograma);
    };
}

int EjecutarProcesoYEsperar(const QString &programa, const QString &lineaComandos)
{
    const bool ordenes = esArchivoDeOrdenes(programa);
    const QString ejecutable = ordenes ? QStringLiteral("/bin/sh") : programa;
    QStringList argumentos = DividirLineaComandos(lineaComandos);
    if (ordenes)
        argumentos.prepend(programa);

    QProcess proceso;
    proceso.setProcessChannelMode(QProcess::ForwardedChannels);
    proceso.setStandardInputFile(QProcess::nullDevice());
    // A command file is read by the shell, so it only has to exist.
    int codigoFallo = -1;
    if (!ordenes)
        codigoFallo = DiagnosticarPrograma(programa).codigo;
    else if (!QFileInfo(programa).isFile())
        codigoFallo = ENOENT;
    if (codigoFallo == -1) {
        proceso.start(ejecutable, argumentos);
        if (!proceso.waitForStarted(-1))
            codigoFallo = kErrnoFormatoEjecutable;
    }
    if (codigoFallo != -1) {
        MostrarCuadroMensaje(QStringLiteral("Error de Creación del Proceso: ") + QString::number(codigoFallo));
        return -1;
    }
    // The finish may be seen by the events processed while waiting as well as by the poll.
    while (proceso.state() != QProcess::NotRunning && !proceso.waitForFinished(0))
        EsperarMilisegundos(50);
    return proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1;
}

bool CrearArchivoBAT(const QString &ruta, const QString &texto)
{
    QFile archivo(ruta);
    bool escrito = archivo.open(QIODevice::WriteOnly | QIODevice::Truncate);
    if (escrito) {
        const QByteArray bytes = texto.toUtf8() + '\n';
        escrito = archivo.write(bytes) == bytes.size() && archivo.flush();
    }
    if (!escrito)
        MostrarCuadroMensaje(QStringLiteral("Error de Creación del Archivo (.bat). Motivo: ") + archivo.errorString());
    archivo.close();
    EsperarMilisegundos(1000);
    return escrito;
}
