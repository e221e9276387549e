#pragma once
#include "platform/data/engine/Catalogue.h"

#include <QHash>
#include <QSet>
#include <QString>

namespace plat {

// PostgreSQL folds unquoted names and cannot tell the program's declared types apart,
// so every CREATE TABLE and CREATE INDEX run through the layer is recorded in two small
// tables of its own; names, types and indexes are reported from that record. Tables it
// never recorded are reported as the server gives them.
class PgCatalogue : public Catalogue
{
public:
    explicit PgCatalogue(PhysicalConnection &connection);

    // Makes the two record tables when they are missing.
    void prepare() override;
    void recordTable(const TableDef &def) override;
    void recordStatement(const QString &sql) override;
    void forgetTable(const QString &table) override;

    QStringList tableNames() override;
    QList<FieldDef> columns(const QString &table) override;
    QList<IndexDef> indexes(const QString &table) override;
    // A folded name in its declared case (tables and columns); unknown names unchanged.
    QString declaredName(const QString &name) const override;
    // Creates on the server the collations a statement names, case- or
    // accent-insensitive by their "_CI"/"_AI" parts; answers the statement.
    QString withCollations(const QString &sql) override;

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
