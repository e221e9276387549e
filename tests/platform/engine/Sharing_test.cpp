#include "platform/data/engine/Session.h"
#include "platform/data/engine/SqliteExtensions.h"
#include "platform/data/engine/TableCopy.h"
#include "tests/platform/engine/EngineFixture.h"
#include "tests/support/TempDir.h"

#include "platform/base/Errores.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QThread>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace plat;

namespace {

TableDef keyedTable(const QString &name)
{
    TableDef t;
    t.name = name;
    t.fields = {{QStringLiteral("Codigo"), ftInteger, 0, 0, 0, false, {}},
                {QStringLiteral("Nombre"), ftString, 30, 0, 0, false, {}}};
    IndexDef pk;
    pk.name = QStringLiteral("Clave1");
    pk.fields = {QStringLiteral("Codigo")};
    pk.primary = pk.unique = true;
    t.indexes = {pk};
    return t;
}

int count(Connection &c, const QString &table)
{
    return c.scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
}

} // namespace

TEST(SharedSqliteTest, NamesOfOneFolderShareOneCountedTransaction)
{
    gptest::TempDir dir;
    Session s;
    s.addAlias(QStringLiteral("EMPRESA"), QString(), {QStringLiteral("PATH=") + dir.path()});
    Connection &db = s.connection(QStringLiteral("Database"));
    Connection &general = s.connection(QStringLiteral("DatabaseGeneral"));
    Connection &ado = s.connection(QStringLiteral("ADOConnection"));
    db.setAliasName(QStringLiteral("EMPRESA"));
    general.setDatabaseName(QStringLiteral("?") + dir.path());
    ado.setConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=;Password=;"
                                           "Initial Catalog=%1;Data Source=;").arg(dir.path()));
    db.createTable(keyedTable(QStringLiteral("T")));
    general.open();
    ado.open();
    ASSERT_NE(db.physical(), nullptr);
    ASSERT_EQ(db.physical(), general.physical());
    ASSERT_EQ(db.physical(), ado.physical());
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("datos.sqlite"))));

    // The twin's work belongs to its partner's transaction: rolled back together.
    db.startTransaction();
    ado.startTransaction();
    ado.exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (1)"));
    ado.commit();  // inner: nothing reaches SQLite yet
    EXPECT_TRUE(db.inTransaction());
    EXPECT_FALSE(ado.inTransaction());
    db.rollback();
    EXPECT_EQ(count(general, QStringLiteral("T")), 0);

    // Both commit: the outermost commit writes.
    db.startTransaction();
    ado.startTransaction();
    db.exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (2)"));
    db.commit();
    ado.commit();
    EXPECT_EQ(count(general, QStringLiteral("T")), 1);

    // An inner roll-back undoes what was done since the inner start, whichever name did it;
    // the outer transaction goes on and commits the rest.
    db.startTransaction();
    db.exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (5)"));
    general.startTransaction();
    db.exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (3)"));
    general.rollback();
    db.commit();
    EXPECT_EQ(count(general, QStringLiteral("T")), 2);
    EXPECT_EQ(general.scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE Codigo = 3")).toInt(), 0);
    EXPECT_FALSE(db.inTransaction());

    // Closing a connection rolls back what it left open.
    general.startTransaction();
    general.exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (4)"));
    general.close();
    EXPECT_EQ(count(db, QStringLiteral("T")), 2);
    EXPECT_THROW(db.commit(), gp::DatabaseError);
}

TEST(SharedSqliteTest, AliasFileAndNameResolution)
{
    gptest::TempDir dir;
    QFile ini(dir.file(QStringLiteral("ALIAS.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[GENERAL]\r\nPATH=" + dir.file(QStringLiteral("datos")).toUtf8()
              + "\r\n\r\n[EMPRESA]\r\nDRIVER=MSSQL\r\nSERVER NAME=srv,1500\r\nDATABASE NAME=EMP\r\nUSER NAME=sa\r\n");
    ini.close();
    Session s;
    s.setDefaultFolder(dir.file(QStringLiteral("defecto")));
    s.loadAliasFile(dir.file(QStringLiteral("ALIAS.INI")));
    EXPECT_TRUE(s.isAlias(QStringLiteral("general")));
    EXPECT_EQ(s.alias(QStringLiteral("empresa")).driver, QStringLiteral("MSSQL"));

    EXPECT_EQ(s.resolve(QStringLiteral("GENERAL")).folder, dir.file(QStringLiteral("datos")));
    EXPECT_EQ(s.resolve(QStringLiteral("?GENERAL")).folder, dir.file(QStringLiteral("datos")));
    EXPECT_EQ(s.resolve(dir.file(QStringLiteral("datos/3"))).folder, dir.file(QStringLiteral("datos/3")));
    EXPECT_EQ(s.resolve(QStringLiteral("NOALIAS")).folder, dir.file(QStringLiteral("defecto")));

    s.setEngine(EngineKind::SqlServer);
    const DatabaseLocation server = s.resolve(QStringLiteral("EMPRESA"));
    EXPECT_EQ(server.engine, EngineKind::SqlServer);
    EXPECT_EQ(server.host, QStringLiteral("srv"));
    EXPECT_EQ(server.port, 1500);
    EXPECT_EQ(server.database, QStringLiteral("EMP"));
    // A company database the program names at run time is on the same server.
    EXPECT_EQ(s.resolve(QStringLiteral("EMP2")).database, QStringLiteral("EMP2"));
    // A folder stays SQLite whatever the engine.
    EXPECT_EQ(s.resolve(QStringLiteral("GENERAL")).engine, EngineKind::SQLite);
    EXPECT_EQ(s.resolve(dir.path() + QStringLiteral("/tmp")).engine, EngineKind::SQLite);

    // A missing folder is "Path not found"; creating the database makes it.
    Connection &c = s.connection(QStringLiteral("DatabaseAlt"));
    c.setDatabaseName(dir.file(QStringLiteral("nueva/1")));
    try {
        c.open();
        FAIL() << "opened a missing folder";
    } catch (const gp::DatabaseError &e) {
        EXPECT_TRUE(e.mensaje().startsWith(QStringLiteral("Path not found"))) << e.mensaje().toStdString();
    }
    EXPECT_TRUE(s.createDatabase(dir.file(QStringLiteral("nueva/1"))));
    EXPECT_FALSE(s.createDatabase(dir.file(QStringLiteral("nueva/1"))));
    EXPECT_NO_THROW(c.open());
}

TEST(SharedSqliteTest, ThreePartNamesReachTheAttachedDatabase)
{
    gptest::TempDir dir;
    Session s;
    s.addAlias(QStringLiteral("GENERAL"), QString(), {QStringLiteral("PATH=") + dir.file(QStringLiteral("g"))});
    ASSERT_TRUE(s.createDatabase(dir.file(QStringLiteral("g"))));
    ASSERT_TRUE(s.createDatabase(dir.file(QStringLiteral("e"))));
    Connection &general = s.connection(QStringLiteral("DatabaseGeneral"));
    general.setAliasName(QStringLiteral("GENERAL"));
    general.createTable(keyedTable(QStringLiteral("USUARIO")));
    general.exec(QStringLiteral("INSERT INTO USUARIO (Codigo, Nombre) VALUES (7, 'ADMIN')"));
    Connection &db = s.connection(QStringLiteral("Database"));
    db.setDatabaseName(dir.file(QStringLiteral("e")));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT Nombre FROM GENERAL.dbo.USUARIO WHERE Codigo = 7")).toString(),
              QStringLiteral("ADMIN"));
    // On its own database the name is the plain table.
    EXPECT_EQ(general.scalar(QStringLiteral("SELECT COUNT(*) FROM GENERAL.dbo.USUARIO")).toInt(), 1);
}

TEST(SqliteExtensionsTest, FoldingNumbersDatesAndCollations)
{
    const struct { const char *in; const char *out; } folds[] = {
        {"Ñandú", "ñandu"}, {"ÁRBOL", "arbol"}, {"pingüino", "pinguino"}, {"Çedilla", "cedilla"}, {"", ""},
    };
    for (const auto &f : folds)
        EXPECT_EQ(foldSpanish(QString::fromUtf8(f.in)), QString::fromUtf8(f.out));
    for (const char *yes : {"12", " -3.5 ", "+.5", "1e3", "7."})
        EXPECT_TRUE(looksNumeric(QLatin1String(yes))) << yes;
    for (const char *no : {"", "abc", "1,5", "1.2.3", "-", "e3"})
        EXPECT_FALSE(looksNumeric(QLatin1String(no))) << no;

    gptest::TempDir dir;
    Session s;
    Connection &db = s.connection(QStringLiteral("Database"));
    db.setDatabaseName(dir.path());
    db.createTable(keyedTable(QStringLiteral("T")));
    db.exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (1, 'Peña'), (2, 'PENA'), (3, 'peña'), (4, 'Pérez')"));
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE ") +
                        db.dialect().foldedCompare(QStringLiteral("Nombre"), QStringLiteral("="), QStringLiteral("'PEÑA'")))
                  .toInt(), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE Nombre = 'peña'")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE Nombre = 'perez' COLLATE Modern_Spanish_CI_AI")).toInt(), 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM T WHERE Nombre = 'PEÑA' COLLATE Latin1_General_CI_AS")).toInt(), 2);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT ISNUMERIC('12,5') + 2 * ISNUMERIC('12.5') + 4 * ISNUMERIC(3)")).toInt(), 6);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT DAY('2024-03-07 10:00:00') * 10000 + MONTH('2024-03-07') * 100 + "
                                       "YEAR('2024-03-07') % 100")).toInt(), 70324);
    EXPECT_FALSE(db.scalar(QStringLiteral("SELECT DAY('no date')")).isValid());
    // Plain ORDER BY keeps binary order.
    const auto r = db.query(QStringLiteral("SELECT Nombre FROM T ORDER BY Nombre"));
    QStringList order;
    for (const auto &row : r.rows)
        order << row.value(0).toString();
    EXPECT_EQ(order, (QStringList{"PENA", "Peña", "Pérez", "peña"}));
}

using gptest::EngineTest;

TEST_P(EngineTest, CopiesRecordsBetweenConnectionsByKey)
{
    gptest::TempDir other;
    Connection &src = session->connection(QStringLiteral("DatabaseAlt"));
    src.setDatabaseName(other.path());
    src.createTable(keyedTable(QStringLiteral("ARTICULO")));
    src.exec(QStringLiteral("INSERT INTO ARTICULO (Codigo, Nombre) VALUES (1, 'uno nuevo'), (2, 'dos nuevo'), (3, 'tres')"));
    db().createTable(keyedTable(QStringLiteral("ARTICULO")));
    db().exec(QStringLiteral("INSERT INTO ARTICULO (Codigo, Nombre) VALUES (1, 'uno'), (2, 'dos')"));

    const struct { CopyMode mode; int appended; int updated; int rows; const char *first; } cases[] = {
        {CopyMode::Append, 1, 0, 3, "uno"},
        {CopyMode::Update, 0, 2, 2, "uno nuevo"},
        {CopyMode::AppendAndUpdate, 1, 2, 3, "uno nuevo"},
    };
    for (const auto &c : cases) {
        db().exec(QStringLiteral("DELETE FROM ARTICULO"));
        db().exec(QStringLiteral("INSERT INTO ARTICULO (Codigo, Nombre) VALUES (1, 'uno'), (2, 'dos')"));
        const CopyCounts n = copyRecords(src, db(), QStringLiteral("ARTICULO"), c.mode);
        EXPECT_EQ(n.appended, c.appended);
        EXPECT_EQ(n.updated, c.updated);
        EXPECT_EQ(count(db(), QStringLiteral("ARTICULO")), c.rows);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nombre FROM ARTICULO WHERE Codigo = 1")).toString(),
                  QLatin1String(c.first));
    }
}

// On PostgreSQL, as on a SQLite file, the session's connections to one database (the one an
// existence check opened included) are one connection of the server, in one transaction.
TEST_P(EngineTest, ConnectionsToOneServerDatabaseAreOneConnectionOfTheServer)
{
    if (GetParam() != gptest::Backend::PostgreSQL)
        GTEST_SKIP() << "a SQLite file is shared above; connections through ODBC keep their own";
    const quint64 before = serverOpenings();
    ASSERT_TRUE(session->databaseExists(QStringLiteral("PRUEBA")));
    db().createTable(keyedTable(QStringLiteral("T")));
    Connection &twin = session->connection(QStringLiteral("ADOConnection"));
    twin.setAliasName(QStringLiteral("PRUEBA"));
    Connection &named = session->connection(QStringLiteral("PRUEBA"));   // as a table naming the alias
    named.setDatabaseName(QStringLiteral("PRUEBA"));
    twin.open();
    named.open();
    EXPECT_EQ(twin.physical(), db().physical());
    EXPECT_EQ(named.physical(), db().physical());
    EXPECT_EQ(serverOpenings() - before, 1u);

    db().startTransaction();
    twin.startTransaction();
    twin.exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (1)"));
    twin.commit();
    EXPECT_EQ(count(named, QStringLiteral("T")), 1);
    db().rollback();
    EXPECT_EQ(count(named, QStringLiteral("T")), 0);
    // One closed, the others go on through the same connection.
    twin.close();
    db().exec(QStringLiteral("INSERT INTO T (Codigo) VALUES (2)"));
    EXPECT_EQ(count(named, QStringLiteral("T")), 1);
    EXPECT_EQ(serverOpenings() - before, 1u);
}

TEST(CrashTest, KilledWriterLeavesEveryCommittedRecordAndNothingPartial)
{
    gptest::TempDir dir;
    QProcess writer;
    writer.start(QStringLiteral(GP_CRASH_WRITER), {dir.path()});
    ASSERT_TRUE(writer.waitForStarted(10000));
    int lastCommitted = 0;
    QByteArray pending;
    while (lastCommitted < 150 && writer.state() == QProcess::Running) {
        writer.waitForReadyRead(10000);
        pending += writer.readAllStandardOutput();
        const QList<QByteArray> lines = pending.split('\n');
        if (lines.size() > 1)
            lastCommitted = lines[lines.size() - 2].toInt();
    }
    ASSERT_GE(lastCommitted, 150) << "the writer stopped: " << writer.readAllStandardError().toStdString();
    writer.kill();  // SIGKILL in the middle of a transaction
    writer.waitForFinished(10000);
    pending += writer.readAllStandardOutput();
    const QList<QByteArray> lines = pending.trimmed().split('\n');
    lastCommitted = lines.last().toInt();

    Session s;
    Connection &db = s.connection(QStringLiteral("Database"));
    db.setDatabaseName(dir.path());
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check"), {}, SqlOrigin::AsWritten).toString(), QStringLiteral("ok"));
    const int rows = db.scalar(QStringLiteral("SELECT COUNT(*) FROM POSTS")).toInt();
    // Every reported commit is there; at most the one committed before its number was printed.
    EXPECT_GE(rows, lastCommitted);
    EXPECT_LE(rows, lastCommitted + 1);
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT MAX(Numero) FROM POSTS")).toInt(), rows);
    // No half-done transaction: every record carries its second statement's text.
    EXPECT_EQ(db.scalar(QStringLiteral("SELECT COUNT(*) FROM POSTS WHERE Texto <> printf('%s%d', substr(Texto, 1, 4000), Numero)"))
                  .toInt(), 0);
}

namespace {

// Byte 18 of a SQLite header is the write version: 2 for a file in WAL.
int writeVersion(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = f.read(100);
    return head.size() == 100 && head.startsWith("SQLite format 3") ? int(head.at(18)) : 0;
}

QStringList namesBeside(const QString &folder)
{
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
    names.removeIf([](const QString &n) { return n == QLatin1String("datos.sqlite") || n.endsWith(QLatin1String("-wal"))
                                                  || n.endsWith(QLatin1String("-shm")); });
    return names;
}

} // namespace

TEST(NewSqliteFileTest, MadeInWalUnderItsNameAloneAndWrittenAtTheFullLevel)
{
    gptest::TempDir dir;
    {
        Session s;
        Connection &db = s.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        db.createTable(keyedTable(QStringLiteral("T")));
        // Later writes keep the data layer's level: FULL (2) in WAL.
        EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA journal_mode"), {}, SqlOrigin::AsWritten).toString(), QStringLiteral("wal"));
        EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA synchronous"), {}, SqlOrigin::AsWritten).toInt(), 2);
        s.closeAll();
    }
    EXPECT_EQ(writeVersion(dir.file(QStringLiteral("datos.sqlite"))), 2);
    // The draft it was made under is gone.
    EXPECT_EQ(namesBeside(dir.path()), QStringList());
}

TEST(NewSqliteFileTest, ADraftLeftByAKilledStartIsNeverTakenForTheDatabase)
{
    gptest::TempDir dir;
    {
        QFile draft(dir.file(QStringLiteral("datos.sqlite.Ab12Cd")));
        ASSERT_TRUE(draft.open(QIODevice::WriteOnly));
        draft.write(QByteArray(4096, 'x'));
    }
    Session s;
    Connection &db = s.connection(QStringLiteral("Database"));
    db.setDatabaseName(dir.path());
    db.createTable(keyedTable(QStringLiteral("T")));
    db.exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (1, 'uno')"));
    EXPECT_EQ(count(db, QStringLiteral("T")), 1);
    EXPECT_EQ(writeVersion(dir.file(QStringLiteral("datos.sqlite"))), 2);
    EXPECT_EQ(namesBeside(dir.path()), QStringList{QStringLiteral("datos.sqlite.Ab12Cd")});
}

// A first start killed at any moment of making its file: the next one opens the folder, finds
// a whole database or none, and completes it.
TEST(NewSqliteFileTest, AMakerKilledAtRandomMomentsLeavesAFolderTheNextOpeningCompletes)
{
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        gptest::TempDir dir;
        QProcess writer;
        writer.start(QStringLiteral(GP_CRASH_WRITER), {dir.path()});
        ASSERT_TRUE(writer.waitForStarted(10000));
        // The file is made within the first milliseconds: the kills sweep them, a random
        // part of a millisecond apart, then fall on its first tables.
        QThread::usleep(round * 1000 + QRandomGenerator::global()->bounded(1000));
        writer.kill();
        writer.waitForFinished(10000);

        const QString file = dir.file(QStringLiteral("datos.sqlite"));
        if (QFile::exists(file)) {
            EXPECT_EQ(writeVersion(file), 2) << "a file under the final name that is not a whole WAL database";
        }
        Session s;
        Connection &db = s.connection(QStringLiteral("Database"));
        db.setDatabaseName(dir.path());
        EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check"), {}, SqlOrigin::AsWritten).toString(), QStringLiteral("ok"));
        if (!db.tableExists(QStringLiteral("T")))
            db.createTable(keyedTable(QStringLiteral("T")));
        db.exec(QStringLiteral("INSERT INTO T (Codigo, Nombre) VALUES (1, 'uno')"));
        EXPECT_EQ(count(db, QStringLiteral("T")), 1);
        EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA journal_mode"), {}, SqlOrigin::AsWritten).toString(), QStringLiteral("wal"));
    }
}

// The new file is, byte for byte, the one SQLite writes for an empty database switched to WAL,
// and the engine takes it as such.
TEST(NewSqliteFileTest, TheNewFileIsTheEmptyDatabaseSqliteWritesInWal)
{
    gptest::TempDir dir;
    const QString referencia = dir.file(QStringLiteral("referencia.sqlite"));
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(referencia).constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                              nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const auto bytes = [](const QString &file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };

    const QString folder = dir.file(QStringLiteral("datos"));
    Session s;
    ASSERT_TRUE(s.createDatabase(folder));
    // Until a checkpoint, the engine writes to the journal only: the file is as it was made.
    const QByteArray hecho = bytes(folder + QStringLiteral("/datos.sqlite"));
    ASSERT_EQ(hecho.size(), 4096);
    EXPECT_EQ(hecho, bytes(referencia));
    Connection &c = s.connection(QStringLiteral("Database"));
    c.setDatabaseName(folder);
    EXPECT_EQ(c.scalar(QStringLiteral("PRAGMA integrity_check"), {}, SqlOrigin::AsWritten).toString(), QStringLiteral("ok"));
    EXPECT_EQ(c.scalar(QStringLiteral("PRAGMA journal_mode"), {}, SqlOrigin::AsWritten).toString(), QStringLiteral("wal"));
    EXPECT_EQ(c.tableNames(), QStringList());
    c.createTable(keyedTable(QStringLiteral("T")));
    s.closeAll();
    EXPECT_EQ(writeVersion(folder + QStringLiteral("/datos.sqlite")), 2);
}

// A database made by createDatabase stays open for the connection that opens it next (an
// open file keeps its -shm beside it), once: that connection's close, or the session's
// closeAll, closes the file.
TEST(NewSqliteFileTest, AMadeDatabaseIsHandedOpenToTheNextConnectionOnce)
{
    gptest::TempDir dir;
    const QString folder = dir.file(QStringLiteral("datos"));
    const QString shm = folder + QStringLiteral("/datos.sqlite-shm");
    Session s;
    ASSERT_TRUE(s.createDatabase(folder));
    EXPECT_TRUE(QFile::exists(shm));
    Connection &db = s.connection(QStringLiteral("Database"));
    db.setDatabaseName(folder);
    db.open();
    db.createTable(keyedTable(QStringLiteral("T")));
    db.close();
    EXPECT_FALSE(QFile::exists(shm));
    // Opened again, it is an ordinary file that holds the table.
    db.open();
    EXPECT_TRUE(db.tableExists(QStringLiteral("T")));
    db.close();

    const QString otra = dir.file(QStringLiteral("otra"));
    ASSERT_TRUE(s.createDatabase(otra));
    EXPECT_TRUE(QFile::exists(otra + QStringLiteral("/datos.sqlite-shm")));
    // Removed before any connection took it and made again: a new file, not the removed one.
    ASSERT_TRUE(QDir(otra).removeRecursively());
    ASSERT_TRUE(s.createDatabase(otra));
    EXPECT_TRUE(QFile::exists(otra + QStringLiteral("/datos.sqlite")));
    s.closeAll();
    EXPECT_FALSE(QFile::exists(otra + QStringLiteral("/datos.sqlite-shm")));
    EXPECT_EQ(namesBeside(otra), QStringList());
}

// Only the session that made a file counts it as made: another session, or this one on a
// file that was there before, does not.
TEST(NewSqliteFileTest, TheSessionThatMadeTheFileAloneKnowsItAsMade)
{
    gptest::TempDir dir;
    const QString nueva = dir.file(QStringLiteral("nueva"));
    const QString previa = dir.file(QStringLiteral("previa"));
    ASSERT_TRUE(QDir().mkpath(previa));
    {
        Session antes;
        Connection &c = antes.connection(QStringLiteral("Database"));
        c.setDatabaseName(previa);
        c.createTable(keyedTable(QStringLiteral("T")));
        EXPECT_TRUE(antes.madeFile(c));
        antes.closeAll();
    }
    Session s;
    Connection &db = s.connection(QStringLiteral("Database"));
    Connection &general = s.connection(QStringLiteral("DatabaseGeneral"));
    EXPECT_FALSE(s.madeFile(db));   // not open
    db.setDatabaseName(previa);
    db.open();
    EXPECT_FALSE(s.madeFile(db));
    ASSERT_TRUE(s.createDatabase(nueva));
    general.setDatabaseName(nueva);
    general.open();
    EXPECT_TRUE(s.madeFile(general));
    EXPECT_FALSE(s.madeFile(db));

    Session otra;
    Connection &ajena = otra.connection(QStringLiteral("Database"));
    ajena.setDatabaseName(nueva);
    ajena.open();
    EXPECT_FALSE(otra.madeFile(ajena));
    otra.closeAll();
    s.closeAll();
}

// A file made ahead is made once, for its owner alone, and counted as made by the session
// that opens it; two sessions making one folder ahead both open it, one of them as its maker.
TEST(NewSqliteFileTest, AFileMadeAheadOpensAsMadeAndTwoMakersAgreeOnOne)
{
    gptest::TempDir dir;
    const QString folder = dir.file(QStringLiteral("nueva/datos"));
    Session s;
    const DatabaseLocation lugar = s.resolve(folder);
    ASSERT_TRUE(s.prepareDatabase(lugar));
    EXPECT_FALSE(s.prepareDatabase(lugar));   // under way
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
    Connection &db = s.connection(QStringLiteral("Database"));
    db.setDatabaseName(folder);
    db.open();
    EXPECT_TRUE(s.madeFile(db));
    db.createTable(keyedTable(QStringLiteral("T")));
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA journal_mode"), {}, SqlOrigin::AsWritten).toString(), QStringLiteral("wal"));
    EXPECT_FALSE(s.prepareDatabase(lugar));   // exists
    s.closeAll();
    EXPECT_EQ(namesBeside(folder), QStringList());

    for (int vuelta = 0; vuelta < 20; ++vuelta) {
        const QString comun = dir.file(QStringLiteral("comun%1").arg(vuelta));
        Session a;
        Session b;
        ASSERT_TRUE(a.prepareDatabase(a.resolve(comun)));
        b.prepareDatabase(b.resolve(comun));
        Connection &ca = a.connection(QStringLiteral("Database"));
        Connection &cb = b.connection(QStringLiteral("Database"));
        cb.setDatabaseName(comun);
        cb.open();
        ca.setDatabaseName(comun);
        ca.open();
        EXPECT_NE(a.madeFile(ca), b.madeFile(cb)) << vuelta;
        cb.createTable(keyedTable(QStringLiteral("T")));
        EXPECT_TRUE(ca.tableExists(QStringLiteral("T")));
        a.closeAll();
        b.closeAll();
        EXPECT_EQ(namesBeside(comun), QStringList());
    }
}

// A driver loaded ahead, while the session opens its first connection or as it closes, leaves
// no connection of its own behind.
TEST(NewSqliteFileTest, ADriverLoadedAheadLeavesNothingBehind)
{
    const auto cargas = [] {
        QStringList names;
        for (const QString &name : QSqlDatabase::connectionNames())
            if (name.startsWith(QLatin1String("plat.driverLoad.")))
                names << name;
        return names;
    };
    gptest::TempDir dir;
    for (int vuelta = 0; vuelta < 10; ++vuelta) {
        const QString folder = dir.file(QStringLiteral("datos%1").arg(vuelta));
        ASSERT_TRUE(QDir().mkpath(folder));
        {
            Session s;
            const DatabaseLocation lugar = s.resolve(folder);
            s.prepareDriver(lugar);
            s.prepareDriver(lugar);
            Connection &db = s.connection(QStringLiteral("Database"));
            db.setDatabaseName(folder);
            db.createTable(keyedTable(QStringLiteral("T")));
            EXPECT_TRUE(db.tableExists(QStringLiteral("T")));
            s.closeAll();
            EXPECT_EQ(cargas(), QStringList()) << vuelta;
        }
        Session closed;
        closed.prepareDriver(closed.resolve(folder));
        closed.closeAll();
        EXPECT_EQ(cargas(), QStringList()) << vuelta;
    }
}
