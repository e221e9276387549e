#include "platform/ui/Form.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

using namespace plat;

namespace {

class FrameForm : public Form
{
    Q_OBJECT
public:
    FrameForm()
    {
        setObjectName(QStringLiteral("fFRAME"));
        setFormStyle(fsMDIForm);
        resize(800, 600);
        auto *menu = make<MainMenu>(QStringLiteral("MainMenu1"), this);
        baseDatos = make<MenuItem>(QStringLiteral("BaseDatos1"), this);
        baseDatos->setCaption(QStringLiteral("&Base Datos"));
        ventana = make<MenuItem>(QStringLiteral("Ventana1"), this);
        ventana->setCaption(QStringLiteral("&Ventana"));
        ventana->setGroupIndex(9);
        menu->Items()->Add(baseDatos);
        menu->Items()->Add(ventana);
        setMenu(menu);
    }
    MenuItem *baseDatos;
    MenuItem *ventana;
};

class ChildForm : public Form
{
    Q_OBJECT
public:
    ChildForm()
    {
        setFormStyle(fsMDIChild);
        resize(300, 200);
        auto *menu = make<MainMenu>(QStringLiteral("MainMenu1"), this);
        registro = make<MenuItem>(QStringLiteral("Registro1"), this);
        registro->setCaption(QStringLiteral("&Registro"));
        registro->setGroupIndex(5);
        menu->Items()->Add(registro);
        setMenu(menu);
    }
    MenuItem *registro;
};

class OtherChild : public Form
{
    Q_OBJECT
public:
    OtherChild() { setFormStyle(fsMDIChild); }
};

QStringList captions(const QList<MenuItem *> &items)
{
    QStringList result;
    for (MenuItem *i : items)
        result << i->caption();
    return result;
}

struct MdiFixture : ::testing::Test
{
    void SetUp() override
    {
        frame = createForm<FrameForm>();
        application().setMainForm(frame);
        frame->Show();
    }
    void TearDown() override
    {
        frame->Free();
        QCoreApplication::sendPostedEvents();
    }
    FrameForm *frame = nullptr;
};

} // namespace

TEST_F(MdiFixture, TheSameChildOpenedTwiceKeepsOneInstanceAndComesForward)
{
    ChildForm *first = openForm<ChildForm>(QStringLiteral("fCHILD"));
    ASSERT_TRUE(first->mdiSubWindow());
    EXPECT_EQ(frame->mdiChildCount(), 1);
    OtherChild *other = openForm<OtherChild>(QStringLiteral("fOTHER"));
    EXPECT_EQ(frame->mdiChildCount(), 2);
    EXPECT_EQ(frame->activeMdiChild(), other);

    first->setFormState(wsMinimized);
    ChildForm *again = openForm<ChildForm>(QStringLiteral("fchild"));
    EXPECT_EQ(again, first);
    EXPECT_EQ(frame->mdiChildCount(), 2);
    EXPECT_EQ(frame->activeMdiChild(), first);
    EXPECT_EQ(first->formState(), wsNormal);
    EXPECT_EQ(frame->mdiChild(0), first);
    EXPECT_EQ(frame->mdiChild(1), other);
}

TEST_F(MdiFixture, ChildrenActivateDeactivateAndCloseAsTheLibraryDoes)
{
    QStringList log;
    auto *a = openForm<ChildForm>(QStringLiteral("fA"));
    a->OnActivate = [&](QObject *) { log << "a+"; };
    a->OnDeactivate = [&](QObject *) { log << "a-"; };
    auto *b = openForm<OtherChild>(QStringLiteral("fB"));
    b->OnActivate = [&](QObject *) { log << "b+"; };
    a->BringToFront();
    EXPECT_EQ(log, (QStringList{"a-", "a+"}));

    // The default close of a child minimises it; caFree frees it.
    a->Close();
    EXPECT_EQ(a->formState(), wsMinimized);
    QPointer<Form> gone = b;
    b->OnClose = [](QObject *, CloseAction &action) { action = caFree; };
    b->Close();
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(frame->mdiChildCount(), 1);

    // The frame's close query asks every child first.
    a->OnCloseQuery = [](QObject *, bool &canClose) { canClose = false; };
    EXPECT_FALSE(frame->CloseQuery());
    a->OnCloseQuery = nullptr;
    EXPECT_TRUE(frame->CloseQuery());
}

TEST_F(MdiFixture, CtrlF4ClosesTheActiveChildThroughItsOwnCloseAndCtrlF6GoesThroughThem)
{
    auto *a = openForm<ChildForm>(QStringLiteral("fA"));
    auto *b = openForm<OtherChild>(QStringLiteral("fB"));
    QApplication::setActiveWindow(frame);
    bool cerrar = false;
    b->OnCloseQuery = [&](QObject *, bool &canClose) { canClose = cerrar; };
    b->OnClose = [](QObject *, CloseAction &action) { action = caFree; };
    const auto pulsar = [&](Qt::Key tecla, Qt::KeyboardModifiers mods, Form *activa, int hijas) {
        QTest::keyClick(QApplication::focusWidget(), tecla, mods);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(std::pair(frame->activeMdiChild(), frame->mdiChildCount()), std::pair(activa, hijas));
    };
    pulsar(Qt::Key_F4, Qt::ControlModifier, b, 2);   // its close refuses: it stays
    pulsar(Qt::Key_F6, Qt::ControlModifier, a, 2);
    pulsar(Qt::Key_F6, Qt::ControlModifier | Qt::ShiftModifier, b, 2);
    cerrar = true;
    pulsar(Qt::Key_F4, Qt::ControlModifier, a, 1);
}

TEST_F(MdiFixture, TheActiveChildsMenuMergesByGroupIndex)
{
    MainMenu *menu = frame->menu();
    EXPECT_EQ(captions(menu->shownItems()), (QStringList{"&Base Datos", "&Ventana"}));
    auto *child = openForm<ChildForm>(QStringLiteral("fCHILD"));
    EXPECT_EQ(captions(menu->shownItems()), (QStringList{"&Base Datos", "&Registro", "&Ventana"}));
    EXPECT_EQ(menu->menuBar()->actions().size(), 3);

    // A child entry of a group the frame has replaces the frame's entry.
    auto *replacement = child->make<MenuItem>(QStringLiteral("Datos1"), child);
    replacement->setCaption(QStringLiteral("&Datos"));
    replacement->setGroupIndex(0);
    child->menu()->Items()->Insert(0, replacement);
    menu->mergeWith(child->menu());
    EXPECT_EQ(captions(menu->shownItems()), (QStringList{"&Datos", "&Registro", "&Ventana"}));

    child->Free();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(captions(menu->shownItems()), (QStringList{"&Base Datos", "&Ventana"}));
}

TEST_F(MdiFixture, TheWindowMenuListsTheChildren)
{
    frame->setWindowMenu(frame->ventana);
    auto *organizar = new MenuItem(QStringLiteral("&Organizar Iconos"), frame);
    frame->ventana->Add(organizar);
    auto *a = openForm<ChildForm>(QStringLiteral("fA"));
    a->setCaption(QStringLiteral("Maestro de Proyectos"));
    auto *b = openForm<OtherChild>(QStringLiteral("fB"));
    b->setCaption(QStringLiteral("Notas Técnicas"));
    QMenu *menu = frame->ventana->subMenu();
    emit menu->aboutToShow();
    QStringList texts;
    for (QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text() + (action->isChecked() ? "*" : ""));
    EXPECT_EQ(texts, (QStringList{"&Organizar Iconos", "-", "&1 Maestro de Proyectos", "&2 Notas Técnicas*"}));
    menu->actions().at(2)->trigger();
    EXPECT_EQ(frame->activeMdiChild(), a);

    b->Free();
    emit menu->aboutToShow();   // listed anew each time it opens
    EXPECT_EQ(menu->actions().size(), 3);
}

TEST(MdiChildren, NeedAnMdiFrame)
{
    auto *plain = createForm<Form>();
    application().setMainForm(plain);
    EXPECT_THROW(createForm<OtherChild>(), gp::Error);
    plain->Free();
}

TEST(Menus, EntriesAreFoundInsertedRemovedAndClicked)
{
    MainMenu menu;
    auto *tablas = new MenuItem(QStringLiteral("&Tablas"));
    menu.Items()->Add(tablas);
    auto *parametros = new MenuItem(QStringLiteral("&Parámetros"));
    tablas->Add(parametros);
    auto *globales = new MenuItem(QStringLiteral("&Globales"));
    parametros->Add(globales);
    auto *textos = new MenuItem(QStringLiteral("Maestro de Textos"));
    tablas->Add(textos);
    auto *separador = new MenuItem(QStringLiteral("-"));
    tablas->Insert(1, separador);

    EXPECT_EQ(menu.Items()->Find(QStringLiteral("tablas")), tablas);
    EXPECT_EQ(tablas->Find(QStringLiteral("PARÁMETROS")), parametros);
    EXPECT_EQ(tablas->Find(QStringLiteral("Globales")), nullptr);   // only direct entries
    EXPECT_EQ(tablas->indexOf(separador), 1);
    EXPECT_TRUE(separador->isLine());
    EXPECT_TRUE(separador->action()->isSeparator());
    EXPECT_EQ(separador->caption(), "-");
    EXPECT_TRUE(separador->action()->text().isEmpty());   // styles draw a separator's text
    EXPECT_EQ(tablas->subMenu()->actions().indexOf(separador->action()), 1);

    // Walking up gives the menu path the runtime builds from captions.
    QStringList path;
    for (MenuItem *i = globales; i && !i->caption().isEmpty(); i = i->parentItem())
        path.prepend(i->caption());
    EXPECT_EQ(path, (QStringList{"&Tablas", "&Parámetros", "&Globales"}));

    int clicks = 0;
    globales->OnClick = [&](QObject *sender) {
        EXPECT_EQ(sender, globales);
        ++clicks;
    };
    globales->action()->trigger();
    EXPECT_EQ(clicks, 1);

    globales->setShortCut(ShortCut(VK_F1, {}));
    EXPECT_EQ(globales->action()->shortcut(), QKeySequence(Qt::Key_F1));
    globales->setShortCut(ShortCut('E', ssCtrl));
    EXPECT_EQ(globales->action()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_E));
    globales->setShortCut(0);
    EXPECT_TRUE(globales->action()->shortcut().isEmpty());

    tablas->Remove(separador);
    EXPECT_EQ(tablas->count(), 2);
    EXPECT_EQ(tablas->subMenu()->actions().size(), 2);
    delete separador;
    QPointer<MenuItem> deleted = textos;
    tablas->Delete(tablas->indexOf(textos));
    EXPECT_TRUE(deleted.isNull());
    EXPECT_EQ(tablas->count(), 1);

    // The bar follows entries added at run time.
    QMenuBar *bar = menu.menuBar();
    auto *ayuda = new MenuItem(QStringLiteral("&Ayuda"));
    menu.Items()->Add(ayuda);
    EXPECT_EQ(bar->actions().size(), 2);
    globales->setChecked(true);
    EXPECT_TRUE(globales->checked());
}

// A pop-up menu's shortcuts answer without the menu being open, while the focus is inside the
// form that owns it; another form with the same keys does not take them. Copy in an edit
// stays the edit's own.
TEST(Menus, PopupShortcutsAnswerInsideTheirOwnForm)
{
    struct Ventana
    {
        Form form;
        Edit *edit = form.make<Edit>(QStringLiteral("Edit1"), &form);
        PopupMenu *menu = form.make<PopupMenu>(QStringLiteral("PopupMenu1"), &form);
        MenuItem *filtrar = form.make<MenuItem>(QStringLiteral("Filtrar1"), QStringLiteral("&Filtrar"), menu);
        MenuItem *copiar = form.make<MenuItem>(QStringLiteral("Copiar1"), QStringLiteral("&Copiar"), menu);
        int filtrados = 0, copiados = 0;
        Ventana()
        {
            filtrar->setShortCut(ShortCut('I', ssCtrl));
            copiar->setShortCut(ShortCut('C', ssCtrl));
            menu->Items()->Add(filtrar);
            menu->Items()->Add(copiar);
            filtrar->OnClick = [this](QObject *) { ++filtrados; };
            copiar->OnClick = [this](QObject *) { ++copiados; };
        }
    };
    Ventana a, b;
    a.form.Show();
    b.form.Show();
    a.form.activateWindow();
    a.edit->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&a.form));

    QTest::keyClick(a.edit, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(a.filtrados, 1);
    EXPECT_EQ(b.filtrados, 0);

    a.edit->setText(QStringLiteral("texto"));
    a.edit->selectAll();
    QTest::keyClick(a.edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(a.copiados, 0);

    a.filtrar->setEnabled(false);
    QTest::keyClick(a.edit, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(a.filtrados, 1);
}

#include "Menus_test.moc"
