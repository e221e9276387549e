// A new installation has no name map in its working folder: the one installed beside the
// program names this program's application, so that a stored statement can be given to it
// and reaches the main window's "Adicional" menu. On each engine.
#include "tests/app/SesionFixture.h"
#include "tests/support/ImprimirQString.h"

#include "GENEW/reporting/GENECSQL.h"
#include "platform/ui/Controls.h"

#include <QFile>

namespace {

class MenuAplicaciones : public SesionFixture, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        SesionFixture::SetUp();
        ASSERT_TRUE(QFile::remove(dir_.file(QStringLiteral("KORVEL.MAP"))));
        if (GetParam() && !configurarPostgreSQL())
            GTEST_SKIP() << "no PostgreSQL test server";
    }

    void TearDown() override
    {
        if (fGENECSQL)
            fGENECSQL->Free();
        SesionFixture::TearDown();
    }

    static QStringList titulos(const plat::MenuItem *menu)
    {
        QStringList t;
        for (const plat::MenuItem *item : menu->items())
            t << item->caption();
        return t;
    }
};

TEST_P(MenuAplicaciones, TheInstalledMapOffersTheProgramAndItsStatementReachesAdicional)
{
    TfPROYMENU &v = mostrar();
    EXPECT_EQ(fGENEINIC->NombreDeCodigoEnLista(100), QStringLiteral("Gestión de Proyectos"));
    v.ConsultasSQL1->Click();
    ASSERT_NE(fGENECSQL, nullptr);
    TfGENECSQL &c = *fGENECSQL;
    c.SentenciaSQL->setText(QStringLiteral("SELECT Codigo, Nombre FROM EMPRESA"));
    mensajes_.programarRespuestas({QStringLiteral("Empresas dadas de alta")});
    c.pbGuardarFiltroComoClick(c.pbGuardarFiltroComo);

    // "Menú" offers the application of the installed map; the user ticks it and saves.
    QString ofrecidas;
    fGENEINIC->PuntosEntrada.SeleccionarDeLista = [&](const QString &lista, const QString &) {
        ofrecidas = lista;
        return QStringLiteral("Gestión de Proyectos\r\n");
    };
    mensajes_.programarRespuestas({QStringLiteral("SI")});
    c.pbPersonalizarMenuClick(c.pbPersonalizarMenu);
    EXPECT_EQ(ofrecidas, QStringLiteral("Gestión de Proyectos\r\n"));

    fGENEINIC->AnadirInformesPersonalizados(QStringLiteral("ADMIN"), v.NombrePrograma(), v.MainMenu1);
    const QStringList adicional = titulos(v.Adicional1);
    EXPECT_TRUE(adicional.contains(QStringLiteral("Empresas dadas de alta"))) << adicional.join(u'|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, MenuAplicaciones, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &i) { return i.param ? "PostgreSQL" : "SQLite"; });

} // namespace
