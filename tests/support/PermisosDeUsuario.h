#pragma once
#include <QString>

namespace gptest {

// Root reads and writes any file whatever its permissions, so a case about a file that
// cannot be read would pass for the wrong reason under root. For its scope this drops the
// powers that bypass permission checks from the calling thread (nothing changes for another
// user) and puts them back at the end.
class PermisosDeUsuario
{
public:
    PermisosDeUsuario();
    ~PermisosDeUsuario();
    PermisosDeUsuario(const PermisosDeUsuario &) = delete;
    PermisosDeUsuario &operator=(const PermisosDeUsuario &) = delete;

    // Whether permissions now hold: a file without read permission cannot be opened.
    static bool rigen(const QString &carpetaPrueba);

private:
    bool restaurar_ = false;
    unsigned previo_[2] = {0, 0};
};

// Takes every permission from a file or folder (mode 000), or gives them back.
void quitarPermisos(const QString &ruta);
void devolverPermisos(const QString &ruta);

} // namespace gptest
