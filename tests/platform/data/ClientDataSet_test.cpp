#include "platform/data/ClientDataSet.h"
#include "tests/platform/data/RowsInPackets.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace plat;

namespace {

std::string message(const std::function<void()> &work)
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

// A client dataset of lines keyed by document, series and line number.
struct Lines : ::testing::Test
{
    ClientDataSet ds{"Lineas"};
    void SetUp() override
    {
        ds.setFieldDefs({fieldDef("Documento", ftInteger, 0, true),
                         fieldDef("Serie", ftString, 3),
                         fieldDef("Linea", ftInteger),
                         fieldDef("Descripcion", ftString, 30)});
        ds.createDataSet();
        add(2, "B", 1, "dos b uno");
        add(1, "A", 2, "uno a dos");
        add(1, "A", 1, "Uno A Uno");
        add(1, "B", 1, "uno b uno");
        add(3, "A", 1, "tres");
        ds.setIndexFieldNames("Documento;Serie;Linea");
    }
    void add(int doc, const QString &serie, int linea, const QString &text)
    {
        ds.append();
        ds.fieldByName("Documento").setAsInteger(doc);
        ds.fieldByName("Serie").setAsString(serie);
        ds.fieldByName("Linea").setAsInteger(linea);
        ds.fieldByName("Descripcion").setAsString(text);
        ds.post();
    }
    QStringList descriptions()
    {
        QStringList out;
        for (ds.first(); !ds.eof(); ds.next())
            out << ds.fieldByName("Descripcion").asString();
        return out;
    }
};

} // namespace

TEST_F(Lines, NavigationFollowsTheIndexOrder)
{
    EXPECT_EQ(descriptions(), QStringList({"Uno A Uno", "uno a dos", "uno b uno", "dos b uno", "tres"}));
    EXPECT_EQ(ds.recordCount(), 5);
    ds.last();
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "tres");
    ds.prior();
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "dos b uno");
    ds.first();
    ds.prior();
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "Uno A Uno");
    EXPECT_EQ(ds.moveBy(2), 2);
    EXPECT_EQ(ds.currentRow(), 2);
}

TEST_F(Lines, FindKeyOnLeadingKeyFieldsAndNearest)
{
    EXPECT_EQ(ds.keyFieldCount(), 3);
    ASSERT_TRUE(ds.findKey({1, "B"}));
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "uno b uno");
    EXPECT_FALSE(ds.findKey({1, "C"}));
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "uno b uno");   // did not move
    ds.findNearest({2});
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "dos b uno");
    ds.setKey();
    ds.fieldByName("Documento").setAsString("3");
    EXPECT_TRUE(ds.gotoKey());
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "tres");
    ds.setIndexFieldNames("");
    EXPECT_EQ(message([&] { ds.findKey({1}); }), "No index currently active");
}

TEST_F(Lines, LocateAndLookup)
{
    EXPECT_TRUE(ds.locate("Descripcion", "UNO A UNO", LocateOption::CaseInsensitive));
    EXPECT_EQ(ds.fieldByName("Linea").asInteger(), 1);
    EXPECT_FALSE(ds.locate("Descripcion", "UNO A UNO"));
    EXPECT_TRUE(ds.locate("Documento;Serie", QVariantList{2, "b"}, LocateOption::CaseInsensitive));
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "dos b uno");
    EXPECT_TRUE(ds.locate("Descripcion", "tr", LocateOption::PartialKey));
    EXPECT_EQ(ds.fieldByName("Documento").asInteger(), 3);
    ds.first();
    EXPECT_EQ(ds.lookup("Documento;Linea", QVariantList{1, 2}, "Descripcion").toString(), "uno a dos");
    EXPECT_TRUE(ds.lookup("Documento", 9, "Descripcion").isNull());
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "Uno A Uno");   // look-up does not move
}

TEST_F(Lines, RangesOnLeadingKeyFields)
{
    ds.setRange({1}, {1});
    EXPECT_EQ(descriptions(), QStringList({"Uno A Uno", "uno a dos", "uno b uno"}));
    ds.setRange({1, "B"}, {3});
    EXPECT_EQ(descriptions(), QStringList({"uno b uno", "dos b uno", "tres"}));
    ds.cancelRange();
    EXPECT_EQ(ds.recordCount(), 5);
}

TEST_F(Lines, BookmarksSurviveRefreshAndOrderChanges)
{
    ds.findKey({2});
    const Bookmark mark = ds.bookmark();
    ds.first();
    ds.refresh();
    ds.setIndexFieldNames("Descripcion");
    ds.gotoBookmark(mark);
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "dos b uno");
    ds.remove();
    EXPECT_FALSE(ds.bookmarkValid(mark));
    EXPECT_EQ(message([&] { ds.gotoBookmark(mark); }), "Record/Key Deleted");
}

TEST_F(Lines, StateMachineAndEvents)
{
    QStringList log;
    auto record = [&](const char *name) { return [&log, name](DataSet &) { log << name; }; };
    ds.BeforeEdit = record("BeforeEdit");
    ds.BeforePost = record("BeforePost");
    ds.AfterPost = record("AfterPost");
    ds.BeforeInsert = record("BeforeInsert");
    ds.OnNewRecord = [&](DataSet &d) {
        log << "OnNewRecord";
        d.fieldByName("Documento").setAsInteger(9);
    };
    ds.AfterInsert = record("AfterInsert");
    ds.BeforeCancel = record("BeforeCancel");
    ds.AfterCancel = record("AfterCancel");
    ds.BeforeDelete = record("BeforeDelete");
    ds.AfterDelete = record("AfterDelete");
    EXPECT_TRUE(ds.AfterPost);
    EXPECT_FALSE(ds.AfterEdit);

    ds.first();
    ds.edit();
    EXPECT_EQ(ds.state(), DataSetState::Edit);
    ds.fieldByName("Descripcion").setAsString("cambiada");
    EXPECT_TRUE(ds.modified());
    ds.post();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    ds.insert();
    EXPECT_EQ(ds.fieldByName("Documento").asInteger(), 9);
    ds.fieldByName("Linea").setAsInteger(1);
    ds.cancel();
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "cambiada");   // back where it was
    ds.remove();
    EXPECT_EQ(log, QStringList({"BeforeEdit", "BeforePost", "AfterPost", "BeforeInsert", "OnNewRecord",
                                "AfterInsert", "BeforeCancel", "AfterCancel", "BeforeDelete", "AfterDelete"}));
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "uno a dos");   // the next record
}

TEST_F(Lines, NavigationPostsAPendingEditOnce)
{
    int posts = 0;
    ds.AfterPost = [&](DataSet &) { ++posts; };
    ds.first();
    ds.edit();
    ds.fieldByName("Descripcion").setAsString("x");
    ds.next();   // posts the edit
    ds.edit();
    ds.next();   // nothing changed: cancelled, not posted
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(ds.locate("Descripcion", "x"));
}

TEST_F(Lines, AbortFromBeforeEventsCancelsSilently)
{
    ds.BeforeDelete = [](DataSet &) { throw gp::Abort(); };
    ds.first();
    EXPECT_EQ(message([&] { ds.remove(); }), "(abort)");
    EXPECT_EQ(ds.recordCount(), 5);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    ds.BeforePost = [](DataSet &) { throw gp::Abort(); };
    ds.edit();
    ds.fieldByName("Descripcion").setAsString("no");
    EXPECT_EQ(message([&] { ds.post(); }), "(abort)");
    EXPECT_EQ(ds.state(), DataSetState::Edit);   // still editing, nothing written
    ds.cancel();
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "Uno A Uno");
}

TEST_F(Lines, MisuseMessages)
{
    EXPECT_EQ(message([&] { ds.fieldByName("Serie").setAsString("Z"); }), "Dataset not in edit or insert mode");
    ds.append();
    EXPECT_EQ(message([&] { ds.post(); }), "Field 'Documento' must have a value");
    ds.cancel();
    ds.setRange({7}, {7});
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(message([&] { ds.remove(); }), "Cannot perform this operation on an empty dataset");
    ds.cancelRange();
    ds.setReadOnly(true);
    EXPECT_EQ(message([&] { ds.edit(); }), "Cannot modify a read-only dataset");
    ds.close();
    EXPECT_EQ(message([&] { ds.next(); }), "Cannot perform this operation on a closed dataset");
}

TEST_F(Lines, PostErrorHandlerMendsAndRetriesOrAborts)
{
    int calls = 0;
    ds.OnPostError = [&](DataSet &d, const gp::Error &e, DataAction &action) {
        ++calls;
        EXPECT_EQ(std::string(e.what()), "Field 'Documento' must have a value");
        d.fieldByName("Documento").setAsInteger(4);
        action = DataAction::Retry;
    };
    ds.append();
    ds.fieldByName("Serie").setAsString("A");
    ds.post();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ds.fieldByName("Documento").asInteger(), 4);
    EXPECT_EQ(ds.recordCount(), 6);
    ds.OnPostError = [](DataSet &, const gp::Error &, DataAction &action) { action = DataAction::Abort; };
    ds.append();
    EXPECT_EQ(message([&] { ds.post(); }), "(abort)");
    EXPECT_EQ(ds.state(), DataSetState::Insert);
}

TEST_F(Lines, FilterRecordEventHidesRows)
{
    ds.OnFilterRecord = [](DataSet &d, bool &accept) { accept = d.fieldByName("Serie").asString() == "A"; };
    EXPECT_EQ(ds.recordCount(), 5);   // only while filtered
    ds.setFiltered(true);
    EXPECT_EQ(descriptions(), QStringList({"Uno A Uno", "uno a dos", "tres"}));
    EXPECT_EQ(ds.rowCount(), 3);
    ds.setFiltered(false);
    EXPECT_EQ(ds.recordCount(), 5);
}

TEST_F(Lines, FilterTextInMemory)
{
    ds.setFilter("(Documento = '1') AND\r\n(Descripcion <> 'uno a dos')");
    EXPECT_EQ(ds.recordCount(), 5);   // not applied until filtering is on
    ds.setFiltered(true);
    EXPECT_EQ(descriptions(), QStringList({"Uno A Uno", "uno b uno"}));
    ds.setFilterOptions(FilterOptions{true, true});
    ds.setFilter("Descripcion = 'UNO A*'");
    EXPECT_EQ(descriptions(), QStringList({"Uno A Uno", "uno a dos"}));
    EXPECT_EQ(message([&] { ds.setFilter("Linea = 'x'"); }), "Type mismatch in expression");
    EXPECT_EQ(ds.recordCount(), 2);
}

TEST_F(Lines, CalculatedAndLookupFields)
{
    ClientDataSet docs{"Documentos"};
    docs.setFieldDefs({fieldDef("Codigo", ftInteger), fieldDef("Titulo", ftString, 20)});
    docs.createDataSet();
    for (auto [code, title] : {std::pair{1, "Pedido"}, std::pair{2, "Factura"}}) {
        docs.append();
        docs.fieldByName("Codigo").setAsInteger(code);
        docs.fieldByName("Titulo").setAsString(title);
        docs.post();
    }
    ds.close();
    ds.addCalculatedField("Clave", ftString, 20);
    ds.addLookupField("Titulo", ftString, 20, "Documento", docs, "Codigo", "Titulo");
    ds.OnCalcFields = [](DataSet &d) {
        d.fieldByName("Clave").setAsString(d.fieldByName("Documento").asString() + "/" + d.fieldByName("Serie").asString());
    };
    ds.createDataSet();
    add(2, "B", 1, "x");
    EXPECT_EQ(ds.fieldByName("Clave").asString(), "2/B");
    EXPECT_EQ(ds.fieldByName("Titulo").asString(), "Factura");
    EXPECT_TRUE(ds.fieldByName("Titulo").isCalculated());
    const QVector<QVariantList> rows = ds.rowValues(0, 5);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(ds.fieldByName("Clave").index()).toString(), "2/B");
}

TEST_F(Lines, MasterDetail)
{
    ClientDataSet master{"Documentos"};
    master.setFieldDefs({fieldDef("Codigo", ftInteger)});
    master.createDataSet();
    for (int code : {1, 2, 5}) {
        master.append();
        master.fieldByName("Codigo").setAsInteger(code);
        master.post();
    }
    ds.setMasterSource(&master, "Codigo");
    master.first();
    EXPECT_EQ(descriptions(), QStringList({"Uno A Uno", "uno a dos", "uno b uno"}));
    master.next();
    EXPECT_EQ(descriptions(), QStringList({"dos b uno"}));
    master.next();
    EXPECT_TRUE(ds.isEmpty());
    ds.append();   // a new line belongs to the master's record
    EXPECT_EQ(ds.fieldByName("Documento").asInteger(), 5);
    ds.cancel();
    master.disableControls();
    master.first();
    EXPECT_TRUE(ds.isEmpty());   // links follow only once controls are enabled
    master.enableControls();
    EXPECT_EQ(ds.recordCount(), 3);
}

TEST_F(Lines, NotifierSignalsForControls)
{
    QSignalSpy state(ds.notifier(), &DataSetNotifier::stateChanged);
    QSignalSpy scroll(ds.notifier(), &DataSetNotifier::recordChanged);
    QSignalSpy field(ds.notifier(), &DataSetNotifier::fieldChanged);
    QSignalSpy rows(ds.notifier(), &DataSetNotifier::dataSetChanged);
    ds.first();
    ds.next();
    EXPECT_EQ(scroll.count(), 2);
    ds.edit();
    ds.fieldByName("Linea").setAsInteger(7);
    ASSERT_EQ(field.count(), 1);
    EXPECT_EQ(field.at(0).at(0).value<Field *>(), &ds.fieldByName("Linea"));
    ds.post();
    EXPECT_EQ(state.count(), 2);   // to edit and back
    EXPECT_EQ(rows.count(), 1);
    ds.disableControls();
    ds.first();
    ds.last();
    EXPECT_EQ(scroll.count(), 4);  // edit and post re-read, nothing while disabled
    ds.enableControls();
    EXPECT_EQ(scroll.count(), 5);
}

TEST_F(Lines, GridRowsInCurrentOrder)
{
    EXPECT_EQ(ds.rowCount(), 5);
    const QVector<QStringList> texts = ds.rowDisplayTexts(3, 10);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0].value(3), "dos b uno");
    ds.moveToRow(4);
    EXPECT_EQ(ds.fieldByName("Descripcion").asString(), "tres");
    EXPECT_EQ(ds.currentRow(), 4);
}

// --- Fed by a provider ------------------------------------------------------------------

class Packets : public ::testing::TestWithParam<int>
{
};

TEST_P(Packets, RowsFilterAndBookmarksOutliveTheSource)
{
    gptest::RowsInPackets source(250, 10);
    DataSetProvider provider(&source);
    ClientDataSet cds{"Cache"};
    cds.setProvider(&provider);
    cds.setPacketRecords(GetParam());
    cds.addStoredField("Doble", ftInteger);
    cds.open();
    EXPECT_EQ(cds.fieldByName("N").asInteger(), 1);
    for (int i = 0; i < 149; ++i)
        cds.next();
    const Bookmark mark = cds.bookmark();
    EXPECT_EQ(cds.fieldByName("N").asInteger(), 150);
    cds.edit();
    cds.fieldByName("Doble").setAsInteger(300);
    cds.post();
    source.close();   // the query closes; the client dataset goes on
    EXPECT_EQ(cds.recordCount(), 250);
    cds.OnFilterRecord = [](DataSet &d, bool &accept) { accept = d.fieldByName("N").asInteger() % 50 == 0; };
    cds.setFiltered(true);
    EXPECT_EQ(cds.recordCount(), 5);
    cds.gotoBookmark(mark);
    EXPECT_EQ(cds.fieldByName("Doble").asInteger(), 300);
    cds.last();
    EXPECT_EQ(cds.fieldByName("N").asInteger(), 250);
}

INSTANTIATE_TEST_SUITE_P(AllRowsOrHundredAtATime, Packets, ::testing::Values(-1, 100));

TEST(ClientDataSetPackets, ReadsOnlyThePacketsItNeeds)
{
    gptest::RowsInPackets source(250, 10);
    DataSetProvider provider(&source);
    ClientDataSet cds{"Cache"};
    cds.setProvider(&provider);
    cds.setPacketRecords(100);
    cds.open();
    EXPECT_LE(source.produced, 110);
    EXPECT_EQ(cds.rowValues(120, 1).value(0).value(0).toInt(), 121);
    EXPECT_LE(source.produced, 210);
}

TEST_F(Lines, ChangesKeptOnePerRowWithTheRowAsItArrived)
{
    ds.mergeChangeLog();   // the rows of the fixture
    ASSERT_TRUE(ds.findKey({1, "A", 1}));
    ds.edit();
    ds.fieldByName("Descripcion").setAsString("primera");
    ds.post();
    ds.edit();
    ds.fieldByName("Descripcion").setAsString("segunda");
    ds.post();
    ASSERT_TRUE(ds.findKey({2, "B", 1}));
    ds.edit();
    ds.fieldByName("Descripcion").setAsString("antes de borrar");
    ds.post();
    ds.remove();
    add(4, "A", 1, "nueva");
    ASSERT_TRUE(ds.findKey({4, "A", 1}));
    ds.edit();
    ds.fieldByName("Descripcion").setAsString("nueva editada");
    ds.post();
    add(5, "A", 1, "efímera");
    ASSERT_TRUE(ds.findKey({5, "A", 1}));
    ds.remove();

    using K = ClientDataSet::ChangeKind;
    const QVector<ClientDataSet::Change> changes = ds.changes();
    ASSERT_EQ(changes.size(), 3);
    EXPECT_EQ(changes[0].kind, K::Modified);
    EXPECT_EQ(changes[0].original.value(3).toString(), "Uno A Uno");
    EXPECT_EQ(changes[0].current.value(3).toString(), "segunda");
    EXPECT_EQ(changes[1].kind, K::Deleted);
    EXPECT_EQ(changes[1].original.value(3).toString(), "dos b uno");
    EXPECT_EQ(changes[2].kind, K::Inserted);
    EXPECT_EQ(changes[2].current.value(3).toString(), "nueva editada");
    ds.mergeChangeLog();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.recordCount(), 5);
}
