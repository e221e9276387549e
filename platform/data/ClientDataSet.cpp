#include "platform/data/ClientDataSet.h"

#include "platform/data/QueryDataSet.h"
#include "platform/data/engine/Connection.h"

namespace plat {

void DataSetProvider::setDataSet(DataSet *dataSet)
{
    dataSet_ = dataSet;
    reset();
}

void DataSetProvider::reset()
{
    delivered_ = 0;
    started_ = false;
}

void DataSetProvider::ensureOpen()
{
    if (!dataSet_)
        throw gp::DatabaseError(QStringLiteral("Missing data provider or data packet"));
    if (dataSet_->active() && started_)
        return;
    if (!dataSet_->active())
        dataSet_->open();
    dataSet_->first();
    // Reopened between packets: skip what was handed over already.
    for (qint64 i = 0; i < delivered_ && !dataSet_->eof(); ++i)
        dataSet_->next();
    started_ = true;
}

QList<FieldDef> DataSetProvider::fieldDefs()
{
    if (!dataSet_)
        throw gp::DatabaseError(QStringLiteral("Missing data provider or data packet"));
    if (!dataSet_->active())
        dataSet_->open();
    QList<FieldDef> defs;
    for (int i = 0; i < dataSet_->fieldCount(); ++i) {
        const Field &f = dataSet_->field(i);
        if (f.fieldKind() != FieldKind::Data)
            continue;
        FieldDef def = f.definition();
        def.required = f.required;
        defs << def;
    }
    return defs;
}

bool DataSetProvider::fetch(int count, QVector<Row> &rows)
{
    if (passThrough_) {
        if (!dataSet_)
            throw gp::DatabaseError(QStringLiteral("Missing data provider or data packet"));
        if (!dataSet_->active())
            dataSet_->open();
        bool more = false;
        auto *memory = dynamic_cast<MemoryDataSet *>(dataSet_);
        const qsizetype before = rows.size();
        if (memory && memory->passRowsOn(delivered_, count, rows, more)) {
            delivered_ += rows.size() - before;
            return more;
        }
    }
    ensureOpen();
    if (dataSet_->isEmpty() || dataSet_->eof())
        return false;
    int taken = 0;
    while (!dataSet_->eof() && (count < 0 || taken < count)) {
        Row row;
        for (int i = 0; i < dataSet_->fieldCount(); ++i) {
            const Field &f = dataSet_->field(i);
            if (f.fieldKind() == FieldKind::Data)
                row << f.value();
        }
        rows << row;
        ++taken;
        ++delivered_;
        dataSet_->next();
    }
    return !dataSet_->eof();
}

bool DataSetProvider::fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids, bool &more)
{
    if (!passThrough_ || !dataSet_)
        return false;
    if (!dataSet_->active())
        dataSet_->open();
    auto *memory = dynamic_cast<MemoryDataSet *>(dataSet_);
    const qsizetype before = ids.size();
    if (!memory || !memory->passRowsInto(delivered_, count, store, width, ids, more))
        return false;
    delivered_ += ids.size() - before;
    return true;
}

void DataSetProvider::applyUpdates(ClientDataSet &client)
{
    auto *query = dynamic_cast<QueryDataSet *>(dataSet_);
    if (!query || !query->canWriteBack())
        throw gp::DatabaseError(QString::fromLatin1(DataSetMessages::readOnlyDataSet));
    const QVector<ClientDataSet::Change> changes = client.changes();
    if (changes.isEmpty())
        return;
    Connection &connection = *query->connection();
    connection.startTransaction();
    try {
        for (const ClientDataSet::Change &change : changes) {
            switch (change.kind) {
            case ClientDataSet::ChangeKind::Inserted: query->writeInsert(change.current); break;
            case ClientDataSet::ChangeKind::Modified: query->writeUpdate(change.original, change.current); break;
            case ClientDataSet::ChangeKind::Deleted: query->writeDelete(change.original); break;
            }
        }
        connection.commit();
    } catch (...) {
        try {
            connection.rollback();
        } catch (...) {
            // The write's own failure is the one to report.
        }
        throw;
    }
    client.mergeChangeLog();
}

QVector<ClientDataSet::Change> ClientDataSet::changes() const
{
    QVector<Change> out;
    out.reserve(changeOrder_.size());
    for (qint64 id : changeOrder_)
        out << changeOf_.value(id);
    return out;
}

void ClientDataSet::mergeChangeLog()
{
    changeOf_.clear();
    changeOrder_.clear();
}

void ClientDataSet::applyUpdates()
{
    if (!provider_)
        throw gp::DatabaseError(QStringLiteral("Missing data provider or data packet"));
    checkBrowseMode();
    provider_->applyUpdates(*this);
}

Row ClientDataSet::providerPart(const Row &row) const
{
    return row.mid(0, providerColumns_);
}

Bookmark ClientDataSet::cursorInsert(const Row &row)
{
    const Bookmark at = MemoryDataSet::cursorInsert(row);
    const qint64 id = at.key.value(0).toLongLong();
    changeOf_.insert(id, Change{ChangeKind::Inserted, Row(), providerPart(row)});
    changeOrder_ << id;
    return at;
}

Bookmark ClientDataSet::cursorUpdate(const Bookmark &at, const Row &oldRow, const Row &row)
{
    const Bookmark written = MemoryDataSet::cursorUpdate(at, oldRow, row);
    const qint64 id = at.key.value(0).toLongLong();
    if (auto it = changeOf_.find(id); it != changeOf_.end()) {
        it->current = providerPart(row);
    } else {
        changeOf_.insert(id, Change{ChangeKind::Modified, providerPart(oldRow), providerPart(row)});
        changeOrder_ << id;
    }
    return written;
}

void ClientDataSet::cursorDelete(const Bookmark &at, const Row &row)
{
    MemoryDataSet::cursorDelete(at, row);
    const qint64 id = at.key.value(0).toLongLong();
    auto it = changeOf_.find(id);
    if (it == changeOf_.end()) {
        changeOf_.insert(id, Change{ChangeKind::Deleted, providerPart(row), Row()});
        changeOrder_ << id;
    } else if (it->kind == ChangeKind::Inserted) {
        changeOf_.erase(it);
        changeOrder_.removeOne(id);
    } else {
        it->kind = ChangeKind::Deleted;
        it->current.clear();
    }
}

void ClientDataSet::cursorClose()
{
    MemoryDataSet::cursorClose();
    mergeChangeLog();   // the rows are dropped with their changes
}

void ClientDataSet::createDataSet()
{
    provider_ = nullptr;
    emptyRows();
    open();
}

void ClientDataSet::addStoredField(const QString &name, TFieldType type, int size)
{
    if (active())
        fail(QStringLiteral("Cannot perform this operation on an open dataset"));
    storedDefs_ << fieldDef(name, type, size);
}

void ClientDataSet::emptyRows()
{
    if (active())
        close();
    discardRows();
    if (provider_)
        provider_->reset();
}

QList<FieldDef> ClientDataSet::openSource()
{
    // The rows were dropped at close: they are read again from the first.
    if (provider_)
        provider_->reset();
    QList<FieldDef> defs = provider_ ? provider_->fieldDefs() : ownDefs_;
    providerColumns_ = int(defs.size());
    return defs + storedDefs_;
}

bool ClientDataSet::fetchInto(int count, RowStore &store, int width, QVector<qint64> &ids)
{
    // Without columns of its own a row is the provider's row as it stands: it goes into the
    // store as its source keeps it.
    bool more = false;
    if (provider_ && storedDefs_.isEmpty() && width == providerColumns_
        && provider_->fetchInto(count, store, width, ids, more))
        return more;
    return MemoryDataSet::fetchInto(count, store, width, ids);
}

bool ClientDataSet::fetchRows(int count, QVector<Row> &rows)
{
    if (!provider_)
        return false;
    const bool more = provider_->fetch(count, rows);
    const int width = providerColumns_ + int(storedDefs_.size());
    for (Row &row : rows)
        if (row.size() != width)
            row.resize(width);
    return more;
}

} // namespace plat
