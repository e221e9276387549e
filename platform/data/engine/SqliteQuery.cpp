#include "platform/data/engine/SqliteQuery.h"

#include "platform/data/engine/Schema.h"

#include "platform/base/FechaHora.h"

#include <sqlite3.h>

namespace plat {

namespace {

bool onlyBlanksAndSemicolons(const char *text)
{
    for (; text && *text; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\r' && *text != '\n' && *text != ';')
            return false;
    }
    return true;
}

int bindParameter(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return sqlite3_bind_null(stmt, index);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return sqlite3_bind_int64(stmt, index, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return sqlite3_bind_double(stmt, index, value.toDouble());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return sqlite3_bind_blob64(stmt, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
    }
    default: {
        if (value.isNull() && value.typeId() != QMetaType::QString)
            return sqlite3_bind_null(stmt, index);
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text64(stmt, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                                   SQLITE_UTF8);
    }
    }
}

// The bound value of a placeholder ":Name" (the map may hold "Name" or ":Name").
const QVariant *paramFor(const QVariantMap &params, const char *placeholder)
{
    const QString name = QString::fromUtf8(placeholder);
    auto it = params.constFind(name);
    if (it == params.cend())
        it = params.constFind(name.mid(1));
    return it == params.cend() ? nullptr : &it.value();
}

QVariant columnValue(sqlite3_stmt *stmt, int column, TFieldType type)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_BLOB: {
        const auto *data = static_cast<const char *>(sqlite3_column_blob(stmt, column));
        return QVariant(QByteArray(data, sqlite3_column_bytes(stmt, column)));
    }
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
        const QByteArrayView bytes(text, sqlite3_column_bytes(stmt, column));
        if (type == ftDateTime || type == ftDate || type == ftTime)
            return storedTextValue(bytes, type);
        return QVariant(QString::fromUtf8(bytes));
    }
    }
}

} // namespace

QVariant storedTextValue(QByteArrayView text, TFieldType type)
{
    switch (type) {
    case ftDateTime: {
        const QDateTime value = FechaHoraISO(text);
        if (value.isValid())
            return value;
        // A date alone followed by anything else is still that date.
        const QDate date = FechaISO(text);
        if (date.isValid())
            return FechaHora(date);
        break;
    }
    case ftDate: {
        const QDate date = FechaISO(text);
        if (date.isValid())
            return date;
        break;
    }
    case ftTime: {
        // A time alone, or the time of a date-time text.
        QTime time = HoraISO(text);
        if (!time.isValid())
            time = FechaHoraISO(text).time();
        if (time.isValid())
            return time;
        break;
    }
    default:
        break;
    }
    return QVariant(QString::fromUtf8(text));
}

SqliteQuery::SqliteQuery(sqlite3 *db, const QString &sql, const QVariantMap &boundParams)
    : db_(db), sql_(sql), params_(boundParams)
{
}

SqliteQuery::~SqliteQuery()
{
    sqlite3_finalize(stmt_);
}

QSqlError SqliteQuery::engineError(const QString &what) const
{
    const int code = sqlite3_extended_errcode(db_);
    return QSqlError(what, QString::fromUtf8(sqlite3_errmsg(db_)), QSqlError::StatementError, QString::number(code));
}

SqliteQuery::Outcome SqliteQuery::prepare()
{
    const QByteArray text = sql_.toUtf8();
    const char *tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &stmt_, &tail) != SQLITE_OK) {
        error_ = engineError(QStringLiteral("Unable to execute statement"));
        return Outcome::Failed;
    }
    if (!stmt_ || !onlyBlanksAndSemicolons(tail))
        return Outcome::NotHandled;

    const int placeholders = sqlite3_bind_parameter_count(stmt_);
    for (int i = 1; i <= placeholders; ++i) {
        const char *name = sqlite3_bind_parameter_name(stmt_, i);
        const QVariant *value = name && name[0] == ':' ? paramFor(params_, name) : nullptr;
        if (!value)
            return Outcome::NotHandled;
        if (bindParameter(stmt_, i, *value) != SQLITE_OK) {
            error_ = engineError(QStringLiteral("Unable to bind parameters"));
            return Outcome::Failed;
        }
    }

    const int count = sqlite3_column_count(stmt_);
    columns_.reserve(count);
    types_.reserve(count);
    for (int i = 0; i < count; ++i) {
        columns_ << QString::fromUtf8(sqlite3_column_name(stmt_, i)).remove(QLatin1Char('"'));
        const char *declared = sqlite3_column_decltype(stmt_, i);
        types_ << (declared ? fieldFromDeclaredType(QString(), QString::fromUtf8(declared)).type : ftUnknown);
    }
    return Outcome::Done;
}

SqliteQuery::Step SqliteQuery::step()
{
    // Stepping a finished statement would run it again from the start.
    if (finished_)
        return Step::End;
    switch (sqlite3_step(stmt_)) {
    case SQLITE_ROW: return Step::Row;
    case SQLITE_DONE:
        finished_ = true;
        return Step::End;
    default:
        finished_ = true;
        error_ = engineError(QStringLiteral("Unable to fetch row"));
        return Step::Failed;
    }
}

QVariant SqliteQuery::value(int column) const
{
    return columnValue(stmt_, column, types_.at(column));
}

SqliteQuery::Outcome SqliteQuery::run(QueryResult &result)
{
    if (const Outcome prepared = prepare(); prepared != Outcome::Done)
        return prepared;
    QueryResult read;
    read.columns = columns_;
    read.types = types_;
    const int count = int(columns_.size());
    for (;;) {
        switch (step()) {
        case Step::End:
            result = std::move(read);
            return Outcome::Done;
        case Step::Failed:
            return Outcome::Failed;
        case Step::Row:
            break;
        }
        QVariantList row;
        row.reserve(count);
        for (int i = 0; i < count; ++i)
            row.emplace_back(columnValue(stmt_, i, types_.at(i)));
        read.rows.emplace_back(std::move(row));
    }
}

} // namespace plat
