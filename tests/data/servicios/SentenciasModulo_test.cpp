#include "GENEW/runtime/comun/RutinasFechas.h"
#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/SentenciasModulo.h"
#include "GENEW/runtime/comun/AjustesComunes.h"
#include "tests/data/servicios/ConexionSQLitePrueba.h"
#include "tests/support/TempDir.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {
const QString PuntoMedio = QString(QChar(0x00B7));
}

TEST(InsertarRegistro, StatementKeepsQuotesAndLineBreaksAndLeavesOutEmptyLines)
{
    const QString registro = "CLIENTE\r\nCodigo=7\r\nNombre=O'Brien\r\nZona=\r\n=sin nombre\r\nsinigual\r\n"
                             "Notas=uno" + PuntoMedio + "dos\r\nFormula=a=b";
    EXPECT_EQ(SentenciaInsertarRegistro(registro),
              "INSERT INTO CLIENTE (Codigo, Nombre, Notas, Formula)  VALUES ('7', 'O''Brien', 'uno\r\ndos', 'a=b') ");
}

TEST(InsertarRegistro, RoundTripsExactlyOnSQLite)
{
    gptest::TempDir dir;
    gptest::ConexionSQLitePrueba conexion(dir.file("datos.sqlite"));
    ASSERT_EQ(conexion.ejecutar("CREATE TABLE NOTAS (Codigo INTEGER, Titulo VARCHAR(40), Texto TEXT)"), "");
    const QString titulo = "L'année \"dernière\"";
    const QString texto = "Primera línea\r\n'citada'\r\n\r\núltima ·";
    QString textoCodificado = texto;
    textoCodificado.replace("\r\n", PuntoMedio);
    const QString registro = "NOTAS\r\nCodigo=1\r\nTitulo=" + titulo + "\r\nTexto=" + textoCodificado;

    ASSERT_EQ(conexion.ejecutar(SentenciaInsertarRegistro(registro)), "");
    QSqlQuery consulta(conexion.db());
    ASSERT_TRUE(consulta.exec("SELECT Codigo, Titulo, Texto FROM NOTAS"));
    ASSERT_TRUE(consulta.next());
    EXPECT_EQ(consulta.value(0).toInt(), 1);
    EXPECT_EQ(consulta.value(1).toString(), titulo);
    // a "·" in data becomes a line break, as everywhere in the program
    EXPECT_EQ(consulta.value(2).toString(), "Primera línea\r\n'citada'\r\n\r\núltima \r\n");
    EXPECT_FALSE(consulta.next());
}

TEST(GrabarMemos, UpdateByKeyWritesEmptyMemosAsNull)
{
    ajustesComunes().ponerFormatoFechaSQL("mm/dd/yyyy");
    auto campo = [](const char *nombre, TFieldType tipo, const QVariant &valor) {
        return CampoSentencia{nombre, tipo, valor, 0, false};
    };
    const QList<CampoSentencia> memos{campo("Texto", ftMemo, QString("a = '' b'")), campo("Resumen", ftMemo, QString()),
                                      campo("Notas", ftMemo, QString("'"))};
    const QList<CampoSentencia> claves{campo("Codigo", ftInteger, 5),
                                       campo("Fecha", ftDateTime, FechaHora(QDate(2024, 3, 5), QTime(0, 0)))};
    EXPECT_EQ(SentenciaGrabarMemos("dbo.NOTAS", memos, claves),
              "UPDATE dbo.NOTAS  SET Texto = 'a = '''' b''', Resumen = NULL, Notas = ''''"
              "  WHERE Codigo = '5' AND Fecha = '03/05/2024 00:00:00'");
    EXPECT_EQ(SentenciaGrabarMemos("dbo.NOTAS", {}, claves), "");
    EXPECT_EQ(SentenciaGrabarMemos("dbo.NOTAS", memos, {}), "");
}

TEST(TablaTemporalConsulta, ColumnsAndStatementsForTheServer)
{
    ajustesComunes().ponerFormatoFechaSQL("dd/mm/yyyy");
    auto campo = [](const char *nombre, TFieldType tipo, int tamano = 0, bool requerido = false) {
        return CampoSentencia{nombre, tipo, QVariant(), tamano, requerido};
    };
    const QList<CampoSentencia> campos{campo("Codigo", ftInteger, 0, true), campo("Nombre", ftString, 40),
                                       campo("Linea", ftSmallint),         campo("Id", ftAutoInc, 0, true),
                                       campo("Fecha", ftDateTime),         campo("Cambio", ftFloat),
                                       campo("FactorHoras", ftFloat),      campo("Importe", ftFloat),
                                       campo("Notas", ftMemo),             campo("Foto", ftGraphic)};
    const SentenciasTablaTemporal sentencias =
        SentenciasTablaTemporalConsulta("TEMP000003_fGENEUSQL", "GENERAL", campos, "SELECT * FROM CLIENTE");
    EXPECT_EQ(sentencias.borrar, "DROP TABLE TEMP000003_fGENEUSQL");
    EXPECT_EQ(sentencias.crear,
              "CREATE TABLE TEMP000003_fGENEUSQL (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(40) DEFAULT '' NULL, "
              "Linea SMALLINT DEFAULT 0 NULL, Id INTEGER IDENTITY(1,1), "
              "Fecha DATETIME DEFAULT '30/12/1899 00:00:00' NULL, Cambio DECIMAL(28,12) DEFAULT 0 NULL, "
              "FactorHoras DECIMAL(28,12) DEFAULT 0 NULL, Importe DECIMAL(28,8) DEFAULT 0 NULL, Notas TEXT NULL, "
              "Foto IMAGE NULL, )");
    EXPECT_EQ(sentencias.insertar, "INSERT INTO GENERAL.dbo.TEMP000003_fGENEUSQL SELECT * FROM CLIENTE");
    EXPECT_EQ(sentencias.consultar, "SELECT * FROM GENERAL.dbo.TEMP000003_fGENEUSQL");
    ajustesComunes().ponerFormatoFechaSQL("mm/dd/yyyy");
    EXPECT_TRUE(ColumnasTablaTemporalConsulta({campo("Alta", ftDateTime)}).contains("DEFAULT '12/30/1899 00:00:00' NULL, "));
}
