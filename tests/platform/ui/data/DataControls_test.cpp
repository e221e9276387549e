#include "tests/platform/ui/data/GridFixture.h"

#include "platform/ui/Application.h"
#include "platform/ui/Published.h"
#include "platform/ui/Components.h"
#include "platform/ui/data/DBGrid.h"
#include "platform/ui/data/DataControls.h"
#include "platform/ui/data/DataSetComponents.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace plat;

namespace {

class DataControls : public gptest::GridData
{
protected:
    void SetUp() override
    {
        GridData::SetUp();
        fill(6);
        open();
        source.setDataSet(table.get());
        window.resize(300, 200);
    }
    void showActive()
    {
        window.show();
        QApplication::setActiveWindow(&window);
    }
    DataSource source;
    QWidget window;
};

// A bare owner of components, as a data module is.
class ComponentOwnerForTest : public ComponentOwner
{
public:
    explicit ComponentOwnerForTest(QObject *object) : object_(object) {}
    QObject *ownerObject() override { return object_; }

private:
    QObject *object_;
};

} // namespace

TEST_F(DataControls, AnEditShowsItsFieldAndWritesWhatIsTyped)
{
    auto *edit = new DBEdit(&window);
    auto *other = new DBEdit(&window);
    edit->setDataSource(&source);
    EXPECT_TRUE(writeProperty(edit, QStringLiteral("DataField"), QStringLiteral("Nombre")));
    other->setDataSource(&source);
    other->setDataField(QStringLiteral("Codigo"));
    showActive();
    EXPECT_EQ(edit->text(), "Artículo 1");
    EXPECT_EQ(readProperty(edit, QStringLiteral("DataSource")).value<QObject *>(), &source);
    table->next();
    EXPECT_EQ(edit->text(), "Artículo 2");
    EXPECT_EQ(other->text(), "2");

    QStringList states;
    source.OnStateChange = [&](QObject *) { states << QString::number(int(table->state())); };
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("Clavo"));
    EXPECT_EQ(table->state(), DataSetState::Edit) << "typing puts the dataset in edit state";
    EXPECT_EQ(table->fieldByName("Nombre").asString(), "Clavo");
    EXPECT_FALSE(states.isEmpty());
    table->post();
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Nombre FROM ARTICULOS WHERE Codigo = 2"), {}, SqlOrigin::AsWritten)
                  .toString(),
              "Clavo");

    // Without AutoEdit the edit refuses the change and shows the field again.
    source.setAutoEdit(false);
    QTest::keyClicks(edit, QStringLiteral("x"));
    EXPECT_EQ(table->state(), DataSetState::Browse);
    EXPECT_EQ(edit->text(), "Clavo");
}

TEST_F(DataControls, GetAndSetTextHooksAreHonoured)
{
    Field &precio = table->fieldByName("Precio");
    precio.OnGetText = [](Field &f, QString &text, bool display) {
        text = display ? QStringLiteral("%1 €").arg(f.asString()) : f.asString();
    };
    QStringList setTexts;
    precio.OnSetText = [&](Field &f, const QString &text) {
        setTexts << text;
        f.setAsFloat(text.toDouble() * 2);
    };
    auto *elsewhere = new QLineEdit(&window);   // takes the focus when the window activates
    auto *label = new DBText(&window);
    label->setDataSource(&source);
    label->setDataField(QStringLiteral("Precio"));
    auto *edit = new DBEdit(&window);
    edit->setDataSource(&source);
    edit->setDataField(QStringLiteral("Precio"));
    showActive();
    elsewhere->setFocus();
    EXPECT_EQ(label->text(), "1,5 €");
    EXPECT_EQ(edit->text(), "1,5 €");   // not focused: the display text

    edit->setFocus();
    EXPECT_EQ(edit->text(), "1,5");     // focused: the edit text
    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("4"));
    elsewhere->setFocus();
    EXPECT_TRUE(setTexts.contains(QStringLiteral("4")));
    EXPECT_DOUBLE_EQ(precio.asFloat(), 8.0);
    EXPECT_EQ(label->text(), "8 €");
}

// What the record brings to the focused edit (a proposed value, another record) is typed
// over; what the user types, even when its field changes it on the way, is typed on.
TEST_F(DataControls, TheRecordsValueIsTypedOverAndTheTypedTextTypedOn)
{
    table->OnNewRecord = [&](DataSet &) { table->fieldByName("Nombre").setAsString(QStringLiteral("Propuesto")); };
    table->fieldByName("Nombre").OnSetText = [](Field &f, const QString &text) { f.setAsString(text.toUpper()); };
    auto *edit = new DBEdit(&window);
    edit->setDataSource(&source);
    edit->setDataField(QStringLiteral("Nombre"));
    showActive();
    edit->setFocus();
    edit->setCursorPosition(0);
    table->append();
    EXPECT_EQ(edit->text(), "Propuesto");
    QTest::keyClicks(edit, QStringLiteral("ab"));
    EXPECT_EQ(table->fieldByName("Nombre").asString(), "AB") << "a proposal typed over, the typed text typed on";
    table->cancel();
    table->first();
    table->next();
    QTest::keyClicks(edit, QStringLiteral("c"));
    EXPECT_EQ(table->fieldByName("Nombre").asString(), "C") << "another record's value typed over";
}

// "Repita por favor": a text its field refuses stays in its edit, selected, with the focus,
// so that the correction is typed there and not in the control the focus was going to. It
// is told once on leaving, and stops an update of the record for a save.
TEST_F(DataControls, ARefusedTextStaysSelectedInItsEditWithTheFocus)
{
    QStringList errors;
    application().OnException = [&](QObject *, const std::exception &e) { errors << QString::fromUtf8(e.what()); };
    const auto restore = qScopeGuard([] { application().OnException = nullptr; });
    auto *precio = new DBEdit(&window);
    precio->setDataSource(&source);
    precio->setDataField(QStringLiteral("Precio"));
    auto *nombre = new DBEdit(&window);
    nombre->setDataSource(&source);
    nombre->setDataField(QStringLiteral("Nombre"));
    showActive();
    precio->setFocus();
    precio->selectAll();
    QTest::keyClicks(precio, QStringLiteral("abc"));
    QTest::keyClick(precio, Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(QApplication::focusWidget(), precio);
    EXPECT_EQ(precio->text(), "abc");
    EXPECT_EQ(precio->selectedText(), "abc");
    EXPECT_DOUBLE_EQ(table->fieldByName("Precio").asFloat(), 1.5);

    nombre->setFocus();   // leaving again with the same text says nothing more
    EXPECT_EQ(errors.size(), 1);
    EXPECT_FALSE(source.UpdateRecord());
    EXPECT_EQ(errors.size(), 2);
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), precio);
    QTest::keyClicks(precio, QStringLiteral("30"));   // replaces the selection
    nombre->setFocus();
    EXPECT_TRUE(source.UpdateRecord());
    EXPECT_EQ(errors.size(), 2);
    EXPECT_DOUBLE_EQ(table->fieldByName("Precio").asFloat(), 30.0);
    EXPECT_EQ(precio->text(), "30");
}

TEST_F(DataControls, CheckBoxWritesItsValuesAndLookupComboWritesTheKey)
{
    auto *check = new DBCheckBox(&window);
    check->setDataSource(&source);
    check->setDataField(QStringLiteral("Activo"));
    check->setValueChecked(QStringLiteral("SI"));
    check->setValueUnchecked(QStringLiteral("NO"));
    showActive();
    EXPECT_FALSE(check->isChecked());   // record 1 is "NO"
    table->next();
    EXPECT_TRUE(check->isChecked());
    check->click();
    EXPECT_EQ(table->state(), DataSetState::Edit);
    EXPECT_EQ(table->fieldByName("Activo").asString(), "NO");
    table->cancel();
    EXPECT_TRUE(check->isChecked());

    TableDataSet &familias = open(QStringLiteral("FAMILIAS"));
    DataSource listSource;
    listSource.setDataSet(&familias);
    auto *combo = new DBLookupComboBox(&window);
    combo->setDataSource(&source);
    combo->setDataField(QStringLiteral("Familia"));
    combo->setKeyField(QStringLiteral("Codigo"));
    combo->setListField(QStringLiteral("Descripcion"));
    combo->setListSource(&listSource);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->currentText(), "Tornillería");   // record 2 has family 1
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    EXPECT_EQ(table->fieldByName("Familia").asInteger(), 2);
    EXPECT_EQ(combo->keyValue().toInt(), 2);
}

// A look-up list is read again when it drops down: rows another window added since are
// offered, even when the list was empty and would not have dropped down at all.
TEST_F(DataControls, ALookupListOffersTheRowsAddedElsewhereWhenItDropsDown)
{
    db().exec(QStringLiteral("DELETE FROM FAMILIAS"), {}, SqlOrigin::AsWritten);
    TableDataSet &familias = open(QStringLiteral("FAMILIAS"));
    DataSource listSource;
    listSource.setDataSet(&familias);
    auto *combo = new DBLookupComboBox(&window);
    combo->setDataSource(&source);
    combo->setDataField(QStringLiteral("Familia"));
    combo->setKeyField(QStringLiteral("Codigo"));
    combo->setListField(QStringLiteral("Descripcion"));
    combo->setListSource(&listSource);
    showActive();
    ASSERT_EQ(combo->count(), 0);

    db().exec(QStringLiteral("INSERT INTO FAMILIAS (Codigo, Descripcion) VALUES (3, 'Ferretería')"), {},
              SqlOrigin::AsWritten);
    combo->showPopup();
    ASSERT_EQ(combo->count(), 1);
    EXPECT_EQ(combo->itemText(0), "Ferretería");
    EXPECT_TRUE(combo->view()->isVisible());
    combo->hidePopup();

    db().exec(QStringLiteral("INSERT INTO FAMILIAS (Codigo, Descripcion) VALUES (1, 'Tornillería')"), {},
              SqlOrigin::AsWritten);
    QTest::keyClick(combo, Qt::Key_F4);
    EXPECT_EQ(combo->count(), 2);
    combo->hidePopup();
    // The shown record's key still picks its entry after the list is read again.
    EXPECT_EQ(combo->currentText(), "");   // record 1 has family 2, none here
    table->next();
    EXPECT_EQ(combo->currentText(), "Tornillería");
}

// Typing into a combo box of a record being browsed puts the record in edit state; the
// record read again then must not put back the old text over the first key typed.
TEST_F(DataControls, AComboBoxKeepsTheFirstKeyTypedOverItsText)
{
    auto *combo = new DBComboBox(&window);
    combo->setStyle(ComboBox::csDropDown);
    combo->addItems({QStringLiteral("SI"), QStringLiteral("NO")});
    combo->setDataSource(&source);
    combo->setDataField(QStringLiteral("Nombre"));
    showActive();
    ASSERT_EQ(combo->currentText(), "Artículo 1");
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Proyecto"));
    EXPECT_EQ(table->state(), DataSetState::Edit);
    EXPECT_EQ(combo->currentText(), "Proyecto");
    EXPECT_EQ(table->fieldByName("Nombre").asString(), "Proyecto");
}

// Up and Down go on from the value a list shows, whatever was chosen in it before: in a combo
// box and in a grid's pick list, Up on a record holding the last item chooses the first, and so
// does Down on a new record.
TEST_F(DataControls, UpAndDownChooseFromTheValueShownInEveryList)
{
    auto *combo = new DBComboBox(&window);
    combo->setItems({QStringLiteral("NO"), QStringLiteral("SI")});
    combo->setDataSource(&source);
    combo->setDataField(QStringLiteral("Activo"));
    auto *grid = new DBGrid(&window);
    grid->setDataSource(&source);
    grid->addColumn(QStringLiteral("Activo"))->PickList = combo->items();
    showActive();
    const auto pickList = [grid] {
        grid->edit(grid->model()->index(grid->currentIndex().row(), 0));
        return grid->viewport()->findChild<QComboBox *>();
    };
    for (const std::function<QComboBox *()> &list : {std::function<QComboBox *()>([combo] { return combo; }), {pickList}})
        for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down}) {
            if (key == Qt::Key_Up)
                table->locate(QStringLiteral("Codigo"), 2);   // "SI"
            else
                table->append();
            QTest::keyClick(list(), key);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);   // a pick list's value is written
            QCoreApplication::processEvents();
            EXPECT_EQ(table->fieldByName(QStringLiteral("Activo")).asString(), "NO") << key;
            table->cancel();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
}

TEST_F(DataControls, NavigatorMovesEditsAndRunsItsEvents)
{
    auto *nav = new DBNavigator(&window);
    nav->setDataSource(&source);
    showActive();
    EXPECT_FALSE(nav->button(nbPrior)->isEnabled());
    EXPECT_TRUE(nav->button(nbNext)->isEnabled());
    EXPECT_FALSE(nav->button(nbPost)->isEnabled());
    QList<NavigateButton> clicked;
    nav->OnNavigate = [&](QObject *, NavigateButton b) { clicked << b; };
    nav->BeforeAction = [](QObject *, NavigateButton b) {
        if (b == nbDelete)
            throw gp::Abort();
    };
    nav->BtnClick(nbLast);
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 6);
    nav->BtnClick(nbDelete);   // refused by BeforeAction
    EXPECT_EQ(table->fieldByName("Codigo").asInteger(), 6);
    nav->BtnClick(nbEdit);
    EXPECT_TRUE(nav->button(nbPost)->isEnabled());
    EXPECT_FALSE(nav->button(nbNext)->isEnabled());
    nav->BtnClick(nbCancel);
    EXPECT_EQ(clicked, (QList<NavigateButton>{nbLast, nbEdit, nbCancel}));
    EXPECT_EQ(nav->hints().value(nbFirst), "Primero");
}

TEST(DataSetComponents, AreFoundByNameAndKeepTheirDatasetsName)
{
    gptest::TempDir dir;
    Session session;
    session.connection(QStringLiteral("Database")).setDatabaseName(dir.path());
    TableDef t;
    t.name = QStringLiteral("EMPRESA");
    t.fields = {fieldDef(QStringLiteral("Codigo"), ftInteger, 0, true), fieldDef(QStringLiteral("Nombre"), ftString, 30)};
    IndexDef primary;
    primary.name = QStringLiteral("Clave1");
    primary.fields = {QStringLiteral("Codigo")};
    primary.primary = primary.unique = true;
    t.indexes = {primary};
    session.connection(QStringLiteral("Database")).createTable(t);

    QWidget form;
    ComponentOwnerForTest owner(&form);
    auto *table = owner.make<TableComponent>(QStringLiteral("Empresa"), &form);
    auto *source = owner.make<DataSource>(QStringLiteral("DataSource1"), &form);
    EXPECT_EQ(table->dataSet().name(), "Empresa");
    EXPECT_EQ(owner.findComponent(QStringLiteral("EMPRESA")), table);
    table->table().setConnection(&session.connection(QStringLiteral("Database")));
    EXPECT_TRUE(writeProperty(table, QStringLiteral("TableName"), QStringLiteral("EMPRESA")));
    EXPECT_TRUE(writeProperty(table, QStringLiteral("Active"), true));
    EXPECT_TRUE(table->active());
    source->setDataSet(table);
    EXPECT_EQ(source->dataSet(), &table->dataSet());
    EXPECT_EQ(DataSetComponent::of(&table->dataSet()), table);
    table->table().append();
    table->dataSet().fieldByName(QStringLiteral("Codigo")).setAsInteger(1);
    table->dataSet().post();
    EXPECT_EQ(table->dataSet().recordCount(), 1);
    table->dataSet().close();
}
