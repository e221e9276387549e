#pragma once
// The raw anchor of the benchmarks that read a whole answer: the statement prepared with the
// sqlite3 C API on the same file, every row stepped and every value's text appended, with a
// separator, to one buffer.
#include <QByteArray>
#include <QFile>
#include <QString>
#include <charconv>
#include <sqlite3.h>
#include <string>
#include <string_view>

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

// The SQL service's answer text written raw from a statement of five columns (integer, text,
// double, stored date-time, memo) with the program's default formats: the integer and the
// double in their shortest fixed form with the decimal comma, the text as stored, the date as
// dd/mm/yyyy followed by hh:mm:ss unless it is midnight, the memo's line breaks (CR LF, LF or
// CR) as one space each, "|" between columns and CR LF between rows. Every row is stepped;
// the statement is left reset.
inline void EscribirRespuestaCincoColumnas(sqlite3_stmt *stmt, std::string &out)
{
    out.clear();
    char number[64];
    bool first = true;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (!first)
            out.append("\r\n", 2);
        first = false;
        auto end = std::to_chars(number, number + sizeof number, sqlite3_column_int64(stmt, 0)).ptr;
        out.append(number, size_t(end - number));
        out.push_back('|');
        out.append(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)), size_t(sqlite3_column_bytes(stmt, 1)));
        out.push_back('|');
        end = std::to_chars(number, number + sizeof number, sqlite3_column_double(stmt, 2), std::chars_format::fixed).ptr;
        for (char *c = number; c != end; ++c)
            out.push_back(*c == '.' ? ',' : *c);
        out.push_back('|');
        const char *d = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3));
        out.append(d + 8, 2).append(1, '/').append(d + 5, 2).append(1, '/').append(d, 4);
        if (sqlite3_column_bytes(stmt, 3) == 19 && std::string_view(d + 11, 8) != "00:00:00")
            out.append(1, ' ').append(d + 11, 8);
        out.push_back('|');
        const char *m = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 4));
        const int length = sqlite3_column_bytes(stmt, 4);
        for (int i = 0; i < length; ++i) {
            if (m[i] == '\r' || m[i] == '\n') {
                out.push_back(' ');
                if (m[i] == '\r' && i + 1 < length && m[i + 1] == '\n')
                    ++i;
            } else {
                out.push_back(m[i]);
            }
        }
    }
    sqlite3_reset(stmt);
}
