// The SQL console opened while the PostgreSQL server is stopped: the server is named once,
// with the engine's reason, and the console opens without tables; once the server is back it
// lists them. The program runs against a server of the test's own.
#include "GENEW/reporting/GENECSQL.h"
#include "platform/ui/Lists.h"
#include "tests/reporting/consultas/ProgramaConsultas.h"
#include "tests/platform/engine/StoppedServerFixture.h"

namespace {

class ConsolaSinServidor : public gptest::StoppedServerTest<ProgramaConsultas>
{
protected:
    void liberarVentana() override
    {
        if (consola_)
            consola_->Free();
        consola_ = nullptr;
    }

    static QStringList elementos(const TfGENECSQL &c)
    {
        QStringList t;
        for (int i = 0; i < c.LBTablas->count(); ++i)
            t << c.LBTablas->item(i)->text();
        return t;
    }

    TfGENECSQL *consola_ = nullptr;
};

TEST_P(ConsolaSinServidor, OneMessageNamesTheServerAndTheConsoleOpensEmpty)
{
    stopServer();
    mensajes_.limpiar();
    consola_ = plat::createForm<TfGENECSQL>();
    ASSERT_NE(consola_, nullptr);
    ASSERT_EQ(mensajes_.mensajes().size(), 1) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, QStringLiteral("A"));
    EXPECT_TRUE(mensajes_.textos()[0].startsWith(
        QStringLiteral("¡ No es posible conectar con el servidor de la Base de Datos !. Motivo: ")))
        << mensajes_.textos()[0].toStdString();
    EXPECT_TRUE(elementos(*consola_).isEmpty());
    liberarVentana();

    startServer();
    mensajes_.limpiar();
    consola_ = plat::createForm<TfGENECSQL>();
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(elementos(*consola_).contains(QStringLiteral("t"), Qt::CaseInsensitive))
        << elementos(*consola_).join(u',').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConsolaSinServidor, ::testing::Values(true), NombreMotor);

} // namespace
