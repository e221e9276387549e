// Evaluating filters against records: each field type, NULLs, options and type errors.
#include "platform/base/FechaHora.h"
#include "FilterTestTable.h"

#include "platform/base/Errores.h"

#include <gtest/gtest.h>

using namespace filtertest;

namespace {

struct Case
{
    const char *filter;
    bool expected;
};

void expectAll(const std::vector<Case> &cases, const Fields &fields, const Record &record,
               const plat::FilterOptions &options = {})
{
    for (const auto &c : cases)
        EXPECT_EQ(accepts(QString::fromUtf8(c.filter), fields, record, options), c.expected) << c.filter;
}

QString compileError(const QString &filter, const Fields &fields)
{
    try {
        plat::FilterExpression(filter).compile(fields);
    } catch (const gp::DatabaseError &error) {
        return error.mensaje();
    }
    return QString();
}

const Fields textFields({{"Nombre", ftString}, {"Notas", ftMemo}});

TEST(FilterTexts, CompareByCodePointUnlessCaseIsIgnored)
{
    const Record record({QString::fromUtf8("ñandú"), QString("Juan")});
    expectAll({{"Nombre = 'ñandú'", true},
               {"Nombre = 'ÑANDÚ'", false},
               {"Nombre > 'z'", true}, // "ñ" comes after every ASCII letter
               {"Notas > 'JUAN'", true},  // lower case after upper case
               {"Notas < 'a'", true},
               {"Notas >= 'Juan'", true},
               {"Notas <= 'Juan '", true},
               {"Notas = 'juan'", false}},
              textFields, record);
    plat::FilterOptions ignoreCase;
    ignoreCase.caseInsensitive = true;
    expectAll({{"Nombre = 'ÑANDÚ'", true}, {"Notas = 'JUAN'", true}, {"Notas < 'juana'", true}, {"Notas <> 'jUAn'", false}},
              textFields, record, ignoreCase);
}

TEST(FilterTexts, TrailingAsteriskMatchesTheBeginning)
{
    const Record record({QString("Juan Pérez"), QString("x*")});
    expectAll({{"Nombre = 'Juan*'", true},
               {"Nombre = 'juan*'", false},
               {"Nombre <> 'Juan*'", false},
               {"Nombre = 'Pérez*'", false},
               {"Nombre = '*'", true},
               {"Notas = 'x*'", true},
               {"Nombre < 'Juan*'", true}}, // only = and <> match partially; here "*" is a character
              textFields, record);
    plat::FilterOptions ignoreCase;
    ignoreCase.caseInsensitive = true;
    expectAll({{"Nombre = 'JUAN P*'", true}}, textFields, record, ignoreCase);
    plat::FilterOptions whole;
    whole.partialCompare = false;
    expectAll({{"Nombre = 'Juan*'", false}, {"Notas = 'x*'", true}}, textFields, record, whole);
}

// The layer stores an empty text rather than NULL, and the zero date means "no date":
// NULL, '' and (for dates) the zero date are all one "blank" value.
TEST(FilterTexts, EmptyTextAndNullAreBothBlank)
{
    const std::vector<Case> equalEmpty = {{"Nombre = ''", true}, {"Nombre <> ''", false}, {"Nombre IS NULL", true}};
    expectAll(equalEmpty, textFields, Record({QString(""), QString()}));
    expectAll({{"Nombre = ''", true}, {"Nombre <> ''", false}, {"Nombre IS NULL", true}, {"Nombre = NULL", true}},
              textFields, Record({nullValue(QMetaType::QString), QString()}));
    expectAll({{"Nombre = ''", false}, {"Nombre <> ''", true}, {"Nombre > ''", true}, {"Nombre <> NULL", true}},
              textFields, Record({QString("x"), QString()}));
}

const Fields numberFields({{"Importe", ftFloat}, {"Cantidad", ftInteger}, {"Precio", ftCurrency}, {"Codigo", ftString}});

TEST(FilterNumbers, QuotedValuesReadWithDecimalCommaOrPoint)
{
    const Record record({1234.5, 7, QString("9.99"), QString("7")});
    expectAll({{"Importe = '1234,5'", true},
               {"Importe = '1.234,5'", true},
               {"Importe = '1234.5'", true},
               {"Importe = 1234.5", true},
               {"Importe >= '1.500000'", true}, // written by the listing dialog for float fields
               {"Importe < '1234,50001'", true},
               {"Importe > ' 1234,4 '", true},
               {"Cantidad = '7'", true},
               {"Cantidad = '7,0'", true},
               {"Cantidad > -8", true},
               {"Cantidad <> 7", false},
               {"Precio = '9,99'", true}, // a decimal column may come back as text
               {"Codigo = 7", true}},     // a number compared with a text field is its text
              numberFields, record);
}

TEST(FilterNumbers, NullNumbersAreNeitherEqualNorDifferent)
{
    const Record record({nullValue(QMetaType::Double), 0, 1.0, QString("A1")});
    expectAll({{"Importe = 5", false},
               {"Importe <> 5", false},
               {"NOT Importe = 5", false},
               {"NOT (Importe = 5 AND Cantidad = 0)", false},
               {"NOT (Importe = 5 AND Cantidad = 1)", true},
               {"Importe = 5 OR Codigo = 'A1'", true},
               {"Importe IS NULL", true},
               {"Importe = ''", true},
               {"Importe <> NULL", false},
               {"Cantidad = 0", true},
               {"Cantidad = ''", false}},
              numberFields, record);
}

const Fields dateFields({{"Fecha", ftDateTime}, {"Dia", ftDate}, {"Hora", ftTime}, {"Texto", ftDateTime}});

TEST(FilterDates, SpanishDatesAgainstStoredDateTimes)
{
    const Record record({FechaHora(QDate(2024, 3, 1), QTime(10, 30)), FechaHora(QDate(2024, 3, 1), QTime(10, 30)),
                         QTime(10, 30), QString("2024-03-01 10:30:00")});
    expectAll({{"Fecha = '01/03/2024'", false}, // a date-time field keeps its time
               {"Fecha >= '01/03/2024'", true},
               {"Fecha < '02/03/2024'", true},
               {"Fecha = '01/03/2024 10:30'", true},
               {"Fecha = '1/3/24 10:30:00'", true},
               {"Fecha > '01/03/2024 10:29:59'", true},
               {"Dia = '01/03/2024'", true}, // a date field has no time
               {"Dia = '01/03/2024 18:00'", true},
               {"Hora = '10:30'", true},
               {"Hora > '9:05:00'", true},
               {"Texto = '01/03/2024 10:30'", true},
               {"Fecha <= Texto", true},
               {"Fecha > '23:59'", true}, // a time alone is a time on the zero date
               {"Dia < Fecha", true}},
              dateFields, record);
}

TEST(FilterDates, TheZeroDateAndNullMeanNoDate)
{
    const QDateTime zero = FechaHora(QDate(1899, 12, 30), QTime(0, 0));
    expectAll({{"Fecha = ''", true},
               {"Fecha <> ''", false},
               {"Fecha = '30/12/1899'", true},
               {"Fecha < '01/01/1900'", true},
               {"Fecha IS NULL", true},
               {"Dia = ''", true},
               {"Dia > '01/01/2000'", false},
               {"NOT (Dia > '01/01/2000')", false}},
              dateFields, Record({zero, nullValue(QMetaType::QDateTime), QTime(0, 0), QString()}));
}

TEST(FilterDates, TimesOfDayKeptInDateTimeFields)
{
    const QDateTime startTime = FechaHora(QDate(1899, 12, 30), QTime(10, 30));
    expectAll({{"Fecha = '10:30'", true},
               {"Fecha = '10:30:01'", false},
               {"Fecha < '10:31:00'", true},
               {"Fecha <> ''", true},
               {"Texto = '10:30'", false}},
              dateFields, Record({startTime, QDate(), QTime(), QString("2024-01-01 10:30:00")}));
}

TEST(FilterTypes, ValuesThatDoNotFitTheFieldAreATypeMismatch)
{
    const Fields fields({{"Importe", ftFloat},
                         {"Cantidad", ftInteger},
                         {"Fecha", ftDateTime},
                         {"Hora", ftTime},
                         {"Activo", ftBoolean},
                         {"Nombre", ftString},
                         {"Foto", ftGraphic}});
    const char *mismatches[] = {
        "Importe = '12abc'", "Importe = '1,2,3'", "Importe < ''",          "Importe = 'uno'",
        "Cantidad = '1.234.5'", "Fecha = '31/02/2024'", "Fecha = 'mañana'", "Fecha = 5",
        "Fecha = '01/03/2024 25:00'", "Hora = 'x'", "Activo = 'quizá'", "Activo = 2",
        "Nombre = Importe", "Fecha > Hora", "Foto = 'x'", "Importe = True",
        "'x' = NULL",
    };
    for (const char *filter : mismatches)
        EXPECT_EQ(compileError(QString::fromUtf8(filter), fields), "Type mismatch in expression") << filter;
    EXPECT_EQ(compileError("(Nombre = 'x') AND (Campo = 'y')", fields), "Field 'Campo' not found");
    EXPECT_EQ(compileError("Nombre = Otro", fields), "Field 'Otro' not found");
    EXPECT_EQ(compileError("NOMBRE = 'x' and importe > 1 and activo = false", fields), "");
}

TEST(FilterTypes, BooleansAndConstants)
{
    const Fields fields({{"Activo", ftBoolean}});
    expectAll({{"Activo = True", true},
               {"Activo = 'true'", true},
               {"Activo <> 'False'", true},
               {"Activo = 0", false},
               {"1 = 1", true},
               {"'a' = 'b'", false},
               {"2 > 10", false},
               {"'2' > '10'", true}},
              fields, Record({true}));
    EXPECT_FALSE(accepts("Activo = True", fields, Record({QString("False")})));
}

TEST(FilterCompiled, OneCompilationServesManyRecords)
{
    const Fields fields({{"Codigo", ftString}, {"Importe", ftFloat}, {"Fecha", ftDate}});
    const plat::FilterExpression expression("(Codigo >= 'B') AND (Importe > '10,5') AND (Fecha <= '31/12/2023')");
    const auto compiled = expression.compile(fields);
    struct Row
    {
        const char *codigo;
        double importe;
        QDate fecha;
        bool expected;
    };
    const Row rows[] = {{"B", 11, QDate(2023, 12, 31), true},
                        {"A", 11, QDate(2023, 1, 1), false},
                        {"C", 10.5, QDate(2023, 1, 1), false},
                        {"C", 10.51, QDate(2024, 1, 1), false},
                        {"Z", 1e9, QDate(1900, 1, 1), true}};
    for (const auto &row : rows)
        EXPECT_EQ(compiled.accepts(Record({QString(row.codigo), row.importe, row.fecha})), row.expected) << row.codigo;
    EXPECT_TRUE(plat::FilterExpression().compile(fields).accepts(Record({QString(), 0.0, QDate()})));
    EXPECT_EQ(expression.text(), "(Codigo >= 'B') AND (Importe > '10,5') AND (Fecha <= '31/12/2023')");
}

} // namespace
