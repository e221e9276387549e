#include "GENEW/runtime/AperturaDataSet.h"
#include "GENEW/runtime/Geneinic.h"
#include "platform/ui/Dialogs.h"
#include "tests/data/ModuloFixture.h"
#include "tests/reporting/impresos/MotorPrueba.h"

namespace {

// The caller protocol in the started program: the engine made by the form factory opens
// IMPRESO on the company database, the caller's tables come from "Tabla Temporal" texts,
// the general parameters decide on the print dialog, and freeing the engine drops its tables.
class ProtocoloLlamada : public ModuloFixture
{
};

TEST_F(ProtocoloLlamada, TemporaryTablesFromDefinitionTextsPrintWithoutTheDialogTheParametersRefuse)
{
    ASSERT_TRUE(prepararMotor(false));
    ASSERT_EQ(sql("INSERT INTO PARAGENE (IdRegistro, SolicitarDialogoImpresora) VALUES (0, 'NO')"), QString());
    crearModulo();
    gptest::ImpresorasPrueba impresoras(dir_.path());
    ServiciosImpresion servicios;
    servicios.impresoras = &impresoras;
    ServiciosImpresionInstalados instalados(servicios);

    plat::BusyCursor ocupado;
    VistaPreviaImpreso = false;
    CodigoImpresoPeticion = "FACTURA";
    SinDialogoImpresora = false;
    fGENELIMP = plat::createForm<TfGENELIMP>();
    ASSERT_TRUE(fGENELIMP->Impreso->table().active());
    EXPECT_TRUE(SinDialogoImpresora);
    plat::TableDataSet &impreso = fGENELIMP->Impreso->table();
    impreso.append();
    impreso.fieldByName("Codigo").setAsString("FACTURA");
    impreso.fieldByName("Modo").setAsString("Grafico");
    impreso.fieldByName("Formato").setAsString("A4");
    impreso.fieldByName("ImpresoraPorDefecto").setAsString("Predeterminada");
    impreso.fieldByName("Instrucciones").setAsString("[SISTEMA]\r\nAlturaLinea=5\r\nInicioLineas=30\r\nFinLineas=250\r\n[CABECERA]\r\nText=10;10;0;Proyecto\r\n[LINEAS]\r\nText=10;0;0;Partida\r\n");
    impreso.post();

    DataSetAbribleDe<plat::TableDataSet> documentos(fGENELIMP->Temporal->table(), "fGENELIMP");
    ASSERT_TRUE(fGENEINIC->CrearTabla(documentos,
                                      "Tabla Temporal 1\r\n/C/1/CodigoProyecto/ftInteger/0/*\r\n"
                                      "/I/1/<Primary>/CodigoProyecto\r\n",
                                      1));
    DataSetAbribleDe<plat::TableDataSet> lineas(fGENELIMP->LTemporal->table(), "fGENELIMP");
    ASSERT_TRUE(fGENEINIC->CrearTabla(lineas,
                                      "Tabla Temporal 2\r\n/C/1/CodigoProyecto/ftInteger/0/*\r\n"
                                      "/C/2/Linea/ftSmallint/0/*\r\n/C/3/LineaMemo/ftSmallint/0/*\r\n"
                                      "/I/1/<Primary>/CodigoProyecto;Linea;LineaMemo\r\n",
                                      1));
    plat::TableDataSet &t = fGENELIMP->Temporal->table();
    plat::TableDataSet &l = fGENELIMP->LTemporal->table();
    l.setIndexFieldNames("CodigoProyecto;Linea;LineaMemo");
    l.setMasterSource(&t, "CodigoProyecto");
    const QString tablaDocumentos = t.tableName();
    for (int p = 1; p <= 2; ++p) {
        t.append();
        t.fieldByName("CodigoProyecto").setAsInteger(p);
        t.post();
        for (int n = 1; n <= 3; ++n) {
            l.append();
            l.fieldByName("CodigoProyecto").setAsInteger(p);
            l.fieldByName("Linea").setAsInteger(n);
            l.fieldByName("LineaMemo").setAsInteger(0);
            l.post();
        }
    }
    fGENELIMP->Imprimir();
    fGENELIMP->Free();
    fGENELIMP = nullptr;

    EXPECT_EQ(impresoras.dialogos, 0);
    ASSERT_EQ(impresoras.enviados.size(), 1);
    const QString texto = gptest::TextoPDF(impresoras.enviados.first());
    EXPECT_EQ(texto.count("Proyecto"), 2);
    EXPECT_EQ(texto.count("Partida"), 6);
    EXPECT_FALSE(fGENEINIC->Database().tableExists(tablaDocumentos));
    EXPECT_FALSE(SinDialogoImpresora);
}

TEST_F(ProtocoloLlamada, TheSystemsPrintDialogIsTheDataModulesWithItsCopies)
{
    ASSERT_TRUE(prepararMotor(false));
    ServicioImpresorasSistema sistema;
    QObject *visto = nullptr;
    plat::setDialogScript([&](QObject *dialogo) {
        visto = dialogo;
        static_cast<plat::PrintDialog *>(dialogo)->Copies = 3;
        return true;
    });
    const auto elegida = sistema.dialogo("Oficina");
    plat::setDialogScript([](QObject *) { return false; });
    const auto cancelada = sistema.dialogo("Oficina");
    plat::setDialogScript(nullptr);
    EXPECT_EQ(visto, modulo_->PrintDialog1);
    ASSERT_TRUE(elegida.has_value());
    EXPECT_EQ(elegida->nombre, "Oficina");
    EXPECT_EQ(elegida->copias, 3);
    EXPECT_FALSE(cancelada.has_value());
}

} // namespace
