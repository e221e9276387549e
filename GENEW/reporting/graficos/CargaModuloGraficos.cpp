#include "GENEW/reporting/graficos/CargaModuloGraficos.h"

#include "GENEW/reporting/graficos/ModuloGraficos.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>

#include <map>
#include <memory>

namespace {

// The folder of the running executable; the application's when there is one.
QString directorioPrograma()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).absolutePath();
}

} // namespace

Gancho<QString> &ganchoDirectorioModuloGraficos()
{
    static Gancho<QString> gancho;
    return gancho;
}

ModuloGraficos *CargarModuloGraficos(QString &error)
{
    QString directorio = ganchoDirectorioModuloGraficos().valor();
    if (directorio.isEmpty())
        directorio = directorioPrograma();
    const QString fichero = QDir(directorio).absoluteFilePath(QString::fromLatin1(kFicheroModuloGraficos));
    // Loaded modules stay: the charts they made may outlive any window. A failure is not kept,
    // so a module put in place later is found.
    struct Cargado
    {
        std::unique_ptr<QLibrary> biblioteca;
        ModuloGraficos *modulo = nullptr;
    };
    static std::map<QString, Cargado> cargados;
    if (const auto encontrado = cargados.find(fichero); encontrado != cargados.end())
        return encontrado->second.modulo;
    if (!QFileInfo(fichero).isFile()) {
        error = QStringLiteral("No se encuentra el módulo de gráficos: ") + fichero;
        return nullptr;
    }
    auto biblioteca = std::make_unique<QLibrary>(fichero);
    if (!biblioteca->load()) {
        error = QStringLiteral("No se puede cargar el módulo de gráficos %1: %2").arg(fichero, biblioteca->errorString());
        return nullptr;
    }
    const auto crear = reinterpret_cast<CrearModuloGraficosFn>(biblioteca->resolve(kFuncionModuloGraficos));
    ModuloGraficos *modulo = crear ? crear(kVersionModuloGraficos) : nullptr;
    if (!modulo) {
        error = QStringLiteral("El módulo de gráficos %1 no es de esta versión del programa").arg(fichero);
        biblioteca->unload();
        return nullptr;
    }
    cargados.emplace(fichero, Cargado{std::move(biblioteca), modulo});
    return modulo;
}
