#include "platform/data/engine/TableChanges.h"

#include <QStringList>
#include <algorithm>
#include <atomic>

namespace plat {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#' || c == u'@'; }

// The words of a statement from its start, blanks, comments and opening brackets skipped.
class Scanner
{
public:
    explicit Scanner(QStringView sql) : s_(sql) {}

    // The next keyword or bare name in upper case; empty when none follows.
    QString word()
    {
        skipBlanks();
        const qsizetype from = i_;
        while (i_ < s_.size() && isWordChar(s_[i_]))
            ++i_;
        return s_.mid(from, i_ - from).toString().toUpper();
    }

    // Takes the next word when it is one of these.
    bool optional(std::initializer_list<const char *> words)
    {
        const qsizetype at = i_;
        const QString next = word();
        for (const char *w : words)
            if (next == QLatin1String(w))
                return true;
        i_ = at;
        return false;
    }

    // A name as the statement writes it: its dotted parts, each bare or quoted.
    QStringList name()
    {
        skipBlanks();
        QStringList parts;
        while (i_ < s_.size()) {
            const QChar open = s_[i_];
            if (open == u'"' || open == u'[' || open == u'`') {
                const QChar close = open == u'[' ? u']' : open;
                const qsizetype end = s_.indexOf(close, i_ + 1);
                if (end < 0)
                    return {};
                parts << s_.mid(i_ + 1, end - i_ - 1).toString();
                i_ = end + 1;
            } else {
                const qsizetype from = i_;
                while (i_ < s_.size() && isWordChar(s_[i_]))
                    ++i_;
                if (from == i_)
                    break;
                parts << s_.mid(from, i_ - from).toString();
            }
            if (i_ >= s_.size() || s_[i_] != u'.')
                break;
            ++i_;
        }
        return parts;
    }

    // What the rest of the text holds outside literals and quoted names: the words asked
    // about, and whether another statement follows a semicolon.
    struct Rest
    {
        QStringList words;
        bool anotherStatement = false;
    };
    Rest rest(std::initializer_list<const char *> wanted)
    {
        Rest found;
        qsizetype i = i_;
        while (i < s_.size()) {
            const QChar c = s_[i];
            if (c == u'\'' || c == u'"' || c == u'[' || c == u'`') {
                const QChar close = c == u'[' ? u']' : c;
                const qsizetype end = s_.indexOf(close, i + 1);
                i = end < 0 ? s_.size() : end + 1;
            } else if (c == u'-' && s_.mid(i).startsWith(u"--")) {
                const qsizetype end = s_.indexOf(u'\n', i);
                i = end < 0 ? s_.size() : end + 1;
            } else if (c == u';') {
                found.anotherStatement = found.anotherStatement || !s_.mid(i + 1).trimmed().isEmpty();
                ++i;
            } else if (isWordChar(c)) {
                const qsizetype from = i;
                while (i < s_.size() && isWordChar(s_[i]))
                    ++i;
                // Compared in place: a long statement's words are not copied.
                const QStringView w = s_.mid(from, i - from);
                for (const char *x : wanted)
                    if (w.compare(QLatin1String(x), Qt::CaseInsensitive) == 0 && !found.words.contains(QLatin1String(x)))
                        found.words << QLatin1String(x);
            } else {
                ++i;
            }
        }
        return found;
    }

private:
    void skipBlanks()
    {
        for (;;) {
            while (i_ < s_.size() && (s_[i_].isSpace() || s_[i_] == u'('))
                ++i_;
            const QStringView at = s_.mid(i_);
            if (at.startsWith(u"--")) {
                const qsizetype end = s_.indexOf(u'\n', i_);
                i_ = end < 0 ? s_.size() : end + 1;
            } else if (at.startsWith(u"/*")) {
                const qsizetype end = s_.indexOf(u"*/", i_ + 2);
                i_ = end < 0 ? s_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    QStringView s_;
    qsizetype i_ = 0;
};

StatementTarget of(StatementTarget::Kind kind) { return StatementTarget{kind, QString()}; }

StatementTarget tableNamed(const QStringList &parts)
{
    if (parts.isEmpty() || parts.last().isEmpty())
        return of(StatementTarget::WholeDatabase);
    // database.schema.table: a table of another database.
    if (parts.size() >= 3)
        return of(StatementTarget::Anywhere);
    return StatementTarget{StatementTarget::Table, parts.last().toUpper()};
}

bool among(const QString &word, std::initializer_list<const char *> words)
{
    return std::any_of(words.begin(), words.end(), [&](const char *w) { return word == QLatin1String(w); });
}

StatementTarget target(Scanner &sc, const QString &first)
{
    if (among(first, {"SELECT", "VALUES", "SHOW", "EXPLAIN", "PRAGMA", "SET", "BEGIN", "START", "COMMIT", "END",
                      "SAVEPOINT", "RELEASE", "DECLARE", "FETCH", "CLOSE", "MOVE", "DEALLOCATE", "PREPARE",
                      "LISTEN", "UNLISTEN", "NOTIFY", "ATTACH", "DETACH", "USE", "GRANT", "REVOKE", "ANALYZE",
                      "VACUUM", "LOCK", "PRINT", "CHECKPOINT"})) {
        // SELECT ... INTO makes a table.
        const bool into = first == QLatin1String("SELECT") && sc.rest({"INTO"}).words.contains(QStringLiteral("INTO"));
        return of(into ? StatementTarget::WholeDatabase : StatementTarget::Nothing);
    }
    if (first == QLatin1String("WITH")) {
        const bool writes = !sc.rest({"INSERT", "UPDATE", "DELETE", "MERGE", "INTO"}).words.isEmpty();
        return of(writes ? StatementTarget::WholeDatabase : StatementTarget::Nothing);
    }
    if (first == QLatin1String("INSERT") || first == QLatin1String("REPLACE")) {
        if (sc.optional({"OR"}))
            sc.word();
        sc.optional({"INTO"});
        return tableNamed(sc.name());
    }
    if (first == QLatin1String("UPDATE")) {
        if (sc.optional({"OR"}))
            sc.word();
        sc.optional({"ONLY"});
        const StatementTarget t = tableNamed(sc.name());
        // UPDATE alias SET ... FROM table alias: the name was an alias.
        return sc.rest({"FROM"}).words.isEmpty() ? t : of(StatementTarget::WholeDatabase);
    }
    if (first == QLatin1String("DELETE")) {
        const bool from = sc.optional({"FROM"});
        sc.optional({"ONLY"});
        const StatementTarget t = tableNamed(sc.name());
        // DELETE alias FROM table alias: the name was an alias.
        return from || sc.rest({"FROM"}).words.isEmpty() ? t : of(StatementTarget::WholeDatabase);
    }
    if (first == QLatin1String("TRUNCATE")) {
        sc.optional({"TABLE"});
        sc.optional({"ONLY"});
        const StatementTarget t = tableNamed(sc.name());
        // Several tables at once.
        return sc.rest({}).anotherStatement || t.kind != StatementTarget::Table ? of(StatementTarget::WholeDatabase) : t;
    }
    if (first == QLatin1String("DROP") || first == QLatin1String("ALTER")) {
        if (!sc.optional({"TABLE"}))
            return of(StatementTarget::WholeDatabase);
        if (sc.optional({"IF"}))
            sc.word();   // EXISTS
        sc.optional({"ONLY"});
        return tableNamed(sc.name());
    }
    if (first == QLatin1String("CREATE")) {
        while (sc.optional({"GLOBAL", "LOCAL", "TEMP", "TEMPORARY", "UNLOGGED", "UNIQUE", "CLUSTERED", "NONCLUSTERED",
                            "OR"}))
            sc.optional({"REPLACE"});
        if (sc.optional({"INDEX", "VIEW", "DATABASE", "SCHEMA", "SEQUENCE"}))
            return of(StatementTarget::Nothing);
        if (!sc.optional({"TABLE"}))
            return of(StatementTarget::WholeDatabase);
        if (sc.optional({"IF"})) {
            sc.word();   // NOT
            sc.word();   // EXISTS
        }
        return tableNamed(sc.name());
    }
    return of(StatementTarget::WholeDatabase);
}

} // namespace

StatementTarget statementTarget(QStringView sql)
{
    Scanner sc(sql);
    const QString first = sc.word();
    if (first.isEmpty())
        return of(sql.trimmed().isEmpty() ? StatementTarget::Nothing : StatementTarget::WholeDatabase);
    const StatementTarget t = target(sc, first);
    // A script of several statements may change anything of its database.
    if (t.kind != StatementTarget::Anywhere && Scanner(sql).rest({}).anotherStatement)
        return of(StatementTarget::WholeDatabase);
    return t;
}

namespace {

// A table as the record keeps it: the last part of its name, unquoted, in upper case.
QString tableKey(const QString &database, const QString &table)
{
    const QStringList parts = Scanner(table).name();
    return database + u'\n' + (parts.isEmpty() ? table : parts.last()).toUpper();
}

} // namespace

TableChanges::TableChanges() : everywhere_(next()) {}

TableChanges::Stamp TableChanges::next()
{
    static std::atomic<Stamp> last{0};
    return ++last;
}

TableChanges::Stamp TableChanges::stamp(const QString &database, const QString &table) const
{
    return std::max({everywhere_, databases_.value(database), tables_.value(tableKey(database, table))});
}

void TableChanges::changed(const QString &database, const QString &table)
{
    tables_.insert(tableKey(database, table), next());
}

void TableChanges::changedDatabase(const QString &database) { databases_.insert(database, next()); }

void TableChanges::changedEverywhere() { everywhere_ = next(); }

void TableChanges::changedBy(const QString &database, const StatementTarget &target)
{
    switch (target.kind) {
    case StatementTarget::Nothing:
        return;
    case StatementTarget::Table:
        changed(database, target.table);
        return;
    case StatementTarget::WholeDatabase:
        changedDatabase(database);
        return;
    case StatementTarget::Anywhere:
        changedEverywhere();
        return;
    }
}

} // namespace plat
