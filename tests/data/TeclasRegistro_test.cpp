#include "GENEW/data/ventanas/TeclasRegistro.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSource.h"
#include "tests/data/ModuloFixture.h"

namespace {

class TeclasRegistro : public ModuloFixture
{
protected:
    void SetUp() override
    {
        ModuloFixture::SetUp();
        ASSERT_TRUE(prepararMotor(false));
        for (int i = 1; i <= 3; ++i)
            sql(QStringLiteral("INSERT INTO LPROYECT (CodigoProyecto, Linea, Descripcion, Responsable) "
                               "VALUES ('P1', %1, 'Linea %1', %1)")
                    .arg(i));
        sql("INSERT INTO LPROYECT (CodigoProyecto, Linea, Descripcion) VALUES ('P2', 1, 'Otra')");
        lineas.setDatabaseName(form_->Database().databaseName());
        lineas.setConnection(&form_->Database());
        lineas.setTableName("LPROYECT");
        ASSERT_TRUE(modulo_->AbrirTabla(lineas));
        fuente.setDataSet(&lineas);
        rejilla.setDataSource(&fuente);
    }
    void TearDown() override
    {
        rejilla.setDataSource(nullptr);
        lineas.close();
        ModuloFixture::TearDown();
    }

    plat::TableDataSet lineas{QStringLiteral("Lineas")};
    plat::DataSource fuente;
    plat::DBGrid rejilla;
};

TEST_F(TeclasRegistro, ShiftF5CopiesTheFieldOfTheLastLineOfTheGroup)
{
    ASSERT_TRUE(lineas.findKey({QStringLiteral("P1"), 2}));
    rejilla.setSelectedField(lineas.findField("Descripcion"));
    EXPECT_FALSE(teclasRegistro::CopiarCampoDelGrupo(rejilla));   // not editing: the key is not taken
    lineas.insert();
    lineas.fieldByName("CodigoProyecto").setValue("P1");
    lineas.fieldByName("Linea").setValue(4);
    EXPECT_TRUE(teclasRegistro::CopiarCampoDelGrupo(rejilla));
    EXPECT_EQ(lineas.fieldByName("Descripcion").asString(), "Linea 3");
    lineas.cancel();
}

TEST_F(TeclasRegistro, CtrlAltCAndVCopyARecordButNotItsKey)
{
    ASSERT_TRUE(lineas.findKey({QStringLiteral("P1"), 2}));
    EXPECT_TRUE(teclasRegistro::CopiarRegistro(rejilla));
    EXPECT_TRUE(modulo_->RegistroCopiado.startsWith("P1|2||Linea 2|"));
    ASSERT_TRUE(lineas.findKey({QStringLiteral("P2"), 1}));
    EXPECT_TRUE(teclasRegistro::PegarRegistro(rejilla));
    lineas.post();
    EXPECT_EQ(sql("SELECT CodigoProyecto, Linea, Descripcion, Responsable FROM LPROYECT WHERE CodigoProyecto = 'P2'"),
              "P2|1|Linea 2|2");
}

TEST_F(TeclasRegistro, CtrlIClearsTheValueUnderEachKindOfControl)
{
    ASSERT_TRUE(lineas.findKey({QStringLiteral("P1"), 1}));
    plat::DBComboBox combo;
    combo.setDataSource(&fuente);
    combo.setDataField("Descripcion");
    EXPECT_TRUE(teclasRegistro::LimpiarValor(&combo));
    EXPECT_EQ(lineas.state(), plat::DataSetState::Edit);
    EXPECT_EQ(lineas.fieldByName("Descripcion").asString(), "");

    plat::DBLookupComboBox lookup;
    lookup.setDataSource(&fuente);
    lookup.setDataField("Responsable");
    teclasRegistro::LimpiarValor(&lookup);
    EXPECT_EQ(lineas.fieldByName("Responsable").asInteger(), 0);
    EXPECT_FALSE(lineas.fieldByName("Responsable").isNull());

    plat::DBEdit edit;   // any other control: nothing
    edit.setDataSource(&fuente);
    edit.setDataField("Capitulo");
    lineas.fieldByName("Capitulo").setValue("C1");
    teclasRegistro::LimpiarValor(&edit);
    EXPECT_EQ(lineas.fieldByName("Capitulo").asString(), "C1");
    lineas.cancel();

    plat::Image imagen;
    QPixmap p(4, 4);
    p.fill(Qt::red);
    imagen.setPicture(p);
    teclasRegistro::LimpiarValor(&imagen);
    EXPECT_TRUE(imagen.picture().isNull());
}

TEST_F(TeclasRegistro, LimpiarCampoGivesEachTypeItsEmptyValue)
{
    ASSERT_TRUE(lineas.findKey({QStringLiteral("P1"), 3}));
    for (const char *nombre : {"Responsable", "Importe", "FechaInicio", "Descripcion", "DescripcionAmpliada"})
        modulo_->LimpiarCampo(lineas.fieldByName(nombre));
    EXPECT_EQ(lineas.fieldByName("Responsable").value().toInt(), 0);
    EXPECT_EQ(lineas.fieldByName("Importe").asFloat(), 0.0);
    EXPECT_TRUE(EsFechaCero(lineas.fieldByName("FechaInicio").asDateTime()));
    EXPECT_EQ(lineas.fieldByName("Descripcion").asString(), "");
    lineas.post();
    EXPECT_EQ(sql("SELECT Responsable, Descripcion FROM LPROYECT WHERE Linea = 3"), "0|");
}

} // namespace
