// The PostgreSQL server is stopped while a project is being typed: one message names the
// server's reason, the typed values stay in the window, and once the server is back the
// save stores them. The program runs against a server of the test's own.
#include "VentanaProyectoMuestra.h"
#include "tests/support/ImprimirQString.h"

#include "tests/platform/engine/StoppedServerFixture.h"

#include <QPointer>
#include <QTest>

namespace {

// The window's datasets end with the server back: the server fixture starts it again before
// the window goes.
class ServidorAusenteTest : public gptest::StoppedServerTest<VentanaProyectoMuestraTest>
{
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
    stopServer();
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

    startServer();
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
    stopServer();
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
