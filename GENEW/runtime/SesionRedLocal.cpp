#include "GENEW/runtime/SesionRedLocal.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

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

int SesionRedLocal::delPrograma()
{
    static const SesionRedLocal sesion(QDir::tempPath());
    return sesion.numero();
}
