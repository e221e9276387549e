// The operator master under the names of the sibling programs: this test program also runs
// as copies named after them, GP_PROGRAMA saying which one the run stands for.
#include "tests/data/MaestroFixture.h"

#include "projects/operarios/PRESOPER.h"

namespace {

class IdentidadOperariosTest : public MaestroFixture
{
};

TEST_P(IdentidadOperariosTest, TheSiblingProgramsEnableTheirOwnControls)
{
    const QString programa = qEnvironmentVariable("GP_PROGRAMA");
    auto &f = abrirVentana<TfPRESOPER>();
    for (QWidget *w : std::initializer_list<QWidget *>{f.LBCalendario, f.EditCalendario, f.LBCategoria, f.EditCategoria,
                                                       f.LBActividadMovil, f.EditActividadMovil, f.LBNumeroTarjeta,
                                                       f.EditNumeroTarjeta})
        EXPECT_EQ(w->isEnabled(), programa != QLatin1String("ostrela")) << w->objectName().toStdString();
    EXPECT_EQ(f.CalendarioOperario->isEnabled(), programa == QLatin1String("vimbaro"));
    EXPECT_TRUE(f.EditNombre->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Motores, IdentidadOperariosTest, ::testing::Values(false), NombreMotor);

} // namespace
