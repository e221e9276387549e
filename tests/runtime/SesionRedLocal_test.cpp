#include "GENEW/runtime/SesionRedLocal.h"
#include "tests/support/TempDir.h"

#include <QFile>
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

} // namespace
