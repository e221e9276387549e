#pragma once
#include "platform/base/TipoCampo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace plat {

// The rows a query answered, with the column names in their declared case. Date-time
// columns come back as QDateTime (QDate for DATE), texts as QString, NULL as an
// invalid QVariant.
struct QueryResult
{
    QStringList columns;
    QList<TFieldType> types;      // ftUnknown where the engine does not say
    QList<QVariantList> rows;

    int columnIndex(const QString &name) const;   // ignoring case; -1 when absent
    QVariant value(int row, const QString &column) const;
    bool isEmpty() const { return rows.isEmpty(); }
};

} // namespace plat
