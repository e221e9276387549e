// The copy of masters with their details into another database: killed at any moment it
// leaves every master whole or as it was; a refused record is reported and the rest kept.
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/engine/ServidorPrueba.h"

#include "platform/data/DataSetCopy.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

using namespace plat;

namespace {

constexpr int kMasters = 300;
constexpr int kLines = 5;
constexpr int kOldMasters = 60;   // already in the target, with three lines of an older version

TableDef copyTable(const QString &name, const QStringList &key, bool nameRequired = false)
{
    TableDef t;
    t.name = name;
    for (const QString &field : key)
        t.fields << fieldDef(field, ftInteger, 0, true);
    t.fields << fieldDef("Nombre", ftString, 30, nameRequired);
    t.indexes = {gptest::indexOn("Clave1", key, true)};
    return t;
}

// A source and a target database of one engine, each with a master COPIAM and its lines COPIAD.
class CopyWithDetails : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        const bool postgres = GetParam();
        if (postgres && !admin.pg.available())
            GTEST_SKIP() << "no PostgreSQL test server";
        for (const char *role : {"origen", "destino"}) {
            QString where;
            if (postgres) {
                where = QStringLiteral("gp_copia_%1_").arg(QLatin1String(role))
                    + QUuid::createUuid().toString(QUuid::Id128).left(10);
                admin.postgres().exec("CREATE DATABASE " + where);
                databases << where;
            } else {
                where = dir.file(QLatin1String(role));
                QDir().mkpath(where);
            }
            locations << where;
            pointAt(session.connection(QLatin1String(role)), where);
        }
        for (Connection *c : {&source(), &target()}) {
            c->createTable(copyTable("COPIAM", {"Codigo"}));
            c->createTable(copyTable("COPIAD", {"Codigo", "Linea"}));
        }
        source().startTransaction();
        for (int m = 1; m <= kMasters; ++m) {
            source().exec(QStringLiteral("INSERT INTO COPIAM (Codigo, Nombre) VALUES (%1, 'M%1 nuevo')").arg(m));
            for (int l = 1; l <= kLines; ++l)
                source().exec(QStringLiteral("INSERT INTO COPIAD (Codigo, Linea, Nombre) VALUES (%1, %2, 'L%1.%2 nueva')")
                                  .arg(m)
                                  .arg(l));
        }
        source().commit();
    }

    void TearDown() override
    {
        session.closeAll();
        for (const QString &name : databases)
            admin.postgres().exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    }

    void pointAt(Connection &c, const QString &where)
    {
        if (!GetParam()) {
            c.setDatabaseName(where);
            return;
        }
        session.setEngine(EngineKind::PostgreSQL);
        c.setParams(admin.parametros(where, admin.pg.user));
    }

    Connection &source() { return session.connection("origen"); }
    Connection &target() { return session.connection("destino"); }

    // The target as it is before each copy: the first masters in an older version.
    void resetTarget()
    {
        target().exec("DELETE FROM COPIAD");
        target().exec("DELETE FROM COPIAM");
        target().startTransaction();
        for (int m = 1; m <= kOldMasters; ++m) {
            target().exec(QStringLiteral("INSERT INTO COPIAM (Codigo, Nombre) VALUES (%1, 'M%1 viejo')").arg(m));
            for (int l = 1; l <= 3; ++l)
                target().exec(
                    QStringLiteral("INSERT INTO COPIAD (Codigo, Linea, Nombre) VALUES (%1, %2, 'viejo')").arg(m).arg(l));
        }
        target().commit();
    }

    // How many masters of the target are copied whole; every other must be as it was.
    int wholeMasters()
    {
        QMap<int, QString> masters;
        for (const QVariantList &row : target().query("SELECT Codigo, Nombre FROM COPIAM").rows)
            masters.insert(row[0].toInt(), row[1].toString());
        QMap<int, QStringList> lines;
        for (const QVariantList &row : target().query("SELECT Codigo, Linea, Nombre FROM COPIAD ORDER BY Codigo, Linea").rows)
            lines[row[0].toInt()] << row[1].toString() + u':' + row[2].toString();
        int whole = 0;
        for (int m = 1; m <= kMasters; ++m) {
            QStringList copied;
            for (int l = 1; l <= kLines; ++l)
                copied << QStringLiteral("%2:L%1.%2 nueva").arg(m).arg(l);
            const QString name = masters.value(m);
            if (name == QStringLiteral("M%1 nuevo").arg(m) && lines.value(m) == copied) {
                ++whole;
                continue;
            }
            if (m <= kOldMasters)
                EXPECT_TRUE(name == QStringLiteral("M%1 viejo").arg(m) && lines.value(m) == QStringList({"1:viejo", "2:viejo", "3:viejo"}))
                    << m << " " << name.toStdString() << " " << lines.value(m).join(u' ').toStdString();
            else
                EXPECT_TRUE(!masters.contains(m) && !lines.contains(m)) << m << " " << lines.value(m).join(u' ').toStdString();
        }
        return whole;
    }

    gptest::ServidorPrueba admin;
    gptest::TempDir dir;
    Session session;
    QStringList locations, databases;
};

TEST_P(CopyWithDetails, AKilledCopyLeavesEachMasterWholeOrAsItWas)
{
    const auto run = [&](int killAfterMs) {
        resetTarget();
        session.closeAll();   // the child is the only one writing
        QProcess child;
        child.start(QStringLiteral(GP_DETAIL_COPY_WRITER), {locations[0], locations[1], QStringLiteral("40")});
        EXPECT_TRUE(child.waitForStarted(10000));
        QByteArray said;
        while (!said.contains("copiando") && child.waitForReadyRead(20000))
            said += child.readAllStandardOutput();
        QElapsedTimer copying;
        copying.start();
        if (killAfterMs >= 0) {
            QThread::msleep(ulong(killAfterMs));
            child.kill();
        }
        child.waitForFinished(120000);
        said += child.readAllStandardOutput();
        EXPECT_FALSE(said.contains("rechazo")) << said.toStdString();
        return std::pair<qint64, int>(copying.elapsed(), wholeMasters());
    };
    const auto [took, whole] = run(-1);
    ASSERT_EQ(whole, kMasters);
    int cutShort = 0;
    qint64 lastTook = took;
    // At least five kills; more while none has stopped the copy half-way, since a busy
    // machine can make the copies after the first shorter than the first was.
    for (int attempt = 0; attempt < 20 && (attempt < 5 || cutShort == 0); ++attempt) {
        const int after = int(QRandomGenerator::global()->bounded(lastTook / 10 + 1, lastTook * 9 / 10 + 2));
        SCOPED_TRACE(after);
        const auto [elapsed, copied] = run(after);
        if (copied == kMasters)
            lastTook = qMin(lastTook, elapsed);
        cutShort += copied > 0 && copied < kMasters;
    }
    // The moments fall inside the copy: some of them stop it half-way.
    EXPECT_GT(cutShort, 0) << "a whole copy took " << took << " ms";
}

TEST_P(CopyWithDetails, ARefusedRecordIsReportedAndTheRestKept)
{
    resetTarget();
    // The target's lines need a name: the source's line 2 of master 3 has none.
    target().dropTable("COPIAD");
    target().createTable(copyTable("COPIAD", {"Codigo", "Linea"}, true));
    source().exec("UPDATE COPIAD SET Nombre = NULL WHERE Codigo = 3 AND Linea = 2");
    TableDataSet master, detail;
    master.setConnection(&source());
    master.setTableName("COPIAM");
    detail.setConnection(&source());
    detail.setTableName("COPIAD");
    master.open();
    detail.open();
    detail.setMasterSource(&master, "Codigo");
    master.setRange({1}, {5});

    QStringList reported;
    copyWithDetails({{&master, &target(), "COPIAM"}, {&detail, &target(), "COPIAD"}}, CopyMode::AppendAndUpdate,
                    [&](int table, const gp::Error &e) {
                        reported << QString::number(table) + u' ' + e.mensaje().left(e.mensaje().indexOf(u'\''));
                    });
    EXPECT_EQ(reported, QStringList{"1 Field "});
    // Every master of the range goes; its lines up to the refused one, none after it.
    EXPECT_EQ(target().scalar("SELECT COUNT(*) FROM COPIAM WHERE Nombre LIKE '%nuevo'").toInt(), 5);
    EXPECT_EQ(target().scalar("SELECT COUNT(*) FROM COPIAD WHERE Nombre LIKE '%nueva'").toInt(), 2 * kLines + 1);
    EXPECT_EQ(target().scalar("SELECT COUNT(*) FROM COPIAD").toInt(), 2 * kLines + 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, CopyWithDetails, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &info) { return info.param ? "PostgreSQL" : "SQLite"; });

} // namespace
