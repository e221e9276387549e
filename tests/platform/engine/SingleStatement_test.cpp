// How many statements each engine reads in a text: a second one must never pass for part of
// the first (a quote, a comment or a name the engine reads otherwise), and one final ";"
// closes a statement.
#include "platform/data/engine/Dialects.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace plat;

namespace {

struct Caso
{
    const char *texto;
    bool sqlite, postgres, sqlServer;   // one statement at most, as each engine reads it
};

const Caso kCasos[] = {
    {"", true, true, true},
    {"-- nada\r\n", true, true, true},
    {"SELECT 1", true, true, true},
    {"SELECT 1;", true, true, true},
    {"SELECT 1 ;  \r\n\t", true, true, true},
    {"SELECT 1; -- fin\n/* y */", true, true, true},
    {"SELECT 1;;", false, false, false},
    {"SELECT 1; DELETE FROM T", false, false, false},
    {"select Codigo from T;\r\nDELETE FROM OTRA", false, false, false},
    {"SELECT 1;\xc2\xa0", false, false, false},   // a no-break space after the ";" is text
    {"SELECT 1;\v", false, false, false},
    // Quotes and quoted names keep their ";".
    {"SELECT Codigo FROM T WHERE Nombre = 'a;b'", true, true, true},
    {"SELECT 'it''s; ok', 'ñ;'", true, true, true},
    {"SELECT \"a;b\" FROM T", true, true, true},
    {"SELECT 'sin cerrar ;", false, false, false},
    {"SELECT [a;b] FROM T", true, false, true},
    {"SELECT [a]];b] FROM T", false, false, true},   // only SQL Server doubles "]"
    {"SELECT `a;b` FROM T", true, false, false},
    // Comments: nested where the engine nests them, an unclosed one only where it runs to the end.
    {"SELECT 1 -- ; DELETE FROM T\n", true, true, true},
    {"SELECT 1 /* ; */", true, true, true},
    {"SELECT 1 /* /* ; */ ; */", false, true, true},
    {"SELECT 1 /* /* */", true, false, false},
    {"SELECT 1 /* sin cerrar ;", true, false, false},
    {"select ? ;/*", false, false, false},   // SQLite reads a final "/*" as "/" and "*"
    {"SELECT 1; -- x\rDELETE FROM T", false, false, false},   // a carriage return may end the comment
    // PostgreSQL's escape strings, its strings without standard strings, and dollar quotes.
    {"SELECT E'\\''; DELETE FROM OTRA; --'", true, false, true},
    {"SELECT e'\\\\'; DELETE FROM OTRA", false, false, false},
    {"SELECT 1E'\\''; DELETE FROM OTRA; --'", true, false, true},
    {"SELECT '\\''; DELETE FROM OTRA; --'", true, false, true},
    {"SELECT $$'$$; DELETE FROM OTRA; --'", true, false, true},
    {"SELECT $a$ ; $a$", false, true, false},
    {"SELECT $a$ ; $b$", false, false, false},
    {"SELECT $función$;$función$", false, true, false},
    {"SELECT a$b$ ; $b$", false, false, false},   // "$" inside a name opens nothing
    {"SELECT $1 ; $1", false, false, false},
    // SQLite's variables hold what follows them up to a ")".
    {"SELECT $a('x) ; DELETE FROM T; SELECT ')", false, true, true},
    {"SELECT :a::b, @c, #d FROM T", true, true, true},
    {"SELECT :a( FROM T", false, true, true},
    // SQL Server, where ";" is optional: a word that starts a statement is a second one.
    {"SELECT Codigo FROM T DROP TABLE OTRA", true, true, false},
    {"SELECT Codigo FROM T\r\nexec sp_who", true, true, false},
    {"SELECT [Delete], 'drop', @insert, #update FROM T -- exec", true, true, true},
    {"EXEC sp_who", true, true, true},
    {"EXEC a EXEC b", true, true, false},
    {"SELECT * FROM T ORDER BY Codigo OFFSET 0 ROWS FETCH NEXT 5 ROWS ONLY", true, true, true},
};

TEST(SentenciaUnica, EachEngineReadsItsQuotesCommentsAndSeparators)
{
    for (const Caso &c : kCasos) {
        const QString texto = QString::fromUtf8(c.texto);
        SCOPED_TRACE(c.texto);
        EXPECT_EQ(Dialect::forEngine(EngineKind::SQLite).isSingleStatement(texto), c.sqlite);
        EXPECT_EQ(Dialect::forEngine(EngineKind::PostgreSQL).isSingleStatement(texto), c.postgres);
        EXPECT_EQ(Dialect::forEngine(EngineKind::SqlServer).isSingleStatement(texto), c.sqlServer);
    }
}

// A NUL ends the text where an engine reads it, not where the routine would: refused.
TEST(SentenciaUnica, ATextHoldingANulIsRefused)
{
    for (const char *resto : {"", " DELETE FROM T", "\0\0"}) {
        const QString texto = QStringLiteral("select ? ;/*") + QChar(u'\0') + QString::fromUtf8(resto);
        for (const EngineKind motor : {EngineKind::SQLite, EngineKind::PostgreSQL, EngineKind::SqlServer})
            EXPECT_FALSE(Dialect::forEngine(motor).isSingleStatement(texto)) << resto;
    }
}

// Where the routine says "one" for SQLite, SQLite's own tokenizer leaves nothing after the
// first statement but blanks, comments and ";".
TEST(SentenciaUnica, SqliteAgreesWhereItSaysOne)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE T (Codigo TEXT, Nombre TEXT); CREATE TABLE OTRA (a)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (const Caso &c : kCasos) {
        if (!c.sqlite)
            continue;
        SCOPED_TRACE(c.texto);
        const char *resto = c.texto;
        sqlite3_stmt *sentencia = nullptr;
        if (sqlite3_prepare_v2(db, resto, -1, &sentencia, &resto) != SQLITE_OK)
            continue;   // SQLite refuses the text: nothing runs
        sqlite3_finalize(sentencia);
        while (*resto) {
            const char *antes = resto;
            ASSERT_EQ(sqlite3_prepare_v2(db, resto, -1, &sentencia, &resto), SQLITE_OK);
            EXPECT_EQ(sentencia, nullptr) << "a second statement at: " << antes;
            sqlite3_finalize(sentencia);
            if (resto == antes)
                break;
        }
    }
    sqlite3_close(db);
}

} // namespace
