// A date read back through the datasets is the reading the common routines build, and a
// filter on that date finds it, whether the filter is run by the engine (tables) or on the
// rows read (queries). The test run's zone (Europe/Madrid) skips 31/03/2024 02:00-03:00.
#include "platform/base/FechaHora.h"
#include "tests/platform/data/DataFixture.h"

using namespace plat;

namespace {

class DateFilter : public gptest::DataTest
{
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        if (IsSkipped())
            return;
        createLines();
        auto lines = table("LINEAS");
        lines->open();
        addLine(*lines, 1, "A", 1, "en el salto", 1, kGap);
        addLine(*lines, 1, "A", 2, "sin fecha", 2, FechaCero());
        addLine(*lines, 1, "A", 3, "una hora antes", 3, FechaHora(QDate(2024, 3, 31), QTime(1, 30)));
        addLine(*lines, 1, "A", 4, "una hora después", 4, FechaHora(QDate(2024, 3, 31), QTime(3, 30)));
    }

    static QStringList textsMatching(DataSet &ds, const QString &filter)
    {
        ds.setFilter(filter);
        ds.setFiltered(true);
        QStringList texts = column(ds, "Texto");
        texts.sort();
        return texts;
    }

    const QDateTime kGap = FechaHora(QDate(2024, 3, 31), QTime(2, 30));
};

struct FilterCase
{
    const char *filter;
    QStringList texts;
};

const FilterCase kCases[] = {
    {"Fecha = '31/03/2024 02:30'", {"en el salto"}},
    {"Fecha = '2024-03-31 02:30:00'", {"en el salto"}},
    {"Fecha > '31/03/2024 02:00' AND Fecha < '31/03/2024 03:00'", {"en el salto"}},
    {"Fecha >= '31/03/2024 02:30'", {"en el salto", "una hora después"}},
    {"Fecha = ''", {"sin fecha"}},
    {"Fecha = '30/12/1899'", {"sin fecha"}},
};

TEST_P(DateFilter, TablesReadAndFindTheReading)
{
    auto lines = table("LINEAS");
    lines->open();
    ASSERT_TRUE(lines->findKey({1, "A", 1}));
    EXPECT_EQ(lines->fieldByName("Fecha").asDateTime(), kGap);
    EXPECT_EQ(lines->fieldByName("Fecha").asString(), "31/03/2024 02:30:00");
    ASSERT_TRUE(lines->findKey({1, "A", 2}));
    EXPECT_EQ(lines->fieldByName("Fecha").asDateTime(), FechaCero());
    for (const FilterCase &c : kCases)
        EXPECT_EQ(textsMatching(*lines, c.filter), c.texts) << c.filter;
}

TEST_P(DateFilter, QueriesReadAndFindTheReading)
{
    QueryDataSet q("Consulta");
    q.setConnection(&db());
    q.setSql("SELECT Texto, Fecha FROM LINEAS ORDER BY Linea");
    q.open();
    q.first();
    EXPECT_EQ(q.fieldByName("Fecha").asDateTime(), kGap);
    for (const FilterCase &c : kCases)
        EXPECT_EQ(textsMatching(q, c.filter), c.texts) << c.filter;
    // A query parameter holding the reading finds the row in the engine.
    QueryDataSet byParam("PorParametro");
    byParam.setConnection(&db());
    byParam.setSql("SELECT Texto FROM LINEAS WHERE Fecha = :&Momento");
    byParam.paramByName("&Momento").setValue(kGap);
    byParam.open();
    EXPECT_EQ(column(byParam, "Texto"), QStringList{"en el salto"});
}

INSTANTIATE_TEST_SUITE_P(Engines, DateFilter, GP_DATA_BACKENDS);

} // namespace
