// Arbitrary text as typed in the SQL console: where the SQLite dialect says it is one statement
// at most, SQLite's own tokenizer finds nothing after the first statement but blanks, comments
// and ";" (a second statement there would run with editing off).
#include "platform/data/engine/Dialect.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

sqlite3 *baseDatos()
{
    static sqlite3 *db = [] {
        sqlite3 *d = nullptr;
        sqlite3_open(":memory:", &d);
        // Tables the texts may name, so that more first statements prepare.
        sqlite3_exec(d, "CREATE TABLE T (Codigo TEXT, Nombre TEXT, a, b); CREATE TABLE OTRA (a, b)", nullptr, nullptr,
                     nullptr);
        return d;
    }();
    return db;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString texto = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!plat::Dialect::forEngine(plat::EngineKind::SQLite).isSingleStatement(texto))
        return 0;
    const QByteArray utf8 = texto.toUtf8();
    const char *resto = utf8.constData();
    const char *fin = resto + utf8.size();
    sqlite3_stmt *sentencia = nullptr;
    if (sqlite3_prepare_v2(baseDatos(), resto, int(fin - resto), &sentencia, &resto) != SQLITE_OK)
        return 0;   // refused: nothing runs
    sqlite3_finalize(sentencia);
    while (resto < fin && *resto) {
        const char *antes = resto;
        const int codigo = sqlite3_prepare_v2(baseDatos(), resto, int(fin - resto), &sentencia, &resto);
        if (codigo != SQLITE_OK || sentencia) {
            std::fprintf(stderr, "said one statement, SQLite reads more at: %s\n", antes);
            std::abort();
        }
        if (resto == antes)
            break;
    }
    return 0;
}
