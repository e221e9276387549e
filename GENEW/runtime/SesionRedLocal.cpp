#include "GENEW/runtime/SesionRedLocal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

SesionRedLocal::SesionRedLocal(const QString &carpeta)
{
    const QFileInfo lugar(carpeta);
    if (!lugar.isDir() || !lugar.isWritable())
        return;
    for (int n = 0; n < MaximoSesiones; ++n) {
        auto cerrojo = std::make_unique<QLockFile>(carpeta + QStringLiteral("/gestion-proyectos-sesion-%1.lock").arg(n));
        // Held for the life of the program, however long: only a holder gone frees it.
        cerrojo->setStaleLockTime(0);
        if (cerrojo->tryLock(0)) {
            cerrojo_ = std::move(cerrojo);
            numero_ = n;
            return;
        }
    }
}

SesionRedLocal::~SesionRedLocal() = default;

QString SesionRedLocal::carpetaDelUsuario()
{
    // The user's folder for the files of running programs; without one, a folder of the
    // user's own in the temporary folder, where the program's passing files are not mixed
    // with the locks that last as long as it runs.
    const QString deEjecucion = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!deEjecucion.isEmpty() && QFileInfo(deEjecucion).isDir())
        return deEjecucion;
    const QString propia = QDir::tempPath() + QStringLiteral("/gestion-proyectos-%1").arg(getuid());
    if (QDir().mkpath(propia))
        QFile::setPermissions(propia, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return propia;
}

int SesionRedLocal::delPrograma()
{
    static const SesionRedLocal sesion(carpetaDelUsuario());
    return sesion.numero();
}
