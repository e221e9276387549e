#pragma once
#include "platform/data/DataSet.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <utility>

// Small helpers that the parts of DataSet (DataSet*.cpp) share.
namespace plat::datasetdetail {

// "A; B;C" -> {"A", "B", "C"}; empty pieces are left out.
inline QStringList splitNames(const QString &names)
{
    QStringList out;
    for (const QString &piece : names.split(u';')) {
        const QString name = piece.trimmed();
        if (!name.isEmpty())
            out << name;
    }
    return out;
}

inline bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

} // namespace plat::datasetdetail

namespace plat {

// Keeps the current record and state for a scope in which other rows are loaded (a filter
// handler's candidate, the rows a grid draws); they come back on leaving it, however it is
// left.
class DataSet::RecordKept
{
public:
    RecordKept(DataSet &dataSet, DataSetState shownState)
        : dataSet_((dataSet.makeAllValues(), dataSet)), buffer_(dataSet.buffer_), row_(dataSet.currentRow_),
          hasCurrent_(dataSet.hasCurrent_), state_(dataSet.state_)
    {
        dataSet.state_ = shownState;
    }
    ~RecordKept()
    {
        dataSet_.lazy_ = false;
        dataSet_.buffer_ = std::move(buffer_);
        dataSet_.currentRow_ = std::move(row_);
        dataSet_.hasCurrent_ = hasCurrent_;
        dataSet_.state_ = state_;
    }
    RecordKept(const RecordKept &) = delete;
    RecordKept &operator=(const RecordKept &) = delete;

private:
    DataSet &dataSet_;
    QVector<QVariant> buffer_;
    Row row_;
    bool hasCurrent_;
    DataSetState state_;
};

} // namespace plat
