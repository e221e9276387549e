#pragma once
#include <QString>

struct sqlite3;

namespace plat {

// Case and accents folded the Spanish way ("Ñandú" -> "ñandu"): the key of every
// comparison that ignores both. "ñ" stays a letter of its own.
QString foldSpanish(const QString &text);

// True when the text reads as a number (blanks around, sign, decimals, exponent).
bool looksNumeric(const QString &text);

// Registers on one SQLite connection what the program's SQL expects of every engine:
// GP_PLEGAR(x) (the folding above), ISNUMERIC(x), DAY/MONTH/YEAR(date) and any
// collation the program names (" COLLATE Modern_Spanish_CI_AI"): "_CI" ignores case,
// "_AI" accents; other names compare as written.
void registerSqliteExtensions(sqlite3 *db);

} // namespace plat
