#include "GENEW/runtime/estructura/DefinicionesEstructura.h"
#include "GENEW/runtime/estructura/LineaDefinicion.h"
#include "GENEW/runtime/estructura/PlanCreacionTabla.h"

#include <gtest/gtest.h>

using namespace estructura;

namespace {

// A key string, a non-key integer, "Cambio", a date-time and a "MAX" string.
const QStringList kPrueba = {
    "PRUEBA/C/1/Codigo/ftString/15/*/|Prueba",
    "PRUEBA/C/2/Cantidad/ftInteger/0//|Prueba",
    "PRUEBA/C/3/Cambio/ftFloat/0//|Prueba",
    "PRUEBA/C/4/FechaAlta/ftDateTime/0//|Prueba",
    "PRUEBA/C/5/Notas/ftString/MAX//|Prueba",
    "PRUEBA/I/1/<Primary>/Codigo//|Prueba",
    "PRUEBA/I/2/Clave2/FechaAlta;Codigo/-/|Prueba",
};

OpcionesSentencias Opciones(DialectoSQL dialecto)
{
    OpcionesSentencias opciones;
    opciones.dialecto = dialecto;
    opciones.formatoFechaSQL = "mm/dd/yyyy";
    opciones.versionSQLServer = "Microsoft SQL Server 2019 (RTM)";
    return opciones;
}

} // namespace

TEST(SentenciasCrearTabla, GoldenStatementsForSqlServer)
{
    const SentenciasCreacion sentencias = SentenciasCrearTabla("PRUEBA", kPrueba, Opciones(DialectoSQL::SQLServer));
    EXPECT_EQ(sentencias.crearTabla,
              "CREATE TABLE dbo.PRUEBA (Codigo VARCHAR(15) DEFAULT '', Cantidad INTEGER DEFAULT 0 NULL, "
              "Cambio DECIMAL(28,12) DEFAULT 0 NULL, FechaAlta DATETIME DEFAULT '12/30/1899 00:00:00' NULL, "
              "Notas VARCHAR(MAX) DEFAULT '' NULL, CONSTRAINT PRUEBA_Clave1 PRIMARY KEY (Codigo))");
    EXPECT_EQ(sentencias.crearIndices, QStringList({"CREATE INDEX PRUEBA_Clave2 ON PRUEBA (FechaAlta,Codigo) "}));
}

TEST(SentenciasCrearTabla, GoldenStatementsForGenericSql)
{
    const SentenciasCreacion sentencias = SentenciasCrearTabla("PRUEBA", kPrueba, Opciones(DialectoSQL::SQLGenerica));
    EXPECT_EQ(sentencias.crearTabla,
              "CREATE TABLE PRUEBA (Codigo VARCHAR(15) DEFAULT '', Cantidad INTEGER DEFAULT 0 NULL, "
              "Cambio DECIMAL(28,12) DEFAULT 0 NULL, FechaAlta TIMESTAMP DEFAULT '12/30/1899 00:00:00' NULL, "
              "Notas VARCHAR(MAX) DEFAULT '' NULL, CONSTRAINT PRUEBA_Clave1 PRIMARY KEY (Codigo))");
    EXPECT_EQ(sentencias.crearIndices, QStringList({"CREATE INDEX PRUEBA_Clave2 ON PRUEBA (FechaAlta,Codigo) "}));
}

TEST(SentenciasCrearTabla, ColumnTextPerTypeAndName)
{
    OpcionesSentencias servidor = Opciones(DialectoSQL::SQLServer);
    OpcionesSentencias servidor2000 = servidor;
    servidor2000.versionSQLServer = "Microsoft SQL Server  2000 - 8.00.2039";
    OpcionesSentencias diaPrimero = Opciones(DialectoSQL::SQLGenerica);
    diaPrimero.formatoFechaSQL = "dd/mm/yyyy";

    const struct
    {
        const char *linea;
        const OpcionesSentencias *opciones;
        const char *texto;
    } casos[] = {
        {"T/C/1/Texto/ftString/max/", &servidor, "Texto VARCHAR(max) DEFAULT ''"},
        {"T/C/1/Texto/ftString/max/", &servidor2000, "Texto TEXT "},
        {"T/C/1/Texto/ftString/40/", &servidor2000, "Texto VARCHAR(40) DEFAULT ''"},
        {"T/C/1/Numero/ftSmallint/0/", &servidor, "Numero SMALLINT DEFAULT 0"},
        {"T/C/1/Numero/ftSmallInt/0/", &servidor, "Numero SMALLINT DEFAULT 0"},
        {"T/C/1/Contador/ftAutoInc/0/", &servidor, "Contador INTEGER IDENTITY(1,1)"},
        {"T/C/1/Fecha/ftDateTime/0/", &diaPrimero, "Fecha TIMESTAMP DEFAULT '30/12/1899 00:00:00'"},
        {"T/C/1/CambioMoneda/ftFloat/0/", &servidor, "CambioMoneda DECIMAL(28,8) DEFAULT 0"},
        {"T/C/1/FactorConversion/ftFloat/0/", &servidor, "FactorConversion DECIMAL(28,12) DEFAULT 0"},
        {"T/C/1/Notas/ftMemo/0/", &servidor, "Notas TEXT "},
        {"T/C/1/Foto/ftGraphic/0/", &servidor, "Foto IMAGE"},
        {"T/C/1/Datos/ftBlob/0/", &servidor, "Datos IMAGE"},
        {"T/C/1/Activo/ftBoolean/0/", &servidor, "Activo"},
        {"T/C/1/Año/ftInteger/0/", &servidor, "A_o INTEGER DEFAULT 0"},
        {"T/C/1/Año-Mes/ftInteger/0/", &servidor, "A_o-Mes INTEGER DEFAULT 0"},
        {"T/C/1/Fecha-Alta/ftInteger/0/", &servidor, "FechaAlta INTEGER DEFAULT 0"},
        {"T/C/1/Fecha-Alta/ftInteger/0/", &diaPrimero, "Fecha-Alta INTEGER DEFAULT 0"},
    };
    for (const auto &caso : casos)
        EXPECT_EQ(TextoColumna(caso.linea, *caso.opciones), caso.texto) << caso.linea;
}

TEST(SentenciasCrearTabla, WithoutKeysTemporaryOrColumnsTheShapeChanges)
{
    OpcionesSentencias opciones = Opciones(DialectoSQL::SQLServer);
    const QStringList sinClave = {"/C/1/A/ftInteger/0", "/C/2/B-1/ftString/5/NO/", "/I/1/Clave2/A;B-1/"};
    SentenciasCreacion sentencias = SentenciasCrearTabla("TEMP000001_X", sinClave, opciones);
    EXPECT_EQ(sentencias.crearTabla, "CREATE TABLE dbo.TEMP000001_X (A INTEGER DEFAULT 0 NULL, B1 VARCHAR(5) DEFAULT '' NULL)");
    EXPECT_EQ(sentencias.crearIndices, QStringList({"CREATE INDEX TEMP000001_X_Clave2 ON TEMP000001_X (A,B1) "}));

    opciones.temporal = true;
    sentencias = SentenciasCrearTabla("TEMP000001_X", {"/C/1/CodigoTemporal/ftInteger/0/*"}, opciones);
    EXPECT_EQ(sentencias.crearTabla, "CREATE TABLE TEMP000001_X (CodigoTemporal INTEGER DEFAULT 0, "
                                     "CONSTRAINT TEMP000001_X_Clave1 PRIMARY KEY (CodigoTemporal))");

    // Index lines without any column line: no CREATE TABLE, the indexes still come.
    sentencias = SentenciasCrearTabla("T", {"T/I/1/<Primary>/A/", "T/I/2/Clave2/A/"}, opciones);
    EXPECT_TRUE(sentencias.crearTabla.isEmpty());
    EXPECT_EQ(sentencias.crearIndices.size(), 1);
}

TEST(LineasAConstruir, ColumnsThenUserFieldsThenIndexesOfTheFirstBlock)
{
    const QString texto = UnirLineas({"OTRA/C/1/X/ftInteger/0/*/|o", "prueba/C/1/Codigo/ftString/15/*/|p",
                                      "PRUEBA/I/1/<Primary>/Codigo//|p", "PRUEBA/C/2/Nombre/ftString/30//|p",
                                      "OTRA/C/2/Y/ftInteger/0//|o", "PRUEBA/C/3/Tarde/ftString/30//|p"});
    const QList<FilaCampoUsuario> filas = {{"PRUEBA", 7, "Color", "Alfanumerico", "20"},
                                           {"PRUEBA", 2, "Raro", "Logico", "1"},
                                           {"PRUEBA", 1, "Peso", "Numerico", "0"}};
    EXPECT_EQ(LineasAConstruir("PRUEBA", texto, false, filas),
              QStringList({"prueba/C/1/Codigo/ftString/15/*/|p", "PRUEBA/C/2/Nombre/ftString/30//|p",
                           "PRUEBA/C/1000/Color/ftString/20/NO", "PRUEBA/C/1001/Peso/ftFloat/0/NO",
                           "PRUEBA/I/1/<Primary>/Codigo//|p"}));

    // Every line of a temporary text is the table's, whatever piece 0 says.
    EXPECT_EQ(LineasAConstruir("TEMP000001_X", UnirLineas({"/C/1/A/ftInteger/0/*", "/I/1/<Primary>/A"}), true, {}),
              QStringList({"/C/1/A/ftInteger/0/*", "/I/1/<Primary>/A"}));
}

// The text split once finds every table's first block as the scan of the lines does: names
// in any case, a table's later block, an empty line that ends a block, a table never
// defined, and lines whose table piece is empty.
TEST(LineasAConstruir, TheSplitTextFindsTheFirstBlocksAsTheScanDoes)
{
    const QStringList lineas = {"OTRA/C/1/X/ftInteger/0/*/|o", "prueba/C/1/Codigo/ftString/15/*/|p",
                                "PRUEBA/I/1/<Primary>/Codigo//|p", "Prueba/C/2/Nombre/ftString/30//|p",
                                "OTRA/C/2/Y/ftInteger/0//|o", "PRUEBA/C/3/Tarde/ftString/30//|p",
                                "", "ÑANDÚ/C/1/A/ftInteger/0/*/|n", "ñandú/I/1/<Primary>/A//|n", "",
                                "OTRA/C/3/Z/ftInteger/0//|o", "/C/1/Suelta/ftInteger/0//|",
                                "ULTIMA/C/1/B/ftInteger/0/*/|u"};
    const QString texto = UnirLineas(lineas);
    const TextoDividido dividido(texto);
    EXPECT_EQ(dividido.lineas(), DividirLineas(texto));
    for (const QString &tabla : {"PRUEBA", "prueba", "OTRA", "ñandú", "ÑANDÚ", "", "ULTIMA", "NINGUNA"}) {
        SCOPED_TRACE(tabla.toStdString());
        EXPECT_EQ(dividido.primerBloque(tabla), PrimerBloque(tabla, DividirLineas(texto), Qt::CaseInsensitive));
        EXPECT_EQ(LineasAConstruir(tabla, dividido, false, {{tabla, 1, "Color", "Alfanumerico", "20"}}),
                  LineasAConstruir(tabla, texto, false, {{tabla, 1, "Color", "Alfanumerico", "20"}}));
    }
    EXPECT_EQ(dividido.primerBloque("prueba").size(), 3);
    EXPECT_EQ(dividido.primerBloque("ñandú").size(), 2);
    // A temporary text is every line, whatever the table.
    EXPECT_EQ(LineasAConstruir("T", dividido, true, {}), LineasAConstruir("T", texto, true, {}));
}

TEST(DefinicionesCrearTabla, FieldsAndIndexesForTheFileEngine)
{
    QStringList pedidos;
    const auto nombreIndice = [&](const QString &tabla, const QString &indice) {
        pedidos << tabla + ":" + indice;
        return indice == kIndicePrimario ? QStringLiteral("Clave1") : indice;
    };
    const DefinicionesTabla definiciones = DefinicionesCrearTabla("PRUEBA", kPrueba, nombreIndice);
    ASSERT_EQ(definiciones.campos.size(), 5);
    EXPECT_EQ(definiciones.campos[0].nombre, "Codigo");
    EXPECT_EQ(definiciones.campos[0].tipo, ftString);
    EXPECT_EQ(definiciones.campos[0].tamano, 15);
    EXPECT_TRUE(definiciones.campos[0].clave);
    EXPECT_FALSE(definiciones.campos[0].requerido);
    EXPECT_EQ(definiciones.campos[2].tipo, ftFloat);
    EXPECT_FALSE(definiciones.campos[2].clave);
    EXPECT_EQ(definiciones.campos[3].tipo, ftDateTime);
    EXPECT_EQ(definiciones.campos[4].tamano, 0);   // "MAX"

    EXPECT_EQ(pedidos, QStringList({"PRUEBA:<Primary>", "PRUEBA:Clave2"}));
    ASSERT_EQ(definiciones.indices.size(), 2);
    const DefinicionIndice &primario = definiciones.indices[0];
    EXPECT_EQ(primario.nombre, "Clave1");
    EXPECT_EQ(primario.campos, "Codigo");
    EXPECT_TRUE(primario.primario && primario.unico);
    EXPECT_FALSE(primario.sinMayusculas || primario.descendente);
    const DefinicionIndice &segundo = definiciones.indices[1];
    EXPECT_EQ(segundo.nombre, "Clave2");
    EXPECT_EQ(segundo.campos, "FechaAlta;Codigo");
    EXPECT_FALSE(segundo.primario || segundo.unico);
    EXPECT_TRUE(segundo.sinMayusculas && segundo.descendente);
}
