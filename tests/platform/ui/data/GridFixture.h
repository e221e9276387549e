#pragma once
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>

namespace gptest {

// A SQLite database in a fresh folder with the table ARTICULOS: Codigo (primary key),
// Nombre, Precio, Activo ("SI"/"NO"), Familia (look-up key into FAMILIAS).
class GridData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = std::make_unique<plat::Session>();
        db().setDatabaseName(dir.path());
        plat::TableDef t;
        t.name = QStringLiteral("ARTICULOS");
        t.fields = {plat::fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                    plat::fieldDef(QStringLiteral("Nombre"), ftString, 30),
                    plat::fieldDef(QStringLiteral("Precio"), ftFloat),
                    plat::fieldDef(QStringLiteral("Activo"), ftString, 2),
                    plat::fieldDef(QStringLiteral("Familia"), ftInteger)};
        plat::IndexDef primary;
        primary.name = QStringLiteral("Clave1");
        primary.fields = {QStringLiteral("Codigo")};
        primary.primary = primary.unique = true;
        t.indexes = {primary};
        db().createTable(t);

        plat::TableDef f;
        f.name = QStringLiteral("FAMILIAS");
        f.fields = {plat::fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true),
                    plat::fieldDef(QStringLiteral("Descripcion"), ftString, 30)};
        primary.name = QStringLiteral("Clave1");
        f.indexes = {primary};
        db().createTable(f);
    }
    void TearDown() override
    {
        table.reset();
        session->closeAll();
        session.reset();
    }
    plat::Connection &db() { return session->connection(QStringLiteral("Database")); }

    // Rows 1..n named "Artículo n", price n * 1.5, active when n is even.
    void fill(int n)
    {
        db().startTransaction();
        db().exec(QStringLiteral(
                      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                      "INSERT INTO ARTICULOS (Codigo, Nombre, Precio, Activo, Familia) "
                      "SELECT i, 'Artículo ' || i, i * 1.5, CASE WHEN i % 2 = 0 THEN 'SI' ELSE 'NO' END, 1 + i % 2 FROM n")
                      .arg(n),
                  {}, plat::SqlOrigin::AsWritten);
        db().exec(QStringLiteral("INSERT INTO FAMILIAS (Codigo, Descripcion) VALUES (1, 'Tornillería'), (2, 'Pintura')"),
                  {}, plat::SqlOrigin::AsWritten);
        db().commit();
    }

    plat::TableDataSet &open(const QString &name = QStringLiteral("ARTICULOS"))
    {
        auto t = std::make_unique<plat::TableDataSet>(QStringLiteral("Table1"));
        t->setConnection(&db());
        t->setTableName(name);
        t->open();
        if (name == QLatin1String("ARTICULOS")) {
            table = std::move(t);
            return *table;
        }
        others.push_back(std::move(t));
        return *others.back();
    }

    TempDir dir;
    std::unique_ptr<plat::Session> session;
    std::unique_ptr<plat::TableDataSet> table;
    std::vector<std::unique_ptr<plat::TableDataSet>> others;
};

} // namespace gptest
