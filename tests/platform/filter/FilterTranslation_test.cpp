// Filters written as SQL conditions: the texts, and that SQLite selects the same rows as
// the evaluation on the client.
#include "FilterTestTable.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <gtest/gtest.h>

#include <set>

using namespace filtertest;

namespace {

// A dialect whose folded comparison is UPPER(): right for the ASCII test data only.
class UpperDialect : public plat::FilterSqlDialect
{
public:
    QString caseInsensitive(const QString &sqlExpression) const override
    {
        return QStringLiteral("UPPER(") + sqlExpression + QLatin1Char(')');
    }
};

Fields tableFields()
{
    return Fields({{"id", ftInteger},
                   {"Codigo", ftString},
                   {"Nombre", ftString},
                   {"Importe", ftFloat},
                   {"Cantidad", ftInteger},
                   {"Fecha", ftDateTime},
                   {"Dia", ftDate},
                   {"Activo", ftBoolean},
                   {"Hora", ftTime},
                   {"Fecha de alta", ftDate},
                   {"Calculado", ftString, true}});
}

plat::FilterSql translate(const QString &filter, const plat::FilterSqlDialect &dialect = plat::FilterSqlDialect(),
                          const plat::FilterOptions &options = {})
{
    return plat::FilterExpression(filter).compile(tableFields(), options).toSql(dialect);
}

TEST(FilterSqlText, GoldenConditions)
{
    struct Case
    {
        const char *filter;
        const char *condition;
        bool complete;
    };
    const Case cases[] = {
        {"(Codigo = 'A1') AND\r\n(Importe >= '1.234,5')", "((Codigo = 'A1') AND (Importe >= 1234.5))", true},
        {"Nombre = 'O''Brien'", "(Nombre = 'O''Brien')", true},
        {"Nombre = 'x'' OR ''1''=''1'", "(Nombre = 'x'' OR ''1''=''1')", true},
        {"Fecha >= '01/03/2024'", "(Fecha >= '2024-03-01 00:00:00')", true},
        {"Fecha < '1/3/24 9:05'", "(Fecha < '2024-03-01 09:05:00')", true},
        {"Dia = '01/03/2024 18:00'", "(Dia = '2024-03-01 00:00:00')", true},
        {"Fecha >= '8:15'", "(Fecha >= '1899-12-30 08:15:00')", true},
        {"'10' < Cantidad", "(Cantidad > 10)", true},
        {"Importe <> '-0,25'", "(Importe <> -0.25)", true},
        {"NOT (Cantidad = 1 OR Cantidad = 2)", "(NOT ((Cantidad = 1) OR (Cantidad = 2)))", true},
        {"Nombre = ''", "(Nombre IS NULL OR Nombre = '')", true},
        {"Nombre IS NOT NULL", "(Nombre IS NOT NULL AND Nombre <> '')", true},
        {"Fecha <> ''", "(Fecha IS NOT NULL AND Fecha <> '1899-12-30 00:00:00')", true},
        {"Importe = NULL", "(Importe IS NULL)", true},
        {"Nombre = 'Ju*'", "(SUBSTR(Nombre, 1, 2) = 'Ju')", true},
        {"Nombre <> 'Ñu*'", "(SUBSTR(Nombre, 1, 2) <> 'Ñu')", true},
        {"Activo = True", "(Activo = 1)", true},
        {"[Fecha de alta] = '02/01/2020'", "(\"Fecha de alta\" = '2020-01-02 00:00:00')", true},
        {"Fecha <= Dia", "(Fecha <= Dia)", true},
        {"1 = 0", "1 = 0", true},
        {"1 = 1 AND Codigo = 'A'", "(Codigo = 'A')", true},
        {"", "", true},
        // What SQL cannot hold is left out where that only widens the selection.
        {"Calculado = 'x' AND Codigo = 'A1'", "(Codigo = 'A1')", false},
        {"Calculado = 'x' OR Codigo = 'A1'", "", false},
        {"NOT (Calculado = 'x' OR Codigo = 'A1')", "(NOT (Codigo = 'A1'))", false},
        {"NOT (Calculado = 'x' AND Codigo = 'A1')", "", false},
        {"Hora > '10:00' AND Cantidad = 3", "(Cantidad = 3)", false},
        {"Hora = ''", "(Hora IS NULL)", true},
    };
    for (const auto &c : cases) {
        const auto sql = translate(QString::fromUtf8(c.filter));
        EXPECT_EQ(sql.condition.toStdString(), c.condition) << c.filter;
        EXPECT_EQ(sql.complete, c.complete) << c.filter;
    }
}

TEST(FilterSqlText, IgnoringCaseNeedsTheDialectsFolding)
{
    plat::FilterOptions ignoreCase;
    ignoreCase.caseInsensitive = true;
    const auto plain = translate("Nombre = 'Juan' AND Cantidad = 1", plat::FilterSqlDialect(), ignoreCase);
    EXPECT_EQ(plain.condition, "(Cantidad = 1)");
    EXPECT_FALSE(plain.complete);
    const auto folded = translate("Nombre = 'Juan' AND Codigo = 'a*'", UpperDialect(), ignoreCase);
    EXPECT_EQ(folded.condition, "((UPPER(Nombre) = UPPER('JUAN')) AND (UPPER(SUBSTR(Codigo, 1, 1)) = UPPER('A')))");
    EXPECT_TRUE(folded.complete);
}

TEST(FilterSqlText, TextComparisonsTakeTheDialectsBinaryCollation)
{
    class CollatingDialect : public UpperDialect
    {
    public:
        QString binaryText(const QString &e) const override { return e + QStringLiteral(" COLLATE \"C\""); }
    };
    const CollatingDialect dialect;
    EXPECT_EQ(translate("Codigo >= 'B' AND Nombre = Codigo AND Importe > 1", dialect).condition,
              "((Codigo COLLATE \"C\" >= 'B') AND (Nombre COLLATE \"C\" = Codigo) AND (Importe > 1))");
    EXPECT_EQ(translate("Nombre <> 'Ju*' OR Nombre = ''", dialect).condition,
              "((SUBSTR(Nombre, 1, 2) COLLATE \"C\" <> 'Ju') OR (Nombre IS NULL OR Nombre = ''))");
    plat::FilterOptions ignoreCase;
    ignoreCase.caseInsensitive = true;
    EXPECT_EQ(translate("Nombre < 'b'", dialect, ignoreCase).condition, "(UPPER(Nombre) COLLATE \"C\" < UPPER('B'))");
}

TEST(FilterSqlText, ValuesWithNulCharactersStayOnTheClient)
{
    const auto sql = translate(QStringLiteral("Nombre = 'a") + QChar(u'\0') + QStringLiteral("' OR Codigo = 'x'"));
    EXPECT_EQ(sql.condition, "");
    EXPECT_FALSE(sql.complete);
}

// A SQLite table stored as the data layer stores it (dates as ISO text, booleans as 0/1,
// empty texts as ''), read back by a record that hands the raw values to the filter.
class FilterSqlite : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db_ = QSqlDatabase::addDatabase("QSQLITE", "filter_sql_test");
        db_.setDatabaseName(":memory:");
        ASSERT_TRUE(db_.open());
        run("CREATE TABLE t (id INTEGER, Codigo VARCHAR(10), Nombre VARCHAR(40), Importe DOUBLE, Cantidad INTEGER,"
            " Fecha DATETIME, Dia DATETIME, Activo SMALLINT, Hora VARCHAR(8), \"Fecha de alta\" DATETIME,"
            " Calculado VARCHAR(10))");
        const char *rows[] = {
            "1, 'A1', 'Juan', 1234.5, 7, '2024-03-01 10:30:00', '2024-03-01 00:00:00', 1, '10:30:00', "
            "'2020-01-02 00:00:00', 'x'",
            "2, 'A2', 'juana', 10.25, 0, '2024-03-01 00:00:00', '2024-02-29 00:00:00', 0, NULL, NULL, 'y'",
            "3, 'B1', '', -3, NULL, '1899-12-30 00:00:00', '1899-12-30 00:00:00', NULL, '08:00:00', "
            "'2021-05-05 00:00:00', 'x'",
            "4, 'b2', NULL, NULL, 12, NULL, NULL, 1, NULL, NULL, NULL",
            "5, 'C''1', 'O''Brien', 0, 0, '2023-12-31 23:59:59', '2023-12-31 00:00:00', 0, '23:00:00', "
            "'2020-01-02 00:00:00', 'z'",
            "6, 'Zz', 'Ñu', 1e6, -1, '2024-03-02 00:00:00', '2024-03-02 00:00:00', 1, '00:00:00', NULL, 'x'",
            "7, 'A10', 'Juan Pérez', 1234.4999, 7, '2024-03-01 10:29:59', '2024-03-01 00:00:00', 0, '10:29:00', "
            "'2020-01-01 00:00:00', ''",
        };
        for (const char *row : rows)
            run(QStringLiteral("INSERT INTO t VALUES (%1)").arg(row));
    }

    void TearDown() override
    {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase("filter_sql_test");
    }

    void run(const QString &sql)
    {
        QSqlQuery query(db_);
        ASSERT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }

    // Ids of the rows the SQL condition selects, and of those among them the filter accepts.
    std::pair<std::set<int>, std::set<int>> select(const plat::CompiledFilter &filter, const QString &condition)
    {
        QSqlQuery query(db_);
        const QString sql = QStringLiteral("SELECT * FROM t") + (condition.isEmpty() ? QString() : " WHERE " + condition);
        EXPECT_TRUE(query.exec(sql)) << sql.toStdString() << ": " << query.lastError().text().toStdString();
        std::set<int> selected, accepted;
        while (query.next()) {
            std::vector<QVariant> values;
            for (int i = 0; i < query.record().count(); ++i)
                values.push_back(query.value(i));
            selected.insert(query.value(0).toInt());
            if (filter.accepts(Record(values)))
                accepted.insert(query.value(0).toInt());
        }
        return {selected, accepted};
    }

    QSqlDatabase db_;
};

TEST_F(FilterSqlite, TranslatedConditionsSelectTheRowsTheFilterAccepts)
{
    const char *filters[] = {
        "(Codigo = 'A1')",
        "(Codigo >= 'A') AND\r\n(Codigo < 'B')",
        "Codigo > 'Z' OR Codigo < 'A'",
        "Nombre = 'O''Brien'",
        "Nombre = ''",
        "Nombre <> ''",
        "Nombre IS NULL",
        "Nombre > ''",
        "Nombre = 'Juan*'",
        "Nombre <> 'Juan*'",
        "Nombre = 'Ñ*'",
        "Nombre < 'a'",
        "Importe >= '1234,5'",
        "Importe < '1.234,5' AND Importe > -3",
        "Importe = 0",
        "NOT Importe > 100",
        "NOT (Importe > 100 OR Cantidad = 7)",
        "Cantidad <> 7",
        "Cantidad = ''",
        "Cantidad <= '7,0' AND NOT Cantidad < 0",
        "Fecha = '01/03/2024'",
        "Fecha >= '01/03/2024'",
        "Fecha > '01/03/2024 10:29:59'",
        "Fecha = ''",
        "Fecha <> ''",
        "Fecha < '01/01/1900'",
        "Dia = '01/03/2024'",
        "Dia <= '29/02/2024'",
        "Fecha <= Dia",
        "Dia < Fecha",
        "Activo = True",
        "Activo <> 'False'",
        "NOT Activo = 1",
        "[Fecha de alta] = '02/01/2020'",
        "\"Fecha de alta\" <> ''",
        "Cantidad = Importe",
        "NOT (Codigo = 'A1' AND (Importe > 0 OR Fecha IS NULL))",
        "1 = 1 AND Codigo = 'A1'",
        "'a' > 'b' OR Codigo = 'Zz'",
        // Partly client-side: the SQL part must still select every accepted row.
        "Calculado = 'x' AND Importe > 0",
        "NOT (Calculado = 'x' OR Cantidad = 7)",
        "Hora >= '10:00' OR Codigo = 'B1'",
        "NOT (Hora < '10:00' AND Activo = 1)",
    };
    const Fields fields = tableFields();
    const plat::FilterSqlDialect dialect;
    for (const char *text : filters) {
        const auto filter = plat::FilterExpression(QString::fromUtf8(text)).compile(fields);
        const auto sql = filter.toSql(dialect);
        const auto [selected, accepted] = select(filter, sql.condition);
        const auto [all, acceptedOfAll] = select(filter, QString());
        EXPECT_EQ(accepted, acceptedOfAll) << text << " -> " << sql.condition.toStdString();
        if (sql.complete) {
            EXPECT_EQ(selected, acceptedOfAll) << text << " -> " << sql.condition.toStdString();
        }
        EXPECT_LT(acceptedOfAll.size(), all.size()) << text; // each case rules some row out
        EXPECT_GT(acceptedOfAll.size(), 0u) << text;           // and lets some through
    }
}

TEST_F(FilterSqlite, CaseInsensitiveFiltersSelectTheSameRows)
{
    plat::FilterOptions ignoreCase;
    ignoreCase.caseInsensitive = true;
    const char *filters[] = {"Codigo = 'B2'", "Codigo >= 'b'", "Nombre = 'JUAN'", "Nombre = 'JUAN*'", "Codigo <> 'a*'"};
    const UpperDialect dialect;
    for (const char *text : filters) {
        const auto filter = plat::FilterExpression(QString::fromUtf8(text)).compile(tableFields(), ignoreCase);
        const auto sql = filter.toSql(dialect);
        ASSERT_TRUE(sql.complete) << text;
        const auto [selected, accepted] = select(filter, sql.condition);
        const auto [all, acceptedOfAll] = select(filter, QString());
        EXPECT_EQ(selected, acceptedOfAll) << text << " -> " << sql.condition.toStdString();
        EXPECT_LT(acceptedOfAll.size(), all.size()) << text;
        EXPECT_GT(acceptedOfAll.size(), 0u) << text;
    }
}

} // namespace
