#include "GENEW/reporting/consultas/VariablesConsulta.h"

#include "platform/base/Errores.h"
#include "platform/base/FechaHora.h"

#include <gtest/gtest.h>

namespace {

struct Respuestas
{
    QStringList preguntas;
    QStringList respuestas;
    PedirValor pedir()
    {
        return [this](const QString &pregunta) {
            preguntas << pregunta;
            return respuestas.value(preguntas.size() - 1);
        };
    }
};

} // namespace

TEST(VariablesConsulta, EachNameIsAskedOnceAndItsRepeatsTakeItsValue)
{
    Respuestas r{{}, {"Ana", "10:30"}};
    const auto valores = ValoresVariables("SELECT * FROM T WHERE A = :$A AND B = :$A AND C = ':$T' AND H = '10:30'", r.pedir());
    EXPECT_EQ(r.preguntas, QStringList({"Introduzca el valor para la variable A", "Introduzca el valor para la variable T"}));
    ASSERT_EQ(valores.size(), 3);
    EXPECT_EQ(valores[1].nombre, "$A_0");
    EXPECT_EQ(valores[1].valor.toString(), "Ana");
}

TEST(VariablesConsulta, ANameWithAnUnderscoreTakesItsBaseOrItsKindsDefault)
{
    Respuestas con{{}, {"15/03/2024"}};
    auto valores = ValoresVariables("WHERE F >= :&F AND G >= :&F_INI", con.pedir());
    ASSERT_EQ(valores.size(), 2);
    EXPECT_EQ(con.preguntas.size(), 1);
    EXPECT_EQ(valores[1].valor.toDateTime(), FechaHora(QDate(2024, 3, 15), QTime(0, 0)));
    Respuestas sin;
    valores = ValoresVariables("WHERE F >= :&F_INI AND N = :#N_MAX AND T = :$T_X", sin.pedir());
    EXPECT_TRUE(sin.preguntas.isEmpty());
    EXPECT_EQ(valores[0].valor.toDateTime(), FechaHora(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_EQ(valores[1].tipo, ftInteger);
    EXPECT_EQ(valores[1].valor.toLongLong(), 0);
    EXPECT_EQ(valores[2].valor.toString(), "");
}

TEST(VariablesConsulta, ValuesTakeTheirKindsType)
{
    const struct
    {
        const char *sql, *respuesta;
        TFieldType tipo;
        QVariant valor;
    } casos[] = {
        {"N = :#N", "12", ftInteger, qint64(12)},
        {"N = :#N", "2,5", ftFloat, 2.5},
        {"N = :#N", "1.234,5", ftFloat, 1234.5},
        {"L IN (:*L)", "A, B,", ftString, QStringList({"A", "B"})},
        {"L IN (:*L)", "A ,B", ftString, QStringList({"A", "B"})},
        {"L IN (:*L)", "", ftString, QStringList({""})},
    };
    for (const auto &c : casos) {
        Respuestas r{{}, {c.respuesta}};
        const auto valores = ValoresVariables(c.sql, r.pedir());
        ASSERT_EQ(valores.size(), 1) << c.sql;
        EXPECT_EQ(valores[0].tipo, c.tipo) << c.respuesta;
        EXPECT_EQ(valores[0].valor, c.valor) << c.respuesta;
    }
    const struct
    {
        const char *sql, *respuesta, *error;
    } malas[] = {
        {"F = :&F", "31/02/2024", "'31/02/2024' is not a valid date"},
        {"N = :#N", "Bilbao", "'Bilbao' is not a valid floating point value"},
        {"N = :#N", "1x", "'1x' is not a valid floating point value"},
        {"N = :#N", "", "'' is not a valid floating point value"},
    };
    for (const auto &m : malas) {
        Respuestas r{{}, {m.respuesta}};
        try {
            ValoresVariables(m.sql, r.pedir());
            ADD_FAILURE() << "taken: " << m.respuesta;
        } catch (const gp::ConversionError &e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), m.error);
        }
    }
}
