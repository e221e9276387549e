#include "platform/data/QueryDataSet.h"

#include "platform/data/EngineValues.h"

#include "platform/data/SqlVariables.h"
#include "platform/data/ValueText.h"
#include "platform/data/engine/Connection.h"

#include <QRegularExpression>
#include <cmath>
#include <memory>
#include <optional>

#include <algorithm>

namespace plat {

QueryDataSet::QueryDataSet(QString name) : MemoryDataSet(std::move(name)) {}

QueryDataSet::~QueryDataSet() = default;

bool QueryDataSet::canModify() const
{
    return !readOnly() && canWriteBack();
}

void QueryDataSet::closeSource()
{
    reader_.reset();
    values_.reset();
    converters_.reset();
    pending_.clear();
}

void QueryDataSet::findLiveTable(const QList<FieldDef> &defs)
{
    live_ = LiveTarget();
    if (!requestLive_)
        return;
    // One table, no join: "SELECT ... FROM T [WHERE|ORDER|GROUP ...]".
    static const QRegularExpression single(
        QStringLiteral("^\\s*SELECT\\b.*?\\bFROM\\s+([A-Za-z_][\\w.]*)\\s*(?:$|WHERE\\b|ORDER\\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = single.match(sql_);
    if (!m.hasMatch())
        return;
    const QString table = m.captured(1).section(u'.', -1);
    Connection &c = link_.connection();
    const QList<FieldDef> tableColumns = c.columns(table);
    QStringList key;
    for (const IndexDef &index : c.indexes(table))
        if (index.primary)
            key = index.fields;
    if (key.isEmpty())
        return;
    LiveTarget target;
    for (const QString &k : key) {
        int found = -1;
        for (int i = 0; i < defs.size(); ++i)
            if (defs[i].name.compare(k, Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0)
            return;   // without the whole key a row cannot be named
        target.keyColumns << found;
    }
    for (const FieldDef &def : defs)
        target.writable << (plat::findField(tableColumns, def.name) != nullptr);
    target.columns = defs;
    target.table = table;
    live_ = std::move(target);
}

QString QueryDataSet::keyCondition(const Row &row, QVariantMap &params) const
{
    QStringList parts;
    for (int column : live_.keyColumns) {
        const QString name = QStringLiteral("k%1").arg(params.size());
        params.insert(name, row.value(column));
        parts << live_.columns[column].name + QStringLiteral(" = :") + name;
    }
    return parts.join(QStringLiteral(" AND "));
}

int QueryDataSet::writeThrough(const QString &sql, const QVariantMap &params)
{
    if (!canWriteBack())
        fail(QString::fromLatin1(DataSetMessages::readOnlyDataSet));
    return link_.inTransaction([&] { return link_.connection().exec(sql, params, SqlOrigin::AsWritten); });
}

void QueryDataSet::writeInsert(const Row &row)
{
    QStringList names, values;
    QVariantMap params;
    for (int i = 0; i < live_.writable.size(); ++i) {
        if (!live_.writable[i] || (live_.columns[i].type == ftAutoInc && row.value(i).isNull()))
            continue;
        const QString name = QStringLiteral("v%1").arg(i);
        names << live_.columns[i].name;
        values << u':' + name;
        params.insert(name, row.value(i));
    }
    writeThrough(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(live_.table, names.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))),
                 params);
}

void QueryDataSet::writeUpdate(const Row &original, const Row &row)
{
    QStringList sets;
    QVariantMap params;
    for (int i = 0; i < live_.writable.size(); ++i) {
        if (!live_.writable[i] || valuesEqual(original.value(i), row.value(i), false, false))
            continue;
        const QString name = QStringLiteral("v%1").arg(i);
        sets << live_.columns[i].name + QStringLiteral(" = :") + name;
        params.insert(name, row.value(i));
    }
    if (sets.isEmpty())
        return;
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                            .arg(live_.table, sets.join(QStringLiteral(", ")), keyCondition(original, params));
    if (writeThrough(sql, params) == 0)
        fail(QStringLiteral("Record/Key Deleted"));
}

void QueryDataSet::writeDelete(const Row &original)
{
    QVariantMap params;
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE %2").arg(live_.table, keyCondition(original, params));
    writeThrough(sql, params);
}

Bookmark QueryDataSet::cursorInsert(const Row &row)
{
    writeInsert(row);
    return MemoryDataSet::cursorInsert(row);
}

Bookmark QueryDataSet::cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row)
{
    writeUpdate(oldRow, row);
    return MemoryDataSet::cursorUpdate(at, oldRow, row);
}

void QueryDataSet::cursorDelete(const Bookmark &at, const Row &row)
{
    writeDelete(row);
    MemoryDataSet::cursorDelete(at, row);
}

void QueryDataSet::setConnection(Connection *connection)
{
    close();
    if (connection != link_.assigned())
        live_ = LiveTarget();
    link_.setConnection(connection);
}

void QueryDataSet::setDatabaseName(const QString &name)
{
    close();
    if (name != link_.databaseName())
        live_ = LiveTarget();
    link_.setDatabaseName(name);
}

void QueryDataSet::setSql(const QString &sql)
{
    close();
    if (sql != sql_)
        live_ = LiveTarget();
    sql_ = sql;
    QList<Param> listed;
    for (const QString &name : toDriverStatement(sql).names) {
        bool known = false;
        for (const Param &p : listed)
            known = known || p.name.compare(name, Qt::CaseInsensitive) == 0;
        if (!known)
            listed << Param{name, ftUnknown, QVariant()};
    }
    params_ = listed;
}

Param *QueryDataSet::findParam(const QString &name)
{
    for (Param &p : params_)
        if (p.name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

Param &QueryDataSet::paramByName(const QString &name)
{
    if (Param *p = findParam(name))
        return *p;
    fail(QStringLiteral("Parameter '%1' not found").arg(name));
}

Param &QueryDataSet::createParam(TFieldType type, const QString &name)
{
    params_ << Param{name, type, QVariant()};
    return params_.last();
}

QVariant QueryDataSet::paramValue(const Param &param) const
{
    if (param.isNull())
        return QVariant();
    const QVariant &v = param.value;
    switch (param.dataType) {
    case ftString:
    case ftMemo:
        return v.toString();
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc: {
        if (v.typeId() != QMetaType::QString)
            return QVariant(v.toLongLong());
        qint64 n = 0;
        if (!textToInteger(v.toString(), n))
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
        return QVariant(n);
    }
    case ftFloat:
    case ftCurrency:
    case ftBCD: {
        if (v.typeId() != QMetaType::QString)
            return QVariant(v.toDouble());
        double d = 0;
        if (!textToFloat(v.toString(), d))
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
        return QVariant(d);
    }
    case ftDate:
    case ftTime:
    case ftDateTime: {
        if (v.typeId() != QMetaType::QString)
            return v;
        QDateTime dt;
        if (!textToDateTime(v.toString(), param.dataType, dt))
            throw gp::ConversionError(QStringLiteral("'%1' is not a valid date").arg(v.toString()));
        return dt;
    }
    default:
        return v;
    }
}

namespace {

// A variable's value as it reads inside a literal: dates as the engines' own text, numbers
// with a point, NULL as nothing.
QString literalTextOf(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return dt.date().toString(QStringLiteral("yyyy-MM-dd")) + u' ' + dt.time().toString(QStringLiteral("HH:mm:ss"));
    }
    case QMetaType::QDate: return value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime: return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double: return QString::number(value.toDouble(), 'g', 15);
    default: return value.toString();
    }
}

} // namespace

QVariantMap QueryDataSet::boundValues(QString &driverSql) const
{
    const auto findParam = [this](const QString &name) -> const Param * {
        const Param *found = nullptr;
        for (const Param &p : params_)
            if (p.name.compare(name, Qt::CaseInsensitive) == 0)
                found = &p;
        return found;
    };
    const auto listOf = [&](const QString &name) -> std::optional<QStringList> {
        const Param *param = findParam(name);
        if (param && param->value.typeId() == QMetaType::QStringList)
            return param->value.toStringList();
        return std::nullopt;
    };
    const DriverStatement statement = toDriverStatement(
        sql_, QStringLiteral("gp"),
        [&](const QString &name) {
            if (const auto list = listOf(name))
                return list->join(u',');
            const Param *param = findParam(name);
            return param ? literalTextOf(paramValue(*param)) : QString();
        },
        [&](const QString &name) {
            const auto list = listOf(name);
            return list ? int(list->size()) : -1;
        });
    driverSql = statement.sql;
    QVariantMap values;
    for (int i = 0; i < statement.placeholders.size(); ++i) {
        const QString &name = statement.placeholders[i];
        QVariant value;
        if (const auto list = listOf(name))
            value = statement.items[i] < 0 ? QVariant() : QVariant(list->at(statement.items[i]));
        else if (const Param *param = findParam(name))
            value = paramValue(*param);
        values.insert(QStringLiteral("gp%1").arg(i), value);
    }
    return values;
}

int QueryDataSet::execSql()
{
    QString driverSql;
    const QVariantMap values = boundValues(driverSql);
    rowsAffected_ = link_.connection().exec(driverSql, values, origin_);
    return rowsAffected_;
}

bool QueryDataSet::isSingleStatement()
{
    QString driverSql;
    boundValues(driverSql);
    Connection &c = link_.connection();
    return c.dialect().isSingleStatement(origin_ == SqlOrigin::Program ? c.adaptSql(driverSql) : driverSql);
}

QList<FieldDef> QueryDataSet::declaredColumns(const QStringList &names, const QList<TFieldType> &types,
                                              const QList<QVariantList> &rows)
{
    // The tables the statement reads, for their declared column types. A table the catalogue
    // does not hold (made outside the program) is not asked about: the result's description
    // gives its columns' types without an exchange.
    QList<FieldDef> declared;
    static const QRegularExpression tables(QStringLiteral("\\b(?:FROM|JOIN)\\s+([A-Za-z_][\\w.]*)"),
                                           QRegularExpression::CaseInsensitiveOption);
    Connection &c = link_.connection();
    for (auto it = tables.globalMatch(sql_); it.hasNext();) {
        const QString table = it.next().captured(1).section(u'.', -1);
        try {
            if (c.columnsHeld(table))
                declared += c.columns(table);
        } catch (const gp::Error &) {
            // A name that is not a table (a sub-query alias, a function) adds nothing.
        }
    }
    QList<FieldDef> defs;
    for (int i = 0; i < names.size(); ++i) {
        if (const FieldDef *known = plat::findField(declared, names[i])) {
            FieldDef def = *known;
            def.name = names[i];
            def.required = false;
            defs << def;
            continue;
        }
        FieldDef def = fieldDef(names[i], types.value(i));
        if (def.type == ftUnknown) {
            // Computed columns: the type of their first value.
            def.type = ftString;
            for (const QVariantList &row : rows) {
                const QVariant v = row.value(i);
                if (!v.isValid() || v.isNull())
                    continue;
                switch (v.typeId()) {
                case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::ULongLong:
                    def.type = ftInteger; break;
                case QMetaType::Double: def.type = ftFloat; break;
                case QMetaType::QDateTime: case QMetaType::QDate: def.type = ftDateTime; break;
                case QMetaType::Bool: def.type = ftBoolean; break;
                case QMetaType::QByteArray: def.type = ftBlob; break;
                default: def.type = ftString; break;
                }
                break;
            }
        }
        defs << def;
    }
    return defs;
}

QList<FieldDef> QueryDataSet::openSource()
{
    QString driverSql;
    const QVariantMap values = boundValues(driverSql);
    Connection &connection = link_.connection();
    reader_ = readWhole_ || (stepRows_ && connection.engine() == EngineKind::SQLite)
        ? connection.openQuery(driverSql, values, origin_)
        : connection.openReader(driverSql, values, origin_);
    // The first packet of rows; all of them when a column's type can only be told from
    // its values (a computed column whose type the engine does not say).
    const QStringList names = reader_->columns();
    const QList<TFieldType> types = reader_->types();
    const bool typesFromValues = std::any_of(types.begin(), types.end(), [](TFieldType t) { return t == ftUnknown; })
        || types.size() < names.size();
    const QList<QVariantList> first = readRows(typesFromValues ? -1 : packetSize());   // the reader goes when all are read
    const QList<FieldDef> defs = declaredColumns(names, types, first);
    findLiveTable(defs);
    converters_ = std::make_shared<std::vector<std::unique_ptr<Field>>>();
    for (const FieldDef &def : defs)
        converters_->push_back(std::make_unique<Field>(*this, def, FieldKind::Data));
    values_ = std::make_shared<EngineValues>(converters_, types);
    pending_ = convertRows(first);
    return defs;
}

void QueryDataSet::fetchingAll()
{
    if (reader_)
        reader_->readingAll();
}

QList<QVariantList> QueryDataSet::readRows(int count)
{
    QList<QVariantList> rows;
    if (!reader_)
        return rows;
    const int columns = int(reader_->columns().size());
    while (count < 0 || rows.size() < count) {
        if (!reader_->next()) {
            reader_.reset();   // all read: the engine's result goes
            break;
        }
        QVariantList row;
        row.reserve(columns);
        for (int i = 0; i < columns; ++i)
            row << reader_->value(i);
        rows << row;
    }
    return rows;
}

// Values in the types of their fields, as a table gives them.
QVector<Row> QueryDataSet::convertRows(QList<QVariantList> rows) const
{
    // A row read is already a list of values: each is converted where it stands.
    const int columns = int(converters_->size());
    for (QVariantList &row : rows) {
        row.resize(columns);
        for (int i = 0; i < columns; ++i)
            row[i] = (*converters_)[size_t(i)]->convert(row[i]);
    }
    return rows;
}

QVector<Row> QueryDataSet::readConverted(int count)
{
    QVector<Row> rows;
    while (reader_ && (count < 0 || rows.size() < count)) {
        if (!reader_->next()) {
            reader_.reset();   // all read: the engine's result goes
            break;
        }
        rows.append(values_->row(*reader_));
    }
    return rows;
}

bool QueryDataSet::fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids)
{
    qsizetype taken = 0;
    for (; taken < pending_.size() && (count < 0 || taken < count); ++taken)
        ids.append(store.append(std::move(pending_[taken]), width));
    pending_.remove(0, taken);
    const std::shared_ptr<const RowDecoder> decoder = values_;
    while (reader_ && (count < 0 || ids.size() < count)) {
        if (!reader_->next()) {
            reader_.reset();
            break;
        }
        // A row packed is written straight into the store.
        if (const qsizetype size = values_->packedSize(*reader_); size >= 0) {
            char *bytes = nullptr;
            ids.append(store.appendPacked(size, decoder, bytes));
            values_->packInto(bytes);
        } else {
            ids.append(store.append(values_->row(*reader_), width));
        }
    }
    return reader_ != nullptr || !pending_.isEmpty();
}

bool QueryDataSet::fetchRows(int count, QVector<Row> &rows)
{
    rows = std::move(pending_);
    pending_.clear();
    if (count < 0 || rows.size() < count)
        rows += readConverted(count < 0 ? -1 : count - int(rows.size()));
    return reader_ != nullptr;
}

} // namespace plat
