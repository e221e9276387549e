#pragma once
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

namespace plat {

class Connection;
class PreparedStatement;

enum class CopyMode {
    Append,           // only records whose key the target lacks
    Update,           // only records whose key the target has
    AppendAndUpdate,  // both
};

struct CopyCounts
{
    int appended = 0;
    int updated = 0;
};

// Writes records into a table, matching them by the table's primary key. The columns are
// given once; each record's values come in their order and must include the key's. Its
// statements are prepared once on the target and run for every record.
class RecordWriter
{
public:
    RecordWriter(Connection &target, const QString &table, const QStringList &columns, CopyMode mode);
    ~RecordWriter();

    const QStringList &columns() const { return columns_; }
    const QString &table() const { return table_; }
    // Every record written is new to the table (it was empty and records are not only updated).
    bool insertsOnly() const { return emptyAtStart_; }
    void write(const QVariantList &values, CopyCounts &counts);
    // The records that follow come from another reading of the source, whose keys may meet
    // those written so far: from now on each one is matched by key.
    void nextReading() { emptyAtStart_ = emptyAtStart_ && !wrote_; }

private:
    const QVariantList &valuesAt(const QVariantList &values, const QList<int> &at);
    bool present(const QVariantList &values);
    void insert(const QVariantList &values);
    int update(const QVariantList &values);

    Connection &target_;
    CopyMode mode_;
    QStringList columns_;
    QList<int> keyAt_;      // the column of each key field
    QList<int> updateAt_;   // the columns an update binds: those that are not key fields, then the key's
    bool updatesColumns_ = false;   // the table has columns besides the key
    bool emptyAtStart_ = false;     // nothing to update: the key lookup can be left out
    bool wrote_ = false;
    QString table_, where_;
    std::unique_ptr<PreparedStatement> exists_, insert_, update_;   // prepared when first run
    QVariantList bound_;
};

// The columns of `from` (in its order) that the target table `to` has and fills itself
// (auto-increment columns are left to the target).
QStringList commonColumns(const QStringList &from, Connection &target, const QString &to);

// Copies the records of a table from one connection to another, matching them by the
// target table's primary key; only the columns both tables have are copied. Runs in
// one transaction of the target: a failure leaves the target as it was.
CopyCounts copyRecords(Connection &source, Connection &target, const QString &table, CopyMode mode,
                       const QString &targetTable = {});

} // namespace plat
