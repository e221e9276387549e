// Dates are wall-clock readings. The test run sets TZ=Europe/Madrid, where 31/03/2024
// 02:30 does not exist as a local time and 27/10/2024 02:30 exists twice: those readings
// must still go into a table and come back as they were, equal to the same reading built
// by the common routines.
#include "platform/base/FechaHora.h"
#include "tests/platform/engine/EngineFixture.h"

#include "platform/data/Field.h"

using namespace plat;
using gptest::EngineTest;

namespace {

struct Reading
{
    const char *what;
    QDateTime value;
};

const Reading kReadings[] = {
    {"in the spring daylight-saving gap", FechaHora(QDate(2024, 3, 31), QTime(2, 30))},
    {"in the autumn repeated hour", FechaHora(QDate(2024, 10, 27), QTime(2, 30, 15))},
    {"the zero date", FechaCero()},
    {"a time of day on the zero date", FechaHora(QDate(1899, 12, 30), QTime(10, 5))},
    {"before railway time", FechaHora(QDate(1900, 1, 1), QTime(0, 0))},
    {"a leap day's last second", FechaHora(QDate(2024, 2, 29), QTime(23, 59, 59))},
};

TableDef fechas()
{
    TableDef t;
    t.name = QStringLiteral("FECHAS");
    t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Momento"), ftDateTime),
                fieldDef(QStringLiteral("Dia"), ftDate), fieldDef(QStringLiteral("Hora"), ftTime)};
    return t;
}

} // namespace

TEST_P(EngineTest, DateReadingsComeBackAsWrittenInAnyZone)
{
    db().createTable(fechas());
    const int n = int(std::size(kReadings));
    for (int i = 0; i < n; ++i) {
        const QDateTime &v = kReadings[i].value;
        // Once bound as parameters, once written as the dialect's literal.
        db().exec(QStringLiteral("INSERT INTO FECHAS (Codigo, Momento, Dia, Hora) VALUES (:C, :M, :D, :H)"),
                  {{"C", i}, {"M", v}, {"D", v.date()}, {"H", v.time()}});
        db().exec(QStringLiteral("INSERT INTO FECHAS (Codigo, Momento) VALUES (%1, %2)")
                      .arg(100 + i)
                      .arg(db().dialect().dateLiteral(v)));
    }
    const QueryResult r = db().query(QStringLiteral("SELECT Codigo, Momento, Dia, Hora FROM FECHAS ORDER BY Codigo"));
    ASSERT_EQ(r.rows.size(), 2 * n);
    for (int i = 0; i < n; ++i) {
        const Reading &c = kReadings[i];
        for (const int row : {i, n + i}) {
            const QDateTime read = r.rows[row][1].toDateTime();
            EXPECT_EQ(read, c.value) << c.what << " row " << row << ": " << read.toString().toStdString();
            EXPECT_EQ(read.time(), c.value.time()) << c.what;
            EXPECT_EQ(read.timeSpec(), Qt::UTC) << c.what;
        }
        EXPECT_EQ(r.rows[i][2].toDate(), c.value.date()) << c.what;
        EXPECT_EQ(r.rows[i][3].toTime(), c.value.time()) << c.what;
        // The engine finds it by the reading too.
        const QVariant found = db().scalar(QStringLiteral("SELECT COUNT(*) FROM FECHAS WHERE Momento = %1")
                                               .arg(db().dialect().dateLiteral(c.value)));
        EXPECT_EQ(found.toInt(), 2) << c.what;
    }
}

TEST_P(EngineTest, DatesFromOtherZonesAreWrittenAsTheirReading)
{
    // A local-time value from elsewhere in Qt (an editor, a file date) keeps its date and time.
    db().createTable(fechas());
    const QDateTime local(QDate(2024, 7, 1), QTime(12, 30), Qt::LocalTime);
    db().exec(QStringLiteral("INSERT INTO FECHAS (Codigo, Momento) VALUES (1, :M)"), {{"M", local}});
    const QDateTime read = db().scalar(QStringLiteral("SELECT Momento FROM FECHAS")).toDateTime();
    EXPECT_EQ(read, FechaHora(QDate(2024, 7, 1), QTime(12, 30)));
}
