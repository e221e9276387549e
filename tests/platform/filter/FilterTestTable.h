#pragma once
// A small in-memory field layout and record for the filter tests.
#include "platform/data/filter/FilterExpression.h"

#include <QVariant>

#include <vector>

namespace filtertest {

struct Column
{
    QString name;
    TFieldType type;
    bool calculated = false;
};

class Fields : public plat::FilterFields
{
public:
    explicit Fields(std::vector<Column> columns) : columns_(std::move(columns)) {}
    int fieldIndex(const QString &name) const override
    {
        for (size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        return -1;
    }
    TFieldType fieldType(int index) const override { return columns_[size_t(index)].type; }
    QString columnName(int index) const override
    {
        return columns_[size_t(index)].calculated ? QString() : columns_[size_t(index)].name;
    }
    const std::vector<Column> &columns() const { return columns_; }

private:
    std::vector<Column> columns_;
};

class Record : public plat::FilterRecord
{
public:
    explicit Record(std::vector<QVariant> values) : values_(std::move(values)) {}
    QVariant fieldValue(int index) const override { return values_.at(size_t(index)); }

private:
    std::vector<QVariant> values_;
};

inline QVariant nullValue(QMetaType::Type type)
{
    return QVariant(QMetaType(type));
}

// Parses, compiles and evaluates in one step.
inline bool accepts(const QString &filter, const Fields &fields, const Record &record,
                    const plat::FilterOptions &options = {})
{
    return plat::FilterExpression(filter).compile(fields, options).accepts(record);
}

} // namespace filtertest
