#include "tests/support/ImprimirQString.h"
#include "GENEW/data/servicios/CacheRespuestasSQL.h"
#include "GENEW/runtime/RespuestaSQL.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

// Answers from a table of statements and counts how often each one really ran.
struct MotorContado
{
    QHash<QString, QString> respuestas;
    QHash<QString, int> ejecuciones;

    CacheRespuestasSQL::Ejecutor ejecutor()
    {
        return [this](const QString &sql) {
            ++ejecuciones[sql];
            return respuestas.value(sql);
        };
    }
};

const QString SqlClave = "SELECT C.Name FROM X WHERE I.Name = 'CLIENTE_Clave1'";

} // namespace

TEST(CacheRespuestasSQL, SameStatementRunsOnceAndComesBackWhole)
{
    MotorContado motor;
    motor.respuestas[SqlClave] = "Codigo\r\nLinea=1";
    CacheRespuestasSQL cache;
    EXPECT_EQ(cache.respuesta(SqlClave, motor.ejecutor()), "Codigo\r\nLinea=1");
    EXPECT_EQ(cache.respuesta(SqlClave, motor.ejecutor()), "Codigo\r\nLinea=1");
    EXPECT_EQ(motor.ejecuciones[SqlClave], 1);
    // Stored as one Name=Value line with "=" and CR LF encoded.
    ASSERT_EQ(cache.lineas().size(), 1);
    EXPECT_EQ(cache.lineas().first(),
              "SELECT C.Name FROM X WHERE I.Name $IGUAL$ 'CLIENTE_Clave1'=Codigo$CRLF$Linea$IGUAL$1");
}

TEST(CacheRespuestasSQL, EmptyAnswerIsKeptAsConjuntoVacioAndAnsweredEmpty)
{
    MotorContado motor;
    CacheRespuestasSQL cache;
    EXPECT_EQ(cache.respuesta("SELECT 1 FROM T WHERE 1=0", motor.ejecutor()), "");
    EXPECT_EQ(cache.lineas(), QStringList{"SELECT 1 FROM T WHERE 1$IGUAL$0=Conjunto_Vacio"});
    EXPECT_EQ(cache.respuesta("SELECT 1 FROM T WHERE 1=0", motor.ejecutor()), "");
    EXPECT_EQ(motor.ejecuciones["SELECT 1 FROM T WHERE 1=0"], 1);
}

TEST(CacheRespuestasSQL, ErrorAnswerIsNotKept)
{
    MotorContado motor;
    motor.respuestas["SELECT X"] = RespuestaErrorSQL("Table unknown");
    CacheRespuestasSQL cache;
    EXPECT_TRUE(EsRespuestaErrorSQL(cache.respuesta("SELECT X", motor.ejecutor())));
    motor.respuestas["SELECT X"] = "1";
    EXPECT_EQ(cache.respuesta("SELECT X", motor.ejecutor()), "1");
    EXPECT_EQ(motor.ejecuciones["SELECT X"], 2);
    EXPECT_EQ(cache.numeroEntradas(), 1);
}

TEST(CacheRespuestasSQL, StatementsDifferingInCaseOrEqualsAreDistinct)
{
    MotorContado motor;
    motor.respuestas["SELECT a"] = "1";
    motor.respuestas["select a"] = "2";
    motor.respuestas["A=B"] = "3";
    CacheRespuestasSQL cache;
    for (const QString sql : {"SELECT a", "select a", "A=B"})
        EXPECT_EQ(cache.respuesta(sql, motor.ejecutor()), motor.respuestas[sql]);
    EXPECT_EQ(cache.respuesta("SELECT a", motor.ejecutor()), "1");
    EXPECT_EQ(cache.respuesta("select a", motor.ejecutor()), "2");
    EXPECT_EQ(cache.numeroEntradas(), 3);
}

TEST(CacheRespuestasSQL, BeyondTheLimitEachCallDropsTheOldestEntry)
{
    MotorContado motor;
    CacheRespuestasSQL cache;
    for (int i = 0; i <= CacheRespuestasSQL::LimiteEntradas; ++i)
        cache.respuesta("SELECT " + QString::number(i), motor.ejecutor());
    // 20001 entries: the limit is only passed, nothing dropped yet.
    EXPECT_EQ(cache.numeroEntradas(), CacheRespuestasSQL::LimiteEntradas + 1);
    EXPECT_TRUE(cache.contiene("SELECT 0"));

    // The next call drops "SELECT 0" before it looks up, even for a cached statement.
    cache.respuesta("SELECT 5", motor.ejecutor());
    EXPECT_EQ(cache.numeroEntradas(), CacheRespuestasSQL::LimiteEntradas);
    EXPECT_FALSE(cache.contiene("SELECT 0"));
    EXPECT_EQ(motor.ejecuciones["SELECT 5"], 1);

    cache.respuesta("SELECT nueva", motor.ejecutor());
    EXPECT_EQ(cache.numeroEntradas(), CacheRespuestasSQL::LimiteEntradas + 1);
    cache.respuesta("SELECT 0", motor.ejecutor());   // asked again: runs again
    EXPECT_EQ(motor.ejecuciones["SELECT 0"], 2);
    EXPECT_FALSE(cache.contiene("SELECT 1"));
    EXPECT_EQ(cache.lineas().first(), "SELECT 2=Conjunto_Vacio");
    EXPECT_EQ(cache.lineas().last(), "SELECT 0=Conjunto_Vacio");
}
