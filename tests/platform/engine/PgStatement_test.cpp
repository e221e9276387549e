// A program's statement as PostgreSQL takes it through the extended protocol: its
// placeholders numbered, whatever is quoted or commented left as it is written.
#include "platform/data/engine/PgStatement.h"

#include <gtest/gtest.h>

using plat::pgPlaceholders;

TEST(PgPlaceholders, NamesAndMarksBecomeNumbersOutsideQuotesCastsAndComments)
{
    const struct
    {
        const char *sql;
        bool positional;
        const char *expected;
        QStringList names;
        int count;
    } cases[] = {
        // A name used twice has one number.
        {"UPDATE T SET A = :a, B = :b WHERE C = :a", false, "UPDATE T SET A = $1, B = $2 WHERE C = $1", {"a", "b"}, 2},
        {"SELECT ':a', \":b\", x::integer, :c_1 -- :d\n/* :e */ FROM T", false,
         "SELECT ':a', \":b\", x::integer, $1 -- :d\n/* :e */ FROM T", {"c_1"}, 1},
        {"SELECT 'it''s :a' || :b FROM T WHERE Año = :Año", false, "SELECT 'it''s :a' || $1 FROM T WHERE Año = $2",
         {"b", "Año"}, 2},
        {"INSERT INTO T VALUES (?, '?', ?) -- ?", true, "INSERT INTO T VALUES ($1, '?', $2) -- ?", {}, 2},
        // Marks of the other kind are the statement's own.
        {"SELECT :a, ?", true, "SELECT :a, $1", {}, 1},
        {"SELECT :a, ?", false, "SELECT $1, ?", {"a"}, 1},
        {"SELECT 1 ::text, ':'", false, "SELECT 1 ::text, ':'", {}, 0},
    };
    for (const auto &c : cases) {
        QStringList names;
        int count = -1;
        EXPECT_EQ(pgPlaceholders(QString::fromUtf8(c.sql), c.positional, &names, &count), QByteArray(c.expected)) << c.sql;
        EXPECT_EQ(names, c.names) << c.sql;
        EXPECT_EQ(count, c.count) << c.sql;
    }
}
