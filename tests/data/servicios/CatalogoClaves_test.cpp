#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/CatalogoClaves.h"
#include "GENEW/runtime/FilasResultadoConsulta.h"
#include "GENEW/runtime/RespuestaSQL.h"
#include "GENEW/runtime/comun/Errores.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Dialect.h"
#include "tests/platform/engine/EngineFixture.h"

#include <gtest/gtest.h>

namespace {

// Records what the catalogue asked and answers from a script.
struct ServicioGrabado
{
    struct Pregunta
    {
        QString sql;
        QString baseDatos;
        QString opciones;
    };
    QList<Pregunta> preguntas;
    QString respuesta;

    CatalogoClaves::Ejecutor ejecutor()
    {
        return [this](const QString &sql, const QString &baseDatos, const QString &opciones) {
            preguntas.append({sql, baseDatos, opciones});
            return respuesta;
        };
    }
};

const plat::Dialect &sqlServer()
{
    return plat::Dialect::forEngine(plat::EngineKind::SqlServer);
}

const NombresMotor servidor(ConfiguracionNombres{plat::EngineKind::SqlServer, true, "GENERAL"});

} // namespace

TEST(CatalogoClavesSqlServer, KeyFieldsQueryIsTheProgramsTextAndIsCached)
{
    ServicioGrabado servicio;
    servicio.respuesta = "CodigoProyecto\r\nLinea";
    CacheRespuestasSQL cache;
    CatalogoClaves catalogo(servidor, sqlServer(), servicio.ejecutor(), &cache);

    EXPECT_EQ(catalogo.CamposClaveSQL("dbo.LPROYECT", ""), "CodigoProyecto;Linea");
    EXPECT_EQ(catalogo.NumeroCamposClaveSQL("dbo.LPROYECT"), 2);
    ASSERT_EQ(servicio.preguntas.size(), 1);   // the second question came from the cache
    EXPECT_EQ(servicio.preguntas[0].sql,
              "SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid"
              "   JOIN SYSCOLUMNS C ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = 'LPROYECT_Clave1'"
              "  ORDER BY K.KeyNo");
    EXPECT_EQ(servicio.preguntas[0].baseDatos, "");
    EXPECT_EQ(servicio.preguntas[0].opciones, "");

    catalogo.CamposClaveSQL("USUARIO", "Clave2");
    EXPECT_TRUE(servicio.preguntas.last().sql.contains("WHERE I.Name = 'USUARIO_Clave2'  ORDER BY"));
    EXPECT_EQ(servicio.preguntas.last().baseDatos, "DatabaseGeneral");
}

TEST(CatalogoClavesSqlServer, TemporaryTablesAndAMissingModuleBypassTheCache)
{
    ServicioGrabado servicio;
    servicio.respuesta = "CodigoTemporal";
    CacheRespuestasSQL cache;
    CatalogoClaves catalogo(servidor, sqlServer(), servicio.ejecutor(), &cache);
    catalogo.CamposClaveSQL("TEMP000001_fA", "");
    catalogo.CamposClaveSQL("TEMP000001_fA", "");
    EXPECT_EQ(servicio.preguntas.size(), 2);
    EXPECT_EQ(servicio.preguntas[0].baseDatos, "GENERAL");
    EXPECT_EQ(cache.numeroEntradas(), 0);

    CatalogoClaves sinModulo(servidor, sqlServer(), servicio.ejecutor(), nullptr);
    sinModulo.CamposClaveSQL("CLIENTE", "");
    sinModulo.CamposClaveSQL("CLIENTE", "");
    EXPECT_EQ(servicio.preguntas.size(), 4);
}

TEST(CatalogoClavesSqlServer, ColumnsQueryIsTheProgramsTextWithOrWithoutMemos)
{
    ServicioGrabado servicio;
    servicio.respuesta = "Codigo\r\nNombre";
    CatalogoClaves catalogo(servidor, sqlServer(), servicio.ejecutor(), nullptr);
    EXPECT_EQ(catalogo.ColumnasTablaSQL("CLIENTE", ""), "Codigo;Nombre");
    EXPECT_EQ(servicio.preguntas.last().sql,
              "SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'CLIENTE'"
              " ORDER BY C.colid ");
    EXPECT_EQ(catalogo.ListaColumnasTabla("EMPRESA2.dbo.CLIENTE", "Sin Campos Memo"), "Codigo\r\nNombre");
    EXPECT_EQ(servicio.preguntas.last().sql,
              "SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = 'CLIENTE'"
              " AND C.xtype <> 35  ORDER BY C.colid ");
    EXPECT_EQ(servicio.preguntas.last().baseDatos, "EMPRESA2");
}

TEST(CatalogoClavesSqlServer, FailedQuestionNamesNoField)
{
    ServicioGrabado servicio;
    servicio.respuesta = RespuestaErrorSQL("Invalid object name 'SYSINDEXES'");
    CacheRespuestasSQL cache;
    CatalogoClaves catalogo(servidor, sqlServer(), servicio.ejecutor(), &cache);
    EXPECT_EQ(catalogo.CamposClaveSQL("CLIENTE", ""), "");
    EXPECT_EQ(catalogo.NumeroCamposClaveSQL("CLIENTE"), 0);
}

// The same questions on the engines that run here, against a table with a two-field
// primary index and a secondary index.
class CatalogoClavesMotor : public gptest::EngineTest
{
protected:
    void SetUp() override
    {
        gptest::EngineTest::SetUp();
        if (IsSkipped())
            return;
        plat::TableDef tabla;
        tabla.name = "LPROYECT";
        tabla.fields = {plat::fieldDef("CodigoProyecto", ftInteger), plat::fieldDef("Linea", ftSmallint),
                        plat::fieldDef("Descripcion", ftString, 40), plat::fieldDef("Notas", ftMemo)};
        tabla.indexes = {{"Clave1", {"CodigoProyecto", "Linea"}, true, true},
                         {"Clave2", {"Descripcion", "Linea"}, false, false}};
        db().createTable(tabla);
    }

    CatalogoClaves::Ejecutor ejecutor()
    {
        return [this](const QString &sql, const QString &, const QString &opciones) {
            try {
                const plat::QueryResult resultado = db().query(sql, {}, plat::SqlOrigin::AsWritten);
                FilasResultadoConsulta filas(resultado);
                return FormatearRespuestaSQL(filas, opciones);
            } catch (const gp::DatabaseError &error) {
                return RespuestaErrorSQL(error.mensaje());
            }
        };
    }

    NombresMotor nombres() { return NombresMotor(ConfiguracionNombres{db().engine(), true, {}}); }
};

TEST_P(CatalogoClavesMotor, KeyFieldsAndColumnsComeInDeclaredOrderAndCase)
{
    const NombresMotor motor = nombres();
    // Asked of the server, and answered by the connection where its engine holds the record.
    for (const bool conConexion : {false, true}) {
        SCOPED_TRACE(conConexion);
        CacheRespuestasSQL cache;
        CatalogoClaves::Conexion conexion;
        if (conConexion)
            conexion = [this](const QString &) { return &db(); };
        CatalogoClaves catalogo(motor, db().dialect(), ejecutor(), &cache, conexion);
        db().columns("LPROYECT");   // the record as the connection reads it on opening a table
        const quint64 antes = db().statementsSent();
        EXPECT_EQ(catalogo.CamposClaveSQL("LPROYECT", ""), "CodigoProyecto;Linea");
        EXPECT_EQ(catalogo.CamposClaveSQL("LPROYECT", "Clave2"), "Descripcion;Linea");
        EXPECT_EQ(catalogo.CamposClaveSQL("LPROYECT", "LPROYECT_Clave2"), "Descripcion;Linea");
        EXPECT_EQ(catalogo.NumeroCamposClaveSQL("LPROYECT"), 2);
        EXPECT_EQ(catalogo.ColumnasTablaSQL("LPROYECT", ""), "CodigoProyecto;Linea;Descripcion;Notas");
        EXPECT_EQ(catalogo.ListaColumnasTabla("LPROYECT", "Sin Campos Memo"), "CodigoProyecto\r\nLinea\r\nDescripcion");
        const quint64 enviadas = db().statementsSent() - antes;
        if (conConexion && db().engine() == plat::EngineKind::PostgreSQL)
            EXPECT_EQ(enviadas, 0u);
        else
            EXPECT_GE(enviadas, 4u);   // each different question once, the rest from the cache
        EXPECT_EQ(catalogo.ColumnasTablaSQL("NOEXISTE", ""), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Motores, CatalogoClavesMotor, GP_ENGINE_BACKENDS);
