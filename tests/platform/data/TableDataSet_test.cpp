#include "platform/base/FechaHora.h"
#include "tests/platform/data/DataFixture.h"

#include "platform/data/ClientDataSet.h"
#include "platform/data/DataSetCopy.h"

using namespace plat;
using gptest::errorText;

namespace {

class TableData : public gptest::DataTest
{
protected:
    void SetUp() override
    {
        DataTest::SetUp();
        if (IsSkipped())
            return;
        createLines();
        lines = table("LINEAS", 3);   // small pages, so every test crosses page ends
        lines->open();
        addLine(*lines, 2, "B", 1, "dos b uno", 10, FechaHora(QDate(2024, 2, 1), QTime(0, 0)));
        addLine(*lines, 1, "A", 2, "uno a dos", 20.5, FechaHora(QDate(2024, 1, 15), QTime(9, 30)));
        addLine(*lines, 1, "A", 1, "Uno A Uno", 1, FechaHora(QDate(2023, 12, 31), QTime(0, 0)));
        addLine(*lines, 1, "B", 1, "uno b uno", 3, FechaHora(QDate(2024, 3, 1), QTime(0, 0)));
        addLine(*lines, 3, "A", 1, "tres", 7, FechaHora(QDate(2024, 1, 2), QTime(0, 0)));
        addLine(*lines, 1, "A", 3, "uno a tres", 8, FechaHora(QDate(2024, 1, 3), QTime(0, 0)));
        addLine(*lines, 2, "A", 1, "dos a uno", 2, FechaHora(QDate(2024, 1, 4), QTime(0, 0)));
    }
    // The statements the work sent through the test's connection.
    quint64 statements(const std::function<void()> &work)
    {
        const quint64 before = db().statementsSent();
        work();
        return db().statementsSent() - before;
    }
    std::unique_ptr<TableDataSet> lines;
};

const QStringList byKey = {"Uno A Uno", "uno a dos", "uno a tres", "uno b uno", "dos a uno", "dos b uno", "tres"};

} // namespace

TEST_P(TableData, RowsComeInIndexOrderAcrossPages)
{
    EXPECT_EQ(column(*lines, "Texto"), byKey);
    EXPECT_EQ(lines->recordCount(), 7);
    QStringList backwards;
    for (lines->last(); !lines->bof(); lines->prior())
        backwards << lines->fieldByName("Texto").asString();
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(backwards, byKey);
    lines->setIndexName("Clave2");   // case-insensitive
    EXPECT_EQ(column(*lines, "Texto"),
              QStringList({"dos a uno", "dos b uno", "tres", "uno a dos", "uno a tres", "Uno A Uno", "uno b uno"}));
    lines->setIndexName("Clave3");   // descending
    EXPECT_EQ(column(*lines, "Texto").mid(0, 3), QStringList({"uno b uno", "dos b uno", "uno a dos"}));
    lines->setIndexFieldNames("Importe");
    EXPECT_EQ(column(*lines, "Importe"), QStringList({"1", "2", "3", "7", "8", "10", "20,5"}));
}

TEST_P(TableData, GridRowsAndPositions)
{
    EXPECT_EQ(lines->rowCount(), 7);
    QVector<QVariantList> rows = lines->rowValues(5, 10);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].value(3).toString(), "dos b uno");
    rows = lines->rowValues(2, 3);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[2].value(3).toString(), "dos a uno");
    lines->moveToRow(4);
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");
    // Jumps far from any page read so far, near either end (pages of three rows).
    for (qint64 start : {6, 3, 1}) {
        auto fresh = table("LINEAS", 3);
        fresh->open();
        const QVector<QStringList> texts = fresh->rowDisplayTexts(start, 1);
        ASSERT_EQ(texts.size(), 1);
        EXPECT_EQ(texts[0].value(3), byKey[start]) << start;
    }
    EXPECT_EQ(lines->currentRow(), 4);
    lines->last();
    EXPECT_EQ(lines->currentRow(), 6);
}

TEST_P(TableData, PostDeleteAndEvents)
{
    int afterPost = 0;
    lines->AfterPost = [&](DataSet &) { ++afterPost; };
    lines->BeforeDelete = [](DataSet &) { throw gp::Abort(); };
    lines->first();
    lines->edit();
    lines->fieldByName("Importe").setAsFloat(99);
    lines->post();
    EXPECT_EQ(afterPost, 1);
    lines->post();   // nothing pending
    EXPECT_EQ(afterPost, 1);
    EXPECT_EQ(errorText([&] { lines->remove(); }), "(abort)");
    EXPECT_EQ(lines->recordCount(), 7);
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "Uno A Uno");
    lines->BeforeDelete = nullptr;
    lines->findKey({1, "B"});
    lines->remove();
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");   // the next one
    auto other = table("LINEAS");
    other->open();
    EXPECT_EQ(other->recordCount(), 6);
    EXPECT_TRUE(other->findKey({1, "A", 1}));
    EXPECT_DOUBLE_EQ(other->fieldByName("Importe").asFloat(), 99);
    // An edit starts from the record as stored now, not as this dataset last read it.
    lines->findKey({1, "A", 1});
    other->edit();
    other->fieldByName("Importe").setAsFloat(5);
    other->post();
    lines->edit();
    EXPECT_DOUBLE_EQ(lines->fieldByName("Importe").asFloat(), 5);
    lines->cancel();
    other->remove();
    EXPECT_EQ(errorText([&] { lines->edit(); }), "Record/Key Deleted");
    EXPECT_EQ(lines->state(), DataSetState::Browse);
}

TEST_P(TableData, EngineAndMisuseErrors)
{
    lines->append();
    lines->fieldByName("Documento").setAsInteger(1);
    lines->fieldByName("Serie").setAsString("A");
    lines->fieldByName("Linea").setAsInteger(1);
    lines->fieldByName("Texto").setAsString("repetida");
    EXPECT_EQ(errorText([&] { lines->post(); }).rfind("Key violation", 0), 0u);
    EXPECT_EQ(lines->state(), DataSetState::Insert);   // the record is not lost
    lines->fieldByName("Texto").setAsString("");
    lines->fieldByName("Linea").setAsInteger(9);
    EXPECT_EQ(errorText([&] { lines->post(); }), "Field 'Texto' must have a value");
    // A handler that finds the next free line number and retries.
    lines->OnPostError = [](DataSet &d, const gp::Error &e, DataAction &action) {
        if (QString(e.what()).startsWith("Key violation")) {
            d.fieldByName("Linea").setAsInteger(d.fieldByName("Linea").asInteger() + 1);
            action = DataAction::Retry;
        }
    };
    lines->fieldByName("Texto").setAsString("repetida");
    lines->fieldByName("Linea").setAsInteger(2);
    lines->post();   // lines 2 and 3 are taken
    EXPECT_EQ(lines->fieldByName("Linea").asInteger(), 4);
    auto missing = table("NOEXISTE");
    EXPECT_EQ(errorText([&] { missing->open(); }).rfind("Table does not exist", 0), 0u);
    EXPECT_FALSE(missing->active());
}

TEST_P(TableData, FindKeyOnLeadingKeyFields)
{
    ASSERT_TRUE(lines->findKey({1, "B"}));   // 2 of the 3 key fields
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "uno b uno");
    ASSERT_TRUE(lines->findKey({"2", "A"}));   // values as text are read by the field's type
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");
    EXPECT_FALSE(lines->findKey({1, "C"}));
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");
    lines->findNearest({1, "C"});
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");
    lines->next();
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos b uno");
    lines->prior();
    lines->prior();
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "uno b uno");
}

TEST_P(TableData, LocateIgnoringCaseAndPartialKeys)
{
    EXPECT_TRUE(lines->locate("Texto", "UNO A UNO", LocateOption::CaseInsensitive));
    EXPECT_EQ(lines->fieldByName("Linea").asInteger(), 1);
    EXPECT_FALSE(lines->locate("Texto", "UNO A UNO"));
    EXPECT_TRUE(lines->locate("Serie;Texto", QVariantList{"A", "Dos"},
                              LocateOption::CaseInsensitive | LocateOption::PartialKey));
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");
    EXPECT_EQ(lines->lookup("Documento;Linea", QVariantList{3, 1}, "Texto").toString(), "tres");
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");
}

// Look-ups read a small table once, only the columns they compare and answer, and keep it
// until the table changes: a write of the session through any dataset, or a refresh of any
// dataset over it, which is how another program's save comes in. A larger table keeps each
// key's answer.
TEST_P(TableData, LookUpsReadTheTableOnceUntilItChanges)
{
    Connection &c = db();
    const auto text = [&](int document, const char *series, int line) {
        return lines->lookup("Documento;Serie;Linea", QVariantList{document, series, line}, "Texto");
    };
    lines->first();
    EXPECT_EQ(statements([&] {
                  for (int round = 0; round < 3; ++round) {
                      EXPECT_EQ(text(1, "A", 2).toString(), "uno a dos");
                      EXPECT_EQ(text(3, "A", 1).toString(), "tres");
                      EXPECT_TRUE(text(9, "Z", 9).isNull());
                  }
              }),
              1u);
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "Uno A Uno");

    auto other = table("LINEAS");
    other->open();
    ASSERT_TRUE(other->locate("Texto", "tres"));
    other->edit();
    other->fieldByName("Texto").setAsString("tres nuevo");
    other->post();
    EXPECT_EQ(statements([&] {
                  EXPECT_EQ(text(3, "A", 1).toString(), "tres nuevo");
                  EXPECT_EQ(text(1, "A", 2).toString(), "uno a dos");
              }),
              1u);

    {
        plat::Session otherProgram;
        database.openAgain(otherProgram, dir.path());
        otherProgram.connection("Database").exec("UPDATE LINEAS SET Texto = 'tres otro' WHERE Documento = 3");
        otherProgram.closeAll();
    }
    other->refresh();
    EXPECT_EQ(text(3, "A", 1).toString(), "tres otro");

    QStringList rows;
    for (int n = 0; n < TableLookups::kWholeRows; ++n)
        rows << QStringLiteral("(9, 'M', %1, 'muchas')").arg(n);
    c.exec("INSERT INTO LINEAS (Documento, Serie, Linea, Texto) VALUES " + rows.join(", "));
    EXPECT_EQ(statements([&] {
                  EXPECT_EQ(text(3, "A", 1).toString(), "tres otro");
                  EXPECT_EQ(text(3, "A", 1).toString(), "tres otro");
                  EXPECT_EQ(text(9, "M", 7).toString(), "muchas");
              }),
              3u);   // the whole table tried once, then each key once
}

// A first read that holds every row the dataset shows is its grid's first page, its last
// record and its look-ups' rows until the rows change; a detail of a master being added
// shows no rows without asking; on PostgreSQL a saved record comes back with its write.
TEST_P(TableData, WhatIsReadOnceIsNotAskedForAgain)
{
    Connection &c = db();
    auto all = table("LINEAS");
    all->open();
    EXPECT_EQ(statements([&] {
                  EXPECT_EQ(all->rowValues(0, 10).size(), 7);
                  all->last();
                  EXPECT_EQ(all->fieldByName("Texto").asString(), "tres");
                  EXPECT_EQ(all->lookup("Documento;Serie;Linea", QVariantList{2, "B", 1}, "Texto").toString(), "dos b uno");
              }),
              0u);

    ASSERT_TRUE(lines->findKey({2, "B", 1}));
    const quint64 saved = statements([&] {
        lines->edit();
        lines->fieldByName("Texto").setAsString("dos b nuevo");
        lines->post();
    });
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos b nuevo");
    if (c.dialect().kind() == EngineKind::PostgreSQL)
        EXPECT_EQ(saved, 2u);   // the edit's read of the row as stored, and the write
    EXPECT_EQ(all->lookup("Documento;Serie;Linea", QVariantList{2, "B", 1}, "Texto").toString(), "dos b nuevo");
    ASSERT_TRUE(lines->findKey({3, "A", 1}));
    lines->edit();
    lines->fieldByName("Texto").setAsString("tres nuevo");
    lines->post();
    all->last();   // another dataset's write ended what the first read held
    EXPECT_EQ(all->fieldByName("Texto").asString(), "tres nuevo");

    TableDef docs;
    docs.name = "DOCUMENTOS";
    docs.fields = {fieldDef("Codigo", ftInteger, 0, true)};
    docs.indexes = {gptest::indexOn("Clave1", {"Codigo"}, true)};
    c.createTable(docs);
    auto master = table("DOCUMENTOS");
    master->open();
    all->setMasterSource(master.get(), "Codigo");
    EXPECT_EQ(statements([&] {
                  master->append();
                  EXPECT_TRUE(all->isEmpty());
                  EXPECT_EQ(all->recordCount(), 0);
              }),
              0u);
    master->fieldByName("Codigo").setAsInteger(3);
    master->post();
    EXPECT_EQ(column(*all, "Texto"), QStringList({"tres nuevo"}));
}

TEST_P(TableData, RangesOnLeadingKeyFields)
{
    lines->setRange({1, "A"}, {1, "A"});
    EXPECT_EQ(column(*lines, "Texto"), QStringList({"Uno A Uno", "uno a dos", "uno a tres"}));
    EXPECT_EQ(lines->recordCount(), 3);
    lines->setRange({1, "B"}, {2, "A"});
    EXPECT_EQ(column(*lines, "Texto"), QStringList({"uno b uno", "dos a uno"}));
    lines->last();
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos a uno");
    lines->cancelRange();
    EXPECT_EQ(lines->recordCount(), 7);
}

TEST_P(TableData, APostSettlesAmongTheRowsHeldAndARangeSetBeforeOpeningIsRead)
{
    auto held = table("LINEAS");
    held->setRange({1, "A"}, {1, "A"});   // before opening: the opening reads the range alone
    EXPECT_EQ(statements([&] { held->open(); }), 1u);
    const auto texts = [&] {
        QStringList out;
        for (const QVariantList &row : held->rowValues(0, 20))
            out << row.value(held->fieldByName("Texto").index()).toString();
        return out;
    };
    EXPECT_EQ(texts(), QStringList({"Uno A Uno", "uno a dos", "uno a tres"}));
    const bool answersRows = db().dialect().kind() == EngineKind::PostgreSQL;
    // Posts at each place among the rows held, a key moved, and one the range does not show:
    // the grid and the last record show what a fresh read shows, and without reading when the
    // write answered the row as stored and its place is known from numbers alone.
    const std::function<void()> posts[] = {
        [&] { addLine(*held, 1, "A", 0, "antes"); },
        [&] { addLine(*held, 1, "A", 9, "despues"); },
        [&] { held->locate("Linea", 2); held->edit(); held->fieldByName("Linea").setAsInteger(5); held->post(); },
        [&] { held->locate("Linea", 3); held->edit(); held->fieldByName("Texto").setAsString("tres"); held->post(); },
        [&] { addLine(*held, 1, "B", 4, "fuera"); },
    };
    for (size_t i = 0; i < std::size(posts); ++i) {
        SCOPED_TRACE(i);
        posts[i]();
        QStringList shown;
        const quint64 reads = statements([&] {
            shown = texts();
            held->last();
        });
        if (answersRows && i < 4)
            EXPECT_EQ(reads, 0u);
        auto fresh = table("LINEAS");
        fresh->setRange({1, "A"}, {1, "A"});
        fresh->open();
        EXPECT_EQ(shown, column(*fresh, "Texto"));
        fresh->last();
        EXPECT_EQ(held->fieldByName("Texto").asString(), fresh->fieldByName("Texto").asString());
    }
    held->close();
    held->cancelRange();   // a range cancelled before opening is not applied
    held->open();
    EXPECT_EQ(held->recordCount(), 10);
}

TEST_P(TableData, BookmarksAcrossDatasetsRefreshAndKeyChanges)
{
    lines->findKey({2, "B", 1});
    const Bookmark mark = lines->bookmark();
    auto other = table("LINEAS");
    other->open();
    other->gotoBookmark(mark);
    EXPECT_EQ(other->fieldByName("Texto").asString(), "dos b uno");
    other->next();
    EXPECT_EQ(other->fieldByName("Texto").asString(), "tres");

    lines->refresh();
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos b uno");
    lines->first();
    lines->gotoBookmark(mark);
    // A post that changes the key keeps the cursor on the record at its new place.
    lines->edit();
    lines->fieldByName("Documento").setAsInteger(0);
    lines->post();
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos b uno");
    EXPECT_TRUE(lines->bof() == false && lines->currentRow() == 0);
    lines->next();
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "Uno A Uno");
    EXPECT_FALSE(lines->bookmarkValid(mark));
}

TEST_P(TableData, MasterDetail)
{
    TableDef docs;
    docs.name = "DOCUMENTOS";
    docs.fields = {fieldDef("Codigo", ftInteger, 0, true), fieldDef("Titulo", ftString, 20)};
    docs.indexes = {gptest::indexOn("Clave1", {"Codigo"}, true)};
    db().createTable(docs);
    auto master = table("DOCUMENTOS");
    master->open();
    for (int code : {1, 2, 4}) {
        master->append();
        master->fieldByName("Codigo").setAsInteger(code);
        master->post();
    }
    lines->setMasterSource(master.get(), "Codigo");
    master->first();
    EXPECT_EQ(column(*lines, "Texto"), QStringList({"Uno A Uno", "uno a dos", "uno a tres", "uno b uno"}));
    master->next();
    EXPECT_EQ(column(*lines, "Texto"), QStringList({"dos a uno", "dos b uno"}));
    master->next();
    EXPECT_TRUE(lines->isEmpty());
    addLine(*lines, 4, "Z", 1, "cuatro");
    EXPECT_EQ(column(*lines, "Texto"), QStringList({"cuatro"}));
    // A new master record has no detail yet; cancelled, the detail of the record shown comes back.
    master->first();
    master->append();
    EXPECT_TRUE(lines->isEmpty());
    master->cancel();
    EXPECT_EQ(column(*lines, "Texto"), QStringList({"Uno A Uno", "uno a dos", "uno a tres", "uno b uno"}));
}

TEST_P(TableData, DatesRoundTripIncludingTheZeroDate)
{
    const QDateTime zero = FechaHora(QDate(1899, 12, 30), QTime(0, 0));
    const QDateTime withTime = FechaHora(QDate(2024, 12, 31), QTime(23, 59, 58));
    addLine(*lines, 5, "A", 1, "cero", 0, zero);
    addLine(*lines, 5, "A", 2, "bisiesto", 0, withTime);
    auto other = table("LINEAS");
    other->open();
    ASSERT_TRUE(other->findKey({5, "A", 1}));
    EXPECT_EQ(other->fieldByName("Fecha").asDateTime(), zero);
    EXPECT_EQ(other->fieldByName("Fecha").asString(), "30/12/1899");
    ASSERT_TRUE(other->findKey({5, "A", 2}));
    EXPECT_EQ(other->fieldByName("Fecha").asDateTime(), withTime);
    other->setIndexName("Clave3");
    other->first();
    EXPECT_EQ(other->fieldByName("Texto").asString(), "bisiesto");
    other->last();
    EXPECT_EQ(other->fieldByName("Texto").asString(), "cero");
}

TEST_P(TableData, EmptyStringsAreStoredAsEmptyNotNull)
{
    TableDef t;
    t.name = "NOTAS";
    t.fields = {fieldDef("Codigo", ftInteger, 0, true), fieldDef("Nota", ftString, 10)};
    t.indexes = {gptest::indexOn("Clave1", {"Codigo"}, true)};
    db().createTable(t);
    auto notas = table("NOTAS");
    notas->open();
    notas->append();
    notas->fieldByName("Codigo").setAsInteger(1);
    notas->post();
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM NOTAS WHERE Nota = ''").toInt(), 1);
}

TEST_P(TableData, QueryParametersFromTheProgramsVariables)
{
    QueryDataSet q("Consulta");
    q.setConnection(&db());
    q.setSql("SELECT Texto, Importe, Fecha FROM LINEAS WHERE Serie = :$Serie AND Importe >= :#Minimo\r\n"
             "  AND Fecha >= :&Desde AND Serie = :$Serie ORDER BY Texto");
    ASSERT_EQ(q.params().size(), 4);
    EXPECT_EQ(q.params()[3].name, "$Serie_2");
    q.paramByName("$Serie").setValue("A");
    q.paramByName("$Serie").dataType = ftString;
    q.paramByName("#Minimo") = Param{"#Minimo", ftFloat, "2,5"};
    q.paramByName("&Desde") = Param{"&Desde", ftDateTime, "01/01/2024"};
    q.paramByName("$Serie_2") = Param{"$Serie_2", ftString, "A"};
    q.open();
    EXPECT_EQ(column(q, "Texto"), QStringList({"tres", "uno a dos", "uno a tres"}));
    EXPECT_EQ(q.fieldByName("Texto").size(), 30);   // declared, not guessed
    EXPECT_EQ(q.fieldByName("Fecha").dataType(), ftDateTime);
    EXPECT_EQ(errorText([&] { q.edit(); }), "Cannot modify a read-only dataset");
    EXPECT_EQ(errorText([&] { q.paramByName("$Otro"); }), "Parameter '$Otro' not found");
    QueryDataSet change("Cambio");
    change.setConnection(&db());
    change.setSql("UPDATE LINEAS SET Importe = :#Nuevo WHERE Documento = :#Doc");
    change.paramByName("#Nuevo") = Param{"#Nuevo", ftInteger, 0};
    change.paramByName("#Doc") = Param{"#Doc", ftInteger, "1"};
    EXPECT_EQ(change.execSql(), 4);
}

// A variable inside a quoted literal is part of the literal's text, its quotes doubled; the
// variables outside literals stay bound.
TEST_P(TableData, AVariableInsideALiteralIsWrittenIntoItsText)
{
    QueryDataSet q("Consulta");
    q.setConnection(&db());
    q.setSql("SELECT 'Serie :$Serie (:#Minimo)' AS Rotulo, Texto FROM LINEAS WHERE Serie = :$Serie AND Importe >= :#Minimo "
             "ORDER BY Texto");
    ASSERT_EQ(q.params().size(), 4);
    q.paramByName("$Serie") = Param{"$Serie", ftString, "O'A"};
    q.paramByName("#Minimo") = Param{"#Minimo", ftFloat, "2,5"};
    q.paramByName("$Serie_1") = Param{"$Serie_1", ftString, "A"};
    q.paramByName("#Minimo_2") = Param{"#Minimo_2", ftFloat, "2,5"};
    q.open();
    EXPECT_EQ(column(q, "Texto"), QStringList({"tres", "uno a dos", "uno a tres"}));
    EXPECT_EQ(column(q, "Rotulo").value(0), "Serie O'A (2.5)");
}

// A list variable holding items is bound item by item outside literals and written in,
// joined by ",", inside them; without items it is left in the text.
TEST_P(TableData, AListVariableBindsOneTextPerItem)
{
    QueryDataSet q("Consulta");
    q.setConnection(&db());
    q.setSql("SELECT 'En :*Series' AS Rotulo, Texto FROM LINEAS WHERE Serie IN (:*Series) AND Documento = 1 ORDER BY Texto");
    const auto abrirCon = [&](const QStringList &series) {
        q.close();
        q.clearParams();
        q.createParam(ftString, "*Series").setValue(series);
        q.createParam(ftString, "*Series_0").setValue(series);
        q.open();
        return column(q, "Texto");
    };
    EXPECT_EQ(abrirCon({"A", "B"}), QStringList({"Uno A Uno", "uno a dos", "uno a tres", "uno b uno"}));
    EXPECT_EQ(column(q, "Rotulo").value(0), "En A,B");
    EXPECT_EQ(abrirCon({"O'B"}), QStringList());
    EXPECT_EQ(column(q, "Rotulo"), QStringList());
    EXPECT_EQ(abrirCon({""}), QStringList());   // one empty text: no row has it
    q.setSql("SELECT 'En :*Series' AS Rotulo FROM LINEAS WHERE Serie = 'A' AND Documento = 3");
    q.createParam(ftString, "*Series").setValue(QStringList({"O'B", "C"}));
    q.open();
    EXPECT_EQ(column(q, "Rotulo"), QStringList({"En O'B,C"}));
    q.close();
    q.clearParams();
    q.open();
    EXPECT_EQ(column(q, "Rotulo"), QStringList({"En :*Series"}));
    EXPECT_EQ(errorText([&] {
                  QueryDataSet top("Primeras");
                  top.setConnection(&db());
                  top.setSqlOrigin(SqlOrigin::Program);
                  top.setSql("SELECT TOP 2 * FROM LINEAS ORDER BY Texto");
                  top.open();
                  EXPECT_EQ(column(top, "Texto").size(), 2);
              }),
              "(no error)");
}

TEST_P(TableData, ALargeQueryReadsOnFromTheRowsItStartedWithWhileTheProgramWrites)
{
    db().exec(QStringLiteral("CREATE TABLE MUCHAS (Codigo INTEGER, Nombre VARCHAR(20))"), {}, SqlOrigin::AsWritten);
    db().startTransaction();
    QStringList values;
    for (int i = 1; i <= 2500; ++i)
        values << QStringLiteral("(%1, 'Fila %1')").arg(i);
    db().exec(QStringLiteral("INSERT INTO MUCHAS (Codigo, Nombre) VALUES ") + values.join(u','), {}, SqlOrigin::AsWritten);
    db().commit();

    QueryDataSet q("Consulta");
    q.setConnection(&db());
    q.setSql("SELECT Codigo, Nombre FROM MUCHAS ORDER BY Codigo");
    q.open();
    EXPECT_EQ(q.fieldByName("Nombre").asString(), "Fila 1");
    // The program goes on using the connection while the query is open and half read.
    db().exec(QStringLiteral("DELETE FROM MUCHAS WHERE Codigo > 1000"), {}, SqlOrigin::AsWritten);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM MUCHAS")).toInt(), 1000);
    int read = 0;
    qint64 last = 0;
    for (q.first(); !q.eof(); q.next()) {
        ++read;
        last = q.fieldByName("Codigo").asInteger();
    }
    EXPECT_EQ(read, 2500);
    EXPECT_EQ(last, 2500);
    EXPECT_EQ(q.recordCount(), 2500);
    q.close();
    // Closed before its end, a query gives up the rest; the connection goes on.
    q.open();
    q.close();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM MUCHAS")).toInt(), 1000);
    // A change of structure of a table that an open query is still reading (more rows
    // than the server can send ahead) waits for nothing: the rows are all there afterwards.
    db().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1001 UNION ALL SELECT i + 1 FROM n WHERE i < 200000) "
                             "INSERT INTO MUCHAS (Codigo, Nombre) SELECT i, 'Fila' FROM n"),
              {}, SqlOrigin::AsWritten);
    q.open();
    db().exec(QStringLiteral("DROP TABLE MUCHAS"), {}, SqlOrigin::AsWritten);
    EXPECT_EQ(q.recordCount(), 200000);
    q.last();
    EXPECT_EQ(q.fieldByName("Codigo").asInteger(), 200000);
}

TEST_P(TableData, ASteppedQueryHandsAClientItsPacketsAsAsked)
{
    db().exec(QStringLiteral("CREATE TABLE MUCHAS (Codigo INTEGER, Nombre VARCHAR(20))"), {}, SqlOrigin::AsWritten);
    db().exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2500) "
                             "INSERT INTO MUCHAS (Codigo, Nombre) SELECT i, 'Fila ' || i FROM n"),
              {}, SqlOrigin::AsWritten);
    QueryDataSet q("Consulta");
    q.setConnection(&db());
    q.setStepRows(true);
    q.setSql("SELECT Codigo, Nombre FROM MUCHAS ORDER BY Codigo");
    DataSetProvider provider(&q);
    ClientDataSet cds("Cache");
    cds.setProvider(&provider);
    cds.setPacketRecords(100);
    cds.open();
    EXPECT_EQ(cds.fieldByName("Nombre").asString(), "Fila 1");
    // The connection serves other statements while the answer is half read.
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM MUCHAS")).toInt(), 2500);
    EXPECT_EQ(cds.rowValues(1499, 1).value(0).value(0).toInt(), 1500);
    EXPECT_EQ(cds.recordCount(), 2500);
    cds.last();
    EXPECT_EQ(cds.fieldByName("Codigo").asInteger(), 2500);
    // Closed half read and opened again, it starts from the first row.
    cds.close();
    q.close();
    cds.emptyRows();
    cds.open();
    EXPECT_EQ(cds.fieldByName("Codigo").asInteger(), 1);
}

TEST_P(TableData, LiveQueriesWriteThroughToTheirTable)
{
    QueryDataSet q("Consulta");
    q.setConnection(&db());
    q.setRequestLive(true);
    q.setSql("SELECT Documento, Serie, Linea, Texto, Importe * 2 AS Doble FROM LINEAS WHERE Serie = 'B' ORDER BY Documento");
    q.open();
    EXPECT_EQ(q.liveTable(), "LINEAS");
    for (q.first(); !q.eof(); q.next()) {
        q.edit();
        q.fieldByName("Texto").setAsString(q.fieldByName("Texto").asString().toUpper());
        q.post();
    }
    q.first();
    q.remove();
    auto check = table("LINEAS");
    check->open();
    EXPECT_EQ(check->recordCount(), 6);
    EXPECT_TRUE(check->locate("Texto", "DOS B UNO"));
    EXPECT_FALSE(check->locate("Texto", "UNO B UNO", LocateOption::CaseInsensitive));

    QueryDataSet joined("Cruce");
    joined.setConnection(&db());
    joined.setRequestLive(true);
    joined.setSql("SELECT a.Texto FROM LINEAS a JOIN LINEAS b ON a.Documento = b.Documento");
    joined.open();
    EXPECT_EQ(errorText([&] { joined.edit(); }), "Cannot modify a read-only dataset");
    QueryDataSet keyless("SinClave");
    keyless.setConnection(&db());
    keyless.setRequestLive(true);
    keyless.setSql("SELECT Texto FROM LINEAS");
    keyless.open();
    EXPECT_EQ(errorText([&] { keyless.edit(); }), "Cannot modify a read-only dataset");
}

TEST_P(TableData, ClientDatasetFedFromAQuery)
{
    for (int packet : {-1, 2}) {
        QueryDataSet q("Consulta");
        q.setConnection(&db());
        q.setSql("SELECT Documento, Serie, Linea, Texto FROM LINEAS ORDER BY Documento, Serie, Linea");
        DataSetProvider provider(&q);
        ClientDataSet cds("Cache");
        cds.setProvider(&provider);
        cds.setPacketRecords(packet);
        cds.open();
        cds.next();
        const Bookmark mark = cds.bookmark();
        q.close();
        EXPECT_EQ(column(cds, "Texto"), byKey) << packet;
        cds.OnFilterRecord = [](DataSet &d, bool &accept) { accept = d.fieldByName("Serie").asString() == "B"; };
        cds.setFiltered(true);
        EXPECT_EQ(cds.recordCount(), 2) << packet;
        cds.setFiltered(false);
        cds.gotoBookmark(mark);
        EXPECT_EQ(cds.fieldByName("Texto").asString(), "uno a dos") << packet;
        EXPECT_EQ(cds.fieldByName("Texto").size(), 30) << packet;
    }
}

TEST_P(TableData, FiltersOverTextsNumbersAndDates)
{
    addLine(*lines, 4, "A", 1, "l'ultima", 5.5, FechaHora(QDate(2024, 1, 20), QTime(12, 0)));
    struct Case { const char *filter; QStringList expected; };
    const Case cases[] = {
        {"Serie = 'B'", {"uno b uno", "dos b uno"}},
        {"(Importe >= '7') AND (Importe < '20,5')", {"uno a tres", "dos b uno", "tres"}},
        {"(Fecha >= '01/01/2024') AND\r\n(Fecha < '15/01/2024')", {"uno a tres", "dos a uno", "tres"}},
        {"texto = 'l''ultima'", {"l'ultima"}},
        {"(Documento = '1') and not (Serie = 'A') or (Linea > '2')", {"uno a tres", "uno b uno"}},
        {"Texto = 'uno*'", {"uno a dos", "uno a tres", "uno b uno"}},
    };
    for (const Case &c : cases) {
        lines->setFilter(QString::fromUtf8(c.filter));
        lines->setFiltered(true);
        EXPECT_EQ(column(*lines, "Texto"), c.expected) << c.filter;
        EXPECT_EQ(lines->recordCount(), c.expected.size()) << c.filter;
        lines->setFiltered(false);
    }
    EXPECT_EQ(lines->recordCount(), 8);
}

TEST_P(TableData, BadFiltersRaiseAndKeepThePreviousOne)
{
    lines->setFilter("Serie = 'B'");
    lines->setFiltered(true);
    EXPECT_EQ(errorText([&] { lines->setFilter("Importe = 'mucho'"); }), "Type mismatch in expression");
    EXPECT_NE(errorText([&] { lines->setFilter("(Serie = 'A'"); }), "(no error)");
    EXPECT_NE(errorText([&] { lines->setFilter("Nada = 'A'"); }), "(no error)");
    EXPECT_EQ(lines->filter(), "Serie = 'B'");
    EXPECT_EQ(lines->recordCount(), 2);
    lines->setFiltered(false);
    lines->setFilter("Fecha = '31/02/2024'");
    EXPECT_EQ(errorText([&] { lines->setFiltered(true); }), "Type mismatch in expression");
    EXPECT_FALSE(lines->filtered());
    EXPECT_EQ(lines->recordCount(), 7);
}

TEST_P(TableData, FilterWithCalculatedFieldsIsTestedOnEachRow)
{
    lines->close();
    lines->addCalculatedField("Doble", ftFloat);
    lines->OnCalcFields = [](DataSet &d) { d.fieldByName("Doble").setAsFloat(2 * d.fieldByName("Importe").asFloat()); };
    lines->open();
    lines->setFilter("(Doble > '10') AND (Serie = 'A')");
    lines->setFiltered(true);
    EXPECT_EQ(column(*lines, "Texto"), QStringList({"uno a dos", "uno a tres", "tres"}));
    EXPECT_EQ(lines->rowCount(), 3);
    EXPECT_EQ(lines->rowValues(2, 1).value(0).value(3).toString(), "tres");
}

TEST_P(TableData, CopyTakesTheShownRowsBatchByBatchAndLeavesTheRecord)
{
    db().createTable({"COPIA", db().columns("LINEAS"), db().indexes("LINEAS")});
    db().exec("INSERT INTO COPIA (Documento, Serie, Linea, Texto) VALUES (1, 'A', 3, 'antes')");
    lines->close();
    lines->addCalculatedField("Doble", ftFloat);
    lines->OnCalcFields = [](DataSet &d) { d.fieldByName("Doble").setAsFloat(2 * d.fieldByName("Importe").asFloat()); };
    lines->open();
    lines->setRange({1}, {2});
    lines->setFilter("Doble > '5'");   // tested row by row, past the batches' statements
    lines->setFiltered(true);
    lines->last();

    const CopyCounts n = copyRecords(*lines, db(), "COPIA", CopyMode::AppendAndUpdate, 2);
    EXPECT_EQ(n.appended, 3);
    EXPECT_EQ(n.updated, 1);
    QStringList copied;
    for (const auto &row : db().query("SELECT Texto FROM COPIA ORDER BY Documento, Serie, Linea").rows)
        copied << row.value(0).toString();
    EXPECT_EQ(copied, QStringList({"uno a dos", "uno a tres", "uno b uno", "dos b uno"}));
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos b uno");
}

// Into an empty table of another SQLite file the engine moves each batch itself: the same
// rows in the same order, a refused record stopping the copy after the ones before it.
TEST_P(TableData, CopyIntoAnotherFileKeepsTheShownRowsAndStopsAtARefusedOne)
{
    if (!isSqlite())
        GTEST_SKIP() << "another company file";
    gptest::TempDir other;
    Connection &target = session->connection(QStringLiteral("DatabaseAlt"));
    target.setDatabaseName(other.path());
    target.createTable({"LINEAS", db().columns("LINEAS"), db().indexes("LINEAS")});
    const auto copied = [&] {
        QStringList texts;
        for (const auto &row : target.query("SELECT Texto || ' ' || Fecha FROM LINEAS ORDER BY Documento, Serie, Linea").rows)
            texts << row.value(0).toString();
        return texts;
    };
    lines->setRange({1}, {2});
    lines->setFilter("Importe > '2'");
    lines->setFiltered(true);
    lines->last();

    CopyCounts n = copyRecords(*lines, target, "LINEAS", CopyMode::AppendAndUpdate, 2);
    EXPECT_EQ(n.appended, 4);
    EXPECT_EQ(copied(), QStringList({"uno a dos 2024-01-15 09:30:00", "uno a tres 2024-01-03 00:00:00",
                                     "uno b uno 2024-03-01 00:00:00", "dos b uno 2024-02-01 00:00:00"}));
    EXPECT_EQ(lines->fieldByName("Texto").asString(), "dos b uno");
    EXPECT_EQ(target.query("PRAGMA database_list").rows.size(), 1);   // the source is let go

    target.exec("DELETE FROM LINEAS");
    target.exec("CREATE TRIGGER rechazo BEFORE INSERT ON LINEAS WHEN NEW.Texto = 'dos a uno' "
                "BEGIN SELECT RAISE(ABORT, 'rechazado'); END");
    lines->cancelRange();
    lines->setFiltered(false);
    EXPECT_NE(errorText([&] { copyRecords(*lines, target, "LINEAS", CopyMode::AppendAndUpdate, 2); }).find("rechazado"),
              std::string::npos);
    EXPECT_EQ(copied().size(), 4);
    EXPECT_EQ(target.query("PRAGMA database_list").rows.size(), 1);
}

TEST_P(TableData, TablesMadeEmptiedAndDroppedFromTheirDefinitions)
{
    auto temp = table("_QS1TEMP");
    temp->setFieldDefs({fieldDef("Codigo", ftInteger), fieldDef("Nombre", ftString, 12)});
    temp->setIndexDefs({gptest::indexOn("Clave2", {"Nombre"}, false, true), gptest::indexOn("", {"Codigo"}, true)});
    temp->createTable();
    temp->open();
    EXPECT_EQ(temp->indexFieldNames(), "Codigo");
    EXPECT_EQ(temp->fieldByName("Nombre").size(), 12);
    for (int i = 1; i <= 3; ++i) {
        temp->append();
        temp->fieldByName("Codigo").setAsInteger(i);
        temp->fieldByName("Nombre").setAsString(QString("n%1").arg(i));
        temp->post();
    }
    EXPECT_EQ(temp->recordCount(), 3);
    temp->emptyTable();
    EXPECT_TRUE(temp->isEmpty());
    EXPECT_EQ(errorText([&] { temp->createTable(); }), "Cannot perform this operation on an open dataset");
    temp->close();
    temp->createTable();   // replaces the table of that name
    temp->deleteTable();
    EXPECT_EQ(errorText([&] { temp->open(); }).rfind("Table does not exist", 0), 0u);
}

TEST_P(TableData, AutoIncrementKeysComeBackToTheRecord)
{
    TableDef t;
    t.name = "AVISOS";
    t.fields = {fieldDef("Numero", ftAutoInc), fieldDef("Texto", ftString, 20)};
    t.indexes = {gptest::indexOn("Clave1", {"Numero"}, true)};
    db().createTable(t);
    auto avisos = table("AVISOS");
    avisos->open();
    for (const char *text : {"primero", "segundo"}) {
        avisos->append();
        avisos->fieldByName("Texto").setAsString(text);
        avisos->post();
        EXPECT_EQ(avisos->fieldByName("Texto").asString(), text);   // stays on the new record
    }
    EXPECT_EQ(avisos->fieldByName("Numero").asInteger(), 2);
    EXPECT_EQ(avisos->bookmark().key, QVariantList({2}));
}

INSTANTIATE_TEST_SUITE_P(Engines, TableData, GP_DATA_BACKENDS);
