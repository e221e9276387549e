#pragma once
#include "platform/data/MemoryDataSet.h"

namespace plat {

class ClientDataSet;

// Hands the rows of a dataset (usually a query) to a client dataset, packet by packet.
// It opens its dataset when it is closed; when it was closed between two packets it is
// reopened and the rows already handed over are skipped.
class DataSetProvider
{
public:
    explicit DataSetProvider(DataSet *dataSet = nullptr) : dataSet_(dataSet) {}
    DataSet *dataSet() const { return dataSet_; }
    void setDataSet(DataSet *dataSet);
    // Rows pass through: a dataset kept in memory (a query) hands the rows it has not read
    // yet straight to the client without keeping them (it then ends at the rows it had),
    // where its order and conditions allow; otherwise the rows are walked and copied.
    bool passThrough() const { return passThrough_; }
    void setPassThrough(bool on) { passThrough_ = on; }

    QList<FieldDef> fieldDefs();
    // Up to `count` rows (all when count < 0) following those already handed over;
    // false when there were none left.
    bool fetch(int count, QVector<Row> &rows);
    // The same rows kept straight in `store`, `width` values each, when they can pass through
    // as their dataset keeps them; false (nothing taken) otherwise.
    bool fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids, bool &more);
    void reset();   // the next fetch starts again from the first row

    // Writes the client's kept changes through its dataset, a query that can write its rows
    // back by key (a live one, open or closed since), in one transaction of the query's
    // connection; after the commit the client forgets them. A failure rolls every write back,
    // leaves the changes kept and goes on to the caller.
    void applyUpdates(ClientDataSet &client);

private:
    void ensureOpen();

    DataSet *dataSet_;
    qint64 delivered_ = 0;
    bool started_ = false;
    bool passThrough_ = false;
};

// A dataset that keeps its rows in memory: fed by a provider (in packets of
// `packetRecords` rows, -1 = all at once) or created empty from field definitions.
// Its rows, filter and bookmarks stay valid after the provider's query closes; edits stay
// in memory and are kept as changes until they are applied (`applyUpdates`) or the rows
// are dropped. Stored columns of its own (`addStoredField`) hold calculated values.
class ClientDataSet : public MemoryDataSet
{
public:
    using MemoryDataSet::MemoryDataSet;

    // A row changed since it arrived: the row as it arrived (none for an inserted one) and
    // as it is now (none for a deleted one), each with the provider's columns only.
    enum class ChangeKind { Inserted, Modified, Deleted };
    struct Change
    {
        ChangeKind kind;
        Row original;
        Row current;
    };
    // In the order the rows were first changed; an inserted row edited again stays one
    // insertion, an inserted row deleted is no change.
    QVector<Change> changes() const;
    int changeCount() const { return int(changeOrder_.size()); }
    // The changes are written (or are to be forgotten): the rows stay as they are.
    void mergeChangeLog();
    // Through the provider (see DataSetProvider::applyUpdates).
    void applyUpdates();

    void setProvider(DataSetProvider *provider) { provider_ = provider; }
    DataSetProvider *provider() const { return provider_; }
    int packetRecords() const { return packetRecords_; }
    void setPacketRecords(int count) { packetRecords_ = count == 0 ? -1 : count; }

    // Without a provider: the columns of an empty dataset (CreateDataSet).
    void setFieldDefs(const QList<FieldDef> &defs) { ownDefs_ = defs; }
    void createDataSet();
    // A column the dataset stores beside the provider's ones, written like any field.
    void addStoredField(const QString &name, TFieldType type, int size = 0);
    // Drops the rows read so far; the next open reads the provider again.
    void emptyRows();

protected:
    QList<FieldDef> openSource() override;
    bool fetchRows(int count, QVector<Row> &rows) override;
    bool fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids) override;
    int packetSize() const override { return packetRecords_; }
    bool keepRowsWhenClosed() const override { return false; }
    Bookmark cursorInsert(const Row &row) override;
    Bookmark cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row) override;
    void cursorDelete(const Bookmark &at, const Row &row) override;
    void cursorClose() override;

private:
    Row providerPart(const Row &row) const;

    DataSetProvider *provider_ = nullptr;
    int packetRecords_ = -1;
    QList<FieldDef> ownDefs_;
    QList<FieldDef> storedDefs_;
    int providerColumns_ = 0;
    QHash<qint64, Change> changeOf_;   // by row number
    QVector<qint64> changeOrder_;
};

} // namespace plat
