#include "GENEW/runtime/SesionRedLocal.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

// Copies running at once hold numbers of their own, the lowest free first; a number let go
// is the next one taken, and a lock file its holder left behind when it died frees it.
TEST(SesionRedLocal, EachRunningCopyHoldsTheLowestFreeNumber)
{
    gptest::TempDir dir;
    std::vector<std::unique_ptr<SesionRedLocal>> copias;
    for (int i = 0; i < 3; ++i)
        copias.push_back(std::make_unique<SesionRedLocal>(dir.path()));
    EXPECT_EQ(copias[0]->numero(), 0);
    EXPECT_EQ(copias[1]->numero(), 1);
    EXPECT_EQ(copias[2]->numero(), 2);

    copias[1].reset();
    EXPECT_EQ(SesionRedLocal(dir.path()).numero(), 1);

    // A copy that died: its lock file names a process that is gone.
    copias[0].reset();
    QFile huerfano(dir.file("gestion-proyectos-sesion-0.lock"));
    ASSERT_TRUE(huerfano.open(QIODevice::WriteOnly));
    huerfano.write("999999999\ngp_runtime_tests\n\n");
    huerfano.close();
    EXPECT_EQ(SesionRedLocal(dir.path()).numero(), 0);

    EXPECT_EQ(SesionRedLocal(dir.file("no/existe")).numero(), -1);
}

// The locks live in the user's runtime folder, or else in a private folder of their own inside
// the temporary folder: never among the passing files there, which callers expect to clear.
TEST(SesionRedLocal, TheNumbersLiveApartFromThePassingFiles)
{
    gptest::TempDir dir;
    const QByteArray tmp = qgetenv("TMPDIR"), ejecucion = qgetenv("XDG_RUNTIME_DIR");
    const auto restaurar = qScopeGuard([&] {
        qputenv("TMPDIR", tmp);
        ejecucion.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", ejecucion);
    });
    qputenv("TMPDIR", dir.path().toUtf8());
    qputenv("XDG_RUNTIME_DIR", dir.file("ejecucion").toUtf8());
    EXPECT_NE(SesionRedLocal::carpetaDelUsuario(), dir.file("ejecucion")) << "a runtime folder that is not there";
    QDir(dir.path()).mkdir(QStringLiteral("ejecucion"));
    EXPECT_EQ(SesionRedLocal::carpetaDelUsuario(), dir.file("ejecucion"));

    qunsetenv("XDG_RUNTIME_DIR");
    const QString propia = SesionRedLocal::carpetaDelUsuario();
    EXPECT_EQ(QFileInfo(propia).dir().path(), dir.path());
    EXPECT_EQ(QFileInfo(propia).permissions() & (QFile::ReadGroup | QFile::WriteOther), QFile::Permissions());
    EXPECT_EQ(SesionRedLocal(propia).numero(), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

} // namespace
