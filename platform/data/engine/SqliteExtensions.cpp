#include "platform/data/engine/SqliteExtensions.h"

#include "platform/base/FechaHora.h"

#include <QDate>
#include <QRegularExpression>
#include <sqlite3.h>
#include <string>

namespace plat {

namespace {

QChar withoutAccent(QChar c)
{
    static const QString from = QStringLiteral("áàäâãéèëêíìïîóòöôõúùüûçÁÀÄÂÃÉÈËÊÍÌÏÎÓÒÖÔÕÚÙÜÛÇ");
    static const QString to = QStringLiteral("aaaaaeeeeiiiiooooouuuucAAAAAEEEEIIIIOOOOOUUUUC");
    const int i = from.indexOf(c);
    return i < 0 ? c : to.at(i);
}

QString textArg(sqlite3_value *v)
{
    const auto *p = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return p ? QString::fromUtf8(p, sqlite3_value_bytes(v)) : QString();
}

void foldFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    // Plain ASCII (most keys and captions) folds byte by byte, without a QString: the
    // function runs on every row of a search that no index can serve.
    const auto *bytes = sqlite3_value_text(argv[0]);
    const int size = sqlite3_value_bytes(argv[0]);
    thread_local std::string folded;
    folded.assign(bytes ? reinterpret_cast<const char *>(bytes) : "", bytes ? std::size_t(size) : 0);
    bool ascii = true;
    for (char &c : folded) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    if (ascii) {
        sqlite3_result_text(ctx, folded.data(), size, SQLITE_TRANSIENT);
        return;
    }
    const QByteArray out = foldSpanish(textArg(argv[0])).toUtf8();
    sqlite3_result_text(ctx, out.constData(), out.size(), SQLITE_TRANSIENT);
}

void isNumericFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const int t = sqlite3_value_type(argv[0]);
    if (t == SQLITE_INTEGER || t == SQLITE_FLOAT) {
        sqlite3_result_int(ctx, 1);
        return;
    }
    sqlite3_result_int(ctx, t == SQLITE_TEXT && looksNumeric(textArg(argv[0])) ? 1 : 0);
}

// Dates are kept as 'yyyy-mm-dd hh:mm:ss'.
template <int Part>
void datePartFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QDate d = text ? FechaISO(QByteArrayView(text, sqlite3_value_bytes(argv[0]))) : QDate();
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || !d.isValid()) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, Part == 0 ? d.day() : Part == 1 ? d.month() : d.year());
}

struct CollationKind
{
    bool ignoreCase;
    bool ignoreAccents;
};

int compareCollated(void *arg, int n1, const void *s1, int n2, const void *s2)
{
    const auto *kind = static_cast<const CollationKind *>(arg);
    QString a = QString::fromUtf8(static_cast<const char *>(s1), n1);
    QString b = QString::fromUtf8(static_cast<const char *>(s2), n2);
    if (kind->ignoreAccents) {
        for (auto &c : a) c = withoutAccent(c);
        for (auto &c : b) c = withoutAccent(c);
    }
    return QString::compare(a, b, kind->ignoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive);
}

void collationNeeded(void *, sqlite3 *db, int, const char *name)
{
    static const CollationKind kinds[4] = {{false, false}, {true, false}, {false, true}, {true, true}};
    const QString n = QString::fromUtf8(name).toUpper();
    const bool ci = n.contains(QLatin1String("_CI"));
    const bool ai = n.contains(QLatin1String("_AI"));
    sqlite3_create_collation(db, name, SQLITE_UTF8, const_cast<CollationKind *>(&kinds[(ci ? 1 : 0) + (ai ? 2 : 0)]),
                             compareCollated);
}

} // namespace

QString foldSpanish(const QString &text)
{
    QString out = text.toLower();
    for (auto &c : out)
        c = withoutAccent(c);
    return out;
}

bool looksNumeric(const QString &text)
{
    static const QRegularExpression re(
        QStringLiteral("^\\s*[-+]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][-+]?[0-9]+)?\\s*$"));
    return re.match(text).hasMatch();
}

void registerSqliteExtensions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "GP_PLEGAR", 1, flags, nullptr, foldFunction, nullptr, nullptr);
    sqlite3_create_function(db, "ISNUMERIC", 1, flags, nullptr, isNumericFunction, nullptr, nullptr);
    sqlite3_create_function(db, "DAY", 1, flags, nullptr, datePartFunction<0>, nullptr, nullptr);
    sqlite3_create_function(db, "MONTH", 1, flags, nullptr, datePartFunction<1>, nullptr, nullptr);
    sqlite3_create_function(db, "YEAR", 1, flags, nullptr, datePartFunction<2>, nullptr, nullptr);
    sqlite3_collation_needed(db, nullptr, collationNeeded);
}

} // namespace plat
