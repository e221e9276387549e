#include "platform/base/Errores.h"
#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/Session.h"
#include "tests/platform/engine/EngineFixture.h"
#include "tests/platform/engine/ServidorPrueba.h"

#include <QUuid>
#include <atomic>
#include <chrono>
#include <optional>
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

// A missing table is made with its record in the exchange that takes the creation's lock; a
// second program making it at the same moment waits for that lock, then finds it and leaves
// it alone, rows and record; so does a later call with another definition.
TEST(CreacionConcurrente, PostgreSqlMakesATableUnlessItExistsChecksUnderTheLock)
{
    ServidorPrueba servidor;
    if (!servidor.pg.available())
        GTEST_SKIP() << "no PostgreSQL test server";
    const QString base = QStringLiteral("gp_u") + QUuid::createUuid().toString(QUuid::Id128).left(8);
    servidor.postgres().exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(base));
    {
        ServidorPrueba otroPrograma;
        Connection primera(servidor.sesion, "primera"), segunda(otroPrograma.sesion, "segunda");
        for (Connection *c : {&primera, &segunda})
            c->setParams(servidor.parametros(base, servidor.pg.user));
        const QString bloqueo = primera.dialect().tableCreationLock("PROYECT");
        const QStringList sentencias{"CREATE TABLE PROYECT (Codigo VARCHAR(15) DEFAULT '', Descripcion VARCHAR(60) "
                                     "DEFAULT '' NULL, CONSTRAINT PROYECT_Clave1 PRIMARY KEY (Codigo))",
                                     "CREATE INDEX PROYECT_Clave2 ON PROYECT (Descripcion)"};
        const auto crear = [&](Connection &c, const QStringList &texto) {
            c.startTransaction();
            c.execWithNext(bloqueo);
            c.commitWithNext();
            const std::optional<bool> hecha = c.createTableUnlessExists("PROYECT", texto);
            c.commit();
            return hecha;
        };
        primera.startTransaction();
        primera.execWithNext(bloqueo);
        EXPECT_EQ(primera.createTableUnlessExists("PROYECT", sentencias), std::optional<bool>(true));
        primera.exec("INSERT INTO PROYECT (Codigo, Descripcion) VALUES ('1', 'Uno')");
        std::optional<bool> otra;
        QString fallo;
        std::thread otroArranque([&] {
            try {
                otra = crear(segunda, sentencias);
            } catch (const gp::Error &e) {
                fallo = e.mensaje();
            }
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        primera.commit();
        otroArranque.join();
        EXPECT_EQ(fallo, QString());
        EXPECT_EQ(otra, std::optional<bool>(false));

        EXPECT_EQ(crear(primera, {"CREATE TABLE PROYECT (Otra INTEGER)"}), std::optional<bool>(false));
        EXPECT_EQ(segunda.scalar("SELECT Descripcion FROM PROYECT WHERE Codigo = '1'").toString(), "Uno");
        for (Connection *c : {&primera, &segunda}) {
            QStringList columnas;
            for (const FieldDef &f : c->columns("PROYECT"))
                columnas << f.name;
            EXPECT_EQ(columnas, QStringList({"Codigo", "Descripcion"}));
            EXPECT_EQ(c->indexes("PROYECT").size(), 2);
        }
        EXPECT_EQ(segunda.tableNames(), QStringList({"PROYECT"}));
    }
    servidor.postgres().exec(QStringLiteral("DROP DATABASE \"%1\" WITH (FORCE)").arg(base));
}

} // namespace
