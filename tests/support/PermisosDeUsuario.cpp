#include "tests/support/PermisosDeUsuario.h"

#include <QFile>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace gptest {

namespace {

constexpr unsigned kSaltos = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);

bool leer(__user_cap_header_struct &cabecera, __user_cap_data_struct (&datos)[2])
{
    cabecera = {_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &cabecera, datos) == 0;
}

} // namespace

PermisosDeUsuario::PermisosDeUsuario()
{
    __user_cap_header_struct cabecera;
    __user_cap_data_struct datos[2] = {};
    if (!leer(cabecera, datos) || (datos[0].effective & kSaltos) == 0)
        return;
    previo_[0] = datos[0].effective;
    previo_[1] = datos[1].effective;
    datos[0].effective &= ~kSaltos;
    restaurar_ = syscall(SYS_capset, &cabecera, datos) == 0;
}

PermisosDeUsuario::~PermisosDeUsuario()
{
    if (!restaurar_)
        return;
    __user_cap_header_struct cabecera;
    __user_cap_data_struct datos[2] = {};
    if (!leer(cabecera, datos))
        return;
    datos[0].effective = previo_[0];
    datos[1].effective = previo_[1];
    syscall(SYS_capset, &cabecera, datos);
}

bool PermisosDeUsuario::rigen(const QString &carpetaPrueba)
{
    const QString ruta = carpetaPrueba + QStringLiteral("/.prueba-permisos");
    {
        QFile f(ruta);
        if (!f.open(QIODevice::WriteOnly))
            return false;
    }
    quitarPermisos(ruta);
    QFile f(ruta);
    const bool legible = f.open(QIODevice::ReadOnly);
    devolverPermisos(ruta);
    QFile::remove(ruta);
    return !legible;
}

void quitarPermisos(const QString &ruta) { ::chmod(QFile::encodeName(ruta).constData(), 0); }

void devolverPermisos(const QString &ruta) { ::chmod(QFile::encodeName(ruta).constData(), 0700); }

} // namespace gptest
