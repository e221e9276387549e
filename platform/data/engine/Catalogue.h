#pragma once
#include "platform/data/engine/Schema.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace plat {

class PhysicalConnection;

// What every connection of a session to one database knows of its catalogue, read once for
// all of them: the declared case of the names the engine folds (PostgreSQL), and whether the
// database keeps the engine's record of them.
struct SharedCatalogue
{
    QHash<QString, QString> names;   // lower -> declared
    bool loaded = false;
    bool recordFound = false;
};

// What one connection's database holds (tables, their columns and indexes) as the
// program declared it, read the way its engine keeps it. Each engine has its own; the
// connection makes it through its dialect and tells it of the tables it creates and
// drops and the statements it runs, so that an engine that must keep a record can.
class Catalogue
{
public:
    virtual ~Catalogue() = default;

    // Called once the connection is open, before any statement of the program.
    virtual void prepare() {}
    // The connection rolled back work: whatever was read inside it may be gone.
    virtual void transactionUndone() {}
    // The connection's outermost transaction committed: what changed in it stays.
    virtual void transactionCommitted() {}

    virtual QStringList tableNames() = 0;
    // Raise gp::DatabaseError with "Table does not exist" for a table that is not there.
    virtual QList<FieldDef> columns(const QString &table) = 0;
    virtual QList<IndexDef> indexes(const QString &table) = 0;
    // Whether `columns` answers for the table from what is already held, without asking the
    // server about it; by default every engine's catalogue does.
    virtual bool holdsColumns(const QString &) { return true; }

    virtual void recordTable(const TableDef &) {}
    // A statement that ran: CREATE TABLE / CREATE INDEX / DROP TABLE / DROP INDEX.
    virtual void recordStatement(const QString &) {}
    virtual void forgetTable(const QString &) {}
    // A name the engine gives back in the case it was declared.
    virtual QString declaredName(const QString &name) const { return name; }
    // The statement, after creating on the server what it needs (collations it names).
    virtual QString withCollations(const QString &sql) { return sql; }
};

// What the QtSql driver itself reports: tables and columns, no indexes. Used where the
// engine's own catalogue cannot be read (PostgreSQL's maintenance database).
class DriverCatalogue : public Catalogue
{
public:
    explicit DriverCatalogue(PhysicalConnection &connection) : pc_(connection) {}
    QStringList tableNames() override;
    QList<FieldDef> columns(const QString &table) override;
    QList<IndexDef> indexes(const QString &) override { return {}; }

protected:
    PhysicalConnection &pc_;
};

} // namespace plat
