#include "platform/ui/Application.h"
#include "platform/ui/DataModule.h"
#include "platform/ui/Form.h"
#include "platform/ui/Menus.h"
#include "platform/ui/Published.h"

#include "platform/base/SalidaMensajes.h"
#include "platform/ui/Control.h"
#include "tests/support/EntradaUsuario.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace plat;

namespace {

// A form that publishes the search handler the keyboard routines call by name.
class SearchForm : public Form
{
    Q_OBJECT
public:
    SearchForm()
    {
        setObjectName(QStringLiteral("fSEARCH"));
        edit = make<QLineEdit>(QStringLiteral("EditCodigo"), this);
    }
    QLineEdit *edit;
    QList<QObject *> calls;

public slots:
    void BuscarDatosDBEdit(QObject *Sender) { calls.append(Sender); }
    void SoloEdits(QLineEdit *Sender) { calls.append(Sender); }
    void Falla(QObject *) { throw gp::Error(QStringLiteral("Key violation")); }
};

class PlainForm : public Form
{
    Q_OBJECT
public:
    PlainForm() { setObjectName(QStringLiteral("fPLAIN")); }
};

// Two edits under a form whose key preview records what it sees.
class KeyForm : public Form
{
    Q_OBJECT
public:
    KeyForm()
    {
        auto *box = new QVBoxLayout(this);
        first = make<QLineEdit>(QStringLiteral("Edit1"), this);
        second = make<QLineEdit>(QStringLiteral("Edit2"), this);
        box->addWidget(first);
        box->addWidget(second);
        connect(first, &QLineEdit::textChanged, this, [this](const QString &t) { log << "edit:" + t; });
    }
    QLineEdit *first;
    QLineEdit *second;
    QStringList log;
};

// A form with one button that counts the clicks it gets.
class ButtonForm : public Form
{
    Q_OBJECT
public:
    ButtonForm()
    {
        button = make<QPushButton>(QStringLiteral("Button1"), this);
        button->setFixedSize(80, 24);
        connect(button, &QPushButton::clicked, this, [this] { ++clicks; });
        resize(200, 100);
    }
    QPushButton *button;
    int clicks = 0;
};

struct ExceptionRecorder
{
    ExceptionRecorder()
    {
        application().OnException = [this](QObject *sender, const std::exception &e) {
            senders.append(sender);
            texts.append(QString::fromUtf8(e.what()));
        };
    }
    ~ExceptionRecorder() { application().OnException = nullptr; }
    QList<QObject *> senders;
    QStringList texts;
};

void processPosted()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

} // namespace

TEST(Components, KeepCreationOrderAndFindNamesIgnoringCase)
{
    std::unique_ptr<PlainForm> form(createForm<PlainForm>());
    auto *a = form->make<QLineEdit>(QStringLiteral("Edit1"), form.get());
    auto *b = form->make<MenuItem>(QStringLiteral("Salir1"), form.get());
    auto *c = form->make<QLineEdit>(QStringLiteral("EditNombre"), form.get());
    ASSERT_EQ(form->componentCount(), 3);
    EXPECT_EQ(form->component(0), a);
    EXPECT_EQ(form->component(2), c);
    EXPECT_EQ(form->findComponent(QStringLiteral("EDIT1")), a);
    EXPECT_EQ(form->findComponent(QStringLiteral("salir1")), b);
    EXPECT_EQ(form->findComponent<MenuItem>(QStringLiteral("SALIR1")), b);
    EXPECT_EQ(form->findComponent<QLineEdit>(QStringLiteral("Salir1")), nullptr);
    EXPECT_EQ(form->findComponent(QStringLiteral("Edit")), nullptr);
    EXPECT_EQ(ComponentOwner::ownerOf(c), form.get());

    // Names are unique within the owner whatever their case.
    EXPECT_THROW(form->make<QLineEdit>(QStringLiteral("EDIT1"), form.get()), gp::Error);

    delete b;   // a component freed on its own leaves the list
    ASSERT_EQ(form->componentCount(), 2);
    EXPECT_EQ(form->component(1), c);
    form->removeComponent(a);
    EXPECT_EQ(form->findComponent(QStringLiteral("Edit1")), nullptr);
    EXPECT_EQ(ComponentOwner::ownerOf(a), nullptr);
}

TEST(ApplicationObject, ListsFormsAndDataModulesInCreationOrder)
{
    const int before = application().components().size();
    auto *form = createForm<PlainForm>();
    auto *module = createDataModule<DataModule>();
    module->setObjectName(QStringLiteral("ModuloDatos"));
    auto *other = createForm<SearchForm>();
    const QList<QObject *> &all = application().components();
    ASSERT_EQ(all.size(), before + 3);
    EXPECT_EQ(all[before], form);
    EXPECT_EQ(all[before + 1], module);
    EXPECT_EQ(all[before + 2], other);
    EXPECT_EQ(application().findForm(QStringLiteral("FSEARCH")), other);
    EXPECT_EQ(application().findComponent(QStringLiteral("modulodatos")), module);
    EXPECT_EQ(application().findForm(QStringLiteral("ModuloDatos")), nullptr);

    bool destroyed = false;
    module->OnDestroy = [&](QObject *) { destroyed = true; };
    module->Free();
    EXPECT_TRUE(destroyed);
    other->Free();
    form->Free();
    EXPECT_EQ(application().components().size(), before);
}

TEST(ApplicationObject, ExceptionsOfHandlersReachTheInstalledHandlerWithTheirSender)
{
    ExceptionRecorder recorder;
    std::unique_ptr<SearchForm> form(createForm<SearchForm>());
    form->OnShow = [](QObject *) { throw gp::Error(QStringLiteral("Table does not exist")); };
    auto *item = form->make<MenuItem>(QStringLiteral("Borrar1"), form.get());
    item->OnClick = [](QObject *) { throw std::runtime_error("Record locked by another user"); };
    auto *silent = form->make<MenuItem>(QStringLiteral("Silencio1"), form.get());
    silent->OnClick = [](QObject *) { throw gp::Abort(); };

    form->Show();
    item->action()->trigger();   // a Qt signal into the handler
    silent->Click();
    // A published slot called through the guard, as the runtime calls handlers by name.
    application().guard(form->edit, [&] { invokeMethod(form.get(), QStringLiteral("Falla"), form->edit); });

    ASSERT_EQ(recorder.texts.size(), 3);
    EXPECT_EQ(recorder.senders[0], form.get());
    EXPECT_EQ(recorder.texts[0], "Table does not exist");
    EXPECT_EQ(recorder.senders[1], item);
    EXPECT_EQ(recorder.texts[1], "Record locked by another user");
    EXPECT_EQ(recorder.senders[2], form->edit);
    EXPECT_EQ(recorder.texts[2], "Key violation");
}

TEST(ApplicationObject, WithoutAHandlerTheExceptionBecomesAWarning)
{
    SalidaMensajesGrabada grabada;
    SalidaMensajesInstalada instalada(grabada);
    std::unique_ptr<PlainForm> form(createForm<PlainForm>());
    form->OnResize = [](QObject *) { throw gp::Error(QStringLiteral("Path not found")); };
    form->resize(300, 200);
    form->Show();
    ASSERT_FALSE(grabada.mensajes().isEmpty());
    EXPECT_EQ(grabada.mensajes().first().tipo, "A");
    EXPECT_EQ(grabada.mensajes().first().texto, "Path not found");
}

TEST(Published, MethodsByNameOnlyWhereTheFormDeclaresThem)
{
    std::unique_ptr<SearchForm> search(createForm<SearchForm>());
    std::unique_ptr<PlainForm> plain(createForm<PlainForm>());
    EXPECT_TRUE(hasMethod(search.get(), QStringLiteral("BuscarDatosDBEdit")));
    EXPECT_FALSE(hasMethod(plain.get(), QStringLiteral("BuscarDatosDBEdit")));
    EXPECT_FALSE(hasMethod(search.get(), QStringLiteral("buscardatosdbedit")));

    EXPECT_TRUE(invokeMethod(search.get(), QStringLiteral("BuscarDatosDBEdit"), search->edit));
    EXPECT_FALSE(invokeMethod(plain.get(), QStringLiteral("BuscarDatosDBEdit"), search->edit));
    ASSERT_EQ(search->calls.size(), 1);
    EXPECT_EQ(search->calls[0], search->edit);

    // A handler for edits is not called with a form as its sender.
    EXPECT_FALSE(invokeMethod(search.get(), QStringLiteral("SoloEdits"), plain.get()));
    EXPECT_TRUE(invokeMethod(search.get(), QStringLiteral("SoloEdits"), search->edit));
    EXPECT_EQ(search->calls.size(), 2);
}

TEST(Published, PropertiesByTheClassLibraryNames)
{
    std::unique_ptr<PlainForm> form(createForm<PlainForm>());
    EXPECT_TRUE(writeProperty(form.get(), QStringLiteral("Caption"), QStringLiteral("Maestro de Proyectos")));
    EXPECT_EQ(form->windowTitle(), "Maestro de Proyectos");
    EXPECT_TRUE(writeProperty(form.get(), QStringLiteral("Tag"), QStringLiteral("1000")));
    EXPECT_EQ(form->tag(), 1000);
    EXPECT_EQ(readProperty(form.get(), QStringLiteral("Tag")).toInt(), 1000);
    EXPECT_FALSE(writeProperty(form.get(), QStringLiteral("Tag"), QStringLiteral("mil")));
    EXPECT_EQ(form->tag(), 1000);
    EXPECT_TRUE(hasProperty(form.get(), QStringLiteral("Hint")));
    EXPECT_FALSE(hasProperty(form.get(), QStringLiteral("caption")));   // case counts
    EXPECT_FALSE(readProperty(form.get(), QStringLiteral("DataField")).isValid());
    EXPECT_FALSE(writeProperty(form.get(), QStringLiteral("DataField"), QStringLiteral("Codigo")));
}

TEST(KeyPreview, TheFormSeesKeysBeforeTheEditAndCanDropOrChangeThem)
{
    std::unique_ptr<KeyForm> form(createForm<KeyForm>());
    form->setKeyPreview(true);
    form->OnKeyPress = [&](QObject *, QChar &key) {
        form->log << QStringLiteral("form:") + key;
        if (key == QLatin1Char('x'))
            key = QChar();
        else if (key == QLatin1Char('.'))
            key = QLatin1Char(',');
    };
    form->Show();
    QTest::keyClicks(form->first, QStringLiteral("ax.b"));
    EXPECT_EQ(form->first->text(), "a,b");
    const QStringList expected{"form:a", "edit:a", "form:x", "form:.", "edit:a,", "form:b", "edit:a,b"};
    EXPECT_EQ(form->log, expected);
}

TEST(KeyPreview, ADialogOpenedOverTheFormKeepsItsKeys)
{
    std::unique_ptr<KeyForm> form(createForm<KeyForm>());
    form->setKeyPreview(true);
    form->OnKeyPress = [&](QObject *, QChar &key) {
        form->log << QStringLiteral("form:") + key;
        key = QChar();
    };
    form->Show();
    QDialog dialog(form.get());   // as the file dialogs open over the window in front
    auto *name = new QLineEdit(&dialog);
    dialog.show();
    QTest::keyClicks(name, QStringLiteral("ab"));
    EXPECT_EQ(name->text(), "ab");
    EXPECT_TRUE(form->log.isEmpty()) << form->log.join(u',').toStdString();
}

TEST(KeyPreview, KeyDownConsumesOrTurnsEnterIntoTab)
{
    std::unique_ptr<KeyForm> form(createForm<KeyForm>());
    form->setKeyPreview(true);
    QList<int> downs;
    form->OnKeyDown = [&](QObject *, int &key, ShiftState shift) {
        downs << key;
        if (key == VK_F2 && shift == ShiftState())
            key = 0;
        else if (key == VK_RETURN)
            key = VK_TAB;
    };
    form->OnKeyPress = [](QObject *, QChar &key) {
        if (key == QLatin1Char('\r'))
            key = QChar();
    };
    form->Show();
    QApplication::setActiveWindow(form.get());
    form->first->setFocus();
    QTest::keyClick(form->first, Qt::Key_F2);
    QTest::keyClick(form->first, Qt::Key_Q, Qt::ControlModifier);
    QTest::keyClick(form->first, Qt::Key_Return);
    EXPECT_EQ(downs, (QList<int>{VK_F2, VK_CONTROL, 'Q', VK_RETURN}));
    EXPECT_TRUE(form->second->hasFocus());
    EXPECT_EQ(form->activeControl(), form->second);
}

TEST(KeyPreview, WithoutPreviewTheFormOnlySeesKeysTheControlLeaves)
{
    std::unique_ptr<KeyForm> form(createForm<KeyForm>());
    QList<int> downs;
    form->OnKeyDown = [&](QObject *, int &key, ShiftState) { downs << key; };
    form->Show();
    QTest::keyClicks(form->first, QStringLiteral("ab"));
    QTest::keyClick(form->first, Qt::Key_F5);   // an edit does nothing with F5
    EXPECT_EQ(form->first->text(), "ab");
    EXPECT_EQ(downs, QList<int>{VK_F1 + 4});
}

TEST(ModalForms, ShowModalReturnsTheResultSetWhileItRuns)
{
    std::unique_ptr<PlainForm> form(createForm<PlainForm>());
    QTimer::singleShot(0, form.get(), [&] { form->setModalResult(mrOk); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->visible());

    // Closing the window of a modal form answers Cancel.
    QTimer::singleShot(0, form.get(), [&] { form->Close(); });
    EXPECT_EQ(form->ShowModal(), mrCancel);

    // A close query that refuses keeps the form up until it agrees.
    int asked = 0;
    form->OnCloseQuery = [&](QObject *, bool &canClose) { canClose = ++asked > 1; };
    QTimer::singleShot(0, form.get(), [&] { form->setModalResult(mrYes); });
    QTimer::singleShot(20, form.get(), [&] {
        EXPECT_TRUE(form->visible());
        form->setModalResult(mrNo);
    });
    EXPECT_EQ(form->ShowModal(), mrNo);
    EXPECT_EQ(asked, 2);
}

TEST(ModalForms, TheModalHookAnswersInsteadOfAPerson)
{
    std::unique_ptr<PlainForm> form(createForm<PlainForm>());
    QStringList seen;
    application().OnModalShown = [&](Form &shown) {
        seen << shown.name();
        shown.setModalResult(mrIgnore);
    };
    const int result = form->ShowModal();
    application().OnModalShown = nullptr;
    EXPECT_EQ(result, mrIgnore);
    EXPECT_EQ(seen, QStringList{"fPLAIN"});
    form->Show();
    EXPECT_THROW(form->ShowModal(), gp::Error);
}

TEST(ModalForms, AWindowOpenedOverAModalOneTakesTheClicksUntilItHides)
{
    std::unique_ptr<ButtonForm> dialog(createForm<ButtonForm>());
    std::unique_ptr<ButtonForm> preview(createForm<ButtonForm>());
    std::unique_ptr<ButtonForm> keypad(createForm<ButtonForm>());
    keypad->setAttribute(Qt::WA_ShowWithoutActivating);
    QTimer::singleShot(0, dialog.get(), [&] {
        preview->Show();
        gptest::clicDeUsuario(*preview->button);
        gptest::clicDeUsuario(*dialog->button);   // the preview is in front: the dialog waits
        EXPECT_EQ(preview->clicks, 1);
        EXPECT_EQ(dialog->clicks, 0);
        EXPECT_EQ(activeWindowForDialogs(), preview.get());
        // A window that never takes the focus leaves the input where it is.
        keypad->Show();
        EXPECT_FALSE(keypad->isModal());
        keypad->Hide();
        preview->Hide();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), dialog.get());   // the keys go back to it
        gptest::clicDeUsuario(*dialog->button);
        EXPECT_EQ(dialog->clicks, 1);
        // A window freed while on screen gives the keys back too.
        auto *freed = createForm<ButtonForm>();
        freed->Show();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), freed);
        freed->Free();
        QCoreApplication::processEvents();
        EXPECT_EQ(QApplication::activeWindow(), dialog.get());
        dialog->setModalResult(mrOk);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    // With no modal window up the same window opens as an ordinary one.
    preview->Show();
    EXPECT_FALSE(preview->isModal());
    EXPECT_FALSE(dialog->isModal());
}

TEST(Closing, CloseActionsAndTheReleaseHook)
{
    auto *main = createForm<PlainForm>();   // whatever form is the main one, it is not these
    application().setMainForm(main);
    QPointer<PlainForm> form = createForm<PlainForm>();
    CloseAction action = caHide;
    int shows = 0, hides = 0;
    form->OnShow = [&](QObject *) { ++shows; };
    form->OnHide = [&](QObject *) { ++hides; };
    form->OnClose = [&](QObject *, CloseAction &a) { a = action; };
    bool veto = true;
    form->OnCloseQuery = [&](QObject *, bool &canClose) { canClose = !veto; };

    form->Show();
    form->Close();
    EXPECT_TRUE(form->visible()) << "the close query refused";
    veto = false;
    action = caNone;
    form->Close();
    EXPECT_TRUE(form->visible());
    action = caHide;
    form->Close();
    EXPECT_FALSE(form->visible());
    EXPECT_EQ(shows, 1);
    EXPECT_EQ(hides, 1);

    QList<Form *> released;
    application().OnFormRelease = [&](Form *f) { released << f; };
    bool destroyed = false;
    form->OnDestroy = [&](QObject *) { destroyed = true; };
    form->Show();
    action = caFree;
    form->Close();
    processPosted();
    application().OnFormRelease = nullptr;
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(released.size(), 1);
    main->Free();
}

TEST(Positioning, ScreenCentreAndMainFormCentre)
{
    auto *main = createForm<PlainForm>();
    application().setMainForm(main);
    main->setBounds(100, 50, 600, 400);
    std::unique_ptr<PlainForm> form(createForm<PlainForm>());
    form->resize(201, 101);
    form->setPosition(poMainFormCenter);
    form->Show();
    EXPECT_EQ(form->left(), 100 + (600 - 201) / 2);
    EXPECT_EQ(form->top(), 50 + (400 - 101) / 2);

    std::unique_ptr<PlainForm> centred(createForm<PlainForm>());
    centred->resize(300, 200);
    centred->setPosition(poScreenCenter);
    centred->Show();
    EXPECT_EQ(centred->left(), (application().screenWidth() - 300) / 2);
    EXPECT_EQ(centred->top(), (application().screenHeight() - 200) / 2);
    main->Free();
}

#include "Form_test.moc"
