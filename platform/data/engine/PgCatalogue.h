#pragma once
#include "platform/data/engine/Catalogue.h"

#include <QHash>
#include <QSet>
#include <memory>
#include <QString>

namespace plat {

// PostgreSQL folds unquoted names and cannot tell the program's declared types apart,
// so every CREATE TABLE and CREATE INDEX run through the layer is recorded in two small
// tables of its own; names, types and indexes are reported from that record. Tables it
// never recorded are reported as the server gives them. The two tables are made in a
// database when the first table is recorded there. The whole record (every table's columns
// and indexes, and with them the declared names) is read once per connection, in one query;
// a table the connection changes is read again alone, in one query that asks the server too,
// and so is one the record did not hold when it was read; a change the connection cannot
// tell the table of, or a roll-back after a change, has the whole record read again. The
// declared names are shared by the session's connections to the database, and read again
// after one of them changes the record or rolls back.
class PgCatalogue : public Catalogue
{
public:
    explicit PgCatalogue(PhysicalConnection &connection);

    void recordTable(const TableDef &def) override;
    // The table made by its `creation` statements and recorded, in one exchange.
    void createAndRecord(const TableDef &def, const QStringList &creation);
    // A CREATE TABLE or CREATE INDEX of the program's run with its record, in one exchange
    // (the transaction's commit in it too when it was asked to go with the statement); false
    // (nothing run) for any other statement.
    bool createRecorded(const QString &sql);
    // A table made by its statements (its CREATE TABLE, then its CREATE INDEXes) and recorded,
    // unless the schema holds a relation of that name, in one exchange whose check runs on
    // the server after whatever the transaction queued before it (the creation's lock), with
    // the commit when it was asked to go with the statement: true when made, false when what
    // was there is left as it was, rows and record.
    bool createUnlessExists(const QString &table, const QStringList &statements);
    void recordStatement(const QString &sql) override;
    void forgetTable(const QString &table) override;

    QStringList tableNames() override;
    QList<FieldDef> columns(const QString &table) override;
    QList<IndexDef> indexes(const QString &table) override;
    // The record read whole once holds the table (or it was read alone already).
    bool holdsColumns(const QString &table) override;
    // A folded name in its declared case (tables and columns); unknown names unchanged.
    QString declaredName(const QString &name) const override;
    // Creates on the server the collations a statement names, case- or
    // accent-insensitive by their "_CI"/"_AI" parts; answers the statement.
    QString withCollations(const QString &sql) override;
    void transactionUndone() override;
    void transactionCommitted() override { changed_ = false; }

    static bool isCatalogueTable(const QString &name);

private:
    // A table as the record (or, unrecorded, the server) gives it.
    struct TableRecord
    {
        QList<FieldDef> columns;
        QList<IndexDef> indexes;
    };
    const TableRecord &record(const QString &table);
    void readWholeRecord();
    TableRecord readTable(const QString &table);
    void forgetRecords();
    void forgetRecord(const QString &table);
    void noteChange();
    void ensureRecordTables();
    void recordCreateTable(const QString &table, const QString &body, const QStringList &creation = {},
                           bool commits = false);
    void recordCreateIndex(const QString &name, const QString &table, const QString &columns, bool unique,
                           const QStringList &creation = {}, bool commits = false);
    // The record's rows of a CREATE TABLE's columns and primary key, and what they hold.
    TableRecord tableRecordOf(const QString &table, const QString &body, QStringList &columnRows,
                              QStringList &indexRows) const;
    // The record's statements of a CREATE INDEX (after the table's other indexes), and the index.
    QString indexRecordOf(const QString &name, const QString &table, const QString &columns, bool unique,
                          IndexDef &ix) const;
    static QString recordStatements(const QString &table, const QStringList &columnRows, const QStringList &indexRows);
    // What was written is what the connection knows of the table from then on.
    void noteWritten(const QString &table, TableRecord written);
    static QString forgetStatements(const QString &table);
    static QString columnRow(const QString &table, int order, const QString &name, const QString &type, bool required);
    static QString indexRow(const QString &table, const QString &order, const IndexDef &ix, const QString &physical);
    void writeRecord(const QString &table, const QStringList &columnRows, const QStringList &indexRows,
                     TableRecord written, const QStringList &creation = {}, bool commits = false);
    // The record's statements and the creation, in one exchange: with `commits`, the one that
    // takes the transaction's commit along (what runs ahead of it does not).
    void runRecorded(const QString &statements, bool commits);
    // A column and an index as a read of the record gives them.
    static FieldDef recordedField(const QString &name, const QString &type, bool required);
    static IndexDef recordedIndex(IndexDef ix);
    void loadNames() const;

    PhysicalConnection &pc_;
    std::shared_ptr<SharedCatalogue> shared_;   // the names, read once for the session's connections
    mutable bool loading_ = false;
    QHash<QString, TableRecord> records_;      // lower table name -> what was read of it
    bool wholeRead_ = false;                   // records_ holds every table the record held when read
    bool changed_ = false;                     // the structure or the record changed in a transaction since the last roll-back
    QSet<QString> collations_;
};

} // namespace plat
