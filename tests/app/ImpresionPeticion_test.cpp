#include "app/ImpresionPeticion.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/data/Field.h"
#include "platform/data/TableDataSet.h"
#include "platform/ui/data/DataSetComponents.h"

#include "platform/ui/Controls.h"
#include "projects/proyectos/PROYLPRO.h"
#include "tests/projects/ProyectosFixture.h"
#include "tests/reporting/impresos/MotorPrueba.h"

namespace {

// A project window's request run by the print engine to a PDF file.
class ImpresionPeticion : public ProyectosMotorTest
{
};

TEST_P(ImpresionPeticion, TheProjectDocumentPrintsOneLinePerRequestRowThroughTheEngine)
{
    proyecto("12", "2024-01-10", "2024-06-30");
    linea("12", 1, "1", "2024-01-10", "2024-01-20", 8, "10");
    linea("12", 2, "2.1", "2024-01-10", "2024-01-20", 4, "20");
    linea("12", 3, "2.1.1", "2024-01-10", "2024-01-20", 2, "30");
    gptest::TempDir dir;
    const QString pdf = dir.file("proyecto.pdf");
    Gancho<ImprimirPeticionFn>::Instalacion gancho(ganchoImprimirPeticion(), [&](const PeticionImpreso &peticion) {
        imprimirPeticionConMotor(peticion, "PDF:" + pdf);
    });
    TfPROYLPRO *ventana = ventanaPrograma<TfPROYLPRO>();
    plat::TableDataSet &impreso = ventana->Impreso->table();
    impreso.append();
    impreso.fieldByName("Codigo").setAsString("PROY");
    impreso.fieldByName("Descripcion").setAsString("Documento de proyecto");
    impreso.fieldByName("TipoDocumento").setAsString("Proyecto");
    impreso.fieldByName("Modo").setAsString("Grafico");
    impreso.fieldByName("Formato").setAsString("A4");
    impreso.fieldByName("Instrucciones")
        .setAsString("[SISTEMA]\r\nAlturaLinea=5\r\nInicioLineas=40\r\nFinLineas=250\r\n[CABECERA]\r\n"
                     "Text=10;10;0;Documento de proyecto\r\n[LINEAS]\r\n"
                     "Text=10;0;0;Capitulo impreso\r\n");
    impreso.post();
    ventana->DesdeProyecto->setText("12");
    ventana->HastaProyecto->setText("12");
    ventana->VisualizacionPrevia->setChecked(false);
    mensajes_.limpiar();

    ventana->pbListarClick(nullptr);

    EXPECT_TRUE(mensajes_.textos().isEmpty()) << mensajes_.textos().join('\n').toStdString();
    EXPECT_EQ(fGENELIMP, nullptr);
    // The landed engine draws no field values (its field commands go to an executor the
    // program does not install yet): one header per document, one line per line row.
    const QString texto = gptest::TextoPDF(pdf);
    EXPECT_EQ(texto.count("Documento de proyecto"), 1) << texto.toStdString();
    EXPECT_EQ(texto.count("Capitulo impreso"), 4) << texto.toStdString();   // three chapters and a spacer
    EXPECT_FALSE(ventana->ocupado());
    delete ventana;
}

INSTANTIATE_TEST_SUITE_P(Motores, ImpresionPeticion, ::testing::Bool(), NombreMotor);

TEST(ImpresionPeticionSesion, TheEngineSharesTheSessionsListingCancelledFlag)
{
    ImpresionPeticionInstalada instalada;
    ListadoCancelado = true;
    EXPECT_TRUE(ListadoCanceladoMotor());
    ListadoCanceladoMotor() = false;   // as the engine's creation clears it
    EXPECT_FALSE(ListadoCancelado);
}

} // namespace
