#include "platform/office/ConversionPDF.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace plat::office {

namespace {
constexpr int kConversionTimeoutMs = 180000;
}

QString officeProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

QString convertToPdf(const QString &document, const QString &pdf)
{
    const QString program = officeProgram();
    if (program.isEmpty())
        return QStringLiteral("LibreOffice (soffice) no está instalado");
    if (!QFileInfo(document).isFile())
        return QStringLiteral("No existe el documento ") + document;
    QTemporaryDir work;
    if (!work.isValid())
        return QStringLiteral("No se puede crear una carpeta temporal: ") + work.errorString();
    const QString output = work.filePath(QStringLiteral("pdf"));
    if (!QDir().mkpath(output))
        return QStringLiteral("No se puede crear la carpeta ") + output;
    // The suite reads the profile as a URL: a folder with blanks or accents (the program's
    // own name is "Gestión de Proyectos") must come percent-encoded, or the suite aborts and
    // stays without converting.
    const QString profile = QUrl::fromLocalFile(work.filePath(QStringLiteral("perfil"))).toString(QUrl::FullyEncoded);
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    // The suite's own temporary files go with the work folder, whatever TMPDIR holds.
    office.setWorkingDirectory(work.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), work.path());
    office.setProcessEnvironment(environment);
    office.start(program, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--convert-to"),
                           QStringLiteral("pdf"), QStringLiteral("--outdir"), output,
                           QFileInfo(document).absoluteFilePath()});
    if (!office.waitForStarted())
        return QStringLiteral("No se puede ejecutar ") + program + QStringLiteral(": ") + office.errorString();
    if (!office.waitForFinished(kConversionTimeoutMs)) {
        office.kill();
        office.waitForFinished();
        return QStringLiteral("LibreOffice no ha terminado de convertir ") + document;
    }
    const QString result = QDir(output).filePath(QFileInfo(document).completeBaseName() + QStringLiteral(".pdf"));
    if (office.exitStatus() != QProcess::NormalExit || !QFileInfo(result).isFile()) {
        const QString said = QString::fromLocal8Bit(office.readAll()).trimmed();
        return QStringLiteral("LibreOffice no ha convertido ") + document + (said.isEmpty() ? QString() : QStringLiteral(": ") + said);
    }
    QFile::remove(pdf);
    // A rename does not cross file systems: the copy does.
    if (!QFile::rename(result, pdf) && !QFile::copy(result, pdf))
        return QStringLiteral("No se puede escribir ") + pdf;
    return {};
}

} // namespace plat::office
