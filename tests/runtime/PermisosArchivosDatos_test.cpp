// The database folders and files a start makes are their owner's only, whatever the umask: any
// local account could otherwise read the users' passwords in them. What exists keeps its modes,
// so a folder shared through a group keeps working.
#include "tests/runtime/ArranqueFixture.h"

#include <QFileInfo>
#include <sys/stat.h>

namespace {

mode_t modo(const QString &ruta)
{
    struct stat datos {};
    if (::stat(QFile::encodeName(ruta).constData(), &datos) != 0)
        return 0;
    return datos.st_mode & 07777;
}

// The process's umask for the life of the object.
class Umask
{
public:
    explicit Umask(mode_t mascara) : anterior_(::umask(mascara)) {}
    ~Umask() { ::umask(anterior_); }

private:
    mode_t anterior_;
};

class PermisosArchivosDatos : public ArranqueFixture
{
protected:
    // Company 1 made and written to, so that both databases have their -wal and -shm files.
    void empresaEscrita(TfGENEINIC &f)
    {
        ASSERT_FALSE(f.ArranqueFallido) << mensajes_.textos().join(u'\n').toStdString();
        f.CrearBaseDatosEmpresa(1);
        f.ConectarBaseDatosEmpresa(1);
        f.Database().exec(QStringLiteral("CREATE TABLE PRUEBA (Codigo INTEGER)"), {}, plat::SqlOrigin::AsWritten);
        f.Database().exec(QStringLiteral("INSERT INTO PRUEBA (Codigo) VALUES (1)"), {}, plat::SqlOrigin::AsWritten);
    }

    void esperarModos(const QString &carpeta, mode_t deCarpeta, mode_t deArchivos)
    {
        SCOPED_TRACE(carpeta.toStdString());
        EXPECT_EQ(modo(dir_.file(carpeta)), deCarpeta);
        for (const char *sufijo : {"", "-wal", "-shm"}) {
            const QString archivo = dir_.file(carpeta + QStringLiteral("/datos.sqlite") + QLatin1String(sufijo));
            ASSERT_TRUE(QFileInfo::exists(archivo)) << archivo.toStdString();
            EXPECT_EQ(modo(archivo), deArchivos) << archivo.toStdString();
        }
    }
};

TEST_F(PermisosArchivosDatos, AFirstStartMakesFoldersAndFilesForTheOwnerOnly)
{
    Umask abierta(022);
    empresaEscrita(arrancar());
    esperarModos(QStringLiteral("datos"), 0700, 0600);
    esperarModos(QStringLiteral("datos/1"), 0700, 0600);
}

TEST_F(PermisosArchivosDatos, AFolderAndADatabaseThatExistKeepTheirModes)
{
    {
        plat::Session previa;
        ASSERT_TRUE(previa.createDatabase(dir_.file(QStringLiteral("datos"))));
    }
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.file(QStringLiteral("datos"))).constData(), 0750), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir_.file(QStringLiteral("datos/datos.sqlite"))).constData(), 0640), 0);
    Umask abierta(022);
    empresaEscrita(arrancar());
    esperarModos(QStringLiteral("datos"), 0750, 0640);
    esperarModos(QStringLiteral("datos/1"), 0700, 0600);
}

} // namespace
