#include "platform/data/engine/QueryResult.h"

namespace plat {

int QueryResult::columnIndex(const QString &name) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant QueryResult::value(int row, const QString &column) const
{
    const int c = columnIndex(column);
    if (row < 0 || row >= rows.size() || c < 0)
        return {};
    return rows[row].value(c);
}

} // namespace plat
