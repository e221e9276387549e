#pragma once
#include "platform/base/Errores.h"
#include "platform/data/DataSetNotifier.h"
#include "platform/data/Field.h"
#include "platform/data/engine/DatabaseLocation.h"
#include "platform/data/filter/FilterExpression.h"

#include <QFlags>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace plat {

enum class DataSetState { Inactive, Browse, Edit, Insert, SetKey, CalcFields, Filter };
enum class DataAction { Fail, Abort, Retry };

enum class LocateOption { CaseInsensitive = 0x1, PartialKey = 0x2 };
Q_DECLARE_FLAGS(LocateOptions, LocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(LocateOptions)

// The values of one source row, in column order (data fields only).
using Row = QVector<QVariant>;

// A SELECT of the engine with its named parameters.
struct SelectStatement
{
    QString sql;
    QVariantMap params;
};

// A record's identity: the values of the table's primary key (or, in memory, a row
// number). Valid on every dataset over the same table, and after a refresh.
struct Bookmark
{
    QVariantList key;
    bool isValid() const { return !key.isEmpty(); }
    bool operator==(const Bookmark &other) const { return key == other.key; }
};

// A condition range on the leading fields of the current index (inclusive ends).
struct KeyRange
{
    QVariantList start;
    QVariantList end;
    bool isActive() const { return !start.isEmpty() || !end.isEmpty(); }
};

// The messages of dataset misuse, exactly as the program compares them.
namespace DataSetMessages {
inline const char *notEditing = "Dataset not in edit or insert mode";
inline const char *emptyDataSet = "Cannot perform this operation on an empty dataset";
inline const char *closedDataSet = "Cannot perform this operation on a closed dataset";
inline const char *noIndex = "No index currently active";
inline const char *readOnlyDataSet = "Cannot modify a read-only dataset";
inline const char *typeMismatch = "Type mismatch in expression";
QString mustHaveValue(const QString &fieldName);   // "Field '<name>' must have a value"
QString fieldNotFound(const QString &fieldName);   // "Field '<name>' not found"
} // namespace DataSetMessages

// One dataset abstraction for tables, queries and cached client datasets.
//
// Records are reached through a cursor that each kind of dataset supplies (the protected
// `cursor...` functions); this class holds the fields, the current record buffer, the
// state machine and its events, ranges, filters, look-ups and the master-detail link.
//
// Events are plain assignable members; `if (ds.AfterPost)` tells whether one is assigned.
// A gp::Abort thrown from a Before... event (or OnNewRecord) cancels the operation, leaves
// the dataset as it was and goes on to the caller, which ignores it without a message.
//
// Grids: `rowCount()`, `rowValues(first, n)` (values of every field, calculated ones too,
// of rows first..first+n-1 in the current order), `currentRow()` and `moveToRow(i)` never
// walk the whole table on a table dataset (it reads pages by key). Listen to `notifier()`.
//
// The implementation is split along the sections below: DataSet.cpp (fields, buffer,
// notifications, open and close), DataSetNavigation.cpp (moves, bookmarks, locate),
// DataSetEditing.cpp, DataSetKeys.cpp (indexes, keys, ranges, filter, master-detail) and
// DataSetGrid.cpp.
class DataSet
{
public:
    explicit DataSet(QString name = QString());
    virtual ~DataSet();
    DataSet(const DataSet &) = delete;
    DataSet &operator=(const DataSet &) = delete;

    const QString &name() const { return name_; }
    void setName(const QString &name) { name_ = name; }
    int tag = 0;
    DataSetNotifier *notifier() const { return notifier_.get(); }

    // Open and close.
    void open();
    void close();
    bool active() const { return state_ != DataSetState::Inactive; }
    void setActive(bool active) { active ? open() : close(); }
    DataSetState state() const { return state_; }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
    virtual bool canModify() const { return !readOnly_; }

    // Fields: data fields in column order, then calculated and look-up fields.
    int fieldCount() const { return int(fields_.size()); }
    Field &field(int index) const;
    Field *findField(const QString &name) const;          // ignoring case; null when none
    Field &fieldByName(const QString &name) const;       // raises "Field 'x' not found"
    QStringList fieldNames() const;
    // Field::setIndex: the field goes to `index`, the ones between shift by one.
    void moveField(Field &field, int index);
    Field &addCalculatedField(const QString &name, TFieldType type, int size = 0);
    Field &addLookupField(const QString &name, TFieldType type, int size, const QString &keyFields,
                          DataSet &lookupDataSet, const QString &lookupKeyFields,
                          const QString &lookupResultField);
    bool modified() const { return modified_; }

    // Navigation.
    void first();
    void last();
    void next();
    void prior();
    qint64 moveBy(qint64 distance);
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const;
    qint64 recordCount();

    // Editing.
    void append();
    void insert();
    // Whether the record being inserted came from append (shown after the last record).
    bool appending() const { return appending_ && state_ == DataSetState::Insert; }
    void edit();
    void post();
    void cancel();
    void remove();   // the class library's Delete
    void refresh();
    void checkBrowseMode();

    // Bookmarks.
    Bookmark bookmark() const;
    void gotoBookmark(const Bookmark &bookmark);
    bool bookmarkValid(const Bookmark &bookmark);

    // Indexes and keys.
    virtual QList<IndexDef> indexDefs() const { return {}; }
    QString indexName() const { return indexName_; }
    void setIndexName(const QString &name);
    QString indexFieldNames() const;                    // ";"-separated fields of the current order
    void setIndexFieldNames(const QString &fields);     // order by these fields
    int indexFieldCount() const { return int(indexFields().size()); }
    int keyFieldCount() const { return indexFieldCount(); }
    QStringList indexFields() const { return currentIndexFields_; }

    // Search on the leading fields of the current index: exact, or the first record at
    // or after the values. `setKey` + field assignments + `gotoKey` is the same.
    bool findKey(const QVariantList &values);
    void findNearest(const QVariantList &values);
    void setKey();
    bool gotoKey();
    void gotoNearest();

    // Ranges on the leading fields of the current index. One set on a dataset not open yet
    // is kept for its opening, which then reads only the range's rows (and drops it when
    // the order it opens in has no fields).
    void setRange(const QVariantList &start, const QVariantList &end);
    void cancelRange();
    const KeyRange &range() const { return range_; }

    // Locate: fields ";"-separated, one value per field.
    bool locate(const QString &fields, const QVariant &values, LocateOptions options = {});
    QVariant lookup(const QString &keyFields, const QVariant &keyValues, const QString &resultFields);

    // Filter text in the program's filter syntax, and its switch; OnFilterRecord applies
    // while `filtered()` too. The text is read (and a malformed one or a value that does
    // not fit its field raised) when filtering is on and the dataset open; tables write
    // it into their SQL where they can. A failed change leaves the previous filter.
    QString filter() const { return filterText_; }
    void setFilter(const QString &text);
    bool filtered() const { return filtered_; }
    void setFiltered(bool on);
    FilterOptions filterOptions() const { return filterOptions_; }
    void setFilterOptions(const FilterOptions &options);

    // Master-detail: this dataset shows the records whose leading index fields equal the
    // master's `masterFields` (";"-separated) of its current record.
    void setMasterSource(DataSet *master, const QString &masterFields);
    DataSet *masterSource() const { return master_; }
    QString masterFields() const { return masterFields_; }

    void disableControls();
    void enableControls();
    // The fields show differently (a format or a get-text hook assigned after opening): the
    // controls show the rows and the current record again.
    void redisplay();
    bool controlsDisabled() const { return controlsDisabled_ > 0; }

    // For grids (see the class comment).
    qint64 rowCount();
    // The row count where it comes without reading the rows into memory (a table counts
    // in SQL; a query has read them all already); -1 otherwise.
    qint64 rowCountWithoutReading();
    QVector<QVariantList> rowValues(qint64 first, int count);
    QVector<QStringList> rowDisplayTexts(qint64 first, int count);   // through OnGetText
    qint64 currentRow();
    void moveToRow(qint64 row);

    // The stored values of the rows the dataset shows, in the current order, read a batch at
    // a time without making any of them the current record (no calculated field is computed):
    // for writing rows out. Each row holds the values of the given data fields, in that order.
    class StoredRows
    {
    public:
        StoredRows(DataSet &dataSet, const QList<int> &fieldIndexes);
        // The next `count` rows; fewer at the end.
        QVector<QVariantList> next(int count);
        // The same rows handed one at a time to `take`, each as the values of the fields in
        // their order, valid during the call only: no list is made for a row. `take` answers
        // whether to go on (a walk it stops is over). Answers how many rows were handed.
        using Take = std::function<bool(const QVariant *values)>;
        qsizetype visit(int count, const Take &take);
        // The SELECT of the engine that answers the next `count` rows as `next` would, the
        // table read from the attached `schema`, when SQL alone decides which rows the
        // dataset shows; none otherwise. `skip` then moves past the rows it answered.
        std::optional<SelectStatement> nextSelect(int count, const QString &schema);
        void skip(int count);
        // Where the dataset's rows are stored, when they can be read by another connection
        // as they are now (a table of a database with no transaction open on its rows).
        std::optional<DatabaseLocation> committedSource() const;

    private:
        DataSet &dataSet_;
        QList<int> columns_;
        bool wholeRows_ = false;
        qint64 read_ = 0;
        Row last_;
    };

    // Events.
    using Event = std::function<void(DataSet &)>;
    using ErrorEvent = std::function<void(DataSet &, const gp::Error &, DataAction &)>;
    Event BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    Event BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    Event BeforePost, AfterPost, BeforeCancel, AfterCancel;
    Event BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    Event OnNewRecord, OnCalcFields, BeforeRefresh, AfterRefresh;
    std::function<void(DataSet &, bool &accept)> OnFilterRecord;
    ErrorEvent OnPostError, OnDeleteError, OnEditError;
    // Called before a grid's rows are read (`rowValues`, `rowDisplayTexts`); what it gives
    // is held until they have been: calculated fields that share one costly reading (the
    // rows of one parent, say) may keep it for the rows read together.
    std::function<std::shared_ptr<void>(DataSet &)> OnReadRows;

    // Used by fields.
    QVariant fieldValue(const Field &field) const { return heldValue(field); }
    // The same value where the record holds it, valid until the record changes.
    const QVariant &heldValue(const Field &field) const;
    void setFieldValue(Field &field, const QVariant &value);
    QVariant oldFieldValue(const Field &field) const;

protected:
    // --- The cursor each kind of dataset supplies -------------------------------------
    // Opens the source and answers its columns (declared types and sizes).
    virtual QList<FieldDef> cursorOpen() = 0;
    virtual void cursorClose() = 0;
    // Move within the current order (index, range, filter applied: see `acceptsRow`)
    // and load the row reached; false (and the cursor where it was) when there is none.
    virtual bool cursorFirst(Row &row) = 0;
    virtual bool cursorLast(Row &row) = 0;
    virtual bool cursorNext(Row &row) = 0;
    virtual bool cursorPrior(Row &row) = 0;
    // Exact record by bookmark, whether or not it is within the current conditions.
    virtual bool cursorGoto(const Bookmark &bookmark, Row &row) = 0;
    virtual Bookmark cursorBookmark(const Row &row) const = 0;
    // The record as stored now (an edit starts from it); by default as `cursorGoto`.
    virtual bool cursorReread(const Bookmark &bookmark, Row &row) { return cursorGoto(bookmark, row); }
    // First record whose leading `values.size()` index fields are >= values (nearest) or
    // == values (exact) in the current order.
    virtual bool cursorSeek(const QVariantList &values, bool exact, Row &row) = 0;
    // Rows written through; each answers the bookmark of the written record.
    virtual Bookmark cursorInsert(const Row &row);
    virtual Bookmark cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row);
    virtual void cursorDelete(const Bookmark &at, const Row &row);
    // Forget every cached row (conditions or data changed).
    virtual void cursorReset() = 0;
    virtual qint64 cursorCount() = 0;
    virtual qint64 cursorCountWithoutReading() { return -1; }
    virtual QVector<Row> cursorRows(qint64 first, int count) = 0;
    // The same rows when `previous`, if given, is row first - 1: a cursor that reads by key
    // starts after it.
    virtual QVector<Row> cursorRowsAfter(const Row *previous, qint64 first, int count)
    {
        Q_UNUSED(previous);
        return cursorRows(first, count);
    }
    // A move that only makes the row reached the current record welcomes a packed answer:
    // a cursor that keeps the row as bytes may then answer its number alone and say so
    // (`answeredPacked`), leaving the row out empty; the record then holds that number as
    // its row, makes each value when it is first read (`cursorPackedValue`), and the whole
    // row (`cursorUnpack`) before anything else uses it.
    bool packedRowWelcome() const { return packedWelcome_; }
    void answeredPacked(qint64 rowNumber)
    {
        answeredPacked_ = true;
        packedRow_ = rowNumber;
    }
    virtual QVariant cursorPackedValue(qint64 rowNumber, int column) const
    {
        Q_UNUSED(rowNumber);
        Q_UNUSED(column);
        return QVariant();
    }
    virtual void cursorUnpack(Row &row) const { Q_UNUSED(row); }

    // What `StoredRows::nextSelect` and `committedSource` answer for this kind of dataset.
    virtual std::optional<SelectStatement> cursorSelectAfter(const Row *previous, int count, const QList<int> &columns,
                                                            const QString &schema)
    {
        Q_UNUSED(previous);
        Q_UNUSED(count);
        Q_UNUSED(columns);
        Q_UNUSED(schema);
        return std::nullopt;
    }
    virtual std::optional<DatabaseLocation> cursorCommittedSource() const { return std::nullopt; }
    // What `StoredRows` reads, the values of `columns` of the shown rows from the `first`-th
    // handed a row at a time to `take` (see StoredRows::visit), where the cursor reads them
    // without making whole rows: how many rows were handed; none otherwise.
    virtual std::optional<qsizetype> cursorVisitStoredValues(qint64 first, int count, const QList<int> &columns,
                                                             const StoredRows::Take &take)
    {
        Q_UNUSED(first);
        Q_UNUSED(count);
        Q_UNUSED(columns);
        Q_UNUSED(take);
        return std::nullopt;
    }
    // The last of the `count` rows `cursorRowsAfter` answers, when there are that many.
    virtual std::optional<Row> cursorLastRowAfter(const Row *previous, qint64 first, int count)
    {
        const QVector<Row> rows = cursorRowsAfter(previous, first, count);
        return rows.size() == count ? std::optional<Row>(rows.last()) : std::nullopt;
    }
    virtual qint64 cursorPosition(const Row &row) = 0;   // 0-based row number of that row
    // Order by an index of the source (name) or by fields; answers the index fields.
    virtual QStringList cursorSetOrder(const QString &indexName, const QStringList &fields);
    // Locate in the current order; the default walks the rows.
    virtual bool cursorLocate(const QStringList &fields, const QVariantList &values,
                              LocateOptions options, Row &row);
    // The first row of the current order whose fields hold the values exactly, with at
    // least the result columns, the cursor left where it is; the default locates and goes
    // back.
    virtual bool cursorLookup(const QStringList &fields, const QVariantList &values, const QVector<int> &resultColumns,
                              Row &row);
    // Forget every cached row because the user asks for the rows as stored now.
    virtual void cursorRefresh() { cursorReset(); }
    // Whether the cursor itself applies the range / the filter text (pushed into SQL).
    virtual bool cursorAppliesRange() const { return false; }
    virtual bool cursorAppliesFilterText() const { return false; }

    // Whether a source row is within the range, the filter text and OnFilterRecord,
    // for the parts the cursor does not apply itself.
    bool acceptsRow(const Row &row);
    bool hasRowConditions() const;
    // A detail whose master has no stored record (none, or one being inserted) shows no rows.
    bool detailOfUnstoredMaster() const { return master_ && masterUnstored_; }
    // Compares `row`'s leading index fields with `values` (-1, 0, 1).
    int compareKey(const Row &row, const QVariantList &values) const;
    int columnOf(const QString &fieldName) const;   // source column of a data field, -1 when none
    const std::vector<FieldDef> &columns() const { return columns_; }
    static bool valuesEqual(const QVariant &a, const QVariant &b, bool caseInsensitive, bool partial);
    static int compareValues(const QVariant &a, const QVariant &b);
    // The compiled filter text answers for one row.
    std::function<bool(const Row &)> filterTextMatches;
    // The filter text was compiled anew (null: no filter applies); cursors that write
    // SQL push it down.
    virtual void filterCompiled(const CompiledFilter *filter) { Q_UNUSED(filter); }
    void conditionsChanged();   // re-reads from the first record after a change of conditions
    void checkActive() const;
    [[noreturn]] static void fail(const QString &message);

private:
    class RowForFilter;
    class RecordKept;
    void createFields(const QList<FieldDef> &defs);
    void loadRecord(const Row &row);
    // The record's values not made yet, made: the buffer and the current row are whole.
    void makeAllValues() const;
    // Runs a cursor move whose row is only loaded as the record (see packedRowWelcome).
    template<typename Move> bool welcomingPacked(Move move)
    {
        packedWelcome_ = true;
        answeredPacked_ = false;
        try {
            const bool found = move();
            packedWelcome_ = false;
            answeredPacked_ = answeredPacked_ && found;
            return found;
        } catch (...) {
            packedWelcome_ = answeredPacked_ = false;
            throw;
        }
    }
    void computeCalculated();
    void setEmptyBuffer();
    // Runs an event when one is assigned.
    void fire(const Event &event);
    // Makes the row current after a move that found it, with its notifications and AfterScroll.
    void arriveAt(const Row &row);
    void afterMove(bool found);
    // After rows changed: the preferred record when it is still there, else the first, else none.
    void settleOn(const Bookmark &preferred);
    // Leaves edit or insert for browse, with the record as it was.
    void backToBrowse();
    void moveToEnd(bool toLast);
    void step(bool forward);
    void notifyRecord();
    void notifyDataSet();
    void notify(void (DataSetNotifier::*signal)());
    void notifyState();
    void setState(DataSetState state);
    void checkCanModify() const;
    void checkRequired() const;
    void beginInsert();
    void internalPost();
    Row bufferRow() const;
    void restoreCurrent();
    void masterChanged();
    void applyMasterRange();
    void applyRangeForOpening();
    bool runWithErrorHandler(const ErrorEvent &handler, const std::function<void()> &work);
    QVariantList keyFromBuffer() const;
    void compileFilter();
    template<typename Out> QVector<Out> mapRows(qint64 first, int count, const std::function<Out()> &read);

    QString name_;
    std::unique_ptr<DataSetNotifier> notifier_;
    std::vector<std::unique_ptr<Field>> fields_;
    std::vector<FieldDef> columns_;
    DataSetState state_ = DataSetState::Inactive;
    mutable QVector<QVariant> buffer_;   // one value per field
    QVector<QVariant> oldBuffer_;        // the record as it was before edit / insert
    mutable Row currentRow_;             // the source row of the current record
    // A record loaded from a packed row: which data fields' values are made in buffer_.
    mutable bool lazy_ = false;
    mutable std::vector<char> made_;
    bool packedWelcome_ = false;
    bool answeredPacked_ = false;
    qint64 packedRow_ = 0;   // the number of the row answered packed
    bool hasCurrent_ = false;
    bool eof_ = true, bof_ = true;
    bool modified_ = false;
    bool appending_ = false;
    bool readOnly_ = false;
    int controlsDisabled_ = 0;
    bool pendingNotify_ = false;
    QString indexName_;
    QString orderFieldNames_;
    QStringList currentIndexFields_;
    KeyRange range_;
    KeyRange rangeForOpening_;   // set while closed, as given; applied by open()
    QString filterText_;
    bool filtered_ = false;
    FilterOptions filterOptions_;
    std::shared_ptr<const CompiledFilter> compiledFilter_;
    DataSet *master_ = nullptr;
    bool masterUnstored_ = false;   // the range applied is the NULL key of an unstored master
    QString masterFields_;
    QMetaObject::Connection masterConnection_, masterDestroyed_;
    QVector<QVariant> keyBuffer_;
    DataSetState stateBeforeKey_ = DataSetState::Browse;
};

} // namespace plat
