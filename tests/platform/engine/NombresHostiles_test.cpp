#include "platform/base/Errores.h"
#include "platform/data/engine/Session.h"
#include "tests/platform/engine/EngineFixture.h"
#include "tests/platform/engine/ServidorPrueba.h"

#include <QUuid>
#include <gtest/gtest.h>

using namespace plat;
using gptest::ServidorPrueba;

namespace {

// Database names come from the settings and reach CREATE DATABASE: each is one quoted name,
// folded to lower case as every name of this engine; nothing else runs.
TEST(NombresHostiles, PostgreSqlCreatesEachNameAsOneDatabase)
{
    ServidorPrueba servidor;
    if (!servidor.pg.available())
        GTEST_SKIP() << "no PostgreSQL test server";
    const QString prefijo = QStringLiteral("gp_h") + QUuid::createUuid().toString(QUuid::Id128).left(6);
    const QStringList nombres = {prefijo + QStringLiteral("-mi-Empresa"),
                                 prefijo + QStringLiteral("; CREATE TABLE x (a int)"),
                                 prefijo + QStringLiteral("\"; DROP DATABASE postgres; --")};
    for (const QString &nombre : nombres) {
        ASSERT_TRUE(servidor.sesion.createDatabase(nombre, {}, servidor.parametros(nombre, servidor.pg.user)))
            << nombre.toStdString();
        // The new database is reached by its name again.
        Connection c(servidor.sesion, QStringLiteral("c"));
        c.setParams(servidor.parametros(nombre, servidor.pg.user));
        EXPECT_EQ(c.scalar(QStringLiteral("SELECT current_database()")).toString(), nombre.toLower());
        c.close();
    }
    QStringList esperadas;
    for (const QString &nombre : nombres)
        esperadas << nombre.toLower();
    esperadas.sort();
    EXPECT_EQ(servidor.basesDatos(prefijo), esperadas);
    EXPECT_FALSE(servidor.postgres().tableExists(QStringLiteral("x")));
    servidor.sesion.closeAll();
    for (const QString &nombre : esperadas)
        servidor.postgres().exec(QStringLiteral("DROP DATABASE \"%1\" WITH (FORCE)").arg(QString(nombre).replace(u'"', QStringLiteral("\"\""))));
    EXPECT_TRUE(servidor.basesDatos(prefijo).isEmpty());
}

// A password with ";" and "}" reaches the server whole, natively and through ODBC.
TEST(NombresHostiles, APasswordWithSeparatorsLogsIn)
{
    ServidorPrueba servidor;
    if (!servidor.pg.available() || servidor.pg.passwordUser.isEmpty())
        GTEST_SKIP() << "no PostgreSQL test server with a password role";
    QStringList p = servidor.parametros(QStringLiteral("postgres"), servidor.pg.passwordUser, servidor.pg.password);
    for (const bool odbc : {false, true}) {
        QStringList params = p;
        if (odbc) {
            if (gptest::postgresOdbcDriver().isEmpty())
                continue;
            params << QStringLiteral("ODBC DRIVER=") + gptest::postgresOdbcDriver();
        }
        Connection c(servidor.sesion, QStringLiteral("c"));
        c.setParams(params);
        EXPECT_EQ(c.scalar(QStringLiteral("SELECT current_user")).toString(), servidor.pg.passwordUser) << odbc;
        c.close();
        QStringList mala = params;
        setParamValue(mala, QStringLiteral("PASSWORD"), QStringLiteral("otra"));
        c.setParams(mala);
        EXPECT_THROW(c.open(), gp::DatabaseError) << odbc;
    }
}

} // namespace
