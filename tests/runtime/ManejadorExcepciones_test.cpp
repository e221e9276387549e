#include "GENEW/runtime/ManejadorExcepciones.h"
#include "GENEW/runtime/AvisoServidorAusente.h"
#include "GENEW/runtime/ServicioSQL.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/SalidaMensajes.h"
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <memory>
#include <stdexcept>

using namespace plat;

namespace {

class FormPrueba : public Form
{
public:
    FormPrueba() { setObjectName("fPRUEBAEXCEPCIONES"); }
};

class Excepciones : public ::testing::Test
{
protected:
    void SetUp() override
    {
        traza.emplace(manejador.trazaError,
                      [this](const QString &m, QObject *remitente) { trazas << m; ultimoRemitente = remitente; });
        manejador.cuadroSistema = [this](const QString &t) { cuadros << t; };
        manejador.instalar();
        // The grid's form is never the main one (closing that ends the program).
        static Form *principal = new Form;
        application().setMainForm(principal);
        form = std::make_unique<FormPrueba>();
        rejilla = new QTableView(form.get());
    }
    void TearDown() override { application().OnException = nullptr; }

    void lanzar(QObject *remitente, const std::exception &e)
    {
        application().guard(remitente, [&] { throw e; });
    }

    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada{grabada};
    ManejadorExcepciones manejador;
    std::optional<Gancho<ManejadorExcepciones::TrazaErrorFn>::Instalacion> traza;
    std::unique_ptr<FormPrueba> form;
    QTableView *rejilla = nullptr;
    QStringList trazas;
    QStringList cuadros;
    QObject *ultimoRemitente = nullptr;
};

// Without a box of its own the handler shows the plain system box through the message sink,
// so an unattended run records it instead of opening a window.
TEST(ExcepcionesCuadro, ElCuadroPorDefectoPasaPorLaSalidaDeMensajes)
{
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada{grabada};
    ManejadorExcepciones manejador;
    manejador.GestionExcepciones(nullptr, gp::DatabaseError("Invalid BLOB handle in record buffer"));
    ASSERT_EQ(grabada.mensajes().size(), 1);
    EXPECT_EQ(grabada.mensajes()[0].tipo, "S");
    EXPECT_EQ(grabada.mensajes()[0].texto,
              "¡El número de campos Memo que se intenta manejar es excesivo!. Acote la consulta.");
}

TEST_F(Excepciones, AdvertenciaErrorEIgnorado)
{
    application().guard(form.get(), [] { throw gp::DatabaseError("Key violation. UNIQUE constraint failed"); });
    ASSERT_EQ(grabada.mensajes().size(), 1);
    EXPECT_EQ(grabada.mensajes()[0].tipo, "A");
    EXPECT_EQ(grabada.mensajes()[0].texto, "¡ Ya existe el registro !");
    EXPECT_TRUE(trazas.isEmpty());

    application().guard(form.get(), [] { throw gp::DatabaseError("Table does not exist. no such table: X"); });
    ASSERT_EQ(grabada.mensajes().size(), 2);
    EXPECT_EQ(grabada.mensajes()[1].tipo, "E");
    EXPECT_EQ(grabada.mensajes()[1].texto, "¡ La tabla no existe !. Compruebe la Base de Datos por favor.");
    EXPECT_EQ(application().cursor(), crNoDrop);
    EXPECT_EQ(trazas, QStringList{"Table does not exist. no such table: X"});
    EXPECT_EQ(ultimoRemitente, form.get());

    application().guard(form.get(), [] { throw gp::DatabaseError("Table is busy"); });
    EXPECT_EQ(grabada.mensajes().size(), 2);
    EXPECT_EQ(application().cursor(), crDefault);

    // Exceptions of other kinds are read by their text.
    application().guard(form.get(), [] { throw std::runtime_error("Access violation at address 0"); });
    ASSERT_EQ(grabada.mensajes().size(), 3);
    EXPECT_EQ(grabada.mensajes()[2].tipo, "E");
}

// An engine failure's kind reaches the translation: a record another user changed is told in
// Spanish, from a grid as from a form.
TEST_F(Excepciones, ElTipoDelFalloDecideSuTexto)
{
    application().guard(rejilla, [] {
        throw gp::DatabaseError("Record changed by another user", gp::DatabaseErrorKind::RecordChanged);
    });
    ASSERT_EQ(grabada.mensajes().size(), 1);
    EXPECT_EQ(grabada.mensajes()[0].tipo, "A");
    EXPECT_EQ(grabada.mensajes()[0].texto,
              "¡ El registro ha sido modificado por otro usuario !. Debe cancelar la edición, salir e intentarlo de nuevo.");
    EXPECT_TRUE(trazas.isEmpty());
}

// A server that cannot be reached is told once for the failures that come together, whether
// they reach the handler or the SQL service; a quiet moment later it is told again.
TEST_F(Excepciones, ElServidorAusenteSeDiceUnaVezPorRafaga)
{
    const QString motivo = "connection to server at \"127.0.0.1\", port 5432 failed: Connection refused";
    const QString aviso = "¡ No es posible conectar con el servidor de la Base de Datos !. Motivo: " + motivo;
    const gp::DatabaseError perdida(motivo, gp::DatabaseErrorKind::ConnectionLost);
    application().guard(rejilla, [&] { throw perdida; });
    application().guard(form.get(), [&] { throw perdida; });
    InformarSentenciaErronea("Error: " + motivo, "SELECT 1", {true, motivo, gp::DatabaseErrorKind::ConnectionLost});
    EXPECT_EQ(grabada.textos(), QStringList{aviso});
    EXPECT_TRUE(trazas.isEmpty());

    // Any other failure of a statement is told as before, with the statement.
    grabada.limpiar();
    InformarSentenciaErronea("Error: sin tabla", "SELECT 1", {true, "sin tabla", gp::DatabaseErrorKind::MissingTable});
    EXPECT_EQ(grabada.textos(), (QStringList{"Error: sin tabla", "Hay un error en la siguiente Sentencia SQL: \r\nSELECT 1"}));

    AvisoServidorAusente corto(100);
    grabada.limpiar();
    EXPECT_TRUE(corto.avisar(motivo));
    EXPECT_FALSE(corto.avisar(motivo));
    QTest::qWait(150);
    EXPECT_TRUE(corto.avisar(motivo));
    corto.olvidar();
    EXPECT_TRUE(corto.avisar(motivo));
    EXPECT_EQ(grabada.textos(), QStringList(3, aviso));
}

TEST_F(Excepciones, NivelMaximoTrazaTodo)
{
    manejador.nivelCapturaIncidencias = "Maximo";
    application().guard(form.get(), [] { throw gp::Error("Texto desconocido"); });
    application().guard(form.get(), [] { throw gp::Error("Table is busy"); });
    EXPECT_EQ(trazas, (QStringList{"Texto desconocido", "Table is busy"}));
    EXPECT_EQ(grabada.textos(), QStringList{"Texto desconocido"});
}

TEST_F(Excepciones, DemasiadosMemosCierranElFormularioDeLaRejilla)
{
    form->Show();
    application().guard(form.get(), [] { throw gp::DatabaseError("Invalid BLOB handle in record buffer"); });
    EXPECT_EQ(cuadros.size(), 1);
    EXPECT_TRUE(form->visible());   // not raised by a grid: the form stays

    application().guard(rejilla, [] { throw gp::DatabaseError("Invalid BLOB handle in record buffer"); });
    EXPECT_EQ(cuadros.size(), 2);
    EXPECT_EQ(cuadros.last(), "¡El número de campos Memo que se intenta manejar es excesivo!. Acote la consulta.");
    EXPECT_FALSE(form->visible());
    EXPECT_TRUE(grabada.mensajes().isEmpty());
    EXPECT_TRUE(trazas.isEmpty());
}

} // namespace
