#pragma once
// The raw anchor of the benchmarks that read a whole answer: the statement prepared with the
// sqlite3 C API on the same file, every row stepped and every value's text appended, with a
// separator, to one buffer.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <sqlite3.h>
#include <string>

// The bytes copied (so that the work cannot be left out), or -1 when the file or the
// statement cannot be opened.
inline qint64 LeerTextosConSqlite3(const QString &fichero, const QString &sentencia, std::string &buffer)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(fichero).constData(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    const QByteArray sql = sentencia.toUtf8();
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &s, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return -1;
    }
    buffer.clear();
    const int columnas = sqlite3_column_count(s);
    while (sqlite3_step(s) == SQLITE_ROW) {
        for (int i = 0; i < columnas; ++i) {
            const unsigned char *texto = sqlite3_column_text(s, i);
            if (texto)
                buffer.append(reinterpret_cast<const char *>(texto), size_t(sqlite3_column_bytes(s, i)));
            buffer.push_back('|');
        }
        buffer.push_back('\n');
    }
    sqlite3_finalize(s);
    sqlite3_close(db);
    return qint64(buffer.size());
}
