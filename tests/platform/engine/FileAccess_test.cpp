#include "platform/base/Errores.h"
#include "platform/data/engine/Session.h"
#include "tests/support/PermisosDeUsuario.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace plat;

namespace {

QString errorAlAbrir(Session &sesion, const QString &carpeta)
{
    Connection c(sesion, QStringLiteral("c"));
    c.setDatabaseName(carpeta);
    try {
        c.open();
    } catch (const gp::DatabaseError &e) {
        return e.mensaje();
    }
    return QString();
}

// A folder or file that cannot be read or written is reported with the system's reason and
// its path: "Path not found" would send the administrator looking for a folder that exists.
TEST(AccesoFicheros, SinPermisoSeDiceElMotivoYLaRuta)
{
    gptest::TempDir dir;
    Session sesion;
    const QString cerrada = dir.file(QStringLiteral("cerrada"));
    const QString conFichero = dir.file(QStringLiteral("con_fichero"));
    ASSERT_TRUE(sesion.createDatabase(conFichero));
    sesion.closeAll();
    ASSERT_TRUE(QDir().mkpath(cerrada));
    gptest::quitarPermisos(cerrada);
    gptest::quitarPermisos(conFichero + QStringLiteral("/datos.sqlite"));
    const QString bajoCerrada = cerrada + QStringLiteral("/nueva");
    {
        gptest::PermisosDeUsuario comoUsuario;
        if (!gptest::PermisosDeUsuario::rigen(dir.path()))
            GTEST_SKIP() << "file permissions do not hold for this process";
        EXPECT_EQ(errorAlAbrir(sesion, cerrada), QStringLiteral("Permission denied.\n") + cerrada);
        EXPECT_EQ(errorAlAbrir(sesion, conFichero), QStringLiteral("Permission denied.\n") + conFichero + QStringLiteral("/datos.sqlite"));
        try {
            sesion.createDatabase(bajoCerrada);
            ADD_FAILURE() << "created under a folder without permission";
        } catch (const gp::DatabaseError &e) {
            EXPECT_EQ(e.mensaje(), QStringLiteral("Permission denied.\n") + cerrada);
        }
    }
    gptest::devolverPermisos(cerrada);
    gptest::devolverPermisos(conFichero + QStringLiteral("/datos.sqlite"));
}

// "file is not a database" says which file.
TEST(AccesoFicheros, UnFicheroQueNoEsBaseDeDatosSeNombra)
{
    gptest::TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("rota"))));
    const QString fichero = dir.file(QStringLiteral("rota/datos.sqlite"));
    QFile f(fichero);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    Session sesion;
    const QString error = errorAlAbrir(sesion, dir.file(QStringLiteral("rota")));
    EXPECT_TRUE(error.contains(QStringLiteral("file is not a database"))) << error.toStdString();
    EXPECT_TRUE(error.endsWith(u'\n' + fichero)) << error.toStdString();
}

} // namespace
