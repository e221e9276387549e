// The servers' client libraries come into the process with the engine that needs them: work
// on SQLite files loads neither libpq nor unixODBC, and a PostgreSQL connection reads its
// stored texts through the libpq its driver brought.
#include "platform/base/FechaHora.h"
#include "tests/platform/engine/EngineFixture.h"

#include "platform/data/Field.h"
#include "platform/data/engine/Connection.h"

#include <cstring>
#include <link.h>

using namespace plat;
using gptest::Backend;
using gptest::EngineTest;

namespace {

bool loaded(const char *library)
{
    struct Search
    {
        const char *name;
        bool found = false;
    } search{library};
    dl_iterate_phdr(
        [](dl_phdr_info *info, size_t, void *data) {
            auto *s = static_cast<Search *>(data);
            if (info->dlpi_name && std::strstr(info->dlpi_name, s->name))
                s->found = true;
            return 0;
        },
        &search);
    return search.found;
}

class ClientLibraries : public EngineTest
{
protected:
    void SetUp() override
    {
        // The cases of one process share it: a server case run before has loaded its library.
        if (serverOpenings() > 0)
            GTEST_SKIP() << "an earlier case of this process reached a server";
        EngineTest::SetUp();
    }
};

} // namespace

TEST_P(ClientLibraries, ComeWithTheEngineThatNeedsThem)
{
    TableDef t;
    t.name = QStringLiteral("CITAS");
    t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Momento"), ftDateTime)};
    db().createTable(t);
    const QDateTime cita = FechaHora(QDate(2024, 3, 31), QTime(2, 30));
    db().exec(QStringLiteral("INSERT INTO CITAS (Codigo, Momento) VALUES (1, :m)"), {{QStringLiteral("m"), cita}});
    // A failure asks the driver whether its link is dead.
    EXPECT_NE(gptest::failureKind([&] { db().exec(QStringLiteral("INSERT INTO NINGUNA (Codigo) VALUES (1)")); }),
              std::nullopt);
    const QueryResult filas = db().query(QStringLiteral("SELECT Momento FROM CITAS"));
    ASSERT_EQ(filas.rows.size(), 1);
    EXPECT_EQ(filas.rows.at(0).at(0).toDateTime(), cita);

    EXPECT_EQ(loaded("libpq.so"), GetParam() != Backend::SQLite);
    EXPECT_EQ(loaded("libodbc.so"), GetParam() == Backend::OdbcPostgreSQL);
}

INSTANTIATE_TEST_SUITE_P(Engines, ClientLibraries, GP_ENGINE_BACKENDS);
