#include "platform/data/SqlVariables.h"

#include <gtest/gtest.h>

using namespace plat;

TEST(SqlVariables, RepeatedNamesGetANumber)
{
    EXPECT_EQ(sqlVariableNames("SELECT * FROM C WHERE A = :$Cliente OR B = :$Cliente"),
              QStringList({"$Cliente", "$Cliente_0"}));
    EXPECT_EQ(sqlVariableNames("WHERE A=:$X AND B=:#N AND C=:$X AND D=:&F"),
              QStringList({"$X", "#N", "$X_1", "&F"}));
}

TEST(SqlVariables, NamesEndAtBlanksBracketsCommasAndLineBreaks)
{
    EXPECT_EQ(sqlVariableNames("IN (:$A,:#B) AND X=:&C\r\nAND Y=(:$D)"),
              QStringList({"$A", "#B", "&C", "$D"}));
    EXPECT_EQ(sqlVariableNames("WHERE Codigo IN (:*Lista)"), QStringList({"*Lista"}));
}

TEST(SqlVariables, AnEmptyPieceStopsTheScan)
{
    EXPECT_EQ(sqlVariableNames("SELECT x::int, :$A"), QStringList());
    EXPECT_EQ(sqlVariableNames("A = :$A AND B = '10:30' AND C = :$C"), QStringList({"$A", "$C"}));
    EXPECT_EQ(sqlVariableNames(":$A"), QStringList());   // the text starts with an empty piece
}

TEST(SqlVariables, DriverStatementUsesPositionalPlaceholders)
{
    const DriverStatement s = toDriverStatement(
        "SELECT * FROM T WHERE A = :$Cliente AND F >= :&Desde AND B = :$Cliente AND C IN (:*Lista)");
    EXPECT_EQ(s.sql, "SELECT * FROM T WHERE A = ? AND F >= ? AND B = ? AND C IN (:*Lista)");
    EXPECT_EQ(s.placeholders, QStringList({"$Cliente", "&Desde", "$Cliente_1"}));
}

TEST(SqlVariables, VariablesInsideLiteralsAreWrittenWithTheirQuotesDoubled)
{
    const auto valor = [](const QString &nombre) { return nombre == "$Nombre" ? QString("O'Brien \"jr\"") : QString("7"); };
    const DriverStatement s = toDriverStatement(
        "SELECT 'Hola :$Nombre' AS t, \"C :#N\" FROM T WHERE A = :$Nombre AND B = :#N", QString(), valor);
    EXPECT_EQ(s.sql, "SELECT 'Hola O''Brien \"jr\"' AS t, \"C 7\" FROM T WHERE A = ? AND B = ?");
    EXPECT_EQ(s.placeholders, QStringList({"$Nombre_1", "#N_2"}));
    EXPECT_EQ(s.names, QStringList({"$Nombre", "#N", "$Nombre_1", "#N_2"}));
}

TEST(SqlVariables, PlainParametersOutsideQuotes)
{
    const DriverStatement s = toDriverStatement("SELECT ':x' AS t, '10:30' FROM T WHERE Codigo = :Codigo");
    EXPECT_EQ(s.sql, "SELECT ':x' AS t, '10:30' FROM T WHERE Codigo = ?");
    EXPECT_EQ(s.placeholders, QStringList({"Codigo"}));
}

// What is listed is what is bound: a variable ends at the next colon, and a NUL character is
// text like any other.
TEST(SqlVariables, TheDriverStatementBindsTheListedNames)
{
    const struct
    {
        QString sql;
        QStringList nombres;
    } casos[] = {
        {QStringLiteral("WHERE A = :$A:$B"), {"$A", "$B"}},
        {QStringLiteral("WHERE A = :#N:&F)"), {"#N", "&F"}},
        {QStringLiteral("S:") + QChar(0) + QStringLiteral(" WHERE A = :$A"), {"$A"}},
    };
    for (const auto &c : casos) {
        EXPECT_EQ(sqlVariableNames(c.sql), c.nombres) << c.sql.toStdString();
        EXPECT_EQ(toDriverStatement(c.sql).placeholders, c.nombres) << c.sql.toStdString();
    }
}
