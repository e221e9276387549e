#include "platform/data/QueryDataSet.h"

#include "platform/data/SqlVariables.h"
#include "platform/data/ValueText.h"
#include "platform/data/engine/Connection.h"

#include <QRegularExpression>
#include <cmath>
#include <memory>

namespace plat {

QueryDataSet::QueryDataSet(QString name) : MemoryDataSet(std::move(name))
{
    setReadOnly(true);
}

void QueryDataSet::setConnection(Connection *connection)
{
    close();
    link_.setConnection(connection);
}

void QueryDataSet::setDatabaseName(const QString &name)
{
    close();
    link_.setDatabaseName(name);
}

void QueryDataSet::setSql(const QString &sql)
{
    close();
    sql_ = sql;
    QList<Param> listed;
    for (const QString &name : toDriverStatement(sql).placeholders) {
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

QVariantMap QueryDataSet::boundValues(QString &driverSql) const
{
    const DriverStatement statement = toDriverStatement(sql_, QStringLiteral("gp"));
    driverSql = statement.sql;
    QVariantMap values;
    for (int i = 0; i < statement.placeholders.size(); ++i) {
        const QString &name = statement.placeholders[i];
        const Param *param = nullptr;
        for (const Param &p : params_)
            if (p.name.compare(name, Qt::CaseInsensitive) == 0)
                param = &p;
        values.insert(QStringLiteral("gp%1").arg(i), param ? paramValue(*param) : QVariant());
    }
    return values;
}

int QueryDataSet::execSql()
{
    QString driverSql;
    const QVariantMap values = boundValues(driverSql);
    rowsAffected_ = link_.connection().exec(driverSql, values, SqlOrigin::AsWritten);
    return rowsAffected_;
}

QList<FieldDef> QueryDataSet::declaredColumns(const QStringList &names, const QList<TFieldType> &types,
                                              const QList<QVariantList> &rows)
{
    // The tables the statement reads, for their declared column types.
    QList<FieldDef> declared;
    static const QRegularExpression tables(QStringLiteral("\\b(?:FROM|JOIN)\\s+([A-Za-z_][\\w.]*)"),
                                           QRegularExpression::CaseInsensitiveOption);
    Connection &c = link_.connection();
    for (auto it = tables.globalMatch(sql_); it.hasNext();) {
        const QString table = it.next().captured(1);
        try {
            declared += c.columns(table.section(u'.', -1));
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
    const QueryResult result = link_.connection().query(driverSql, values, SqlOrigin::AsWritten);
    const QList<FieldDef> defs = declaredColumns(result.columns, result.types, result.rows);
    pending_.clear();
    pending_.reserve(result.rows.size());
    // Values in the types of their fields, as a table gives them.
    std::vector<std::unique_ptr<Field>> converters;
    for (const FieldDef &def : defs)
        converters.push_back(std::make_unique<Field>(*this, def, FieldKind::Data));
    for (const QVariantList &values : result.rows) {
        Row row(int(defs.size()));
        for (int i = 0; i < row.size(); ++i)
            row[i] = converters[size_t(i)]->convert(values.value(i));
        pending_ << row;
    }
    return defs;
}

bool QueryDataSet::fetchRows(int, QVector<Row> &rows)
{
    rows = std::move(pending_);
    pending_.clear();
    return false;
}

} // namespace plat
