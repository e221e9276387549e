#include "platform/base/Errores.h"
#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/Session.h"
#include "tests/platform/engine/EngineFixture.h"
#include "tests/platform/engine/ServidorPrueba.h"

#include <QUuid>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

using namespace plat;
using gptest::ServidorPrueba;

namespace {

// Creating a table holds off another session creating it: the lock of the creation's
// transaction waits until the first one ends.
TEST(CreacionConcurrente, PostgreSqlTableCreationLockWaitsForTheOtherTransaction)
{
    EXPECT_EQ(Dialect::forEngine(EngineKind::PostgreSQL).tableCreationLock("CAMPOUSR"),
              "SELECT pg_advisory_xact_lock(hashtext('gp_crear_tabla:campousr'))");
    EXPECT_EQ(Dialect::forEngine(EngineKind::SQLite).tableCreationLock("CAMPOUSR"), "");
    ServidorPrueba servidor;
    if (!servidor.pg.available())
        GTEST_SKIP() << "no PostgreSQL test server";
    const QString bloqueo = Dialect::forEngine(EngineKind::PostgreSQL).tableCreationLock("CAMPOUSR");
    // Two programs: a session's connections to one database are one connection of the server.
    ServidorPrueba otroPrograma;
    Connection primera(servidor.sesion, "primera"), segunda(otroPrograma.sesion, "segunda");
    for (Connection *c : {&primera, &segunda})
        c->setParams(servidor.parametros("postgres", servidor.pg.user));
    primera.startTransaction();
    primera.exec(bloqueo, {}, SqlOrigin::AsWritten);
    segunda.exec("SET lock_timeout = '200ms'", {}, SqlOrigin::AsWritten);
    segunda.startTransaction();
    EXPECT_THROW(segunda.exec(bloqueo, {}, SqlOrigin::AsWritten), gp::DatabaseError);
    segunda.rollback();
    primera.commit();
    segunda.startTransaction();
    EXPECT_NO_THROW(segunda.exec(bloqueo, {}, SqlOrigin::AsWritten));
    segunda.commit();
}

// Two programs starting at once on a new PostgreSQL database: both go on, one made it.
TEST(CreacionConcurrente, TwoSessionsCreatingOneDatabaseAtOnceBothGoOn)
{
    ServidorPrueba servidor;
    if (!servidor.pg.available())
        GTEST_SKIP() << "no PostgreSQL test server";
    const QString nombre = QStringLiteral("gp_a") + QUuid::createUuid().toString(QUuid::Id128).left(8);
    std::atomic<int> listos{0}, creadas{0}, fallos{0};
    const auto crear = [&] {
        Session sesion;
        sesion.setEngine(EngineKind::PostgreSQL);
        ++listos;
        while (listos < 2) {
        }
        try {
            creadas += sesion.createDatabase(nombre, {}, servidor.parametros(nombre, servidor.pg.user)) ? 1 : 0;
        } catch (const gp::DatabaseError &) {
            ++fallos;
        }
        sesion.closeAll();
    };
    for (int ronda = 0; ronda < 5; ++ronda) {
        listos = 0;
        creadas = 0;
        std::thread a(crear), b(crear);
        a.join();
        b.join();
        EXPECT_EQ(fallos.load(), 0);
        EXPECT_EQ(creadas.load(), 1);
        servidor.postgres().exec(QStringLiteral("DROP DATABASE \"%1\" WITH (FORCE)").arg(nombre));
    }
}

} // namespace
