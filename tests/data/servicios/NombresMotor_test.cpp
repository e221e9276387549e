#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/NombresMotor.h"

#include <gtest/gtest.h>

namespace {

NombresMotor motor(const QString &tipo, bool temporalesEnBD = true, const QString &baseTemporal = "GENERAL")
{
    return NombresMotor(ConfiguracionNombres{plat::engineFromTypeWord(tipo), temporalesEnBD, baseTemporal});
}

const QString SQLServer = "Microsoft SQL Server";

} // namespace

TEST(NombresMotor, TableNamesTakeTheOwnerOnlyOnSqlServer)
{
    const NombresMotor servidor = motor(SQLServer);
    EXPECT_EQ(servidor.NombreTablaSQL("CLIENTE"), "dbo.CLIENTE");
    EXPECT_EQ(servidor.NombreTablaSQL("dbo.CLIENTE"), "dbo.CLIENTE");
    EXPECT_EQ(servidor.NombreTablaSQL("TEMP000001_fA"), "dbo.TEMP000001_fA");
    EXPECT_EQ(motor(SQLServer, false, "/tmp/temporales").NombreTablaSQL("TEMP000001_fA"), "TEMP000001_fA");
    EXPECT_EQ(motor(SQLServer, false, "/tmp/temporales").NombreTablaSQL("CLIENTE"), "dbo.CLIENTE");
    for (const QString tipo : {"Paradox", "SQL Generica"}) {
        EXPECT_EQ(motor(tipo).NombreTablaSQL("CLIENTE"), "CLIENTE");
        EXPECT_EQ(motor(tipo).QuitarPropietarioTabla("dbo.CLIENTE"), "dbo.CLIENTE");
    }
}

TEST(NombresMotor, OwnerIsRemovedFromATwoPartNameOnly)
{
    const NombresMotor servidor = motor(SQLServer);
    EXPECT_EQ(servidor.QuitarPropietarioTabla("dbo.CLIENTE"), "CLIENTE");
    EXPECT_EQ(servidor.QuitarPropietarioTabla("CLIENTE"), "CLIENTE");
    EXPECT_EQ(servidor.QuitarPropietarioTabla("GENERAL.dbo.USUARIO"), "GENERAL.dbo.USUARIO");
}

struct CasoIndice
{
    const char *motor;
    const char *tabla;
    const char *indice;
    const char *nombre;
};

class NombreIndice : public ::testing::TestWithParam<CasoIndice> {};

TEST_P(NombreIndice, FollowsTheEnginesRule)
{
    const CasoIndice &caso = GetParam();
    EXPECT_EQ(motor(caso.motor).NombreIndice(caso.tabla, caso.indice), caso.nombre);
}

INSTANTIATE_TEST_SUITE_P(
    Motores, NombreIndice,
    ::testing::Values(CasoIndice{"Paradox", "CLIENTE", "<Primary>", "Clave1"},
                      CasoIndice{"Paradox", "CLIENTE", "", ""},
                      CasoIndice{"Paradox", "CLIENTE", "Clave2", "Clave2"},
                      CasoIndice{"Microsoft SQL Server", "dbo.CLIENTE", "<Primary>", "CLIENTE_Clave1"},
                      CasoIndice{"Microsoft SQL Server", "dbo.CLIENTE", "", "CLIENTE_Clave1"},
                      CasoIndice{"Microsoft SQL Server", "dbo.CLIENTE", "Clave3", "CLIENTE_Clave3"},
                      CasoIndice{"SQL Generica", "CLIENTE", "<Primary>", "CLIENTE_Clave1"},
                      CasoIndice{"SQL Generica", "CLIENTE", "", "CLIENTE_Clave1"},
                      CasoIndice{"SQL Generica", "CLIENTE", "Clave2", "CLIENTE_Clave2"}),
    [](const ::testing::TestParamInfo<CasoIndice> &info) { return "Caso" + std::to_string(info.index); });

TEST(NombresMotor, TemporaryTablesInAFolderAreNamedAsOnTheFileEngine)
{
    const NombresMotor enCarpeta = motor(SQLServer, false, "/tmp/temporales");
    EXPECT_EQ(enCarpeta.NombreIndice("TEMP000001_fA", "<Primary>"), "Clave1");
    EXPECT_EQ(enCarpeta.NombreIndice("CLIENTE", "<Primary>"), "CLIENTE_Clave1");
    EXPECT_EQ(motor(SQLServer).NombreIndice("TEMP000001_fA", "<Primary>"), "TEMP000001_fA_Clave1");
    EXPECT_EQ(motor(SQLServer).NombreIndice("CLIENTE", "Clave2", true), "Clave2");   // no index fields
}

TEST(NombresMotor, CatalogueIsAskedOnSqlServerExceptForTemporaryTablesInAFolder)
{
    EXPECT_TRUE(motor(SQLServer).clavesDeCatalogo("CLIENTE"));
    EXPECT_TRUE(motor(SQLServer).clavesDeCatalogo("TEMP000001_fA"));
    EXPECT_FALSE(motor(SQLServer, false, "/tmp/t").clavesDeCatalogo("TEMP000001_fA"));
    EXPECT_TRUE(motor(SQLServer, false, "/tmp/t").clavesDeCatalogo("CLIENTE"));
    EXPECT_FALSE(motor("Paradox").clavesDeCatalogo("CLIENTE"));
}

TEST(NombresMotor, CatalogueNamesAndDatabases)
{
    const NombresMotor servidor = motor(SQLServer, true, "GENERAL");
    EXPECT_EQ(servidor.NombreIndiceCatalogo("dbo.CLIENTE", ""), "CLIENTE_Clave1");
    EXPECT_EQ(servidor.NombreIndiceCatalogo("dbo.CLIENTE", "Clave2"), "CLIENTE_Clave2");
    EXPECT_EQ(servidor.NombreIndiceCatalogo("dbo.CLIENTE", "CLIENTE_Clave4"), "CLIENTE_Clave4");
    EXPECT_EQ(servidor.BaseDatosCatalogo("CLIENTE"), "");
    EXPECT_EQ(servidor.BaseDatosCatalogo("USUARIO"), "DatabaseGeneral");
    EXPECT_EQ(servidor.BaseDatosCatalogo("dbo.USUARIO"), "DatabaseGeneral");
    EXPECT_EQ(servidor.BaseDatosCatalogo("TEMP000001_fA"), "GENERAL");

    const auto tresPartes = servidor.TablaColumnasCatalogo("EMPRESA2.dbo.CLIENTE");
    EXPECT_EQ(tresPartes.baseDatos, "EMPRESA2");
    EXPECT_EQ(tresPartes.tabla, "CLIENTE");
    const auto conPropietario = servidor.TablaColumnasCatalogo("dbo.USUARIO");
    EXPECT_EQ(conPropietario.baseDatos, "DatabaseGeneral");
    EXPECT_EQ(conPropietario.tabla, "USUARIO");
}

TEST(NombresMotor, NameListsAndCounts)
{
    EXPECT_EQ(RespuestaANombres("Codigo\r\nLinea"), "Codigo;Linea");
    EXPECT_EQ(NumeroNombres(""), 0);
    EXPECT_EQ(NumeroNombres("Codigo"), 1);
    EXPECT_EQ(NumeroNombres("Codigo;Linea;Fecha"), 3);
    EXPECT_EQ(NombresALineas("Codigo;Nombre"), "Codigo\r\nNombre");
    EXPECT_EQ(NombresALineas("Codigo;"), "Codigo");
    EXPECT_EQ(OpcionesColumnasTabla("Silenciosa,Sin Campos Memo"), "Silenciosa,SinMemos");
}

TEST(NombresMotor, TimeFieldsAreDateTimesNamedWithHora)
{
    EXPECT_TRUE(EsCampoHora(ftDateTime, "HoraInicio"));
    EXPECT_TRUE(EsCampoHora(ftDateTime, "FechaHora"));
    EXPECT_FALSE(EsCampoHora(ftDateTime, "horaInicio"));
    EXPECT_FALSE(EsCampoHora(ftDateTime, "Fecha"));
    EXPECT_FALSE(EsCampoHora(ftString, "Hora"));
}
