#pragma once
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

namespace gptest {

// A session on the test server's "postgres" database, as an administrator looks at it.
struct ServidorPrueba
{
    gptest::PgTestServer pg = gptest::PgTestServer::fromEnvironment();
    plat::Session sesion;

    ServidorPrueba() { sesion.setEngine(plat::EngineKind::PostgreSQL); }

    QStringList parametros(const QString &baseDatos, const QString &usuario, const QString &clave = {}) const
    {
        return {QStringLiteral("SERVER NAME=%1,%2").arg(pg.host).arg(pg.port), QStringLiteral("DATABASE NAME=") + baseDatos,
                QStringLiteral("USER NAME=") + usuario, QStringLiteral("PASSWORD=") + clave};
    }
    plat::Connection &postgres()
    {
        plat::Connection &c = sesion.connection(QStringLiteral("admin"));
        if (c.params().isEmpty())
            c.setParams(parametros(QStringLiteral("postgres"), pg.user));
        return c;
    }
    QStringList basesDatos(const QString &prefijo)
    {
        QStringList out;
        for (const QVariantList &fila :
             postgres().query(QStringLiteral("SELECT datname FROM pg_database WHERE datname LIKE '") + prefijo
                              + QStringLiteral("%' ORDER BY datname")).rows)
            out << fila.value(0).toString();
        return out;
    }
};

} // namespace gptest
