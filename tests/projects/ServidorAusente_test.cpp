// The PostgreSQL server is stopped while a project is being typed: one message names the
// server's reason, the typed values stay in the window, and once the server is back the
// save stores them. The program runs against a server of the test's own.
#include "ProyectoMuestra.h"
#include "ProyectosFixture.h"
#include "tests/support/ImprimirQString.h"

#include "projects/PROYPROY.h"
#include "tests/support/PrivatePgServer.h"

#include <QPointer>
#include <QTest>

namespace {

class ServidorAusenteTest : public ProyectosMotorTest
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
        ProyectosMotorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        for (const QString &sentencia : SentenciasProyectoMuestra())
            ASSERT_EQ(sql(sentencia), QString()) << sentencia.toStdString();
        ventana_ = ventanaPrograma<TfPROYPROY>();
        ventana_->setBounds(0, 0, 900, 600);
        cabecera().locate(QStringLiteral("Codigo"), QStringLiteral("1"));
        mensajes_.limpiar();
    }

    void TearDown() override
    {
        if (!entorno_.empty()) {
            if (!enMarcha_)
                servidor_->resume();
            delete ventana_.data();
            ProyectosMotorTest::TearDown();
            for (const auto &[nombre, valor] : entorno_)
                qputenv(nombre.c_str(), valor);
        }
    }

    plat::DataSet &cabecera() { return ventana_->Table1->dataSet(); }

    void detener()
    {
        ASSERT_TRUE(servidor_->pause());
        enMarcha_ = false;
    }
    void arrancar()
    {
        ASSERT_TRUE(servidor_->resume());
        enMarcha_ = true;
    }

    static inline gptest::PrivatePgServer *servidor_ = nullptr;
    std::map<std::string, QByteArray> entorno_;
    bool enMarcha_ = true;
    QPointer<TfPROYPROY> ventana_;
};

TEST_P(ServidorAusenteTest, UnSoloMensajeYLoEscritoSeGrabaAlVolverElServidor)
{
    TfPROYPROY &f = *ventana_;
    f.Show();
    cabecera().edit();
    f.EditDescripcion->setFocus();
    f.EditDescripcion->selectAll();
    QTest::keyClicks(f.EditDescripcion, QStringLiteral("Nave de Cuarte, fase 2"));
    QTest::keyClick(f.EditDescripcion, Qt::Key_Tab);
    detener();
    f.GrabarDatos(&f);
    ASSERT_EQ(mensajes_.mensajes().size(), 1) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(mensajes_.mensajes()[0].tipo, "A");
    EXPECT_TRUE(mensajes_.textos()[0].startsWith("¡ No es posible conectar con el servidor de la Base de Datos !. Motivo: "))
        << mensajes_.textos()[0].toStdString();
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Edit);
    EXPECT_EQ(cabecera().fieldByName("Descripcion").asString(), "Nave de Cuarte, fase 2");
    EXPECT_EQ(f.EditDescripcion->text(), "Nave de Cuarte, fase 2");
    guardarCaptura(f, QStringLiteral("servidor-ausente"));

    // Saving again at once belongs to the same burst: nothing more is shown.
    mensajes_.limpiar();
    f.GrabarDatos(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Edit);

    arrancar();
    mensajes_.limpiar();
    f.GrabarDatos(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Browse);
    EXPECT_EQ(sql("SELECT Descripcion FROM PROYECT WHERE Codigo = '1'"), "Nave de Cuarte, fase 2");
}

// A window opened while the server is away runs many statements, each failing: the server
// is named once, and no table's failure is taken for an error that ends the program.
TEST_P(ServidorAusenteTest, UnaVentanaAbiertaSinServidorNombraElServidorUnaVez)
{
    delete ventana_.data();
    detener();
    QPointer<TfPROYPROY> otra = ventanaPrograma<TfPROYPROY>();
    EXPECT_TRUE(otra);
    const QStringList servidor = mensajes_.textos().filter(QStringLiteral("No es posible conectar con el servidor"));
    EXPECT_EQ(servidor.size(), 1) << mensajes_.textos().join('\n').toStdString();
    EXPECT_TRUE(textosDeTipo(QStringLiteral("E")).isEmpty()) << mensajes_.textos().join('\n').toStdString();
    // Naming the window's work table is one of those statements: no box of its own.
    EXPECT_EQ(mensajes_.mensajes().size(), 1) << mensajes_.textos().join('\n').toStdString();
    delete otra.data();
}

INSTANTIATE_TEST_SUITE_P(Motores, ServidorAusenteTest, ::testing::Values(true), NombreMotor);

} // namespace
