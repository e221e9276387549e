#pragma once
#include "platform/data/engine/Schema.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace plat {

class PhysicalConnection;

// PostgreSQL folds unquoted names and cannot tell the program's declared types apart,
// so every CREATE TABLE and CREATE INDEX run through the layer is recorded in two small
// tables of its own; names, types and indexes are reported from that record. Tables it
// never recorded are reported as the server gives them.
class PgCatalogue
{
public:
    explicit PgCatalogue(PhysicalConnection &connection);

    void ensureTables();
    void recordTable(const TableDef &def);
    // A statement that ran: CREATE TABLE / CREATE INDEX / DROP TABLE / DROP INDEX.
    void recordStatement(const QString &sql);
    void forgetTable(const QString &table);

    QStringList tableNames();
    QList<FieldDef> columns(const QString &table);
    QList<IndexDef> indexes(const QString &table);
    // A folded name in its declared case (tables and columns); unknown names unchanged.
    QString declaredName(const QString &name) const;
    // Creates on the server the collations a statement names, case- or
    // accent-insensitive by their "_CI"/"_AI" parts; answers the statement.
    QString withCollations(const QString &sql);

    static bool isCatalogueTable(const QString &name);

private:
    void recordCreateTable(const QString &table, const QString &body);
    void recordCreateIndex(const QString &name, const QString &table, const QString &columns, bool unique);
    void insertIndex(const QString &table, int order, const IndexDef &ix, const QString &physical);
    void loadNames() const;
    QList<FieldDef> serverColumns(const QString &table);
    QList<IndexDef> serverIndexes(const QString &table);

    PhysicalConnection &pc_;
    mutable QHash<QString, QString> names_;  // lower -> declared
    mutable bool namesLoaded_ = false;
    mutable bool loading_ = false;
    QSet<QString> collations_;
};

} // namespace plat
