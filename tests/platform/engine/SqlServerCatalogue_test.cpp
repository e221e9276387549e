#include "platform/data/engine/Dialect.h"
#include "platform/data/engine/SqlServerCatalogue.h"

#include <gtest/gtest.h>

using namespace plat;

namespace {

const Dialect &mssql() { return Dialect::forEngine(EngineKind::SqlServer); }

} // namespace

TEST(SqlServerCatalogue, IndexesAreReadFromTheSystemViewsOfTheTable)
{
    const QString sql = SqlServerCatalogue::indexesQuery(QStringLiteral("dbo.CLIENTE"));
    EXPECT_EQ(sql, QStringLiteral(
                       "SELECT I.name, I.is_primary_key, I.is_unique, C.name, IC.is_descending_key "
                       "FROM sys.indexes I "
                       "JOIN sys.index_columns IC ON IC.object_id = I.object_id AND IC.index_id = I.index_id "
                       "JOIN sys.columns C ON C.object_id = IC.object_id AND C.column_id = IC.column_id "
                       "WHERE I.object_id = OBJECT_ID('dbo.CLIENTE') AND IC.key_ordinal > 0 "
                       "ORDER BY I.is_primary_key DESC, I.index_id, IC.key_ordinal"));
    EXPECT_TRUE(SqlServerCatalogue::indexesQuery(QStringLiteral("O'X")).contains(QStringLiteral("OBJECT_ID('O''X')")));
}

TEST(SqlServerCatalogue, RowsBecomeTheProgramsIndexesByName)
{
    const QList<QVariantList> rows = {
        {QStringLiteral("CLIENTE_Clave1"), 1, 1, QStringLiteral("Empresa"), 0},
        {QStringLiteral("CLIENTE_Clave1"), 1, 1, QStringLiteral("Codigo"), 0},
        {QStringLiteral("CLIENTE_Clave2"), 0, 0, QStringLiteral("Nombre"), 0},
        {QStringLiteral("CLIENTE_Clave3"), 0, 1, QStringLiteral("Alta"), 1},
        {QStringLiteral("OTRO_NOMBRE"), 0, 0, QStringLiteral("Zona"), 0},
    };
    const QList<IndexDef> indexes = SqlServerCatalogue::indexesFromRows(QStringLiteral("dbo.CLIENTE"), rows, mssql());
    ASSERT_EQ(indexes.size(), 4);
    EXPECT_EQ(indexes[0].name, "Clave1");
    EXPECT_TRUE(indexes[0].primary);
    EXPECT_TRUE(indexes[0].unique);
    EXPECT_EQ(indexes[0].fields, (QStringList{"Empresa", "Codigo"}));
    EXPECT_EQ(indexes[1].name, "Clave2");
    EXPECT_FALSE(indexes[1].primary);
    EXPECT_FALSE(indexes[1].unique);
    EXPECT_EQ(indexes[1].fields, QStringList{"Nombre"});
    EXPECT_TRUE(indexes[2].unique);
    EXPECT_TRUE(indexes[2].descending);
    // A name that does not follow the table's prefix is kept as the server gives it.
    EXPECT_EQ(indexes[3].name, "OTRO_NOMBRE");
    EXPECT_TRUE(SqlServerCatalogue::indexesFromRows(QStringLiteral("dbo.CLIENTE"), {}, mssql()).isEmpty());
}
