#pragma once
#include "platform/data/DataSet.h"
#include "platform/data/DatabaseLink.h"
#include "platform/data/TableLookups.h"

#include <QMap>
#include <QVariantMap>
#include <optional>

namespace plat {

class Connection;
class Session;

// A table of a database, read in the order of its current index and fetched by pages.
//
// It never loads the whole table: it keeps a window of rows around the current record,
// and moves on by key ("the rows after this key, in index order, LIMIT n"), so opening a
// table of a million rows and showing its first screen reads one page. Ranges, master-
// detail links and filter texts that can be written in SQL are part of every statement.
// Bookmarks are primary-key values. Each post, delete or edit runs in its own short
// transaction (nested in the connection's, when one is open). Look-ups are answered from
// a TableLookups, which a refresh of any dataset of the database ends.
class TableDataSet : public DataSet
{
public:
    explicit TableDataSet(QString name = QString());
    ~TableDataSet() override;

    // Where the table lives: a connection, or a database name that names a connection
    // of the session (or a folder / alias, for which the session makes one).
    void setConnection(Connection *connection);
    Connection *connection() const { return link_.assigned(); }
    void setSession(Session *session) { link_.setSession(session); }
    QString databaseName() const { return link_.databaseName(); }
    void setDatabaseName(const QString &name);
    QString tableName() const { return tableName_; }
    void setTableName(const QString &name);
    bool exclusive() const { return exclusive_; }
    void setExclusive(bool exclusive) { exclusive_ = exclusive; }
    int pageSize() const { return pageSize_; }
    void setPageSize(int rows) { pageSize_ = rows < 2 ? 2 : rows; }

    QList<IndexDef> indexDefs() const override { return indexes_; }
    void updateIndexDefs();

    // The definitions a table is made from (read back from the schema on open): set them
    // on a closed table, then `createTable` makes it, replacing one of that name.
    QList<FieldDef> fieldDefs() const { return fieldDefs_; }
    void setFieldDefs(const QList<FieldDef> &defs) { fieldDefs_ = defs; }
    void setIndexDefs(const QList<IndexDef> &defs) { indexes_ = defs; }
    void createTable();
    void deleteTable();
    void emptyTable();   // every row goes; an open table shows none
    QStringList primaryKeyFields() const { return keyFields_; }
    // Every row's value of the field, when the dataset holds every row it shows as the table
    // stands in the session (its first page read whole, and nothing written to the table
    // since but this dataset's own posts); nullopt when they would have to be read.
    std::optional<QVariantList> heldValues(const QString &field) const;

protected:
    QList<FieldDef> cursorOpen() override;
    void cursorClose() override;
    bool cursorFirst(Row &row) override;
    bool cursorLast(Row &row) override;
    bool cursorNext(Row &row) override;
    bool cursorPrior(Row &row) override;
    bool cursorGoto(const Bookmark &bookmark, Row &row) override;
    Bookmark cursorBookmark(const Row &row) const override;
    bool cursorReread(const Bookmark &bookmark, Row &row) override;
    bool cursorSeek(const QVariantList &values, bool exact, Row &row) override;
    Bookmark cursorInsert(const Row &row) override;
    Bookmark cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row) override;
    void cursorDelete(const Bookmark &at, const Row &row) override;
    void cursorReset() override;
    qint64 cursorCount() override;
    qint64 cursorCountWithoutReading() override { return hasRowConditions() ? count_ : cursorCount(); }
    QVector<Row> cursorRows(qint64 first, int count) override;
    QVector<Row> cursorRowsAfter(const Row *previous, qint64 first, int count) override;
    std::optional<SelectStatement> cursorSelectAfter(const Row *previous, int count, const QList<int> &columns,
                                                    const QString &schema) override;
    std::optional<DatabaseLocation> cursorCommittedSource() const override;
    std::optional<Row> cursorLastRowAfter(const Row *previous, qint64 first, int count) override;
    qint64 cursorPosition(const Row &row) override;
    QStringList cursorSetOrder(const QString &indexName, const QStringList &fields) override;
    bool cursorLocate(const QStringList &fields, const QVariantList &values, LocateOptions options,
                      Row &row) override;
    bool cursorLookup(const QStringList &fields, const QVariantList &values, const QVector<int> &resultColumns,
                      Row &row) override;
    void cursorRefresh() override;
    bool cursorAppliesRange() const override { return true; }
    bool cursorAppliesFilterText() const override { return filterComplete_; }
    void filterCompiled(const CompiledFilter *filter) override;

private:
    struct OrderTerm
    {
        int column;
        QString expression;   // the column, folded for a case-insensitive index
        bool descending;
        bool caseInsensitive;
    };
    class Statement;

    Connection &conn() const;
    QString valueExpression(const OrderTerm &term, const QString &param) const;
    QString termCondition(const OrderTerm &term, const QVariant &value, int relation, Statement &st) const;
    QString keyset(const Row &boundary, int terms, bool after, bool inclusive, Statement &st) const;
    void addConditions(Statement &st) const;
    Statement conditionsAfter(const Row *previous) const;
    QString orderBy(bool reverse) const;
    QString selectText(const Statement &st, bool reverse, int limit, qint64 offset, const QString &columns,
                       const QString &from) const;
    QVector<Row> select(Statement &st, bool reverse, int limit, qint64 offset = 0);
    // The rows with only these columns (the others left null), at most `limit`.
    QVector<Row> selectColumns(Statement &st, const QVector<int> &columns, int limit);
    std::optional<Row> locateRow(const QStringList &fields, const QVariantList &values, LocateOptions options);
    QVector<Row> fetchFrom(const Row *boundary, bool after, int limit);
    bool setWindow(QVector<Row> rows, int position, bool atStart, bool atEnd, Row &row);
    Row normalized(QVariantList values) const;
    QString keyCondition(const QVariantList &key, Statement &st) const;
    bool nullsFirst() const;
    QVector<Row> gridPage(qint64 page);
    // Whether a write can answer the row as stored (`RETURNING`), so that it is not read again.
    bool writesAnswerRows() const;
    // The write run with the row it stored answered; none when it touched no row.
    std::optional<Row> writtenRow(const QString &sql, const QVariantMap &params);
    void holdWritten(const std::optional<Row> &stored);
    // The first page, when it is every row the dataset shows and the table is unchanged since it was read.
    std::optional<QVector<Row>> everyRowHeld() const;
    // After a post of this dataset: the rows held before it with the row as stored put at its
    // place (the row it replaced taken out), as the first page and window, so that neither
    // the grid nor the record reads them again. False (nothing kept) when the row's place
    // or whether the dataset shows it cannot be told without the server.
    bool holdWithWritten(QVector<Row> rows, const Row &stored, const std::optional<Bookmark> &replaced);
    // The order of two rows in the current index; nullopt when only the server can tell
    // (texts that differ, which its collation orders, or a NULL against a value).
    std::optional<int> compareInOrder(const Row &a, const Row &b) const;
    bool showsRow(const Row &row) const;

    mutable DatabaseLink link_;
    QString tableName_;
    bool exclusive_ = false;
    int pageSize_ = 100;
    QList<FieldDef> fieldDefs_;
    QList<IndexDef> indexes_;
    QStringList keyFields_;
    QVector<int> keyColumns_;
    QString columnList_;
    QVector<OrderTerm> order_;
    QString filterSql_;          // the filter's SQL condition (may select more than it)
    bool filterComplete_ = false;   // the condition is the whole filter

    QVector<Row> window_;
    int position_ = -1;
    bool windowAtStart_ = false, windowAtEnd_ = false;
    qint64 count_ = -1;
    QMap<qint64, QVector<Row>> gridPages_;
    TableChanges::Stamp firstPageStamp_ = 0;   // the table's stamp when page 0 was read
    TableLookups lookups_;
};

} // namespace plat
