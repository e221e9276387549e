#pragma once
#include "platform/data/DatabaseLink.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/data/engine/Connection.h"
#include "platform/data/engine/QueryCursor.h"

#include <memory>
#include <vector>

namespace plat {

class EngineValues;

// A parameter of a query: its name (kind character included for the program's
// variables, "$Cliente"), its type and its value. A "*" list's value is a QStringList:
// one bound text per item.
struct Param
{
    QString name;
    TFieldType dataType = ftUnknown;
    QVariant value;
    void setValue(const QVariant &v) { value = v; }
    void clear() { value = QVariant(); }
    bool isNull() const { return !value.isValid() || value.isNull(); }
};

// A query: SQL text run on a connection, as written (the user's SQL runs on the current
// engine as typed). Its rows are kept while it is open, taken from the engine a packet
// at a time as it moves on (`Connection::openReader`: on PostgreSQL they stream from the
// snapshot the query started with); it is read-only. Parameters are the program's variables (":$name", ":#name", ":&name", a
// repeated name numbered "_n") and plain ":name" placeholders; a ":*name" list is bound
// item by item when its parameter holds a QStringList, else left in the text for the
// caller to write. Column types and sizes come from the declared columns of
// the tables the statement reads, where a column is one of them.
//
// A live query (`setRequestLive(true)`) over one table whose result holds that table's
// primary key can be edited: each post or delete is written to the table by key, in its
// own transaction (nested in the connection's when one is open). Any other query raises
// "Cannot modify a read-only dataset". The table and key it found stay after it closes
// (until its text or database changes), so rows read from it can still be written back by
// key (`writeInsert`, `writeUpdate`, `writeDelete`, rows in the result's column order).
class QueryDataSet : public MemoryDataSet
{
public:
    explicit QueryDataSet(QString name = QString());
    ~QueryDataSet() override;

    void setConnection(Connection *connection);
    Connection *connection() const { return link_.assigned(); }
    void setSession(Session *session) { link_.setSession(session); }
    QString databaseName() const { return link_.databaseName(); }
    void setDatabaseName(const QString &name);

    QString sql() const { return sql_; }
    void setSql(const QString &sql);   // closes the query and lists its parameters anew
    // Whose text it is: typed by a user and run as written (the default), or run through the
    // engine's dialect as the program's own texts are ("SELECT TOP 10 ..." on every engine).
    SqlOrigin sqlOrigin() const { return origin_; }
    void setSqlOrigin(SqlOrigin origin) { close(); origin_ = origin; }

    QList<Param> &params() { return params_; }
    Param &paramByName(const QString &name);   // "Parameter 'x' not found"
    Param *findParam(const QString &name);
    Param &createParam(TFieldType type, const QString &name);
    void clearParams() { params_.clear(); }

    // Rows stepped on the engine's statement as they are asked for, never read ahead: for a
    // client that takes a large answer a packet at a time. On SQLite the statement then stays
    // prepared until every row is read or the query closes; elsewhere it changes nothing
    // (the reader already streams or reads whole).
    bool stepRows() const { return stepRows_; }
    void setStepRows(bool on) { close(); stepRows_ = on; }

    // Every row read at the opening, by one statement on the connection itself: for a client
    // that uses them all at once (a listing), which a reader streaming them a packet at a time
    // would cost more exchanges with a server.
    bool readWhole() const { return readWhole_; }
    void setReadWhole(bool on) { close(); readWhole_ = on; }

    bool requestLive() const { return requestLive_; }
    void setRequestLive(bool live) { close(); requestLive_ = live; }
    bool canModify() const override;
    QString liveTable() const { return live_.table; }

    // Whether rows of its last live open can be written back (`liveTable` names the table).
    bool canWriteBack() const { return !live_.table.isEmpty(); }
    void writeInsert(const Row &row);
    // Raises "Record/Key Deleted" when no row has the original's key.
    void writeUpdate(const Row &original, const Row &row);
    void writeDelete(const Row &original);

    // Runs a statement that answers no rows; the number of rows it changed.
    int execSql();
    // Whether the text, as its engine will receive it (its parameters bound, the program's
    // text adapted), is one statement at most as that engine reads it (Dialect::isSingleStatement).
    bool isSingleStatement();
    int rowsAffected() const { return rowsAffected_; }

protected:
    QList<FieldDef> openSource() override;
    bool fetchRows(int count, QVector<Row> &rows) override;
    int packetSize() const override { return readWhole_ ? -1 : stepRows_ ? kStepPacket : kPacket; }
    void fetchingAll() override;
    void closeSource() override;
    Bookmark cursorInsert(const Row &row) override;
    Bookmark cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row) override;
    void cursorDelete(const Bookmark &at, const Row &row) override;

private:
    QVariantMap boundValues(QString &driverSql) const;
    QVariant paramValue(const Param &param) const;
    QList<FieldDef> declaredColumns(const QStringList &names, const QList<TFieldType> &types,
                                    const QList<QVariantList> &rows);

    DatabaseLink link_;
    QString sql_;
    SqlOrigin origin_ = SqlOrigin::AsWritten;
    QList<Param> params_;
    int rowsAffected_ = -1;
    void findLiveTable(const QList<FieldDef> &defs);
    QString keyCondition(const Row &row, QVariantMap &params) const;
    int writeThrough(const QString &sql, const QVariantMap &params);

    // Rows are read from the engine a packet at a time as the dataset moves on (the first
    // screen of a large result shows at once); all of them only when something needs them.
    static constexpr int kPacket = 1000;
    static constexpr int kStepPacket = 100;   // stepped rows: no more than a client's packet
    QList<QVariantList> readRows(int count);   // count < 0: the rest
    QVector<Row> convertRows(QList<QVariantList> rows) const;
    // The same rows read and converted in one pass, from the engine's own values where the
    // reader gives them (no intermediate value per column).
    QVector<Row> readConverted(int count);
    bool fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids) override;
    std::unique_ptr<QueryCursor> reader_;      // while rows remain to be read
    std::shared_ptr<std::vector<std::unique_ptr<Field>>> converters_;
    std::shared_ptr<EngineValues> values_;   // the columns' conversions, shared with the rows kept packed
    QVector<Row> pending_;
    bool requestLive_ = false;
    bool stepRows_ = false;
    bool readWhole_ = false;
    // Where a live query writes: the table (empty when read-only), the result's columns,
    // its primary key among them and which of them are columns of that table.
    struct LiveTarget
    {
        QString table;
        QList<FieldDef> columns;
        QVector<int> keyColumns;
        QVector<bool> writable;
    };
    LiveTarget live_;
};

} // namespace plat
