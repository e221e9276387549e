#pragma once
#include "platform/base/TipoCampo.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace plat {

// One column of a table: its field type and size as declared when the table was made.
struct FieldDef
{
    QString name;
    TFieldType type = ftUnknown;
    int size = 0;          // characters for strings; 0 for types without a size
    int precision = 0;     // DECIMAL(p,s) only
    int scale = 0;
    bool required = false;
    QString declaredType;  // the column type as written ("VARCHAR(40)", "DECIMAL(28,8)")
};

// One index. `name` is the logical name the program uses ("Clave1", "Clave2"...);
// `fields` in key order.
struct IndexDef
{
    QString name;
    QStringList fields;
    bool primary = false;
    bool unique = false;
    bool caseInsensitive = false;
    bool descending = false;
};

struct TableDef
{
    QString name;
    QList<FieldDef> fields;
    QList<IndexDef> indexes;  // the primary index, when any, first
};

// The field type and size of a declared column type. Unknown words give ftUnknown.
FieldDef fieldFromDeclaredType(const QString &name, const QString &declaredType);

// The engine-neutral declared column type of a field (the words read back above):
// VARCHAR(n), INTEGER, SMALLINT, DOUBLE, DECIMAL(p,s), DATETIME, DATE, TIME, BOOLEAN,
// WORD, CURRENCY, TEXT for memos, BLOB for binaries, AUTOINC for auto-increment; each
// dialect turns these words into its own column types. Empty for types
// that have no column.
QString declaredTypeOfField(const FieldDef &field);

// Finds by name ignoring case; nullptr when absent.
const FieldDef *findField(const QList<FieldDef> &fields, const QString &name);
const IndexDef *findIndex(const QList<IndexDef> &indexes, const QString &name);

} // namespace plat
