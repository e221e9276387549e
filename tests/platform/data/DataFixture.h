#pragma once
#include "platform/base/FechaHora.h"
#include "platform/data/QueryDataSet.h"
#include "platform/data/TableDataSet.h"
#include "platform/data/engine/Connection.h"
#include "tests/platform/engine/EngineFixture.h"

#include <functional>
#include <string>

// Readable texts in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace gptest {

inline std::string errorText(const std::function<void()> &work)
{
    try {
        work();
    } catch (const gp::Abort &) {
        return "(abort)";
    } catch (const gp::Error &e) {
        return e.what();
    }
    return "(no error)";
}

inline plat::IndexDef indexOn(const QString &name, const QStringList &fields, bool primary = false,
                              bool caseInsensitive = false, bool descending = false)
{
    plat::IndexDef ix;
    ix.name = name;
    ix.fields = fields;
    ix.primary = primary;
    ix.unique = primary;
    ix.caseInsensitive = caseInsensitive;
    ix.descending = descending;
    return ix;
}

// Datasets over a fresh database on each engine: SQLite always; PostgreSQL, natively and
// through its ODBC driver, when the throwaway server runs.
class DataTest : public EngineTest
{
protected:
    // LINEAS: Documento, Serie, Linea (primary key), Texto (a case-insensitive index),
    // Importe, Fecha (a descending index).
    void createLines()
    {
        plat::TableDef t;
        t.name = "LINEAS";
        t.fields = {plat::fieldDef("Documento", ftInteger, 0, true), plat::fieldDef("Serie", ftString, 3, true),
                    plat::fieldDef("Linea", ftInteger, 0, true), plat::fieldDef("Texto", ftString, 30, true),
                    plat::fieldDef("Importe", ftFloat), plat::fieldDef("Fecha", ftDateTime)};
        t.indexes = {indexOn("Clave1", {"Documento", "Serie", "Linea"}, true),
                     indexOn("Clave2", {"Texto"}, false, true),
                     indexOn("Clave3", {"Fecha"}, false, false, true)};
        db().createTable(t);
    }
    void addLine(plat::TableDataSet &ds, int doc, const QString &serie, int line, const QString &text,
                 double amount = 0, const QDateTime &when = FechaHora(QDate(2024, 1, 1), QTime(0, 0)))
    {
        ds.append();
        ds.fieldByName("Documento").setAsInteger(doc);
        ds.fieldByName("Serie").setAsString(serie);
        ds.fieldByName("Linea").setAsInteger(line);
        ds.fieldByName("Texto").setAsString(text);
        ds.fieldByName("Importe").setAsFloat(amount);
        ds.fieldByName("Fecha").setAsDateTime(when);
        ds.post();
    }
    std::unique_ptr<plat::TableDataSet> table(const QString &name, int pageSize = 100)
    {
        auto t = std::make_unique<plat::TableDataSet>(name);
        t->setConnection(&db());
        t->setTableName(name);
        t->setPageSize(pageSize);
        return t;
    }
    static QStringList column(plat::DataSet &ds, const QString &field)
    {
        QStringList out;
        for (ds.first(); !ds.eof(); ds.next())
            out << ds.fieldByName(field).asString();
        return out;
    }
};

#define GP_DATA_BACKENDS \
    ::testing::Values(gptest::Backend::SQLite, gptest::Backend::PostgreSQL, gptest::Backend::OdbcPostgreSQL), \
        gptest::backendName

} // namespace gptest
