#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"

#include <gtest/gtest.h>

namespace {

TEST(Mensajes, CadaEnvoltorioPasaSuTipo)
{
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada(grabada);
    grabada.programarRespuestas({QStringLiteral("SI"), QStringLiteral("Nuevo")});
    MensajeInformacion(QStringLiteral("uno"));
    MensajeAviso(QStringLiteral("dos"));
    EXPECT_EQ(MensajeConfirmacion(QStringLiteral("¿tres?")), QStringLiteral("SI"));
    EXPECT_EQ(MensajePedirDato(QStringLiteral("cuatro"), QStringLiteral("propuesto")), QStringLiteral("Nuevo"));
    EXPECT_EQ(MensajePedirDato(QStringLiteral("cinco"), QStringLiteral("propuesto")), QStringLiteral("propuesto"));
    MensajeError(QStringLiteral("seis"));
    const QStringList tipos{QStringLiteral("I"), QStringLiteral("A"), QStringLiteral("C"),
                            QStringLiteral("P"), QStringLiteral("P"), QStringLiteral("E")};
    ASSERT_EQ(grabada.mensajes().size(), tipos.size());
    for (qsizetype i = 0; i < tipos.size(); ++i)
        EXPECT_EQ(grabada.mensajes().at(i).tipo, tipos.at(i)) << i;
    EXPECT_EQ(grabada.mensajes().at(3).respuestaPropuesta, QStringLiteral("propuesto"));
    EXPECT_EQ(grabada.textos().at(2), QStringLiteral("¿tres?"));
}

TEST(Mensajes, ProgresoEnElMismoOrden)
{
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada(grabada);
    IndicarProgreso(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d"));
    ASSERT_EQ(grabada.progresos().size(), 1);
    EXPECT_EQ(grabada.progresos().at(0),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}));
}

} // namespace
