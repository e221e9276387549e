#include "GENEW/reporting/impresos/TablaImpresos.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "tests/platform/engine/EngineFixture.h"
#include "tests/reporting/impresos/ImpresoPrueba.h"

namespace {

// The print engine's `Impreso` table on every engine, with IMPRESO as the program defines it.
class TablaImpresos : public gptest::EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        plat::TableDef t;
        t.name = "IMPRESO";
        t.fields = {plat::fieldDef("Codigo", ftString, 20, true), plat::fieldDef("Descripcion", ftString, 40),
                    plat::fieldDef("TipoDocumento", ftString, 20), plat::fieldDef("Modo", ftString, 10),
                    plat::fieldDef("Instrucciones", ftMemo), plat::fieldDef("Formato", ftString, 30),
                    plat::fieldDef("ImpresoraPorDefecto", ftString, 100)};
        plat::IndexDef primario;
        primario.name = "Clave1";
        primario.fields = {"Codigo"};
        primario.primary = primario.unique = true;
        t.indexes = {primario};
        db().createTable(t);
        impreso = std::make_unique<plat::TableDataSet>("Impreso");
        impreso->setConnection(&db());
        impreso->setTableName("IMPRESO");
        impreso->open();
        anadir("ETIQUETAS", "Texto", "[SISTEMA]\r\nFormatoEtiqueta=3;8;70;37\r\n[CABECERA]\r\n", "A5-Apaisado");
        anadir("FACTURA", "Grafico", "[SISTEMA]\r\nMargenes=10;15\r\n[CABECERA]\r\nText=1;1;0;Factura\r\n", "100x50");
    }
    void anadir(const QString &codigo, const QString &modo, const QString &instrucciones, const QString &formato)
    {
        impreso->append();
        impreso->fieldByName("Codigo").setAsString(codigo);
        impreso->fieldByName("Descripcion").setAsString("Impreso " + codigo);
        impreso->fieldByName("TipoDocumento").setAsString("Otro");
        impreso->fieldByName("Modo").setAsString(modo);
        impreso->fieldByName("Instrucciones").setAsString(instrucciones);
        impreso->fieldByName("Formato").setAsString(formato);
        impreso->fieldByName("ImpresoraPorDefecto").setAsString("Predeterminada");
        impreso->post();
    }
    std::unique_ptr<plat::TableDataSet> impreso;
};

TEST_P(TablaImpresos, RecordByCodeThenTheRequestsLayoutThenNothing)
{
    EstadoEjecucionImpreso ejecucion;
    ejecucion.codigoImpresoPeticion = "FACTURA";
    OrdenesGrabadas ordenes;
    DisenoImpreso diseno(ejecucion, {BuscadorDeImpresos(*impreso), {}, &ordenes});

    ASSERT_TRUE(diseno.AsignarFormatoPapel("ETIQUETAS"));
    EXPECT_EQ(diseno.registro().Descripcion, "Impreso ETIQUETAS");
    EXPECT_EQ(diseno.registro().ImpresoraPorDefecto, "Predeterminada");
    EXPECT_TRUE(diseno.modoTexto());
    EXPECT_EQ(diseno.papel().anchoMm, 210);
    EXPECT_EQ(diseno.papel().altoMm, 149);
    diseno.AnalizarInstrucciones();
    EXPECT_EQ(diseno.ajustes().etiquetasPorPagina, 24);

    // A missing code takes the request's layout.
    ASSERT_TRUE(diseno.AsignarFormatoPapel("NO EXISTE"));
    EXPECT_EQ(diseno.registro().Codigo, "FACTURA");
    EXPECT_FALSE(diseno.modoTexto());
    EXPECT_EQ(diseno.papel().anchoMm, 100);
    diseno.AnalizarInstrucciones();
    EXPECT_EQ(diseno.ajustes().margenSuperior, 15);
    EXPECT_EQ(diseno.seccion(SeccionImpreso::Cabecera), QStringList({"[CABECERA]", "Text=1;1;0;Factura"}));

    // Neither: nothing changes.
    ejecucion.codigoImpresoPeticion = "TAMPOCO";
    EXPECT_FALSE(diseno.AsignarFormatoPapel("NO EXISTE"));
    EXPECT_EQ(diseno.registro().Codigo, "FACTURA");
    EXPECT_EQ(diseno.papel().altoMm, 50);
}

INSTANTIATE_TEST_SUITE_P(Motores, TablaImpresos, GP_ENGINE_BACKENDS);

} // namespace
