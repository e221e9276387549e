#include "platform/ui/Canvas.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Form.h"
#include "platform/ui/Grids.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Published.h"
#include "platform/ui/SpinEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QMimeData>
#include <QPrinter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace plat;

namespace {

// A dialog with an edit and the usual OK / Cancel buttons.
class DialogForm : public Form
{
    Q_OBJECT
public:
    DialogForm()
    {
        auto *box = new QVBoxLayout(this);
        edit = make<Edit>(QStringLiteral("EditRespuesta"), this);
        ok = make<Button>(QStringLiteral("pbAceptar"), this);
        ok->setCaption(QStringLiteral("&Aceptar"));
        ok->setModalResult(mrOk);
        ok->setDefaultButton(true);
        cancel = make<Button>(QStringLiteral("pbCancelar"), this);
        cancel->setModalResult(mrCancel);
        cancel->setCancelButton(true);
        for (QWidget *w : std::initializer_list<QWidget *>{edit, ok, cancel})
            box->addWidget(w);
    }
    Edit *edit;
    Button *ok;
    Button *cancel;
};

} // namespace

TEST(Buttons, ModalResultsComeFromButtonsEnterAndEsc)
{
    std::unique_ptr<DialogForm> form(createForm<DialogForm>());
    QTimer::singleShot(0, form.get(), [&] { QTest::mouseClick(form->ok, Qt::LeftButton); });
    EXPECT_EQ(form->ShowModal(), mrOk);

    QTimer::singleShot(0, form.get(), [&] { QTest::keyClick(form->edit, Qt::Key_Return); });
    EXPECT_EQ(form->ShowModal(), mrOk);

    QTimer::singleShot(0, form.get(), [&] { QTest::keyClick(form->edit, Qt::Key_Escape); });
    EXPECT_EQ(form->ShowModal(), mrCancel);

    // Enter on a focused button presses that button, not the default one.
    QTimer::singleShot(0, form.get(), [&] {
        form->cancel->setFocus();
        QTest::keyClick(form->cancel, Qt::Key_Return);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    // Also in a form whose own key handler moves on with Enter, for each of its buttons.
    form->setKeyPreview(true);
    form->OnKeyPress = [&](QObject *, QChar &key) {
        if (key == u'\r') {
            key = QChar();
            form->selectNext(true);
        }
    };
    for (Button *button : {form->ok, form->cancel}) {
        QTimer::singleShot(0, form.get(), [&] {
            button->setFocus();
            QTest::keyClick(button, Qt::Key_Return);
            if (form->modalResult() == mrNone)
                form->setModalResult(mrAbort);   // not pressed: the dialog ends all the same
        });
        EXPECT_EQ(form->ShowModal(), button->modalResult()) << button->objectName().toStdString();
    }
    EXPECT_EQ(readProperty(form->ok, QStringLiteral("Caption")).toString(), "&Aceptar");
    EXPECT_EQ(readProperty(form->ok, QStringLiteral("ModalResult")).toInt(), mrOk);
}

// A dialog opens with the focus in its first field to type in, even when it gave the focus
// to a button on showing: the first keys typed land there.
TEST(Buttons, ADialogOpensWithTheFocusInItsFirstField)
{
    std::unique_ptr<DialogForm> form(createForm<DialogForm>());
    form->OnShow = [&](QObject *) { form->ok->setFocus(); };
    QTimer::singleShot(0, form.get(), [&] {
        EXPECT_EQ(form->focusWidget(), form->edit);
        if (form->focusWidget())
            QTest::keyClicks(form->focusWidget(), QStringLiteral("si"));
        form->cancel->click();
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    EXPECT_EQ(form->edit->text(), "si");

    // Without a field to type in, the button keeps it.
    form->edit->setReadOnly(true);
    QTimer::singleShot(0, form.get(), [&] {
        EXPECT_EQ(form->focusWidget(), form->ok);
        form->cancel->click();
    });
    form->ShowModal();
}

TEST(Buttons, SpeedButtonsNeverTakeTheFocusAndStayDownInTheirGroup)
{
    QWidget parent;
    auto *a = new SpeedButton(&parent);
    auto *b = new SpeedButton(&parent);
    a->setGroupIndex(1);
    b->setGroupIndex(1);
    EXPECT_EQ(a->focusPolicy(), Qt::NoFocus);
    parent.show();
    QTest::mouseClick(a, Qt::LeftButton);
    EXPECT_TRUE(a->isDown() || a->isChecked());
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(b->isChecked());
    EXPECT_FALSE(a->isChecked());
    EXPECT_TRUE(b->property("Down").toBool());   // read by name, as the framework reads it
    EXPECT_FALSE(a->property("Down").toBool());
    QTest::mouseClick(b, Qt::LeftButton);   // the group does not allow all up
    EXPECT_TRUE(b->isChecked());
    b->setAllowAllUp(true);
    QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_FALSE(b->isChecked());
    EXPECT_FALSE(a->hasFocus() || b->hasFocus());
}

TEST(Edits, OwnKeyHandlersRunAfterTheFormsPreview)
{
    std::unique_ptr<DialogForm> form(createForm<DialogForm>());
    QStringList order;
    form->setKeyPreview(true);
    form->OnKeyPress = [&](QObject *, QChar &key) { order << QStringLiteral("form:") + key; };
    form->edit->OnKeyPress = [&](QObject *sender, QChar &key) {
        EXPECT_EQ(sender, form->edit);
        order << QStringLiteral("edit:") + key;
        key = key.toUpper();
    };
    int changes = 0;
    form->edit->OnChange = [&](QObject *) { ++changes; };
    form->Show();
    QTest::keyClicks(form->edit, QStringLiteral("ab"));
    EXPECT_EQ(order, (QStringList{"form:a", "edit:a", "form:b", "edit:b"}));
    EXPECT_EQ(form->edit->text(), "AB");
    EXPECT_EQ(changes, 2);

    form->edit->setPasswordChar(QLatin1Char('*'));
    EXPECT_EQ(form->edit->echoMode(), QLineEdit::Password);
    form->edit->setText(QStringLiteral("uno :SelStart:dos"));
    form->edit->setSelection(4, 10);
    EXPECT_EQ(form->edit->selStart(), 4);
    EXPECT_EQ(form->edit->selLength(), 10);
}

// Line breaks and tabs pasted, dropped or typed into a one-line edit become blanks: no line
// shows them, and a stored text would carry them into listings and exports.
TEST(Edits, OneLineEditsHoldBreaksAndTabsAsBlanks)
{
    EXPECT_EQ(oneLineText(QStringLiteral("linea1\r\nlinea2\tTAB\nfin\r")), "linea1 linea2 TAB fin ");
    Edit edit;
    ComboBox combo;
    for (QLineEdit *line : {static_cast<QLineEdit *>(&edit), combo.lineEdit()}) {
        line->setText(QStringLiteral("<>"));
        line->setCursorPosition(1);
        line->insert(QStringLiteral("linea1\r\nlinea2\tTAB"));
        EXPECT_EQ(line->text(), "<linea1 linea2 TAB>");
        EXPECT_EQ(line->cursorPosition(), 18);
    }
    combo.setStyle(ComboBox::csDropDownList);
    combo.setStyle(ComboBox::csDropDown);
    combo.lineEdit()->insert(QStringLiteral("a\nb"));
    EXPECT_EQ(combo.currentText(), "a b");
}

TEST(Edits, MemoTextUsesCrLfBetweenLines)
{
    Memo memo;
    memo.setText(QStringLiteral("uno\r\ndos\nTres"));
    EXPECT_EQ(memo.lines(), (QStringList{"uno", "dos", "Tres"}));
    EXPECT_EQ(memo.text(), "uno\r\ndos\r\nTres");
    EXPECT_EQ(readProperty(&memo, QStringLiteral("Text")).toString(), "uno\r\ndos\r\nTres");
    EXPECT_TRUE(writeProperty(&memo, QStringLiteral("ReadOnly"), true));
    EXPECT_TRUE(memo.isReadOnly());
}

TEST(Grids, SelectCellCanRefuseAndFixedCellsAreNeverCurrent)
{
    StringGrid grid;
    grid.setColCount(3);
    grid.setRowCount(4);
    grid.setCell(1, 0, QStringLiteral("Código"));
    grid.setCell(1, 2, QStringLiteral("Año"));
    EXPECT_EQ(grid.cell(1, 2), "Año");
    EXPECT_EQ(grid.cell(2, 3), "");
    QList<QPoint> asked;
    grid.OnSelectCell = [&](QObject *, int col, int row, bool &canSelect) {
        asked << QPoint(col, row);
        canSelect = row != 3;
    };
    grid.resize(400, 300);
    grid.show();
    grid.setCurrentCell(1, 1);
    grid.setFocus();

    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.row(), 2);
    QTest::keyClick(&grid, Qt::Key_Down);   // refused
    EXPECT_EQ(grid.row(), 2);
    const QRect fixedCell = grid.visualRect(grid.model()->index(0, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, fixedCell.center());
    EXPECT_EQ(grid.row(), 2);
    const QRect refused = grid.visualRect(grid.model()->index(3, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, refused.center());
    EXPECT_EQ(grid.row(), 2);
    const QRect allowed = grid.visualRect(grid.model()->index(1, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, allowed.center());
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 2);
    EXPECT_TRUE(asked.contains(QPoint(1, 3)));
    EXPECT_FALSE(asked.contains(QPoint(2, 0)));
}

TEST(Grids, ColumnsMovedAndSizedByTheirTitleCellsAndHiddenByWidthMinusOne)
{
    StringGrid grid;
    grid.setColCount(4);
    grid.setRowCount(2);
    grid.setFixedCols(0);
    for (int c = 0; c < 4; ++c) {
        grid.setCell(c, 0, QString(QChar(u'A' + c)));
        grid.setCell(c, 1, QString::number(c));
        grid.setColWidth(c, 50 + c);
    }
    grid.setColWidth(1, -1);
    EXPECT_EQ(grid.colWidth(1), -1);
    EXPECT_TRUE(grid.isColumnHidden(1));
    QList<QPoint> moves;
    grid.OnColumnMoved = [&](QObject *, int from, int to) { moves << QPoint(from, to); };
    grid.resize(400, 200);
    grid.show();
    const auto title = [&](int c) { return grid.visualRect(grid.model()->index(0, c)); };
    const auto titles = [&] {
        QStringList t;
        for (int c = 0; c < grid.colCount(); ++c)
            t << grid.cell(c, 0) + grid.cell(c, 1) + u':' + QString::number(grid.colWidth(c));
        return t;
    };

    // Without moving on, a title cell is only a cell.
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, title(0).center());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, title(3).center());
    EXPECT_TRUE(moves.isEmpty());

    grid.setColumnMoving(true);
    grid.setColumnSizing(true);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, title(0).center());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, title(3).center());
    EXPECT_EQ(moves, QList<QPoint>({QPoint(0, 3)}));
    EXPECT_EQ(titles(), QStringList({"B1:-1", "C2:52", "D3:53", "A0:50"}));
    grid.moveColumn(3, 1);
    EXPECT_EQ(titles(), QStringList({"B1:-1", "A0:50", "C2:52", "D3:53"}));

    // The right edge of a title dragged 30 pixels to the right; a data row is no handle.
    const QPoint edge(grid.columnViewportPosition(1) + grid.columnWidth(1), title(1).center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, edge);
    QTest::mouseMove(grid.viewport(), edge + QPoint(30, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, edge + QPoint(30, 0));
    EXPECT_EQ(grid.colWidth(1), 80);
    const QRect cell = grid.visualRect(grid.model()->index(1, 2));
    QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, title(3).center());
    EXPECT_EQ(moves.size(), 2);
    EXPECT_EQ(grid.colWidth(2), 52);
}

TEST(Grids, ValueListRowsHoldNamesValuesAndTheirEditors)
{
    ValueListEditor list;
    list.setStrings({QStringLiteral("Empresa=1"), QStringLiteral("Moneda=EUR")});
    list.setValue(QStringLiteral("idioma"), QStringLiteral("ES"));   // new key
    list.setValue(QStringLiteral("EMPRESA"), QStringLiteral("2"));
    EXPECT_EQ(list.strings(), (QStringList{"Empresa=2", "Moneda=EUR", "idioma=ES"}));
    EXPECT_EQ(list.cell(0, 0), "Clave");
    EXPECT_EQ(list.value(QStringLiteral("moneda")), "EUR");

    list.itemProp(QStringLiteral("Moneda")).Style = esPickList;
    list.itemProp(QStringLiteral("Moneda")).PickList = {QStringLiteral("EUR"), QStringLiteral("PTS")};
    list.itemProp(QStringLiteral("Empresa")).Style = esEllipsis;
    int ellipsis = 0;
    list.OnEditButtonClick = [&](QObject *) { ++ellipsis; };
    list.resize(300, 200);
    list.show();

    list.setCurrentCell(1, 2);
    list.edit(list.currentIndex());
    auto *combo = list.viewport()->findChild<QComboBox *>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    combo->setCurrentText(QStringLiteral("PTS"));
    list.setCurrentCell(1, 1);   // leaving the cell commits the value
    QCoreApplication::processEvents();
    EXPECT_EQ(list.value(QStringLiteral("Moneda")), "PTS");
    // Opened again, Up goes on from the value shown.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    list.setCurrentCell(1, 2);
    list.edit(list.currentIndex());
    combo = list.viewport()->findChild<QComboBox *>();
    ASSERT_NE(combo, nullptr);
    QTest::keyClick(combo, Qt::Key_Up);
    EXPECT_EQ(combo->currentText(), "EUR");
    list.setCurrentCell(1, 1);

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    list.edit(list.model()->index(1, 1));
    auto *edit = list.viewport()->findChild<QLineEdit *>();
    ASSERT_NE(edit, nullptr);
    ASSERT_FALSE(edit->actions().isEmpty());
    edit->actions().first()->trigger();
    EXPECT_EQ(ellipsis, 1);
}

TEST(PageControls, AChangingHandlerCanKeepThePage)
{
    PageControl pages;
    auto *uno = new TabSheet;
    uno->setCaption(QStringLiteral("General"));
    auto *dos = new TabSheet;
    dos->setCaption(QStringLiteral("Líneas"));
    auto *tres = new TabSheet;
    tres->setCaption(QStringLiteral("Oculta"));
    pages.addPage(uno);
    pages.addPage(dos);
    pages.addPage(tres);
    tres->setTabVisible(false);
    bool allow = false;
    int changes = 0;
    pages.OnChanging = [&](QObject *, bool &allowChange) { allowChange = allow; };
    pages.OnChange = [&](QObject *) { ++changes; };
    pages.resize(300, 200);
    pages.show();
    const QRect tab = pages.tabBar()->tabRect(1);
    QTest::mouseClick(pages.tabBar(), Qt::LeftButton, {}, tab.center());
    EXPECT_EQ(pages.activePage(), uno);
    allow = true;
    QTest::mouseClick(pages.tabBar(), Qt::LeftButton, {}, tab.center());
    EXPECT_EQ(pages.activePage(), dos);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dos->pageIndex(), 1);
    EXPECT_FALSE(pages.isTabVisible(2));

    // Owner-drawn tabs are numbered among the visible ones.
    QList<int> drawn;
    pages.OnDrawTab = [&](QObject *, int index, const QRect &, bool active) {
        drawn << index;
        pages.canvas()->TextOut(0, 0, active ? QStringLiteral("*") : QString());
    };
    pages.setOwnerDraw(true);
    pages.tabBar()->grab();
    EXPECT_EQ(drawn, (QList<int>{0, 1}));
}

TEST(StatusBars, SimpleTextOrOwnerDrawnPanels)
{
    StatusBar bar;
    bar.resize(400, 24);
    bar.setPanels({{QStringLiteral("Usuario"), 80, true}, {QStringLiteral("Empresa"), 100, true}});
    QList<QRect> rects;
    QStringList texts;
    bar.OnDrawPanel = [&](QObject *, int panel, const QRect &rect) {
        rects << rect;
        texts << bar.panels()[panel].Text;
        bar.canvas()->TextOut(rect.left(), rect.top(), bar.panels()[panel].Text);
    };
    bar.grab();
    ASSERT_EQ(rects.size(), 2);
    EXPECT_EQ(texts, (QStringList{"Usuario", "Empresa"}));
    EXPECT_LT(rects[0].right(), rects[1].left());
    EXPECT_GE(rects[1].right(), 390);   // the last panel takes the rest

    rects.clear();
    bar.setSimplePanel(true);
    bar.setSimpleText(QStringLiteral("Preparado"));
    bar.grab();
    EXPECT_TRUE(rects.isEmpty());
}

TEST(Lists, RadioGroupListBoxAndComboKeepTheirItems)
{
    RadioGroup group;
    group.setItems({QStringLiteral("Aproximada"), QStringLiteral("Parcial"), QStringLiteral("Fonética")});
    EXPECT_EQ(group.itemIndex(), -1);
    group.setItemIndex(2);
    EXPECT_EQ(group.itemIndex(), 2);
    group.setColumns(2);
    EXPECT_EQ(group.itemIndex(), 2);
    group.setItemIndex(-1);
    EXPECT_EQ(group.itemIndex(), -1);

    ListBox list;
    list.setItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    list.setMultiSelect(true);
    list.setSelected(0, true);
    list.setSelected(2, true);
    EXPECT_EQ(list.selCount(), 2);
    EXPECT_TRUE(list.selected(2));
    EXPECT_FALSE(list.selected(1));

    ComboBox combo;
    combo.setStyle(ComboBox::csDropDownList);
    combo.setItems({QStringLiteral("SI"), QStringLiteral("NO")});
    combo.setText(QStringLiteral("NO"));
    EXPECT_EQ(combo.itemIndex(), 1);
    EXPECT_EQ(readProperty(&combo, QStringLiteral("Text")).toString(), "NO");
}

// Drops reach a list only through its handlers: refused ones are ignored, accepted ones are
// handed to OnDragDrop with the drop's position, and the list never takes items by itself.
TEST(Lists, ListBoxDropsGoThroughTheDragHandlers)
{
    ListBox list;
    list.setItems({QStringLiteral("a")});
    list.resize(200, 200);
    list.setDragMode(dmAutomatic);
    EXPECT_EQ(list.dragMode(), dmAutomatic);
    bool accept = false;
    QList<DragState> states;
    QList<QPoint> drops;
    list.OnDragOver = [&](QObject *, QObject *, int, int, DragState state, bool &Accept) {
        states << state;
        Accept = accept;
    };
    list.OnDragDrop = [&](QObject *sender, QObject *, int x, int y) {
        EXPECT_EQ(sender, &list);
        drops << QPoint(x, y);
    };
    QMimeData data;
    data.setText(QStringLiteral("b"));
    const QPoint at(20, 30);
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    const auto send = [&](QDropEvent &&event) {
        QCoreApplication::sendEvent(list.viewport(), &event);
        return event.isAccepted();
    };
    const auto enter = [&] { return send(QDragEnterEvent(at, actions, &data, Qt::LeftButton, {})); };
    const auto move = [&] { return send(QDragMoveEvent(at, actions, &data, Qt::LeftButton, {})); };
    const auto drop = [&] { return send(QDropEvent(at, actions, &data, Qt::LeftButton, {})); };
    EXPECT_FALSE(enter());
    EXPECT_FALSE(drop());
    EXPECT_TRUE(drops.isEmpty());
    accept = true;
    EXPECT_TRUE(enter());
    EXPECT_TRUE(move());
    EXPECT_TRUE(drop());
    EXPECT_EQ(drops, QList<QPoint>{at});
    ASSERT_FALSE(states.isEmpty());
    EXPECT_EQ(states.first(), dsDragEnter);
    EXPECT_EQ(states.last(), dsDragMove);
    EXPECT_EQ(list.items(), QStringList{QStringLiteral("a")});
}

TEST(Timers, TickWhileEnabled)
{
    Timer timer;
    int ticks = 0;
    timer.OnTimer = [&](QObject *) { ++ticks; };
    timer.setInterval(5);
    // A loaded machine may give the first ticks late: wait for them, not for a fixed time.
    QElapsedTimer reloj;
    reloj.start();
    while (ticks < 2 && reloj.elapsed() < 5000)
        QTest::qWait(5);
    EXPECT_GT(ticks, 1);
    timer.setEnabled(false);
    const int stopped = ticks;
    QTest::qWait(30);
    EXPECT_EQ(ticks, stopped);
}

TEST(Dialogs, AScriptAnswersForThePerson)
{
    setDialogScript([](QObject *dialog) {
        if (auto *open = qobject_cast<OpenDialog *>(dialog)) {
            open->FileName = QStringLiteral("/tmp/LOGO.BMP");
            return true;
        }
        return false;
    });
    OpenDialog open;
    open.Filter = QStringLiteral("Imágenes|*.bmp;*.jpg|Todos|*.*");
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, "/tmp/LOGO.BMP");
    ColorDialog colour;
    EXPECT_FALSE(colour.Execute());
    setDialogScript(nullptr);
    EXPECT_EQ(OpenDialog::qtFilter(open.Filter), "Imágenes (*.bmp *.jpg);;Todos (*.*)");
    EXPECT_EQ(OpenDialog::qtFilter(QStringLiteral("Texto (*.TXT)|*.TXT|PDF|*.PDF")), "Texto (*.TXT);;PDF (*.PDF)");
}

TEST(Dialogs, TheSaveDialogOffersItsFilterIndexAndTellsTheOneChosen)
{
    // The real dialog, answered by a person's hand: it opens on the second filter, the third
    // is chosen.
    SaveDialog save;
    save.Filter = QStringLiteral("Texto (*.TXT)|*.TXT|CSV (*.CSV)|*.CSV|HTML (*.HTM)|*.HTM");
    save.FilterIndex = 2;
    save.FileName = QDir::temp().filePath(QStringLiteral("INFORME"));
    QString ofrecido;
    QTimer::singleShot(0, [&] {
        auto *dialogo = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialogo, nullptr);
        ofrecido = dialogo->selectedNameFilter();
        dialogo->selectNameFilter(QStringLiteral("HTML (*.HTM)"));
        QMetaObject::invokeMethod(dialogo, "accept");
    });
    EXPECT_TRUE(save.Execute());
    EXPECT_EQ(ofrecido, QStringLiteral("CSV (*.CSV)"));
    EXPECT_EQ(save.FilterIndex, 3);
    EXPECT_TRUE(save.FileName.startsWith(QDir::temp().filePath(QStringLiteral("INFORME"))));

    setDialogScript([](QObject *dialog) { return writeProperty(dialog, QStringLiteral("FilterIndex"), 2); });
    EXPECT_TRUE(save.Execute());
    setDialogScript(nullptr);
    EXPECT_EQ(save.FilterIndex, 2);
}

TEST(Dialogs, ThePrintDialogOffersTheJobsOrientationAndCopiesAndAnswersThePagesChosen)
{
    // The real dialog on a PDF file: pages 2 to 3 chosen, then the next job taken as offered.
    QTemporaryDir carpeta;
    sharedPrinter().setOutputFileName(carpeta.filePath(QStringLiteral("listado.pdf")));
    PrintDialog impresion;
    impresion.Landscape = true;
    impresion.Copies = 3;
    for (const int desde : {2, 0}) {
        QTimer::singleShot(0, [desde] {
            QWidget *d = QApplication::activeModalWidget();
            ASSERT_NE(d, nullptr);
            if (desde > 0) {
                d->findChild<QRadioButton *>(QStringLiteral("printRange"))->setChecked(true);
                d->findChild<QSpinBox *>(QStringLiteral("to"))->setValue(3);
                d->findChild<QSpinBox *>(QStringLiteral("from"))->setValue(desde);
            }
            QMetaObject::invokeMethod(d, "accept");
        });
        ASSERT_TRUE(impresion.Execute());
        EXPECT_EQ(std::tuple(impresion.Landscape, impresion.Copies, impresion.FromPage), std::tuple(true, 3, desde));
        impresion.FromPage = impresion.ToPage = 0;
    }
}

TEST(Dialogs, TheRealDialogsOpenAboveTheWindowInFront)
{
    std::unique_ptr<Form> front(createForm<Form>());
    front->Show();
    QApplication::setActiveWindow(front.get());
    QList<QWidget *> parents;
    const auto answer = [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        parents << (dialog ? dialog->parentWidget() : nullptr);
        if (dialog)
            QMetaObject::invokeMethod(dialog, "reject");
    };
    SaveDialog save;
    OpenDialog open;
    FolderDialog folder;
    QTimer::singleShot(0, answer);
    EXPECT_FALSE(save.Execute());
    QTimer::singleShot(0, answer);
    EXPECT_FALSE(open.Execute());
    QTimer::singleShot(0, answer);
    EXPECT_FALSE(folder.Execute());
    EXPECT_EQ(parents, QList<QWidget *>({front.get(), front.get(), front.get()}));

    // Over a modal form, the modal form is the parent.
    std::unique_ptr<Form> modal(createForm<Form>());
    parents.clear();
    QTimer::singleShot(0, modal.get(), [&] {
        QTimer::singleShot(0, answer);
        save.Execute();
        modal->setModalResult(mrOk);
    });
    modal->ShowModal();
    EXPECT_EQ(parents, QList<QWidget *>({modal.get()}));
}

TEST(Controls, SpinEditHoldsItsRangeAndTellsEachChange)
{
    SpinEdit spin;
    spin.setRange(10, 300);
    spin.setSingleStep(10);
    spin.setValue(100);
    QList<int> cambios;
    spin.OnChange = [&](QObject *) { cambios << spin.value(); };
    for (int v : {5, 400, 400, 150})
        ASSERT_TRUE(writeProperty(&spin, QStringLiteral("Value"), v));
    spin.stepUp();
    EXPECT_EQ(cambios, QList<int>({10, 300, 150, 160}));
    EXPECT_EQ(readProperty(&spin, QStringLiteral("Increment")).toInt(), 10);
}

TEST(Fonts, StoredFontNamesResolveToRealFonts)
{
    // Without a real font Qt draws boxes and says nothing; the program's stored names must
    // land on DejaVu or Liberation.
    for (const char *name : {"Segoe UI", "MS Sans Serif", "Arial", "Courier New", "Tahoma"}) {
        const QString family = QFontInfo(QFont(QString::fromLatin1(name), 8)).family();
        EXPECT_TRUE(family.startsWith(QLatin1String("DejaVu")) || family.startsWith(QLatin1String("Liberation")))
            << name << " -> " << family.toStdString();
    }
    const QString family = QFontInfo(QApplication::font()).family();
    EXPECT_TRUE(family.startsWith(QLatin1String("DejaVu")) || family.startsWith(QLatin1String("Liberation")))
        << family.toStdString();
}

#include "Controls_test.moc"
