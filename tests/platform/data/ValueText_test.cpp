#include "platform/base/FechaHora.h"
#include "platform/data/ValueText.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

struct FloatCase { const char *format; double value; const char *expected; };

const FloatCase floatCases[] = {
    {"#,##0.00", 1234.5, "1.234,50"},
    {"#,##0.00", -1234567.891, "-1.234.567,89"},
    {"0.##", 3.0, "3"},
    {"0.##", 3.456, "3,46"},
    {"0.00", 0.005, "0,01"},
    {"#,###.##", 0.5, ",5"},
    {"000", 7, "007"},
    {"#,##0.00 €", 12, "12,00 €"},
    {"0.00;(0.00)", -2.5, "(2,50)"},
    {"0.00;-0.00;'cero'", 0, "cero"},
    {"0", -0.4, "0"},
    {"0,000", 12, "0.012"},
    {"0.00", -0.001, "0,00"},
    {"#,##0", 1234567.8, "1.234.568"},
};

} // namespace

TEST(ValueText, FloatFormatsFollowTheStoredPatterns)
{
    for (const FloatCase &c : floatCases)
        EXPECT_EQ(formatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected)) << c.format;
}

// A mask read for one number serves the next ones: whatever mask came before, each number
// follows its own.
TEST(ValueText, FloatFormatsDoNotDependOnTheMaskBefore)
{
    for (const FloatCase &before : floatCases)
        for (const FloatCase &c : floatCases) {
            formatFloat(QString::fromUtf8(before.format), before.value);
            EXPECT_EQ(formatFloat(QString::fromUtf8(c.format), c.value), QString::fromUtf8(c.expected))
                << c.format << " after " << before.format;
        }
}

TEST(ValueText, DateFormatsReadMinutesAfterHours)
{
    const QDateTime when = FechaHora(QDate(2024, 3, 5), QTime(14, 7, 9));
    EXPECT_EQ(formatDateTime("HH:MM:SS", when), "14:07:09");
    EXPECT_EQ(formatDateTime("dd/mm/yyyy", when), "05/03/2024");
    EXPECT_EQ(formatDateTime("d/m/yy hh:nn", when), "5/3/24 14:07");
    EXPECT_EQ(formatDateTime("dddd d 'de' mmmm", when), QString::fromUtf8("martes 5 de marzo"));
}

TEST(ValueText, NumbersReadWithEitherDecimalMark)
{
    double d = 0;
    ASSERT_TRUE(textToFloat("1.234,5", d));
    EXPECT_DOUBLE_EQ(d, 1234.5);
    ASSERT_TRUE(textToFloat("3,25", d));
    EXPECT_DOUBLE_EQ(d, 3.25);
    ASSERT_TRUE(textToFloat("-0.5", d));
    EXPECT_DOUBLE_EQ(d, -0.5);
    EXPECT_FALSE(textToFloat("12abc", d));
    EXPECT_FALSE(textToFloat("", d));
    EXPECT_EQ(floatToText(1234.5), "1234,5");
    EXPECT_EQ(floatToText(0.1 + 0.2), "0,3");
    qint64 n = 0;
    EXPECT_TRUE(textToInteger(" -42 ", n));
    EXPECT_EQ(n, -42);
    EXPECT_FALSE(textToInteger("4.2", n));
}

TEST(ValueText, DatesReadInSpanishAndIsoOrder)
{
    QDateTime dt;
    ASSERT_TRUE(textToDateTime("01/03/2024", ftDate, dt));
    EXPECT_EQ(dt.date(), QDate(2024, 3, 1));
    ASSERT_TRUE(textToDateTime("1/3/24 10:05", ftDateTime, dt));
    EXPECT_EQ(dt, FechaHora(QDate(2024, 3, 1), QTime(10, 5)));
    ASSERT_TRUE(textToDateTime("2024-03-01 10:05:30", ftDateTime, dt));
    EXPECT_EQ(dt, FechaHora(QDate(2024, 3, 1), QTime(10, 5, 30)));
    ASSERT_TRUE(textToDateTime("10:05", ftTime, dt));
    EXPECT_EQ(dt, FechaHora(zeroDate().date(), QTime(10, 5)));
    EXPECT_FALSE(textToDateTime("31/02/2024", ftDate, dt));
    EXPECT_FALSE(textToDateTime("ayer", ftDate, dt));
    EXPECT_EQ(dateTimeToText(zeroDate(), ftDateTime), "30/12/1899");
    EXPECT_EQ(dateTimeToText(FechaHora(QDate(2024, 3, 1), QTime(8, 0)), ftDateTime), "01/03/2024 08:00:00");
    EXPECT_EQ(dateTimeToText(FechaHora(QDate(2024, 3, 1), QTime(8, 0)), ftDate), "01/03/2024");
}
