#pragma once
#include "platform/base/TipoCampo.h"

#include <QString>
#include <QVariant>

namespace plat {

// The fields a filter is compiled against. A dataset implements it once per open; the
// filter looks every name up once, at compile time, and keeps the index.
class FilterFields
{
public:
    virtual ~FilterFields() = default;
    // Index of the field whose name equals `name` ignoring case; -1 when there is none.
    virtual int fieldIndex(const QString &name) const = 0;
    virtual TFieldType fieldType(int index) const = 0;
    // The column that holds the field in the SQL source, or empty when the field has none
    // (calculated and look-up fields): conditions on it are then evaluated client-side.
    virtual QString columnName(int index) const = 0;
};

// One record as the filter reads it. A null or invalid QVariant is NULL. Dates may come as
// QDateTime, QDate, QTime or ISO text 'yyyy-mm-dd hh:mm:ss'; numbers as any numeric QVariant.
class FilterRecord
{
public:
    virtual ~FilterRecord() = default;
    virtual QVariant fieldValue(int index) const = 0;
};

} // namespace plat
