// Two programs edit one record: the second post of one column is refused, changes to
// different columns both stay, on every engine and for every kind of value.
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/engine/OtherProgramFixture.h"

#include "platform/data/engine/EngineErrors.h"

using namespace plat;
using gptest::errorText;

namespace {

// How a post ended: its failure's kind, or none.
std::optional<gp::DatabaseErrorKind> postFailure(DataSet &ds)
{
    return gptest::failureKind([&] { ds.post(); });
}

class ConcurrentEdits : public gptest::DataTest
{
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        if (IsSkipped())
            return;
        TableDef t;
        t.name = "FICHA";
        t.fields = {fieldDef("Codigo", ftInteger, 0, true), fieldDef("Nombre", ftString, 40), fieldDef("Importe", ftFloat),
                    fieldDef("Cantidad", ftInteger), fieldDef("Fecha", ftDateTime), fieldDef("Nota", ftMemo)};
        t.indexes = {gptest::indexOn("Clave1", {"Codigo"}, true)};
        db().createTable(t);
        otherProgram.emplace(database, dir.path());
        mine = table("FICHA");
        theirs = std::make_unique<TableDataSet>("FICHA");
        theirs->setConnection(&otherProgram->db());
        theirs->setTableName("FICHA");
    }

    void TearDown() override
    {
        if (theirs)
            theirs->close();
        otherProgram.reset();
        DataTest::TearDown();
    }

    // The record as another program wrote it, each value in the SQL text given.
    void storeRecord(const QMap<QString, QString> &literals)
    {
        db().exec("DELETE FROM FICHA");
        QStringList names{"Codigo"}, values{"1"};
        for (auto it = literals.cbegin(); it != literals.cend(); ++it) {
            names << it.key();
            values << it.value();
        }
        db().exec(QStringLiteral("INSERT INTO FICHA (%1) VALUES (%2)").arg(names.join(", "), values.join(", ")));
        for (TableDataSet *ds : {mine.get(), theirs.get()}) {
            ds->close();
            ds->open();
            ASSERT_TRUE(ds->findKey({1}));
        }
    }

    static void assign(DataSet &ds, const QString &field, const QVariant &value)
    {
        if (value.isValid())
            ds.fieldByName(field).setValue(value);
        else
            ds.fieldByName(field).clear();
    }

    QVariant stored(const QString &column) { return db().scalar("SELECT " + column + " FROM FICHA WHERE Codigo = 1"); }

    std::optional<gptest::OtherProgram> otherProgram;
    std::unique_ptr<TableDataSet> mine, theirs;
};

const QString longNote = QString("Una línea de la nota, con su ñ.\r\n").repeated(2500);

struct Column
{
    const char *name;
    QString literal;   // as stored before both edits
    QVariant mine, theirs;   // an invalid value is NULL
};

const QList<Column> columns = {
    {"Nombre", "'Inicial'", "Escrito aquí", "Escrito allí"},
    // Values whose text is not short: each must compare equal to what was read.
    {"Importe", "0.30000000000000004", 1.5, 1.0 / 3},
    {"Importe", "0.3333333333333333", 2.75, 1e-300},
    {"Cantidad", "NULL", 7, 5},
    {"Cantidad", "3", 7, QVariant()},
    // A date stored without its time is the same date read with midnight.
    {"Fecha", "'2024-03-01'", FechaHora(QDate(2024, 5, 5), QTime(10, 0)), FechaHora(QDate(2024, 6, 6), QTime(0, 0))},
    {"Fecha", "'2023-12-31 23:59:58'", QVariant(), FechaHora(QDate(2024, 1, 1), QTime(0, 0))},
    {"Nota", "'" + longNote + "'", "nota de aquí", longNote + "más"},
};

TEST_P(ConcurrentEdits, TheSameColumnIsRefusedAndTheEditStaysAsTyped)
{
    for (const Column &c : columns) {
        SCOPED_TRACE(std::string(c.name) + " " + c.literal.left(30).toStdString());
        storeRecord({{c.name, c.literal}});
        mine->edit();
        assign(*mine, c.name, c.mine);
        theirs->edit();
        assign(*theirs, c.name, c.theirs);
        theirs->post();

        EXPECT_EQ(postFailure(*mine), gp::DatabaseErrorKind::RecordChanged);
        EXPECT_EQ(errorText([&] { mine->post(); }), "Record changed by another user");
        EXPECT_EQ(mine->state(), DataSetState::Edit);
        EXPECT_EQ(mine->fieldByName(c.name).value(), c.mine);
        EXPECT_EQ(stored(c.name), c.theirs);

        // Begun again, the edit starts from the other program's value and is stored.
        mine->cancel();
        mine->edit();
        EXPECT_EQ(mine->fieldByName(c.name).value(), c.theirs);
        assign(*mine, c.name, c.mine);
        EXPECT_EQ(postFailure(*mine), std::nullopt);
        EXPECT_EQ(stored(c.name), c.mine);
    }
}

TEST_P(ConcurrentEdits, DifferentColumnsBothStay)
{
    for (const Column &c : columns) {
        SCOPED_TRACE(std::string(c.name) + " " + c.literal.left(30).toStdString());
        const QString other = QLatin1String(c.name) == QLatin1String("Nombre") ? "Cantidad" : "Nombre";
        const QVariant theirValue = other == "Nombre" ? QVariant("Escrito allí") : QVariant(9);
        storeRecord({{c.name, c.literal}});
        mine->edit();
        assign(*mine, c.name, c.mine);
        theirs->edit();
        assign(*theirs, other, theirValue);
        theirs->post();

        EXPECT_EQ(postFailure(*mine), std::nullopt);
        EXPECT_EQ(stored(c.name), c.mine);
        EXPECT_EQ(stored(other), theirValue);
        // The record shown is the one stored: the other program's change included.
        EXPECT_EQ(mine->fieldByName(other).value(), theirValue);
    }
}

TEST_P(ConcurrentEdits, ADeletedRecordAndAnUnchangedValueRewritten)
{
    storeRecord({{"Nombre", "'Inicial'"}});
    mine->edit();
    mine->fieldByName("Nombre").setValue("Escrito aquí");
    theirs->remove();
    EXPECT_EQ(postFailure(*mine), gp::DatabaseErrorKind::RecordDeleted);
    EXPECT_EQ(errorText([&] { mine->post(); }), "Record/Key Deleted");
    EXPECT_EQ(mine->state(), DataSetState::Edit);
    mine->cancel();

    // Another program storing the very value the edit read changes nothing it could lose.
    storeRecord({{"Nombre", "'Inicial'"}});
    mine->edit();
    mine->fieldByName("Nombre").setValue("Escrito aquí");
    theirs->edit();
    theirs->fieldByName("Nombre").setValue("Otro");
    theirs->post();
    theirs->edit();
    theirs->fieldByName("Nombre").setValue("Inicial");
    theirs->post();
    EXPECT_EQ(postFailure(*mine), std::nullopt);
    EXPECT_EQ(stored("Nombre"), "Escrito aquí");
}

INSTANTIATE_TEST_SUITE_P(Engines, ConcurrentEdits, GP_DATA_BACKENDS);

} // namespace
