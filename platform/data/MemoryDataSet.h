#pragma once
#include "platform/data/DataSet.h"
#include "platform/data/RowStore.h"

namespace plat {

// Rows kept in memory: the base of query results and of the cached client dataset.
// Rows may arrive in packets (`fetchRows`); bookmarks are row numbers that stay valid
// while the rows are kept. The order is the arrival order, or the fields of
// `setIndexFieldNames` (which first reads every row).
class MemoryDataSet : public DataSet
{
public:
    using DataSet::DataSet;

    // For a provider that copies the rows elsewhere: up to `count` rows (all when count < 0)
    // from the `from`-th (0-based, arrival order), the values of the source's columns. Rows
    // the dataset has not read yet come straight from its source and are not kept here: the
    // dataset then ends at the rows it had read. False when the rows cannot be taken so (an
    // order, a filter or a range applies); `more` tells whether rows remain.
    bool passRowsOn(qint64 from, int count, QVector<Row> &rows, bool &more);
    // The same rows kept straight in another dataset's `store` (their numbers added to
    // `ids`), `width` values each: rows not read yet go as the source keeps them (packed
    // where it can), never made into values on the way.
    bool passRowsInto(qint64 from, int count, RowStore &store, int width, QVector<qint64> &ids, bool &more);

protected:
    // The source of the rows: columns at open, then packets of rows.
    virtual QList<FieldDef> openSource() = 0;
    virtual void closeSource() {}
    // Appends up to `count` further rows (count < 0: all of them); false when no more.
    virtual bool fetchRows(int count, QVector<Row> &rows) = 0;
    // The same rows kept straight in `store` (their numbers added to `ids`), `width` values
    // each; by default through fetchRows.
    virtual bool fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids);
    virtual int packetSize() const { return -1; }
    // Every row of the source is about to be fetched, packet after packet.
    virtual void fetchingAll() {}
    // Whether the rows stay after the dataset is closed and reopened.
    virtual bool keepRowsWhenClosed() const { return false; }

    QList<FieldDef> cursorOpen() override;
    void cursorClose() override;
    bool cursorFirst(Row &row) override;
    bool cursorLast(Row &row) override;
    bool cursorNext(Row &row) override;
    bool cursorPrior(Row &row) override;
    bool cursorGoto(const Bookmark &bookmark, Row &row) override;
    Bookmark cursorBookmark(const Row &row) const override;
    bool cursorSeek(const QVariantList &values, bool exact, Row &row) override;
    QVariant cursorPackedValue(qint64 rowNumber, int column) const override;
    void cursorUnpack(Row &row) const override;
    Bookmark cursorInsert(const Row &row) override;
    Bookmark cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row) override;
    void cursorDelete(const Bookmark &at, const Row &row) override;
    void cursorReset() override;
    qint64 cursorCount() override;
    qint64 cursorCountWithoutReading() override { return exhausted_ || passedOn_ > 0 ? cursorCount() : -1; }
    QVector<Row> cursorRows(qint64 first, int count) override;
    std::optional<qsizetype> cursorVisitStoredValues(qint64 first, int count, const QList<int> &columns,
                                                     const StoredRows::Take &take) override;
    qint64 cursorPosition(const Row &row) override;
    QStringList cursorSetOrder(const QString &indexName, const QStringList &fields) override;

    void discardRows();

private:
    bool loadPacket();
    // Reads and drops source rows until `upTo` of them have been handed over.
    void skipPassedOn(qint64 upTo);
    void loadAll();
    void rebuildVisible();
    bool rowAt(qint64 position, Row &row);
    bool ordered() const { return !orderFields_.isEmpty(); }
    bool lessThan(qint64 a, qint64 b) const;
    int width() const { return int(columns().size()); }

    RowStore store_;
    RowOrder visible_;   // the rows shown, in the current order, conditions applied
    QVector<int> orderColumns_;
    QStringList orderFields_;
    qint64 position_ = -1;
    bool exhausted_ = false;
    bool hasRows_ = false;
    qint64 passedOn_ = 0;   // source rows handed to a provider without being kept
};

} // namespace plat
