#include "platform/base/FechaHora.h"
#include "platform/data/engine/Dialects.h"
#include "platform/data/engine/DatabaseLocation.h"
#include "platform/base/EngineKind.h"
#include "platform/data/Field.h"
#include "platform/data/engine/Session.h"
#include "tests/support/TempDir.h"

#include "platform/base/Errores.h"
#include "platform/base/LiteralFechaSQL.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <gtest/gtest.h>

using namespace plat;

namespace {
const Dialect &sqlite() { return Dialect::forEngine(EngineKind::SQLite); }
const Dialect &pg() { return Dialect::forEngine(EngineKind::PostgreSQL); }
const Dialect &mssql() { return Dialect::forEngine(EngineKind::SqlServer); }
const QDateTime kDate = FechaHora(QDate(2024, 3, 7), QTime(9, 5, 0));
} // namespace

TEST(DialectTest, BuildingBlocksPerEngine)
{
    const struct { const Dialect &d; const char *top; const char *hint; const char *concat; const char *date; } cases[] = {
        {sqlite(), "SELECT a FROM T LIMIT 5", " ", "a || 'x'", "'2024-03-07 09:05:00'"},
        {pg(), "SELECT a FROM T LIMIT 5", " ", "a || 'x'", "'2024-03-07 09:05:00'"},
        {mssql(), "SELECT TOP 5 a FROM T", " WITH(NOLOCK) ", "a + 'x'", "'03/07/2024 09:05:00'"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(engineTypeWord(c.d.kind()).toStdString());
        EXPECT_EQ(c.d.selectTop(QStringLiteral("SELECT a FROM T"), 5), QLatin1String(c.top));
        EXPECT_EQ(c.d.lockHint(), QLatin1String(c.hint));
        EXPECT_EQ(c.d.concat({QStringLiteral("a"), QStringLiteral("'x'")}), QLatin1String(c.concat));
        EXPECT_EQ(c.d.dateLiteral(kDate), QLatin1String(c.date));
    }
    EXPECT_EQ(sqlite().zeroDateLiteral(), QStringLiteral("'1899-12-30 00:00:00'"));
    EXPECT_EQ(mssql().zeroDateLiteral(), QStringLiteral("'12/30/1899 00:00:00'"));
    SqlServerDialect::setProgramDateFormat(QStringLiteral("dd/mm/yyyy"));
    EXPECT_EQ(mssql().zeroDateLiteral(), QStringLiteral("'30/12/1899 00:00:00'"));
    SqlServerDialect::setProgramDateFormat(QString());
    EXPECT_EQ(mssql().selectTop(QStringLiteral("SELECT DISTINCT a FROM T"), 1), QStringLiteral("SELECT DISTINCT TOP 1 a FROM T"));
    EXPECT_EQ(Dialect::quoted(QStringLiteral("O'Neill")), QStringLiteral("'O''Neill'"));
}

TEST(DialectTest, DatasetStatementPiecesPerEngine)
{
    const struct
    {
        const Dialect &d;
        const char *page;
        const char *lastId;
        bool nullsFirst;
        const char *foldedOrder;
        const char *foldedValue;
        const char *left;
    } cases[] = {
        {sqlite(), " LIMIT 50 OFFSET 100", "SELECT Id FROM T WHERE rowid = last_insert_rowid()", true,
         "Nombre COLLATE NOCASE", ":p", "SUBSTR(Nombre, 1, 3)"},
        {pg(), " LIMIT 50 OFFSET 100", "SELECT lastval()", false, "lower(Nombre)", "lower(:p)", "SUBSTR(Nombre, 1, 3)"},
        {mssql(), " OFFSET 100 ROWS FETCH NEXT 50 ROWS ONLY", "SELECT SCOPE_IDENTITY()", true,
         "Nombre COLLATE Modern_Spanish_CI_AS", ":p", "SUBSTRING(Nombre, 1, 3)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(engineTypeWord(c.d.kind()).toStdString());
        EXPECT_EQ(c.d.pageClause(50, 100), QLatin1String(c.page));
        EXPECT_EQ(c.d.lastInsertedIdQuery(QStringLiteral("T"), QStringLiteral("Id")), QLatin1String(c.lastId));
        EXPECT_EQ(c.d.nullsSortFirst(), c.nullsFirst);
        EXPECT_EQ(c.d.caseInsensitiveOrder(QStringLiteral("Nombre")), QLatin1String(c.foldedOrder));
        EXPECT_EQ(c.d.caseInsensitiveValue(QStringLiteral(":p")), QLatin1String(c.foldedValue));
        EXPECT_EQ(c.d.leftPart(QStringLiteral("Nombre"), 3), QLatin1String(c.left));
        // The filter writes through the same engine: its folding and its left part.
        EXPECT_EQ(c.d.filterDialect().caseInsensitive(QStringLiteral("Nombre")), c.d.foldExpression(QStringLiteral("Nombre")));
        EXPECT_EQ(c.d.filterDialect().leftPart(QStringLiteral("Nombre"), 3), QLatin1String(c.left));
    }
}

// The condition a post puts on each column it changes: the value the edit read, compared as
// the engine can; none where it cannot compare the column at all.
TEST(DialectTest, UnchangedColumnConditionsPerEngine)
{
    const struct { const Dialect &d; TFieldType type; const char *condition; } cases[] = {
        {sqlite(), ftString, "C = :k"},
        {sqlite(), ftDateTime, "julianday(C) = julianday(:k)"},
        {sqlite(), ftDate, "julianday(C) = julianday(:k)"},
        {sqlite(), ftMemo, "C = :k"},
        {pg(), ftDateTime, "C = :k"},
        {pg(), ftBlob, "C = :k"},
        {mssql(), ftFloat, "C = :k"},
        {mssql(), ftMemo, ""},
        {mssql(), ftBlob, ""},
        {mssql(), ftGraphic, ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.d.sameValueCondition("C", c.type, ":k").toStdString(), c.condition)
            << engineTypeWord(c.d.kind()).toStdString() << " " << fieldTypeName(c.type).toStdString();
}

TEST(DialectTest, FilterLiteralsPerEngine)
{
    const QDate date(2024, 3, 7);
    const QTime time(9, 5, 0);
    const struct { const Dialect &d; const char *date; const char *yes; const char *binary; } cases[] = {
        {sqlite(), "'2024-03-07 09:05:00'", "1", "Nombre"},
        {pg(), "'2024-03-07 09:05:00'", "TRUE", "Nombre COLLATE \"C\""},
        {mssql(), "'03/07/2024 09:05:00'", "1", "Nombre COLLATE Latin1_General_BIN"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(engineTypeWord(c.d.kind()).toStdString());
        const FilterSqlDialect &f = c.d.filterDialect();
        EXPECT_EQ(f.dateTimeLiteral(date, time), QLatin1String(c.date));
        EXPECT_EQ(f.booleanLiteral(true), QLatin1String(c.yes));
        EXPECT_EQ(f.binaryText(QStringLiteral("Nombre")), QLatin1String(c.binary));
    }
}

TEST(DialectTest, DateLiteralHookFollowsTheInstalledEngine)
{
    const QString programText = QStringLiteral("07/03/2024");
    {
        const Gancho<LiteralFechaSQLFn>::Instalacion servidor(ganchoLiteralFechaSQL(), mssql().programDateLiteral());
        EXPECT_EQ(LiteralFechaSQL(kDate, programText), programText);
        const Gancho<LiteralFechaSQLFn>::Instalacion postgres(ganchoLiteralFechaSQL(), pg().programDateLiteral());
        EXPECT_EQ(LiteralFechaSQL(kDate, programText), QStringLiteral("2024-03-07 09:05:00"));
    }
    const Gancho<LiteralFechaSQLFn>::Instalacion sqliteLiteral(ganchoLiteralFechaSQL(), sqlite().programDateLiteral());
    EXPECT_EQ(LiteralFechaSQL(FechaHora(QDate(2024, 3, 7), QTime(0, 0)), QStringLiteral("0")),
              QStringLiteral("2024-03-07 00:00:00"));
    EXPECT_EQ(LiteralFechaSQL(QDateTime(), QStringLiteral("0")), QStringLiteral("1899-12-30 00:00:00"));
}

TEST(DialectTest, SqlServerCatalogueTextsAreTheProgramsOwn)
{
    EXPECT_EQ(mssql().keyFieldsQuery(QStringLiteral("CLIENTE"), QString()),
              QStringLiteral("SELECT C.Name   FROM SYSINDEXES I JOIN SYSINDEXKEYS K   ON I.id = K.id AND I.indid = K.indid"
                             "   JOIN SYSCOLUMNS C ON I.id = C.id AND K.colid = C.colid   WHERE I.Name = "
                             "'CLIENTE_Clave1'  ORDER BY K.KeyNo"));
    EXPECT_EQ(mssql().columnsQuery(QStringLiteral("CLIENTE"), true),
              QStringLiteral("SELECT C.Name   FROM SYSCOLUMNS C JOIN SYSOBJECTS O        ON C.id = O.id   WHERE O.name = "
                             "'CLIENTE' AND C.xtype <> 35  ORDER BY C.colid "));
    EXPECT_EQ(mssql().threePartName(QStringLiteral("GENERAL"), QStringLiteral("USUARIO"), false),
              QStringLiteral("GENERAL.dbo.USUARIO"));
    EXPECT_EQ(pg().threePartName(QStringLiteral("GENERAL"), QStringLiteral("USUARIO"), false), QStringLiteral("USUARIO"));
    EXPECT_EQ(mssql().adaptProgramSql(QStringLiteral("SELECT TOP 1 a FROM GENERAL.dbo.T WITH(NOLOCK) ")),
              QStringLiteral("SELECT TOP 1 a FROM GENERAL.dbo.T WITH(NOLOCK) "));
}

TEST(DialectTest, PostgresMapsTheSqlGenericaTexts)
{
    const struct { const char *program; const char *expected; } cases[] = {
        {"CREATE TABLE T (Id INTEGER IDENTITY(1,1), Foto IMAGE NULL, Texto VARCHAR(MAX), "
         "Alta TIMESTAMP DEFAULT '12/30/1899 00:00:00')",
         "CREATE TABLE T (Id INTEGER GENERATED BY DEFAULT AS IDENTITY, Foto BYTEA NULL, Texto TEXT, "
         "Alta TIMESTAMP DEFAULT '1899-12-30 00:00:00')"},
        {"SELECT TOP 1 collation_name   FROM information_schema.columns   WHERE table_name = 'TXIDIOMA'",
         "SELECT collation_name   FROM information_schema.columns   WHERE table_name = 'TXIDIOMA' LIMIT 1"},
        {"INSERT INTO GENERAL.dbo.TEMP1 SELECT * FROM T", "INSERT INTO TEMP1 SELECT * FROM T"},
        {"SET TRANSACTION ISOLATION LEVEL READ COMMITTED",
         "SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL READ COMMITTED"},
        {"DELETE DOCUTRON   WHERE Nombre = 'DELETE X'", "DELETE FROM DOCUTRON   WHERE Nombre = 'DELETE X'"},
        {"delete from T", "delete from T"},
        {"DELETE FROM C   WHERE DAY(Fecha) = 3    AND month( C.Fecha ) = 4 AND Nota = 'YEAR(Fecha) '' DAY(x)'",
         "DELETE FROM C   WHERE EXTRACT(DAY FROM Fecha) = 3    AND EXTRACT(month FROM C.Fecha) = 4 "
         "AND Nota = 'YEAR(Fecha) '' DAY(x)'"},
        {"SELECT YEARS(a), BIRTHDAY(a) FROM T", "SELECT YEARS(a), BIRTHDAY(a) FROM T"},
        // Outside table definitions the words are data, not types.
        {"SELECT IMAGE FROM T WHERE Texto = 'DATETIME'", "SELECT IMAGE FROM T WHERE Texto = 'DATETIME'"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pg().adaptProgramSql(QLatin1String(c.program)), QLatin1String(c.expected));
    EXPECT_TRUE(sqlite().adaptProgramSql(QStringLiteral("SET TRANSACTION ISOLATION LEVEL READ COMMITTED")).isEmpty());
    EXPECT_EQ(sqlite().adaptProgramSql(QStringLiteral(" DELETE T WHERE a = 1")), QStringLiteral(" DELETE FROM T WHERE a = 1"));
}

TEST(DialectTest, QuotedAliasesOrderingItemsAndSubqueryTopAsTheEnginesRead)
{
    // A custom report's statement, as the program writes it for SQL Server.
    const QString report = QStringLiteral(
        "SELECT TOP 1 P.Codigo AS 'Código', (P.Importe*2) AS 'Total', "
        "(SELECT TOP 1 GRANALIS.Descripcion FROM GRANALIS JOIN GRANTAB ON GRANTAB.NombreTabla = 'PROYECT' "
        "AND GRANTAB.ClaveTabla = P.Codigo AND GRANALIS.Codigo = GRANTAB.GrupoAnalisis "
        "WHERE GRANALIS.CategoriaGrupo = 'Zona (sur)') AS 'Zona' FROM PROYECT P "
        "WHERE P.Nombre <> 'x AS ''y''' AND P.Nota <> '(SELECT TOP 2 z)' ORDER BY 'Total' DESC, P.Codigo, 'Zona'");
    EXPECT_EQ(mssql().adaptProgramSql(report), report);
    const QString expected = QStringLiteral(
        "SELECT P.Codigo AS \"Código\", (P.Importe*2) AS \"Total\", "
        "(SELECT GRANALIS.Descripcion FROM GRANALIS JOIN GRANTAB ON GRANTAB.NombreTabla = 'PROYECT' "
        "AND GRANTAB.ClaveTabla = P.Codigo AND GRANALIS.Codigo = GRANTAB.GrupoAnalisis "
        "WHERE GRANALIS.CategoriaGrupo = 'Zona (sur)' LIMIT 1) AS \"Zona\" FROM PROYECT P "
        "WHERE P.Nombre <> 'x AS ''y''' AND P.Nota <> '(SELECT TOP 2 z)' ORDER BY \"Total\" DESC, P.Codigo, \"Zona\" "
        "LIMIT 1");
    EXPECT_EQ(sqlite().adaptProgramSql(report), expected);
    EXPECT_EQ(pg().adaptProgramSql(report), expected);
    // Constants compared in an ordering expression stay texts; quotes inside a title are the
    // name's.
    EXPECT_EQ(pg().adaptProgramSql(QStringLiteral(
                  "SELECT a AS 'O''Brien \"x\"' FROM T ORDER BY CASE WHEN a = 'b' THEN 1 END, 'c'")),
              QStringLiteral("SELECT a AS \"O'Brien \"\"x\"\"\" FROM T ORDER BY CASE WHEN a = 'b' THEN 1 END, \"c\""));
}

TEST(DialectTest, IndexNamesAreQualifiedByTable)
{
    EXPECT_EQ(sqlite().physicalIndexName(QStringLiteral("CLIENTE"), QStringLiteral("Clave2")), QStringLiteral("CLIENTE_Clave2"));
    EXPECT_EQ(sqlite().physicalIndexName(QStringLiteral("dbo.CLIENTE"), QStringLiteral("CLIENTE_Clave2")),
              QStringLiteral("CLIENTE_Clave2"));
    EXPECT_EQ(sqlite().logicalIndexName(QStringLiteral("CLIENTE"), QStringLiteral("cliente_Clave2")), QStringLiteral("Clave2"));
    EXPECT_EQ(sqlite().logicalIndexName(QStringLiteral("CLIENTE"), QStringLiteral("OTRA_Clave2")), QStringLiteral("OTRA_Clave2"));
}

TEST(DialectTest, EngineWordsAndTheRefusedEngine)
{
    EXPECT_EQ(engineFromTypeWord(QString()), EngineKind::SQLite);
    EXPECT_EQ(engineFromTypeWord(QStringLiteral("Paradox")), EngineKind::SQLite);
    EXPECT_EQ(engineFromTypeWord(QStringLiteral("SQL Generica")), EngineKind::PostgreSQL);
    EXPECT_EQ(engineFromTypeWord(QStringLiteral("Microsoft SQL Server")), EngineKind::SqlServer);
    try {
        engineFromTypeWord(QStringLiteral("Microsoft Access"));
        FAIL() << "Access accepted";
    } catch (const gp::DatabaseError &e) {
        EXPECT_TRUE(e.mensaje().contains(QStringLiteral("Microsoft Access")));
        EXPECT_TRUE(e.mensaje().contains(QStringLiteral("Linux")));
    }
}

TEST(ConnectionStringTest, AliasParametersAndAdoStringsBecomeFreeTdsStrings)
{
    const DatabaseLocation fromAlias = locationFromParams(
        {QStringLiteral("SERVER NAME=np:sqlsrv,1444"), QStringLiteral("DATABASE NAME=EMPRESA1"),
         QStringLiteral("USER NAME=sa"), QStringLiteral("PASSWORD=x;y"), QStringLiteral("OPEN MODE=READ/WRITE")},
        EngineKind::SqlServer);
    EXPECT_EQ(fromAlias.odbcConnectionString(),
              QStringLiteral("DRIVER={FreeTDS};SERVER=sqlsrv;PORT=1444;DATABASE=EMPRESA1;UID=sa;PWD={x;y};"
                             "TDS_Version=7.4;ClientCharset=UTF-8"));
    const QStringList ado = paramsFromAdoConnectionString(
        QStringLiteral("Provider=SQLOLEDB.1;Persist Security Info=False;User ID=sa;Password=clave;Connect Timeout=0;"
                       "Initial Catalog=GENERAL;Data Source=servidor;Application Name=gestion|3"));
    const DatabaseLocation fromAdo = locationFromParams(ado, EngineKind::SqlServer);
    EXPECT_EQ(fromAdo.odbcConnectionString(),
              QStringLiteral("DRIVER={FreeTDS};SERVER=servidor;PORT=1433;DATABASE=GENERAL;UID=sa;PWD=clave;"
                             "TDS_Version=7.4;ClientCharset=UTF-8"));
    EXPECT_EQ(fromAdo.applicationName, QStringLiteral("gestion|3"));
    // PostgreSQL lower-cases database names.
    EXPECT_EQ(locationFromParams({QStringLiteral("DATABASE NAME=Empresa1")}, EngineKind::PostgreSQL).database,
              QStringLiteral("empresa1"));
}

namespace {
// The error of opening an ODBC connection string (nothing listens on port 1).
QString odbcOpenError(const QString &connectionString)
{
    QString text;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), QStringLiteral("odbc_probe"));
        db.setDatabaseName(connectionString);
        if (!db.open())
            text = db.lastError().text();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("odbc_probe"));
    return text;
}

bool driverNotLoaded(const QString &text)
{
    return text.contains(QStringLiteral("IM002")) || text.contains(QStringLiteral("IM003"))
        || text.contains(QStringLiteral("Can't open lib")) || text.contains(QStringLiteral("not found"), Qt::CaseInsensitive);
}
} // namespace

// Values from the settings may hold the separators of a connection string: a password with
// ";", "}" or quotes stays one value in the ODBC string and survives an ADO string.
TEST(ConnectionStringTest, ValuesWithSeparatorsStayOneValue)
{
    const struct
    {
        QString password;
        QString odbc;   // the PWD attribute
        QString ado;    // the Password attribute
    } casos[] = {
        {QStringLiteral("clave"), QStringLiteral("PWD=clave"), QStringLiteral("Password=clave")},
        {QStringLiteral("a;b"), QStringLiteral("PWD={a;b}"), QStringLiteral("Password=\"a;b\"")},
        {QStringLiteral("c}d{"), QStringLiteral("PWD={c}}d{}"), QStringLiteral("Password=c}d{")},
        {QStringLiteral("\"x;\"y"), QStringLiteral("PWD={\"x;\"y}"), QStringLiteral("Password=\"\"\"x;\"\"y\"")},
        {QStringLiteral(" con blancos "), QStringLiteral("PWD={ con blancos }"), QStringLiteral("Password=\" con blancos \"")},
    };
    for (const auto &c : casos) {
        DatabaseLocation loc = locationFromParams({QStringLiteral("SERVER NAME=srv"), QStringLiteral("USER NAME=sa")},
                                                  EngineKind::SqlServer);
        loc.password = c.password;
        EXPECT_TRUE(loc.odbcConnectionString().contains(u';' + c.odbc + u';')) << loc.odbcConnectionString().toStdString();
        EXPECT_EQ(QStringLiteral("Password=") + quotedAdoValue(c.password), c.ado);
        const auto atributos =
            adoAttributes(QStringLiteral("Provider=SQLOLEDB.1;User ID=sa;") + c.ado + QStringLiteral(";Initial Catalog=G;Data Source=s"));
        ASSERT_EQ(atributos.size(), 5) << c.ado.toStdString();
        EXPECT_EQ(atributos[2].second, c.password) << c.ado.toStdString();
        EXPECT_EQ(atributos[3].second, QStringLiteral("G"));
    }
}

TEST(ConnectionStringTest, FreeTdsDriverLoadsThroughQtOdbc)
{
    ASSERT_TRUE(QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC")));
    const DatabaseLocation loc = locationFromParams(
        {QStringLiteral("SERVER NAME=127.0.0.1,1"), QStringLiteral("DATABASE NAME=X"), QStringLiteral("USER NAME=sa")},
        EngineKind::SqlServer);
    // A driver that does not exist is told apart from one that loads and finds no server.
    const QString missing = odbcOpenError(QStringLiteral("DRIVER={NoSuchDriver};SERVER=127.0.0.1;PORT=1"));
    EXPECT_TRUE(driverNotLoaded(missing)) << missing.toStdString();
    const QString freeTds = odbcOpenError(loc.odbcConnectionString());
    EXPECT_FALSE(freeTds.isEmpty());
    EXPECT_FALSE(driverNotLoaded(freeTds)) << freeTds.toStdString();
}

TEST(DialectTest, LiteralsWriteTheReadingWhateverTheTimeSpec)
{
    // A local time in Madrid's spring gap is no instant there, yet it is the reading to write.
    const QDateTime gap(QDate(2024, 3, 31), QTime(2, 30), Qt::LocalTime);
    EXPECT_EQ(sqlite().dateLiteral(gap), QStringLiteral("'2024-03-31 02:30:00'"));
    EXPECT_EQ(pg().dateLiteral(gap), QStringLiteral("'2024-03-31 02:30:00'"));
    EXPECT_EQ(mssql().dateLiteral(gap), QStringLiteral("'03/31/2024 02:30:00'"));
    EXPECT_EQ(pg().dateLiteralText(gap, QString()), QStringLiteral("2024-03-31 02:30:00"));
    EXPECT_EQ(sqlite().dateLiteral(QDateTime()), sqlite().zeroDateLiteral());
}
