#include "platform/base/FechaHora.h"
#include "tests/platform/engine/EngineFixture.h"

#include "platform/base/Errores.h"

using namespace plat;
using gptest::EngineTest;

namespace {

TableDef clientes()
{
    TableDef t;
    t.name = QStringLiteral("CLIENTES");
    t.fields = {{QStringLiteral("Codigo"), ftInteger},
                {QStringLiteral("Serie"), ftString, 4},
                {QStringLiteral("Nombre"), ftString, 40},
                {QStringLiteral("Alta"), ftDateTime},
                {QStringLiteral("Saldo"), ftFloat, 0, 28, 8},
                {QStringLiteral("Notas"), ftMemo},
                {QStringLiteral("Foto"), ftBlob},
                {QStringLiteral("Nivel"), ftSmallint}};
    IndexDef pk;
    pk.name = QStringLiteral("<Primary>");
    pk.fields = {QStringLiteral("Codigo"), QStringLiteral("Serie")};
    pk.primary = pk.unique = true;
    IndexDef byName;
    byName.name = QStringLiteral("Clave2");
    byName.fields = {QStringLiteral("Nombre")};
    byName.caseInsensitive = true;
    IndexDef byDate;
    byDate.name = QStringLiteral("Clave3");
    byDate.fields = {QStringLiteral("Alta"), QStringLiteral("Codigo")};
    byDate.descending = true;
    t.indexes = {byName, pk, byDate};
    return t;
}

} // namespace

TEST_P(EngineTest, SchemaComesBackAsDeclared)
{
    db().createTable(clientes());
    const auto cols = db().columns(QStringLiteral("clientes"));
    ASSERT_EQ(cols.size(), 8);
    const struct { const char *name; TFieldType type; int size; } expected[] = {
        {"Codigo", ftInteger, 0}, {"Serie", ftString, 4}, {"Nombre", ftString, 40}, {"Alta", ftDateTime, 0},
        {"Saldo", ftFloat, 0},    {"Notas", ftMemo, 0},   {"Foto", ftBlob, 0},      {"Nivel", ftSmallint, 0},
    };
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(cols[i].name, QLatin1String(expected[i].name));
        EXPECT_EQ(cols[i].type, expected[i].type) << expected[i].name;
        EXPECT_EQ(cols[i].size, expected[i].size) << expected[i].name;
    }
    EXPECT_EQ(cols[4].precision, 28);
    EXPECT_EQ(cols[4].scale, 8);

    const auto ix = db().indexes(QStringLiteral("CLIENTES"));
    ASSERT_EQ(ix.size(), 3);
    EXPECT_EQ(ix[0].name, QStringLiteral("Clave1"));
    EXPECT_TRUE(ix[0].primary);
    EXPECT_EQ(ix[0].fields, (QStringList{"Codigo", "Serie"}));
    EXPECT_EQ(ix[1].name, QStringLiteral("Clave2"));
    EXPECT_TRUE(ix[1].caseInsensitive);
    EXPECT_FALSE(ix[1].descending);
    EXPECT_EQ(ix[2].name, QStringLiteral("Clave3"));
    EXPECT_TRUE(ix[2].descending);
    EXPECT_FALSE(ix[2].caseInsensitive);
    EXPECT_EQ(ix[2].fields, (QStringList{"Alta", "Codigo"}));
    EXPECT_EQ(db().keyFields(QStringLiteral("CLIENTES")), (QStringList{"Codigo", "Serie"}));
    EXPECT_EQ(db().keyFields(QStringLiteral("CLIENTES"), QStringLiteral("CLIENTES_Clave3")),
              (QStringList{"Alta", "Codigo"}));
    EXPECT_TRUE(db().tableNames().contains(QStringLiteral("CLIENTES")));
}

TEST_P(EngineTest, ValuesRoundTripWithParameters)
{
    db().createTable(clientes());
    const QDateTime alta = FechaHora(QDate(2024, 2, 29), QTime(13, 45, 7));
    const QByteArray foto("\x00\x01\xff binary", 12);
    db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie, Nombre, Alta, Saldo, Notas, Foto) "
                             "VALUES (:Codigo, :Serie, :Nombre, :Alta, :Saldo, :Notas, :Foto)"),
              {{"Codigo", 1}, {"Serie", QString()}, {"Nombre", QStringLiteral("Íñigo O'Neill")}, {"Alta", alta},
               {"Saldo", 1234.5}, {"Notas", QStringLiteral("línea 1\r\nlínea 2")}, {"Foto", foto}});
    db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (2, 'B')"));

    const auto r = db().query(QStringLiteral("SELECT Codigo, Serie, Nombre, Alta, Saldo, Notas, Foto FROM CLIENTES "
                                             "ORDER BY Codigo"));
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_EQ(r.columns, (QStringList{"Codigo", "Serie", "Nombre", "Alta", "Saldo", "Notas", "Foto"}));
    EXPECT_EQ(r.value(0, "Serie").toString(), QString());
    EXPECT_FALSE(r.rows[0][1].isNull()) << "an empty text is stored as '', not NULL";
    EXPECT_EQ(r.value(0, "Nombre").toString(), QStringLiteral("Íñigo O'Neill"));
    EXPECT_EQ(r.value(0, "Alta").toDateTime(), alta);
    EXPECT_DOUBLE_EQ(r.value(0, "Saldo").toDouble(), 1234.5);
    EXPECT_EQ(r.value(0, "Notas").toString(), QStringLiteral("línea 1\r\nlínea 2"));
    EXPECT_EQ(r.value(0, "Foto").toByteArray(), foto);
    // Columns left out take their defaults: '' for texts, the zero date for dates.
    EXPECT_EQ(r.value(1, "Nombre").toString(), QString());
    EXPECT_FALSE(r.rows[1][2].isNull());
    EXPECT_EQ(r.value(1, "Alta").toDateTime(), Dialect::zeroDate());

    // Dates compare in SQL through the dialect's literal.
    const auto n = db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTES WHERE Alta > %1")
                                   .arg(db().dialect().dateLiteral(FechaHora(QDate(2024, 2, 29), QTime(0, 0)))));
    EXPECT_EQ(n.toInt(), 1);
    const auto zero = db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTES WHERE Alta = %1")
                                      .arg(db().dialect().zeroDateLiteral()));
    EXPECT_EQ(zero.toInt(), 1);
}

TEST_P(EngineTest, FailuresCarryTheEngineTexts)
{
    TableDef t = clientes();
    t.fields[2].required = true;
    db().createTable(t);
    db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie, Nombre) VALUES (1, 'A', 'x')"));

    using Kind = gp::DatabaseErrorKind;
    const gp::Fallo dup = gp::capturarFallo([&] {
        db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie, Nombre) VALUES (1, 'A', 'y')"));
    });
    EXPECT_TRUE(dup.mensaje.startsWith(QStringLiteral("Key violation"))) << dup.mensaje.toStdString();
    EXPECT_EQ(dup.tipo, Kind::KeyViolation);

    const gp::Fallo missing = gp::capturarFallo([&] {
        db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie, Nombre) VALUES (2, 'A', NULL)"));
    });
    EXPECT_EQ(missing.mensaje, QStringLiteral("Field 'Nombre' must have a value"));
    EXPECT_EQ(missing.tipo, Kind::RequiredField);

    const gp::Fallo noTable = gp::capturarFallo([&] { db().query(QStringLiteral("SELECT * FROM NOEXISTE")); });
    EXPECT_TRUE(noTable.mensaje.startsWith(QStringLiteral("Table does not exist"))) << noTable.mensaje.toStdString();
    EXPECT_EQ(noTable.tipo, Kind::MissingTable);

    const gp::Fallo noColumns = gp::capturarFallo([&] { db().columns(QStringLiteral("NOEXISTE")); });
    EXPECT_TRUE(noColumns.mensaje.startsWith(QStringLiteral("Table does not exist"))) << noColumns.mensaje.toStdString();
    EXPECT_EQ(noColumns.tipo, Kind::MissingTable);

    const gp::Fallo syntax = gp::capturarFallo([&] { db().query(QStringLiteral("SELEC 1")); });
    EXPECT_TRUE(syntax.hay);
    EXPECT_EQ(syntax.tipo, Kind::Other);
    // The reason is the driver's own words, without the engine text of the kind.
    EXPECT_TRUE(!syntax.motivo.isEmpty() && syntax.mensaje.endsWith(syntax.motivo)) << syntax.mensaje.toStdString();
    EXPECT_FALSE(syntax.motivo.contains(QStringLiteral("General SQL error")));
}

TEST_P(EngineTest, FailedStatementLeavesTheTransactionUsable)
{
    db().createTable(clientes());
    db().startTransaction();
    db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (1, 'A')"));
    EXPECT_THROW(db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (1, 'A')")), gp::DatabaseError);
    db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (2, 'A')"));
    db().commit();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTES")).toInt(), 2);

    db().startTransaction();
    EXPECT_TRUE(db().inTransaction());
    db().exec(QStringLiteral("DELETE FROM CLIENTES"));
    db().rollback();
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTES")).toInt(), 2);
}

// A start inside a transaction is a savepoint: its roll-back undoes its own work only and
// the outer transaction commits the rest; an outer roll-back undoes the inner commits too.
TEST_P(EngineTest, AnInnerRollBackUndoesItsOwnWorkOnly)
{
    db().createTable(clientes());
    const auto insert = [&](int codigo) {
        db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (%1, 'A')").arg(codigo));
    };
    const auto stored = [&] {
        QStringList codes;
        for (const QVariantList &row : db().query(QStringLiteral("SELECT Codigo FROM CLIENTES ORDER BY Codigo")).rows)
            codes << row.value(0).toString();
        return codes.join(u' ');
    };
    db().startTransaction();
    insert(1);
    db().startTransaction();
    insert(2);
    db().startTransaction();
    insert(3);
    db().rollback();
    insert(4);
    db().commit();
    db().startTransaction();
    insert(5);
    EXPECT_THROW(insert(5), gp::DatabaseError);   // a refused statement inside leaves it usable
    db().rollback();
    EXPECT_TRUE(db().inTransaction());
    db().commit();
    EXPECT_FALSE(db().inTransaction());
    EXPECT_EQ(stored(), "1 2 4");

    db().startTransaction();
    db().startTransaction();
    insert(6);
    db().commit();
    db().rollback();
    EXPECT_EQ(stored(), "1 2 4");
}

// However a statement writes, a read-only run keeps nothing of it: the engine refuses it
// (PostgreSQL's read-only transaction, SQLite's query_only), it still reads, and the
// connection writes again afterwards. A trailing comment is no second statement.
TEST_P(EngineTest, AReadOnlyRunKeepsNothingAStatementWrites)
{
    db().createTable(clientes());
    db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (1, 'A')"));
    QStringList escrituras{QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (2, 'A')")};
    if (db().engine() == EngineKind::PostgreSQL) {
        db().exec(QStringLiteral("CREATE FUNCTION escribe() RETURNS integer LANGUAGE sql AS "
                                 "'INSERT INTO clientes (codigo, serie) VALUES (3, ''A'') RETURNING codigo'"),
                  {}, SqlOrigin::AsWritten);
        escrituras << QStringLiteral("SELECT * INTO NUEVA FROM CLIENTES") << QStringLiteral("SELECT escribe()")
                   << QStringLiteral("WITH x AS (DELETE FROM CLIENTES RETURNING Codigo) SELECT * FROM x");
    }
    for (const QString &sql : escrituras) {
        const auto tipo = gptest::failureKind([&] { db().runReadOnly([&] { db().query(sql, {}, SqlOrigin::AsWritten); }); });
        EXPECT_EQ(tipo, gp::DatabaseErrorKind::ReadOnly) << sql.toStdString();
    }
    QVariant leido;
    db().runReadOnly([&] { leido = db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTES;  -- fin"), {}, SqlOrigin::AsWritten); });
    EXPECT_EQ(leido.toInt(), 1);
    EXPECT_FALSE(db().tableExists(QStringLiteral("NUEVA")));
    db().exec(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie) VALUES (4, 'A')"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLIENTES")).toInt(), 2);
}

TEST_P(EngineTest, TablesAreDroppedEmptiedAndMatchedByPattern)
{
    for (const char *name : {"_QS01", "_qs02", "TEMP_X", "OTRA"}) {
        TableDef t;
        t.name = QLatin1String(name);
        t.fields = {{QStringLiteral("A"), ftInteger, 0, 0, 0, false, {}}};
        db().createTable(t);
        db().exec(QStringLiteral("INSERT INTO %1 (A) VALUES (1)").arg(t.name));
    }
    db().emptyTable(QStringLiteral("OTRA"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM OTRA")).toInt(), 0);
    EXPECT_EQ(db().dropTablesMatching(QStringLiteral("_QS*.*")), 2);
    EXPECT_EQ(db().tableNames(), (QStringList{"OTRA", "TEMP_X"}));
    db().dropTable(QStringLiteral("TEMP_X"));
    EXPECT_FALSE(db().tableExists(QStringLiteral("temp_x")));
    EXPECT_NO_THROW(db().dropTable(QStringLiteral("TEMP_X")));
    EXPECT_THROW(db().dropTable(QStringLiteral("TEMP_X"), false), gp::DatabaseError);
}

INSTANTIATE_TEST_SUITE_P(Engines, EngineTest, GP_ENGINE_BACKENDS);

TEST_P(EngineTest, ProgramStatementsKeepTheirDeclaredNamesAndTypes)
{
    // The program's own "SQL Generica" texts, and its catalogue questions answered.
    db().exec(QStringLiteral("CREATE TABLE TXIDIOMA (CodigoIdioma INTEGER DEFAULT 0, TextoOriginal VARCHAR(80) DEFAULT '', "
                             "Foto IMAGE NULL, Alta TIMESTAMP DEFAULT '12/30/1899 00:00:00' NULL, "
                             "CONSTRAINT TXIDIOMA_Clave1 PRIMARY KEY (CodigoIdioma, TextoOriginal))"));
    db().exec(QStringLiteral("CREATE INDEX TXIDIOMA_Clave2 ON TXIDIOMA (TextoOriginal) "));
    const auto cols = db().columns(QStringLiteral("txidioma"));
    ASSERT_EQ(cols.size(), 4);
    EXPECT_EQ(cols[1].name, QStringLiteral("TextoOriginal"));
    EXPECT_EQ(cols[1].type, ftString);
    EXPECT_EQ(cols[1].size, 80);
    EXPECT_EQ(cols[2].type, ftBlob);
    EXPECT_EQ(cols[3].type, ftDateTime);
    const auto ix = db().indexes(QStringLiteral("TXIDIOMA"));
    ASSERT_EQ(ix.size(), 2);
    EXPECT_TRUE(ix[0].primary);
    EXPECT_EQ(ix[0].fields, (QStringList{"CodigoIdioma", "TextoOriginal"}));
    EXPECT_TRUE(ix[1].name.endsWith(QStringLiteral("Clave2")));

    const auto keys = db().query(db().dialect().keyFieldsQuery(QStringLiteral("TXIDIOMA"), QStringLiteral("TXIDIOMA_Clave1")));
    ASSERT_EQ(keys.rows.size(), 2);
    EXPECT_EQ(keys.rows[0].value(0).toString(), QStringLiteral("CodigoIdioma"));
    EXPECT_EQ(keys.rows[1].value(0).toString(), QStringLiteral("TextoOriginal"));
    const auto named = db().query(db().dialect().columnsQuery(QStringLiteral("TXIDIOMA"), false));
    ASSERT_EQ(named.rows.size(), 4);
    EXPECT_EQ(named.rows[3].value(0).toString(), QStringLiteral("Alta"));

    db().exec(QStringLiteral("INSERT INTO TXIDIOMA (CodigoIdioma, TextoOriginal) VALUES (1, 'Árbol')"));
    if (isSqlite())  // the general database is this same folder
        session->addAlias(QStringLiteral("GENERAL"), QString(), {QStringLiteral("PATH=") + dir.path()});
    const auto r = db().query(QStringLiteral("SELECT TOP 1 codigoidioma, TextoOriginal, Alta FROM GENERAL.dbo.TXIDIOMA"));
    EXPECT_EQ(r.columns, (QStringList{"CodigoIdioma", "TextoOriginal", "Alta"}));
    EXPECT_EQ(r.value(0, "Alta").toDateTime(), Dialect::zeroDate());
}

TEST_P(EngineTest, SearchesIgnoreCaseAndAccentsThroughTheDialect)
{
    TableDef t;
    t.name = QStringLiteral("NOMBRES");
    t.fields = {{QStringLiteral("Nombre"), ftString, 30, 0, 0, false, {}}, {QStringLiteral("Valor"), ftString, 10, 0, 0, false, {}}};
    db().createTable(t);
    db().exec(QStringLiteral("INSERT INTO NOMBRES (Nombre, Valor) VALUES ('Peña', '12.5'), ('PEÑA', 'x'), ('Pena', '3'), "
                             "('Pérez', '')"));
    const Dialect &d = db().dialect();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOMBRES WHERE ")
                          + d.foldedCompare(QStringLiteral("Nombre"), QStringLiteral("="), QStringLiteral("'peña'"))).toInt(), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOMBRES WHERE ")
                          + d.foldedCompare(QStringLiteral("Nombre"), QStringLiteral("="), QStringLiteral("'PEREZ'"))).toInt(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOMBRES WHERE Nombre = 'peña'")).toInt(), 0);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM NOMBRES WHERE %1 = 1").arg(d.isNumeric(QStringLiteral("Valor"))))
                  .toInt(), 2);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT %1 FROM NOMBRES WHERE Nombre = 'Pena'")
                          .arg(d.concat({QStringLiteral("Nombre"), QStringLiteral("'-'"), QStringLiteral("Valor")}))).toString(),
              QStringLiteral("Pena-3"));
}

TEST_P(EngineTest, PreparedStatementsBindByPositionAndOutliveAFailedRun)
{
    db().createTable(clientes());
    const auto insert = db().prepare(QStringLiteral("INSERT INTO CLIENTES (Codigo, Serie, Nombre, Alta, Saldo, Foto) "
                                                    "VALUES (?, ?, ?, ?, ?, ?)"),
                                     SqlOrigin::AsWritten);
    const auto update = db().prepare(QStringLiteral("UPDATE CLIENTES SET Nombre = ? WHERE Codigo = ? AND Serie = ?"),
                                     SqlOrigin::AsWritten);
    const auto count = db().prepare(QStringLiteral("SELECT COUNT(*) FROM CLIENTES WHERE Codigo >= ?"), SqlOrigin::AsWritten);
    const QDateTime alta = FechaHora(QDate(2024, 2, 29), QTime(13, 45, 7));
    const QByteArray foto("\x00\x01\xff binary", 12);

    db().startTransaction();
    EXPECT_EQ(insert->exec({1, QString(), QStringLiteral("Íñigo O'Neill"), alta, 1234.5, foto}), 1);
    // A failed run leaves the statement and, on every engine, the transaction usable.
    const gp::Fallo dup = gp::capturarFallo([&] { insert->exec({1, QString(), QStringLiteral("otro"), alta, 0.0, QVariant()}); });
    EXPECT_EQ(dup.tipo, gp::DatabaseErrorKind::KeyViolation) << dup.mensaje.toStdString();
    EXPECT_EQ(insert->exec({2, QStringLiteral("B"), QStringLiteral("dos"), QVariant(), QVariant(), QVariant()}), 1);
    db().commit();

    EXPECT_EQ(update->exec({QStringLiteral("Ana"), 2, QStringLiteral("B")}), 1);
    EXPECT_EQ(update->exec({QStringLiteral("nadie"), 3, QStringLiteral("B")}), 0);
    EXPECT_EQ(count->scalar({1}).toInt(), 2);
    EXPECT_EQ(count->scalar({2}).toInt(), 1);
    EXPECT_TRUE(gp::capturarFallo([&] { count->scalar({}); })) << "a run without its value raises";

    const auto r = db().query(QStringLiteral("SELECT Codigo, Serie, Nombre, Alta, Saldo, Foto FROM CLIENTES ORDER BY Codigo"));
    ASSERT_EQ(r.rows.size(), 2);
    EXPECT_FALSE(r.rows[0][1].isNull()) << "a null text is stored as ''";
    EXPECT_EQ(r.value(0, "Nombre").toString(), QStringLiteral("Íñigo O'Neill"));
    EXPECT_EQ(r.value(0, "Alta").toDateTime(), alta);
    EXPECT_DOUBLE_EQ(r.value(0, "Saldo").toDouble(), 1234.5);
    EXPECT_EQ(r.value(0, "Foto").toByteArray(), foto);
    EXPECT_EQ(r.value(1, "Nombre").toString(), QStringLiteral("Ana"));
    EXPECT_TRUE(r.rows[1][3].isNull()) << "an invalid value is NULL";
}

// On PostgreSQL's own connection a text of several statements goes whole to the server:
// inside a transaction one that fails undoes the text's earlier statements only, the
// transaction going on; a prepared statement let go of leaves the session with the next
// statement.
TEST_P(EngineTest, AScriptThatFailsHalfWayAndAStatementLetGoOfLeaveTheSessionAsItWas)
{
    if (GetParam() != gptest::Backend::PostgreSQL)
        GTEST_SKIP() << "SQLite runs the first statement of a text only; ODBC prepares as its driver does";
    gptest::createFicha(db());
    db().startTransaction();
    db().exec(QStringLiteral("INSERT INTO FICHA (Codigo, Nombre) VALUES (2, 'dos')"));
    EXPECT_EQ(gptest::failureKind([&] {
                  db().exec(QStringLiteral("INSERT INTO FICHA (Codigo, Nombre) VALUES (3, 'tres'); "
                                           "INSERT INTO FICHA (Codigo, Nombre) VALUES (1, 'otra vez')"));
              }),
              gp::DatabaseErrorKind::KeyViolation);
    EXPECT_EQ(db().exec(QStringLiteral("INSERT INTO FICHA (Codigo, Nombre) VALUES (4, 'cuatro'); "
                                       "UPDATE FICHA SET Nombre = 'DOS' WHERE Codigo = 2")),
              1);
    db().commit();
    QStringList stored;
    for (const QVariantList &row : db().query(QStringLiteral("SELECT Codigo, Nombre FROM FICHA ORDER BY Codigo")).rows)
        stored << row.value(0).toString() + row.value(1).toString();
    EXPECT_EQ(stored, (QStringList{"1uno", "2DOS", "4cuatro"}));

    const QString prepared = QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements WHERE statement LIKE '%FICHA%'");
    auto update = db().prepare(QStringLiteral("UPDATE FICHA SET Nombre = ? WHERE Codigo = ?"));
    EXPECT_EQ(update->exec({QStringLiteral("cinco"), 4}), 1);
    EXPECT_EQ(db().scalar(prepared).toInt(), 1);
    update.reset();
    EXPECT_EQ(db().scalar(prepared).toInt(), 0);
}
