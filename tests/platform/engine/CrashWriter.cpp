// Helper of the crash test: posts records one per transaction, printing the number of
// each committed one, until it is killed.
#include "platform/data/engine/Session.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    plat::Session session;
    plat::Connection &db = session.connection(QStringLiteral("Database"));
    db.setDatabaseName(QString::fromLocal8Bit(argv[1]));
    if (!db.tableExists(QStringLiteral("POSTS"))) {
        plat::TableDef t;
        t.name = QStringLiteral("POSTS");
        t.fields = {{QStringLiteral("Numero"), ftInteger, 0, 0, 0, true, {}},
                    {QStringLiteral("Texto"), ftMemo, 0, 0, 0, false, {}}};
        plat::IndexDef pk;
        pk.name = QStringLiteral("Clave1");
        pk.fields = {QStringLiteral("Numero")};
        pk.primary = pk.unique = true;
        t.indexes = {pk};
        db.createTable(t);
    }
    const QString payload(4000, QLatin1Char('x'));
    for (int i = 1;; ++i) {
        db.startTransaction();
        db.exec(QStringLiteral("INSERT INTO POSTS (Numero, Texto) VALUES (:n, :t)"), {{"n", i}, {"t", payload}});
        db.exec(QStringLiteral("UPDATE POSTS SET Texto = :t WHERE Numero = :n"), {{"n", i}, {"t", payload + QString::number(i)}});
        db.commit();
        std::printf("%d\n", i);
        std::fflush(stdout);
    }
}
