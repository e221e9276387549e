#include "GENEW/data/ventanas/GENEPROG.h"

#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/ui/Controls.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

QString traducirMarcado(const QString &texto) { return u'[' + texto + u']'; }

class ProgresoTest : public ::testing::Test
{
protected:
    void TearDown() override { MostrarProgresoSinTraducir(QStringLiteral("OFF"), QString(), QString()); }
    SalidaMensajesGrabada mensajes_;
    SalidaMensajesInstalada instalada_{mensajes_};
};

} // namespace

TEST(TextoProgreso, OnlyThePhraseBeforeTheDotsIsTranslated)
{
    const struct
    {
        const char *texto, *esperado;
    } casos[] = {
        {"Copiando registros...125", "[Copiando registros]...125"},
        {"Copiando registros... 3 de 10", "[Copiando registros]... 3 de 10"},
        {"Uno...dos...tres", "[Uno]...dos"},
        {"Sin puntos", "[Sin puntos]"},
        {"...7", "[]...7"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(TextoProgresoTraducido(QString::fromUtf8(c.texto), traducirMarcado), QString::fromUtf8(c.esperado))
            << c.texto;
}

TEST_F(ProgresoTest, UpdatesAndClosingWithoutAWindowDoNothing)
{
    ASSERT_EQ(fGENEPROG, nullptr);
    MostrarProgreso(QString(), QStringLiteral("Título"), QStringLiteral("Texto"));
    MostrarProgreso(QStringLiteral("OFF"), QString(), QString());
    MostrarProgreso(QStringLiteral("OTRO"), QStringLiteral("Título"), QStringLiteral("Texto"));
    EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(ProgresoTest, OnShowsTheTitleAndTextFittedAboveTheBottomOfTheScreen)
{
    MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Listado de Proyectos"), QStringLiteral("Leyendo...1"));
    ASSERT_NE(fGENEPROG, nullptr);
    TfGENEPROG &v = *fGENEPROG;
    EXPECT_EQ(v.caption(), QStringLiteral("Listado de Proyectos"));
    EXPECT_EQ(v.EditProgreso->caption(), QStringLiteral("Leyendo...1"));
    EXPECT_TRUE(v.visible());
    const int pantallaAncho = plat::application().screenWidth();
    const int pantallaAlto = plat::application().screenHeight();
    EXPECT_EQ(v.width(), 330);
    EXPECT_EQ(v.height(), 85);
    EXPECT_EQ(v.top(), pantallaAlto - 85 - 150);
    EXPECT_EQ(v.left(), (pantallaAncho - 330) / 2);
    EXPECT_EQ(v.PanelProgreso->width(), 330 - 16);

    // A long text widens the window to the label and 40 more; the window stays centred.
    const QString largo(120, u'M');
    MostrarProgreso(QString(), QString(), largo);
    EXPECT_EQ(fGENEPROG, &v);
    EXPECT_EQ(v.EditProgreso->caption(), largo);
    EXPECT_GT(v.EditProgreso->width(), 330);
    EXPECT_EQ(v.width(), v.EditProgreso->width() + 40);
    EXPECT_EQ(v.left(), (pantallaAncho - v.width()) / 2);

    MostrarProgreso(QStringLiteral("OFF"), QString(), QString());
    EXPECT_EQ(fGENEPROG, nullptr);
}

TEST_F(ProgresoTest, EscAsksWhetherTheListingGoesOn)
{
    MostrarProgreso(QStringLiteral("ON"), QStringLiteral("Listado"), QStringLiteral("Leyendo..."));
    ASSERT_NE(fGENEPROG, nullptr);
    const struct
    {
        const char *respuesta;
        bool cancelado;
    } casos[] = {{"SI", false}, {"NO", true}, {"SI", false}};
    for (const auto &c : casos) {
        ListadoCancelado = !c.cancelado;
        mensajes_.programarRespuestas({QString::fromUtf8(c.respuesta)});
        int tecla = plat::VK_ESCAPE;
        fGENEPROG->FormKeyDown(fGENEPROG, tecla, {});
        EXPECT_EQ(ListadoCancelado, c.cancelado) << c.respuesta;
        EXPECT_EQ(tecla, 0);
    }
    ASSERT_EQ(mensajes_.mensajes().size(), 3);
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, QStringLiteral("C"));
    EXPECT_EQ(mensajes_.mensajes()[0].texto,
              QStringLiteral("El listado será cancelado a continuación. ¿Desea continuar con el listado?"));
    ListadoCancelado = false;
}

TEST_F(ProgresoTest, ProgressReportsOfTheSinkDriveTheWindowAndMessagesGoOn)
{
    {
        ProgresoEnVentana progreso;
        IndicarProgreso(QStringLiteral("ON"), QStringLiteral("Copiando Registros"), QStringLiteral("Tabla...1"),
                        QString());
        ASSERT_NE(fGENEPROG, nullptr);
        EXPECT_EQ(fGENEPROG->caption(), QStringLiteral("Copiando Registros"));
        IndicarProgreso(QString(), QString(), QStringLiteral("Tabla...2"), QString());
        EXPECT_EQ(fGENEPROG->EditProgreso->caption(), QStringLiteral("Tabla...2"));
        MensajeAviso(QStringLiteral("aviso"));
        IndicarProgreso(QStringLiteral("OFF"), QString(), QString(), QString());
        EXPECT_EQ(fGENEPROG, nullptr);
    }
    EXPECT_EQ(mensajes_.textos(), QStringList{QStringLiteral("aviso")});
    EXPECT_TRUE(mensajes_.progresos().isEmpty());
}
