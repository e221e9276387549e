// Reading filter texts: the forms the program writes, precedence, and malformed texts.
#include "platform/base/FechaHora.h"
#include "FilterTestTable.h"

#include "platform/data/filter/FilterSyntax.h"
#include "platform/base/Errores.h"

#include <gtest/gtest.h>

using namespace filtertest;

namespace {

Fields sampleFields()
{
    return Fields({{"Codigo", ftString},
                   {"Nombre", ftString},
                   {"Importe", ftFloat},
                   {"Fecha", ftDateTime},
                   {"Activo", ftBoolean},
                   {"NivelUrgencia", ftString},
                   {"Fecha de alta", ftDate}});
}

Record sampleRecord()
{
    return Record({QString("A1"), QString("O'Brien"), 1234.5, FechaHora(QDate(2024, 3, 1), QTime(10, 30)), true,
                   QString("Error"), QDate(2020, 1, 2)});
}

QString errorOf(const QString &filter)
{
    try {
        plat::FilterExpression expression(filter);
    } catch (const gp::DatabaseError &error) {
        return error.mensaje();
    }
    return QString();
}

struct AcceptCase
{
    const char *filter;
    bool expected;
};

TEST(FilterParsing, ReadsTheFormsTheProgramWrites)
{
    const AcceptCase cases[] = {
        {"(Codigo = 'A1')", true},
        {"(Codigo = 'A2')", false},
        {"(Codigo = 'A1') AND\r\n(Importe >= '1000')", true},
        {"(Codigo = 'A1') AND\n(Importe >= '2000')", false},
        {"(Codigo = 'A1') AND\r\n(Nombre = 'O''Brien') AND\r\n(Fecha >= '01/03/2024')", true},
        {"codigo='A1' and importe<'1234,6'", true},
        {"(NivelUrgencia='Error' OR NivelUrgencia='Sugerencia')", true},
        {"(NivelUrgencia='Sugerencia') and (Codigo = 'A1')", false},
        {"(Nombre = 'O''Brien')", true},
        {"(Codigo <> 'A1')", false},
        {"NOT (Codigo = 'A1')", false},
        {"not Codigo = 'A2'", true},
        {"Importe > 1234", true},
        {"Importe = 1234.5", true},
        {"Importe < -1", false},
        {"[Codigo] = 'A1'", true},
        {"\"Codigo\" = 'A1'", true},
        {"[Fecha de alta] = '02/01/2020'", true},
        {"((((Codigo = 'A1'))))", true},
        {"Codigo IS NOT NULL", true},
        {"Codigo is null", false},
        {"'A1' = Codigo", true},
        {"'1000' < Importe", true},
        {"\t(Codigo\t=\t'A1')\r\n", true},
        {"Activo = True", true},
        {"Activo = 'False'", false},
        {"((Importe >= '1000') AND (Importe <= '2000'))", true},
        {"", true},
        {"  \r\n ", true},
    };
    const Fields fields = sampleFields();
    const Record record = sampleRecord();
    for (const auto &c : cases)
        EXPECT_EQ(accepts(QString::fromUtf8(c.filter), fields, record), c.expected) << c.filter;
}

TEST(FilterParsing, NotBindsTighterThanAndWhichBindsTighterThanOr)
{
    struct Case
    {
        const char *filter;
        bool (*expected)(bool, bool, bool);
    };
    const Case cases[] = {
        {"A = 1 OR B = 1 AND C = 1", [](bool a, bool b, bool c) { return a || (b && c); }},
        {"A = 1 AND B = 1 OR C = 1", [](bool a, bool b, bool c) { return (a && b) || c; }},
        {"(A = 1 OR B = 1) AND C = 1", [](bool a, bool b, bool c) { return (a || b) && c; }},
        {"NOT A = 1 AND B = 1", [](bool a, bool b, bool) { return !a && b; }},
        {"NOT (A = 1 AND B = 1)", [](bool a, bool b, bool) { return !(a && b); }},
        {"A = 1 AND NOT B = 1 OR C = 1", [](bool a, bool b, bool c) { return (a && !b) || c; }},
        {"NOT NOT A = 1", [](bool a, bool, bool) { return a; }},
        {"a = 1 or b = 1 Or c = 1", [](bool a, bool b, bool c) { return a || b || c; }},
        {"NOT (A = 1 OR NOT (B = 1 AND C = 1))", [](bool a, bool b, bool c) { return !(a || !(b && c)); }},
    };
    const Fields fields({{"A", ftInteger}, {"B", ftInteger}, {"C", ftInteger}});
    for (const auto &c : cases) {
        const auto compiled = plat::FilterExpression(c.filter).compile(fields);
        for (int bits = 0; bits < 8; ++bits) {
            const bool a = bits & 1, b = bits & 2, cc = bits & 4;
            const Record record({int(a), int(b), int(cc)});
            EXPECT_EQ(compiled.accepts(record), c.expected(a, b, cc)) << c.filter << " with " << a << b << cc;
        }
    }
}

TEST(FilterParsing, MalformedTextsNameTheProblemAndItsPosition)
{
    struct Case
    {
        const char *filter;
        const char *message;
    };
    const Case cases[] = {
        {"(Codigo = 'A1'", "at position 15: missing ')' for the '(' at position 1; found end of the filter"},
        {"Codigo = 'A1", "at position 10: missing closing quote"},
        {"Codigo 'A1'", "at position 8: comparison operator expected after 'Codigo'; found ''A1''"},
        {"Codigo = ", "at position 10: a value or a field name expected; found end of the filter"},
        {"Codigo = 'A1' AND", "at position 18: a field name or a value expected; found end of the filter"},
        {"Codigo = 'A1')", "at position 14: ')' without a matching '('"},
        {"Codigo = 'A1' Nombre = 'x'", "at position 15: unexpected 'Nombre'; expected AND, OR or the end"},
        {"Codigo = 'A1' & Nombre = 'x'", "at position 15: unexpected character '&'"},
        {"[Codigo = 'A1'", "at position 1: missing closing bracket"},
        {"Codigo > NULL", "at position 1: NULL can only be compared with = or <>"},
        {"Codigo IS 'x'", "at position 11: NULL expected after IS; found ''x''"},
        {"(Nombre = 'O'Brien')", "at position 14: missing ')' for the '(' at position 1; found 'Brien'"},
        {"[] = 'x'", "at position 1: empty field name"},
        {"Codigo == 'x'", "at position 9: a value or a field name expected; found '='"},
        {"AND Codigo = 'x'", "at position 1: a field name or a value expected; found 'AND'"},
        {"()", "at position 2: a field name or a value expected; found ')'"},
    };
    for (const auto &c : cases) {
        const QString message = errorOf(QString::fromUtf8(c.filter));
        EXPECT_TRUE(message.startsWith("Error in filter expression ")) << c.filter << " -> " << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.message))) << c.filter << " -> " << message.toStdString();
    }
}

TEST(FilterParsing, NestingIsCappedWithoutExhaustingTheStack)
{
    const auto nested = [](int depth) {
        return QString(depth, u'(') + QStringLiteral("A = 1") + QString(depth, u')');
    };
    const Fields fields({{"A", ftInteger}});
    EXPECT_TRUE(accepts(nested(plat::kMaxFilterNesting), fields, Record({1})));
    EXPECT_TRUE(errorOf(nested(plat::kMaxFilterNesting + 1)).contains("nested too deeply"));
    EXPECT_TRUE(errorOf(QString(200000, u'(')).contains("nested too deeply"));
    EXPECT_TRUE(errorOf(QStringLiteral("NOT ").repeated(50000) + QStringLiteral("A = 1")).contains("nested too deeply"));
}

TEST(FilterParsing, LongChainsOfConditionsStayFlat)
{
    // Saved filters and accumulated value filters grow by appending " AND (...)".
    QStringList terms;
    for (int i = 0; i < 20000; ++i)
        terms << QStringLiteral("(A <> %1)").arg(i + 1);
    const Fields fields({{"A", ftInteger}});
    const auto compiled = plat::FilterExpression(terms.join(" AND\r\n")).compile(fields);
    EXPECT_TRUE(compiled.accepts(Record({0})));
    EXPECT_FALSE(compiled.accepts(Record({19999})));
    const auto alternatives = plat::FilterExpression(terms.join(" OR ").replace("<>", "=")).compile(fields);
    EXPECT_TRUE(alternatives.accepts(Record({20000})));
    EXPECT_FALSE(alternatives.accepts(Record({20001})));
}

} // namespace
