// Another program changes the project the window is editing: the header's save says so with
// the window's own message and keeps what was typed, as the master windows do; the chapter
// grid, which has no message of its own, tells it through the exception handler and keeps
// the line as typed. On SQLite and PostgreSQL.
#include "VentanaProyectoMuestra.h"
#include "tests/support/ImprimirQString.h"

#include "tests/platform/engine/OtherProgramFixture.h"

#include <QTest>

namespace {

class GrabacionConcurrenteTest : public VentanaProyectoMuestraTest
{
protected:
    void SetUp() override
    {
        VentanaProyectoMuestraTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        otro_ = std::make_unique<gptest::OtherProgram>(form_->Database().location());
    }

    void TearDown() override
    {
        otro_.reset();
        VentanaProyectoMuestraTest::TearDown();
    }

    std::unique_ptr<gptest::OtherProgram> otro_;
};

TEST_P(GrabacionConcurrenteTest, LaCabeceraCambiadaPorOtroGuardaLoEscritoConElMensajeDeLaVentana)
{
    TfPROYPROY &f = *ventana_;
    cabecera().edit();
    cabecera().fieldByName("Descripcion").setAsString("Nave de Cuarte, fase 2");
    otro_->db().exec("UPDATE PROYECT SET Descripcion = 'Nave industrial Cuarte (ampliada)' WHERE Codigo = '1'");
    f.GrabarDatos(&f);
    EXPECT_EQ(mensajes_.textos(),
              QStringList{"¡Imposible modificar el registro!. Es posible que esté siendo modificado por otro usuario."});
    EXPECT_EQ(cabecera().state(), plat::DataSetState::Edit);
    EXPECT_EQ(cabecera().fieldByName("Descripcion").asString(), "Nave de Cuarte, fase 2");
    EXPECT_EQ(sql("SELECT Descripcion FROM PROYECT WHERE Codigo = '1'"), "Nave industrial Cuarte (ampliada)");

    // Cancelled by the user, a change of another field of the project stays beside the
    // user's, who edits anew from what is stored now.
    mensajes_.limpiar();
    f.pbCancelarClick(&f);
    cabecera().edit();
    EXPECT_EQ(cabecera().fieldByName("Descripcion").asString(), "Nave industrial Cuarte (ampliada)");
    cabecera().fieldByName("Descripcion").setAsString("Nave de Cuarte, fase 2");
    otro_->db().exec("UPDATE PROYECT SET DescripcionAmpliada = 'Ampliación aprobada' WHERE Codigo = '1'");
    f.GrabarDatos(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(sql("SELECT Descripcion, DescripcionAmpliada FROM PROYECT WHERE Codigo = '1'"),
              "Nave de Cuarte, fase 2|Ampliación aprobada");
}

TEST_P(GrabacionConcurrenteTest, LaLineaCambiadaPorOtroSeQuedaComoSeEscribio)
{
    TfPROYPROY &f = *ventana_;
    f.Show();
    f.PageControl1->setActivePage(f.PagCapitulos);
    f.DBGrid1->setFocus();
    lineas().first();
    const int linea = lineas().fieldByName("Linea").asInteger();
    mensajes_.limpiar();
    lineas().edit();
    lineas().fieldByName("Descripcion").setAsString("Proyecto básico y licencias");
    otro_->db().exec(QStringLiteral("UPDATE LPROYECT SET Descripcion = 'Licencia de obra' WHERE CodigoProyecto = '1' AND "
                                   "Linea = %1")
                        .arg(linea));
    // Leaving the row posts it; refused, the row stays current and highlighted.
    const int fila = f.DBGrid1->currentIndex().row();
    QTest::keyClick(f.DBGrid1, Qt::Key_Down);
    EXPECT_EQ(f.DBGrid1->currentIndex().row(), fila);
    for (const QModelIndex &seleccionada : f.DBGrid1->selectionModel()->selectedIndexes())
        EXPECT_EQ(seleccionada.row(), fila);
    EXPECT_TRUE(f.DBGrid1->selectionModel()->isSelected(f.DBGrid1->currentIndex()));
    EXPECT_EQ(mensajes_.textos(), QStringList{"¡ El registro ha sido modificado por otro usuario !. Debe cancelar la "
                                              "edición, salir e intentarlo de nuevo."});
    EXPECT_EQ(lineas().state(), plat::DataSetState::Edit);
    EXPECT_EQ(lineas().fieldByName("Linea").asInteger(), linea);
    EXPECT_EQ(lineas().fieldByName("Descripcion").asString(), "Proyecto básico y licencias");
    guardarCaptura(f, QStringLiteral("grabacion-concurrente-linea-") + (GetParam() ? "postgresql" : "sqlite"));
    EXPECT_EQ(sql(QStringLiteral("SELECT Descripcion FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = %1").arg(linea)),
              "Licencia de obra");

    // Cancelled and typed again, it is saved over the other program's text.
    mensajes_.limpiar();
    f.pbCancelarClick(&f);
    lineas().edit();
    EXPECT_EQ(lineas().fieldByName("Descripcion").asString(), "Licencia de obra");
    lineas().fieldByName("Descripcion").setAsString("Proyecto básico y licencias");
    f.GrabarDatos(&f);
    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(sql(QStringLiteral("SELECT Descripcion FROM LPROYECT WHERE CodigoProyecto = '1' AND Linea = %1").arg(linea)),
              "Proyecto básico y licencias");
}

INSTANTIATE_TEST_SUITE_P(Motores, GrabacionConcurrenteTest, ::testing::Values(false, true), NombreMotor);

} // namespace
