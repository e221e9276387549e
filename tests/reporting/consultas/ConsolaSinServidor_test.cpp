// The SQL console opened while the PostgreSQL server is stopped: the server is named once,
// with the engine's reason, and the console opens without tables; once the server is back it
// lists them. The program runs against a server of the test's own.
#include "GENEW/reporting/GENECSQL.h"
#include "platform/ui/Lists.h"
#include "tests/reporting/consultas/ProgramaConsultas.h"
#include "tests/support/PrivatePgServer.h"

#include <map>

namespace {

class ConsolaSinServidor : public ProgramaConsultas
{
protected:
    static void SetUpTestSuite() { servidor_ = new gptest::PrivatePgServer; }
    static void TearDownTestSuite()
    {
        delete servidor_;
        servidor_ = nullptr;
    }

    void SetUp() override
    {
        if (!servidor_->available())
            GTEST_SKIP() << "no PostgreSQL test server";
        // The program's settings are written for the server the environment names.
        for (const char *nombre : {"GP_TEST_PGHOST", "GP_TEST_PGPORT", "GP_TEST_PGUSER"})
            entorno_[nombre] = qgetenv(nombre);
        qputenv("GP_TEST_PGHOST", servidor_->settings().host.toUtf8());
        qputenv("GP_TEST_PGPORT", QByteArray::number(servidor_->settings().port));
        qputenv("GP_TEST_PGUSER", servidor_->settings().user.toUtf8());
        ProgramaConsultas::SetUp();
    }

    void TearDown() override
    {
        if (entorno_.empty())
            return;
        if (!enMarcha_)
            servidor_->resume();
        ProgramaConsultas::TearDown();
        for (const auto &[nombre, valor] : entorno_)
            qputenv(nombre.c_str(), valor);
    }

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

    static inline gptest::PrivatePgServer *servidor_ = nullptr;
    std::map<std::string, QByteArray> entorno_;
    bool enMarcha_ = true;
    TfGENECSQL *consola_ = nullptr;
};

TEST_P(ConsolaSinServidor, OneMessageNamesTheServerAndTheConsoleOpensEmpty)
{
    ASSERT_TRUE(servidor_->pause());
    enMarcha_ = false;
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

    ASSERT_TRUE(servidor_->resume());
    enMarcha_ = true;
    mensajes_.limpiar();
    consola_ = plat::createForm<TfGENECSQL>();
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join(u'\n').toStdString();
    EXPECT_TRUE(elementos(*consola_).contains(QStringLiteral("t"), Qt::CaseInsensitive))
        << elementos(*consola_).join(u',').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Motores, ConsolaSinServidor, ::testing::Values(true), NombreMotor);

} // namespace
