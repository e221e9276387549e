#pragma once
#include "platform/data/Field.h"
#include "platform/data/MemoryDataSet.h"

namespace gptest {

// Stands for a query that takes its rows from the engine in packets: N (1 up to the count)
// and Texto ("t" and N), read again from the first every time it is opened, and counted.
class RowsInPackets : public plat::MemoryDataSet
{
public:
    RowsInPackets(int count, int packetSize) : MemoryDataSet(QStringLiteral("Consulta")), count_(count), packetSize_(packetSize) {}
    // Rows handed over since it was made, over every opening.
    int produced = 0;

protected:
    QList<plat::FieldDef> openSource() override
    {
        next_ = 1;
        return {plat::fieldDef(QStringLiteral("N"), ftInteger), plat::fieldDef(QStringLiteral("Texto"), ftString, 10)};
    }
    bool fetchRows(int count, QVector<plat::Row> &rows) override
    {
        for (int i = 0; (count < 0 || i < count) && next_ <= count_; ++i, ++next_, ++produced)
            rows << plat::Row{next_, QStringLiteral("t%1").arg(next_)};
        return next_ <= count_;
    }
    int packetSize() const override { return packetSize_; }

private:
    int count_, packetSize_, next_ = 1;
};

} // namespace gptest
