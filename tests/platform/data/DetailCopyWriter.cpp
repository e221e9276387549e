// Helper of the copy test: copies the masters of COPIAM, each with its COPIAD lines, from one
// database into another by key, printing "copiando" when it starts and "hecho" at the end,
// unless it is killed first. Arguments: source, target (a folder for SQLite, else a database
// of the PostgreSQL test server named by GP_TEST_PG*), rows to a transaction.
#include "platform/data/DataSetCopy.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Session.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

void pointAt(plat::Session &session, plat::Connection &connection, const QString &where)
{
    if (where.contains(QLatin1Char('/'))) {
        connection.setDatabaseName(where);
        return;
    }
    session.setEngine(plat::EngineKind::PostgreSQL);
    connection.setParams({QStringLiteral("SERVER NAME=%1,%2").arg(qEnvironmentVariable("GP_TEST_PGHOST"),
                                                                  qEnvironmentVariable("GP_TEST_PGPORT")),
                          QStringLiteral("DATABASE NAME=") + where,
                          QStringLiteral("USER NAME=") + qEnvironmentVariable("GP_TEST_PGUSER", "postgres")});
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 4)
        return 2;
    plat::Session session;
    plat::Connection &source = session.connection(QStringLiteral("Origen"));
    plat::Connection &target = session.connection(QStringLiteral("Destino"));
    pointAt(session, source, QString::fromLocal8Bit(argv[1]));
    pointAt(session, target, QString::fromLocal8Bit(argv[2]));
    plat::TableDataSet master, detail;
    master.setConnection(&source);
    master.setTableName(QStringLiteral("COPIAM"));
    detail.setConnection(&source);
    detail.setTableName(QStringLiteral("COPIAD"));
    master.open();
    detail.open();
    detail.setMasterSource(&master, QStringLiteral("Codigo"));
    std::printf("copiando\n");
    std::fflush(stdout);
    plat::copyWithDetails({{&master, &target, QStringLiteral("COPIAM")}, {&detail, &target, QStringLiteral("COPIAD")}},
                          plat::CopyMode::AppendAndUpdate,
                          [](int table, const gp::Error &e) { std::printf("rechazo %d %s\n", table, e.what()); },
                          std::atoi(argv[3]));
    std::printf("hecho\n");
    return 0;
}
