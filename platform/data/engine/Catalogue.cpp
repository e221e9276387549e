#include "platform/data/engine/Catalogue.h"

#include "platform/data/engine/EngineErrors.h"
#include "platform/data/engine/PhysicalConnection.h"

#include <QSqlField>
#include <QSqlRecord>

namespace plat {

QStringList DriverCatalogue::tableNames()
{
    return pc_.database().tables(QSql::Tables);
}

QList<FieldDef> DriverCatalogue::columns(const QString &table)
{
    const QSqlRecord rec = pc_.database().record(table);
    if (rec.isEmpty())
        throw engineFailure(EngineText::TableDoesNotExist, table);
    QList<FieldDef> out;
    for (int i = 0; i < rec.count(); ++i) {
        FieldDef f;
        f.name = rec.fieldName(i);
        f.required = rec.field(i).requiredStatus() == QSqlField::Required;
        out << f;
    }
    return out;
}

} // namespace plat
