#include "platform/data/ClientDataSet.h"

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
    QList<FieldDef> defs = provider_ ? provider_->fieldDefs() : ownDefs_;
    providerColumns_ = int(defs.size());
    return defs + storedDefs_;
}

bool ClientDataSet::fetchRows(int count, QVector<Row> &rows)
{
    if (!provider_)
        return false;
    const bool more = provider_->fetch(count, rows);
    for (Row &row : rows)
        row.resize(providerColumns_ + int(storedDefs_.size()));
    return more;
}

} // namespace plat
