#include "GENEW/runtime/CifradoClave.h"
#include "GENEW/runtime/NombresConexion.h"
#include "GENEW/runtime/SentenciasBaseDatosSQLServer.h"

#include <gtest/gtest.h>

namespace {

// Names from the settings reach the server's statements as one bracketed name each.
TEST(SentenciasBaseDatosSQLServer, NombresEntreCorchetes)
{
    EXPECT_EQ(SentenciasCrearBaseDatosSQLServer("EMPRESA1", "SQL_Latin1_General_Cp1_CI_AI"),
              (QStringList{"USE master CREATE DATABASE [EMPRESA1]  COLLATE SQL_Latin1_General_Cp1_CI_AI",
                           "EXEC sp_dbcmptlevel [EMPRESA1], 80", "ALTER DATABASE [EMPRESA1] SET RECOVERY SIMPLE"}));
    EXPECT_EQ(SentenciasCrearBaseDatosSQLServer("mi-empresa", "Modern_Spanish_CI_AS").value(1),
              "EXEC sp_dbcmptlevel [mi-empresa], 80");
    EXPECT_EQ(SentenciasCrearBaseDatosSQLServer("gp]; DROP DATABASE master; --", "X").value(2),
              "ALTER DATABASE [gp]]; DROP DATABASE master; --] SET RECOVERY SIMPLE");
}

// The collation and the isolation level are written into SQL as they are: only what they
// can be is accepted, and the refusal names the setting.
TEST(SentenciasBaseDatosSQLServer, IntercalacionYAislamientoValidos)
{
    const QString ini = "/w/KORVEL.INI";
    EXPECT_EQ(MotivoRechazoAjustesSQLServer("SQL_Latin1_General_Cp1_CI_AI", "READ UNCOMMITTED", ini), "");
    EXPECT_EQ(MotivoRechazoAjustesSQLServer("Modern_Spanish_CI_AS", "serializable", ini), "");
    EXPECT_EQ(MotivoRechazoAjustesSQLServer("Latin1 DROP DATABASE x", "READ COMMITTED", ini),
              "El valor \"Latin1 DROP DATABASE x\" de NombreIntercalacionMSSQL (sección \"Microsoft SQL Server\" de "
              "/w/KORVEL.INI) no es válido: debe ser el nombre de una intercalación (letras, cifras y \"_\").");
    EXPECT_EQ(MotivoRechazoAjustesSQLServer("X", "READ COMMITTED; DROP TABLE T", ini),
              "El valor \"READ COMMITTED; DROP TABLE T\" de NivelAislamientoTransaccionesMSSQL (sección \"Microsoft SQL "
              "Server\" de /w/KORVEL.INI) no es válido: debe ser READ UNCOMMITTED, READ COMMITTED, REPEATABLE READ, "
              "SNAPSHOT, SERIALIZABLE.");
}

TEST(CifradoClave, CasosLimite)
{
    // a^u, b^d, c^s: three digits each.
    EXPECT_EQ(CifrarClave("abc"), "020006016");
    EXPECT_EQ(DescifrarClave("020006016"), "abc");
    EXPECT_EQ(CifrarClave(""), "");
    EXPECT_EQ(DescifrarClave(""), "");
    EXPECT_EQ(DescifrarClave("02"), "");
    EXPECT_EQ(DescifrarClave("02000"), "a");              // a shorter rest is ignored
    // Position 6 uses the key's first letter, position 7 its second again.
    EXPECT_EQ(CifrarClave("mudselm").right(6), "001024");   // l^m, m^u
    EXPECT_EQ(CifrarClave("mudselm").left(15), "024017023022009");
    // A group that is not a number counts as 0; values above 255 keep their low byte.
    EXPECT_EQ(DescifrarClave("xyz"), QString(QChar('u')));
    EXPECT_EQ(DescifrarClave("276"), "a");                // 276 & 255 = 20
}

TEST(CifradoClave, IdaYVuelta)
{
    for (const QString &clave : {QString("secreto"), QString("Contraseña 2024!"), QString("mudselmudsel"), QString(" ")}) {
        const QString cifrada = CifrarClave(clave);
        EXPECT_EQ(cifrada.size(), clave.size() * 3) << qPrintable(clave);
        EXPECT_EQ(DescifrarClave(cifrada), clave) << qPrintable(clave);
    }
}

TEST(NombresConexion, NombreBaseDatosEmpresaPorMotor)
{
    struct Caso { const char *motor; int codigo; const char *esperado; };
    const Caso casos[] = {
        {"Paradox", 0, "/w/datos"},
        {"Paradox", 1, "/w/datos/1"},
        {"Paradox", 25, "/w/datos/25"},
        {"SQL Generica", 0, "EMPRESA"},
        {"SQL Generica", 1, "EMPRESA1"},
        {"Microsoft SQL Server", 3, "EMPRESA3"},
        {"Microsoft SQL Server", 0, "EMPRESA"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(NombreBaseDatosEmpresa(plat::engineFromTypeWord(c.motor), "/w/datos", "EMPRESA", c.codigo), c.esperado) << c.motor << c.codigo;
}

DatosCadenaADO datosBase()
{
    DatosCadenaADO d;
    d.usuario = "sa";
    d.password = "clave";
    d.servidor = "np:SERVIDOR";
    d.baseDatosGeneral = "GENERAL";
    d.baseDatosAlt = "EMPRESA7";
    d.baseDatosEmpresaActual = "EMPRESA1";
    d.ejecutable = "gestion-proyectos";
    d.usuarioActual = "ADMIN";
    return d;
}

TEST(NombresConexion, CadenaConexionADOConUsuario)
{
    const DatosCadenaADO d = datosBase();
    EXPECT_EQ(CadenaConexionADO(d, "Database", ""),
              "Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=clave;Connect Timeout=0;"
              "Initial Catalog=EMPRESA1;Data Source=SERVIDOR;Application Name=gestion-proyectos|ADMIN");
}

TEST(NombresConexion, CadenaConexionADOConAutenticacionWindows)
{
    DatosCadenaADO d = datosBase();
    d.autenticacionWindows = true;
    const QString cadena = CadenaConexionADO(d, "", "np:np:OTRO");
    EXPECT_EQ(cadena, "Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                      "Initial Catalog=EMPRESA1;Data Source=OTRO;Application Name=gestion-proyectos|ADMIN");
    EXPECT_FALSE(cadena.contains("sa"));
    EXPECT_FALSE(cadena.contains("clave"));
    EXPECT_FALSE(cadena.contains("np:"));
}

TEST(NombresConexion, CatalogoSegunSelector)
{
    DatosCadenaADO d = datosBase();
    auto catalogo = [&](const QString &selector) {
        const QString cadena = CadenaConexionADO(d, selector, "");
        return cadena.section("Initial Catalog=", 1).section(';', 0, 0);
    };
    EXPECT_EQ(catalogo("?OTRAEMPRESA"), "OTRAEMPRESA");
    EXPECT_EQ(catalogo("DatabaseGeneral"), "GENERAL");
    EXPECT_EQ(catalogo("DatabaseAlt"), "EMPRESA7");
    EXPECT_EQ(catalogo("Database"), "EMPRESA1");
    EXPECT_EQ(catalogo(""), "EMPRESA1");
    EXPECT_EQ(catalogo("master"), "master");
    d.catalogoForzado = "FORZADO";
    EXPECT_EQ(catalogo("Database"), "FORZADO");
    EXPECT_EQ(catalogo(""), "FORZADO");
    EXPECT_EQ(catalogo("DatabaseGeneral"), "GENERAL");
}

TEST(NombresConexion, NombreServidorYParametrosDeEmpresa)
{
    EXPECT_EQ(NombreServidor("SRV", true), "np:SRV");
    EXPECT_EQ(NombreServidor("np:SRV", true), "np:SRV");
    EXPECT_EQ(NombreServidor("SRV", false), "SRV");
    EXPECT_EQ(NombreServidor("host,5432", false), "host,5432");

    const QStringList p = ParametrosConexionEmpresa("host,5432", "EMPRESA2", "sa", "x", "/opt/gp/gestion-proyectos",
                                                    "ADMINISTRADOR");
    ASSERT_EQ(p.size(), 12);
    EXPECT_EQ(p.at(0), "SERVER NAME=host,5432");
    EXPECT_EQ(p.at(1), "DATABASE NAME=EMPRESA2");
    EXPECT_EQ(p.at(2), "USER NAME=sa");
    EXPECT_EQ(p.at(3), "HOST NAME=sa");
    EXPECT_EQ(p.at(4), "APPLICATION NAME=/opt/gp/gestion-proyectos|ADMI");   // 30 characters
    EXPECT_EQ(p.at(11), "PASSWORD=x");
}

TEST(NombresConexion, AdaptarNombreSQLYTipoDecimal)
{
    EXPECT_EQ(AdaptarNombreSQL("Año-Fiscal", plat::EngineKind::SqlServer), "A_o-Fiscal");
    EXPECT_EQ(AdaptarNombreSQL("Linea-Pedido", plat::EngineKind::SqlServer), "LineaPedido");
    EXPECT_EQ(AdaptarNombreSQL("Año-Fiscal", plat::EngineKind::SQLite), "Año-Fiscal");
    EXPECT_EQ(AdaptarNombreSQL("Linea-Pedido", plat::EngineKind::PostgreSQL), "Linea-Pedido");

    EXPECT_EQ(TipoDecimalSQL("Cambio"), "DECIMAL(28,12)");
    EXPECT_EQ(TipoDecimalSQL("FactorConversion"), "DECIMAL(28,12)");
    EXPECT_EQ(TipoDecimalSQL("UnFactor"), "DECIMAL(28,12)");
    EXPECT_EQ(TipoDecimalSQL("CambioMoneda"), "DECIMAL(28,8)");
    EXPECT_EQ(TipoDecimalSQL("Importe"), "DECIMAL(28,8)");
}

} // namespace
