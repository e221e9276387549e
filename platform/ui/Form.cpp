#include "platform/ui/Form.h"

#include "platform/ui/Colors.h"
#include "platform/ui/Menus.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace plat {
namespace {

// Posted by Release(); the form frees itself when it arrives.
const QEvent::Type kReleaseEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

QVBoxLayout *formLayout(QWidget *form)
{
    if (auto *box = qobject_cast<QVBoxLayout *>(form->layout()))
        return box;
    if (form->layout())
        return nullptr;
    auto *box = new QVBoxLayout(form);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    return box;
}

// The Qt key of a typed character whose key the handlers changed ("." typed as ",").
int qtKeyForCharacter(QChar c, int fallback)
{
    const char16_t u = c.toUpper().unicode();
    if (u >= 0x20 && u < 0x7F)
        return u;
    switch (u) {
    case '\r': return Qt::Key_Return;
    case '\t': return Qt::Key_Tab;
    case '\b': return Qt::Key_Backspace;
    case 0x1B: return Qt::Key_Escape;
    default: return fallback;
    }
}

// Off screen nothing is stacked (and a raise is refused with a warning).
bool windowsAreStacked()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QPointer<QWidget> &lastActiveWindow()
{
    static QPointer<QWidget> window;
    return window;
}

// A window going off screen gives the keys back to the window it was opened over (a window
// manager would see to it; without one the keys would go nowhere).
void giveInputBack(const QWidget &window, QWidget *opener)
{
    const QWidget *active = QApplication::activeWindow();
    if (window.isWindow() && (!active || active == &window) && opener && opener != &window && opener->isVisible())
        opener->activateWindow();
}

// A control the user types text into: an edit, a memo, a spin box, an editable list or grid.
bool takesTypedText(const QWidget &w)
{
    if (auto *line = qobject_cast<const QLineEdit *>(&w))
        return !line->isReadOnly();
    if (auto *text = qobject_cast<const QPlainTextEdit *>(&w))
        return !text->isReadOnly();
    if (auto *text = qobject_cast<const QTextEdit *>(&w))
        return !text->isReadOnly();
    if (auto *spin = qobject_cast<const QAbstractSpinBox *>(&w))
        return !spin->isReadOnly();
    if (auto *combo = qobject_cast<const QComboBox *>(&w))
        return combo->isEditable();
    if (auto *view = qobject_cast<const QAbstractItemView *>(&w))
        return view->editTriggers().testFlag(QAbstractItemView::AnyKeyPressed);
    return false;
}

} // namespace

QWidget *activeWindowForDialogs()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget *active = QApplication::activeWindow())
        return active;
    // Without a window manager nothing is active once a dialog has gone: the window that was
    // active last, while it is still on screen.
    QWidget *last = lastActiveWindow();
    return last && last->isVisible() ? last : nullptr;
}

void takeInputAboveModal(QWidget &window)
{
    // Qt blocks every window but the modal one on top, so a window opened from a modal dialog
    // (a preview) would show and answer nothing.
    const QWidget *blocking = QApplication::activeModalWidget();
    const bool takesFocus = !window.testAttribute(Qt::WA_ShowWithoutActivating)
                            && !(window.windowFlags() & Qt::WindowDoesNotAcceptFocus);
    window.setWindowModality(blocking && blocking != &window && takesFocus ? Qt::ApplicationModal : Qt::NonModal);
}

Form::Form(QWidget *parent) : QWidget(parent, parent ? Qt::Window : Qt::WindowFlags()), color_(clBtnFace)
{
    setMouseTracking(true);
    application().addOwner(this);
}

Form::~Form()
{
    application().removeOwner(this);
    if (mdiArea_) {
        // The children go first, while the frame is still whole.
        disconnect(mdiArea_, nullptr, this, nullptr);
        const auto windows = mdiArea_->subWindowList();
        for (QMdiSubWindow *w : windows)
            delete w;
    }
}

Form *Form::formOf(const QWidget *widget)
{
    for (QWidget *w = const_cast<QWidget *>(widget); w; w = w->parentWidget()) {
        if (auto *form = qobject_cast<Form *>(w))
            return form;
        // A dialog opened over a form (a file dialog) is a window of its own, not one of the
        // form's controls: the form's key handlers never see its keys. A drop-down list
        // belongs to its control.
        if (w->isWindow() && w->windowType() != Qt::Popup)
            return nullptr;
    }
    return nullptr;
}

void Form::fire(const NotifyEvent &event)
{
    if (event.assigned())
        application().guard(this, [&] { event(this); });
}

void Form::afterConstruction()
{
    if (created_)
        return;
    created_ = true;
    fire(OnCreate);
    if (formStyle_ == fsMDIChild)
        Show();
}

// ---- geometry --------------------------------------------------------------------------

std::optional<QSize> FormPlacement::tamanoPadre() const
{
    if (form_.formStyle() == fsMDIChild) {
        const Form *main = application().mainForm();
        if (main && main->mdiArea())
            return main->mdiArea()->viewport()->size();
    }
    if (const QScreen *screen = form_.screen())
        return screen->availableSize();
    return std::nullopt;
}

QWidget *Form::frameWidget() const
{
    return subWindow_ ? static_cast<QWidget *>(subWindow_.data()) : const_cast<Form *>(this);
}

// The client area's position, as setBounds sets it (a window's x() is its frame's).
int Form::left() const { return frameWidget()->geometry().x(); }
int Form::top() const { return frameWidget()->geometry().y(); }
int Form::width() const { return frameWidget()->QWidget::width(); }
int Form::height() const { return frameWidget()->QWidget::height(); }
void Form::setLeft(int left) { setBounds(left, top(), width(), height()); }
void Form::setTop(int top) { setBounds(left(), top, width(), height()); }
void Form::setWidth(int width) { frameWidget()->resize(width, height()); }
void Form::setHeight(int height) { frameWidget()->resize(width(), height); }

void Form::setBounds(int left, int top, int width, int height)
{
    frameWidget()->setGeometry(left, top, width, height);
}

void Form::applyPosition()
{
    positioned_ = true;
    QRect around;
    if (position_ == poScreenCenter)
        around = QRect(0, 0, application().screenWidth(), application().screenHeight());
    else if (position_ == poMainFormCenter) {
        Form *main = application().mainForm();
        if (main && main != this)
            around = QRect(main->left(), main->top(), main->width(), main->height());
        else
            around = QRect(0, 0, application().screenWidth(), application().screenHeight());
    } else
        return;
    // Whole-number halves, cut toward zero.
    setLeft(around.left() + (around.width() - width()) / 2);
    setTop(around.top() + (around.height() - height()) / 2);
}

WindowState Form::formState() const
{
    const Qt::WindowStates s = frameWidget()->windowState();
    if (s & Qt::WindowMinimized)
        return wsMinimized;
    if (s & Qt::WindowMaximized)
        return wsMaximized;
    return wsNormal;
}

void Form::setFormState(WindowState state)
{
    if (!visible() && !subWindow_) {
        initialState_ = state;   // applied when the form is shown
        return;
    }
    QWidget *w = frameWidget();
    switch (state) {
    case wsMinimized: w->showMinimized(); break;
    case wsMaximized: w->showMaximized(); break;
    case wsNormal: w->showNormal(); break;
    }
}

void Form::setColor(int color)
{
    color_ = color;
    if (color == clBtnFace || color == clDefault) {
        setAutoFillBackground(false);
        setPalette(QPalette());
        return;
    }
    QPalette p = palette();
    p.setColor(QPalette::Window, toQColor(color));
    setPalette(p);
    setAutoFillBackground(true);
}

// ---- focus and visibility --------------------------------------------------------------

QWidget *Form::activeControl() const
{
    QWidget *w = focusWidget();
    return w && w != this ? w : nullptr;
}

void Form::setActiveControl(QWidget *control)
{
    if (control)
        control->setFocus(Qt::OtherFocusReason);
}

void Form::selectNext(bool forward)
{
    focusNextPrevChild(forward);
}

bool Form::visible() const
{
    return subWindow_ ? subWindow_->isVisible() : isVisible();
}

void Form::setShown(bool shown)
{
    if (!shown) {
        frameWidget()->hide();
        return;
    }
    if (formStyle_ == fsMDIChild)
        attachToMdiFrame();
    if (!positioned_)
        applyPosition();
    QWidget *w = frameWidget();
    const bool opening = !subWindow_ && !w->isVisible();
    if (opening) {
        openedAbove_ = activeWindowForDialogs();
        if (!modal_)
            takeInputAboveModal(*this);
    }
    const WindowState state = initialState_;
    initialState_ = wsNormal;
    switch (state) {
    case wsMinimized: w->showMinimized(); break;
    case wsMaximized: w->showMaximized(); break;
    case wsNormal: w->show(); break;
    }
    if (subWindow_)
        subWindow_->mdiArea()->setActiveSubWindow(subWindow_);
    else if (opening && windowsAreStacked())
        raise();   // a window made before the one now on top is otherwise mapped below it
}

void Form::BringToFront()
{
    if (subWindow_) {
        subWindow_->mdiArea()->setActiveSubWindow(subWindow_);
        return;
    }
    raise();
    activateWindow();
}

// ---- modal showing ---------------------------------------------------------------------

int Form::ShowModal()
{
    if (modal_ || visible())
        throw gp::Error(QStringLiteral("Cannot make a visible window modal"));
    modal_ = true;
    modalResult_ = mrNone;
    setWindowModality(Qt::ApplicationModal);
    Show();
    activateWindow();
    focusFirstField();
    if (application().OnModalShown.assigned())
        QTimer::singleShot(0, this, [this] {
            application().guard(this, [this] { application().OnModalShown(*this); });
        });
    QEventLoop loop;
    modalLoop_ = &loop;
    loop.exec(QEventLoop::DialogExec);
    modalLoop_ = nullptr;
    modal_ = false;
    if (modalResult_ == mrNone)
        modalResult_ = mrCancel;   // the loop ended because the application terminates
    if (isVisible())
        hide();
    setWindowModality(Qt::NonModal);
    return modalResult_;
}

void Form::focusFirstField()
{
    QWidget *focused = focusWidget();
    if (focused && focused != this && !qobject_cast<QAbstractButton *>(focused))
        return;
    for (QWidget *w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain()) {
        if (formOf(w) != this || !w->isVisible() || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus))
            continue;
        if (takesTypedText(*w)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void Form::setModalResult(int result)
{
    modalResult_ = result;
    if (!modal_ || result == mrNone || endModalQueued_)
        return;
    // The class library ends the modal loop after the current event, not inside it.
    endModalQueued_ = true;
    QMetaObject::invokeMethod(this, [this] {
        endModalQueued_ = false;
        tryEndModal();
    }, Qt::QueuedConnection);
}

void Form::tryEndModal()
{
    if (!modal_ || !modalLoop_ || modalResult_ == mrNone)
        return;
    if (!CloseQuery()) {
        modalResult_ = mrNone;
        return;
    }
    CloseAction action = caHide;
    if (OnClose.assigned() && !application().guard(this, [&] { OnClose(this, action); }))
        action = caNone;
    if (action == caNone) {
        modalResult_ = mrNone;
        return;
    }
    hide();
    modalLoop_->exit(0);
    if (action == caFree)
        Release();
}

// ---- closing and freeing ---------------------------------------------------------------

bool Form::CloseQuery()
{
    if (formStyle_ == fsMDIForm)
        for (int i = 0; i < mdiChildCount(); ++i)
            if (Form *child = mdiChild(i); child && !child->CloseQuery())
                return false;
    bool canClose = true;
    if (OnCloseQuery.assigned() && !application().guard(this, [&] { OnCloseQuery(this, canClose); }))
        return false;
    return canClose;
}

void Form::Close()
{
    if (modal_) {
        setModalResult(mrCancel);
        return;
    }
    if (closing_ || !CloseQuery())
        return;
    closing_ = true;
    CloseAction action = formStyle_ == fsMDIChild ? caMinimize : caHide;
    if (OnClose.assigned() && !application().guard(this, [&] { OnClose(this, action); }))
        action = caNone;
    closing_ = false;
    if (action == caNone)
        return;
    if (application().mainForm() == this) {
        application().terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: setFormState(wsMinimized); break;
    case caFree: Release(); break;
    case caNone: break;
    }
}

void Form::Release()
{
    QCoreApplication::postEvent(this, new QEvent(kReleaseEvent));
}

Form::ReleaseHold::ReleaseHold(Form *form) : form_(form)
{
    if (form_)
        ++form_->releaseHolds_;
}

Form::ReleaseHold::~ReleaseHold()
{
    if (!form_ || --form_->releaseHolds_ > 0 || !form_->releasePending_)
        return;
    form_->releasePending_ = false;
    form_->Release();
}

void Form::Free()
{
    if (!destroyed_) {
        destroyed_ = true;
        fire(OnDestroy);
    }
    // An MDI frame's children are freed with it, each with its own OnDestroy.
    while (Form *child = mdiChild(0))
        child->Free();
    if (subWindow_) {
        QMdiSubWindow *window = subWindow_;
        subWindow_ = nullptr;
        setParent(nullptr);
        delete window;
    }
    if (isVisible())
        giveInputBack(*this, openedAbove_);   // freed on screen: no hide event comes
    delete this;
}

// ---- MDI ---------------------------------------------------------------------------------

void Form::setFormStyle(FormStyle style)
{
    formStyle_ = style;
    if (style == fsMDIForm && !mdiArea_) {
        mdiArea_ = new QMdiArea(this);
        mdiArea_->setObjectName(QString());
        mdiArea_->setBackground(toQColor(clGradientInactiveCaption));
        if (QVBoxLayout *box = formLayout(this))
            box->addWidget(mdiArea_, 1);
        connect(mdiArea_, &QMdiArea::subWindowActivated, this, &Form::mdiChildActivated);
        // The frame's window keys: Ctrl+F4 closes the active child through its own close (so
        // a child with changes asks), Ctrl+F6 and Ctrl+Shift+F6 go through the children. Where
        // the platform's close of a child window takes Ctrl+F4 already, it is left to it: a key
        // with two owners would go to neither.
        const auto bind = [this](QKeyCombination keys, auto action) {
            connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, this, action);
        };
        if (!QKeySequence::keyBindings(QKeySequence::Close).contains(QKeySequence(Qt::CTRL | Qt::Key_F4)))
            bind(Qt::CTRL | Qt::Key_F4, [this] {
                if (Form *child = activeMdiChild())
                    application().guard(child, [child] { child->Close(); });
            });
        bind(Qt::CTRL | Qt::Key_F6, [this] { Next(); });
        bind(Qt::CTRL | Qt::SHIFT | Qt::Key_F6, [this] { Previous(); });
    }
}

void Form::attachToMdiFrame()
{
    if (subWindow_)
        return;
    Form *frame = application().mainForm();
    if (!frame || frame == this || !frame->mdiArea())
        throw gp::Error(QStringLiteral("Cannot create form. No MDI forms are currently active"));
    const QSize size = QWidget::size();
    subWindow_ = frame->mdiArea()->addSubWindow(this);
    subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    if (windowIcon().cacheKey() == QApplication::windowIcon().cacheKey()) {
        // No toolkit logo in the caption of a child that has no icon of its own.
        QPixmap blank(16, 16);
        blank.fill(Qt::transparent);
        subWindow_->setWindowIcon(QIcon(blank));
    }
    subWindow_->resize(size + (subWindow_->size() - subWindow_->contentsRect().size()));
}

int Form::mdiChildCount() const
{
    return mdiArea_ ? mdiArea_->subWindowList().size() : 0;
}

Form *Form::mdiChild(int index) const
{
    if (!mdiArea_)
        return nullptr;
    const auto windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    return index >= 0 && index < windows.size() ? qobject_cast<Form *>(windows[index]->widget()) : nullptr;
}

Form *Form::activeMdiChild() const
{
    if (!mdiArea_)
        return nullptr;
    QMdiSubWindow *w = mdiArea_->activeSubWindow();
    if (!w)
        w = mdiArea_->currentSubWindow();
    return w ? qobject_cast<Form *>(w->widget()) : nullptr;
}

void Form::Cascade() { if (mdiArea_) mdiArea_->cascadeSubWindows(); }
void Form::Tile() { if (mdiArea_) mdiArea_->tileSubWindows(); }
void Form::Next() { if (mdiArea_) mdiArea_->activateNextSubWindow(); }
void Form::Previous() { if (mdiArea_) mdiArea_->activatePreviousSubWindow(); }

void Form::ArrangeIcons()
{
    if (!mdiArea_)
        return;
    // Minimised children line up along the bottom of the area, left to right.
    int x = 0;
    const int bottom = mdiArea_->viewport()->height();
    for (QMdiSubWindow *w : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        w->move(x, bottom - w->height());
        x += w->width();
    }
}

void Form::mdiChildActivated(QMdiSubWindow *window)
{
    Form *now = window ? qobject_cast<Form *>(window->widget()) : nullptr;
    if (now == activeChild_)
        return;
    Form *before = activeChild_;
    activeChild_ = now;
    // A child being freed gets no more events.
    if (before && !before->destroyed_)
        before->fire(before->OnDeactivate);
    if (menu_)
        menu_->mergeWith(now ? now->menu() : nullptr);
    if (now && !now->destroyed_)
        now->fire(now->OnActivate);
    application().checkActiveForm();
}

void Form::setWindowMenu(MenuItem *item)
{
    if (windowMenu_)
        disconnect(windowMenu_->subMenu(), &QMenu::aboutToShow, this, &Form::listChildren);
    windowMenu_ = item;
    if (item)
        connect(item->subMenu(), &QMenu::aboutToShow, this, &Form::listChildren);
}

void Form::listChildren()
{
    if (!windowMenu_)
        return;
    QMenu *menu = windowMenu_->subMenu();
    for (QAction *a : std::as_const(childEntries_)) {
        menu->removeAction(a);
        a->deleteLater();
    }
    childEntries_.clear();
    if (mdiChildCount() == 0)
        return;
    auto *line = new QAction(this);
    line->setSeparator(true);
    childEntries_ << line;
    Form *active = activeMdiChild();
    for (int i = 0; i < mdiChildCount(); ++i) {
        Form *child = mdiChild(i);
        if (!child || !child->visible())
            continue;
        auto *entry = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(child->caption()), this);
        entry->setCheckable(true);
        entry->setChecked(child == active);
        QPointer<Form> target = child;
        connect(entry, &QAction::triggered, this, [target] {
            if (target) {
                if (target->formState() == wsMinimized)
                    target->setFormState(wsNormal);
                target->BringToFront();
            }
        });
        childEntries_ << entry;
    }
    menu->addActions(childEntries_);
}

void Form::setMenu(MainMenu *menu)
{
    menu_ = menu;
    if (!menu || formStyle_ == fsMDIChild)
        return;   // a child's menu shows merged into the frame's
    if (QLayout *l = layout() ? layout() : formLayout(this))
        l->setMenuBar(menu->menuBar());
}

// ---- events ------------------------------------------------------------------------------

bool Form::event(QEvent *e)
{
    if (e->type() == kReleaseEvent) {
        if (releaseHolds_ > 0) {
            releasePending_ = true;
            return true;
        }
        if (application().OnFormRelease.assigned())
            application().guard(this, [this] { application().OnFormRelease(this); });
        Free();
        return true;
    }
    switch (e->type()) {
    case QEvent::WindowActivate:
        if (isWindow())
            lastActiveWindow() = this;
        if (!subWindow_) {
            fire(OnActivate);
            application().checkActiveForm();
        }
        break;
    case QEvent::WindowDeactivate:
        if (!subWindow_)
            fire(OnDeactivate);
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void Form::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous())
        fire(OnShow);
}

void Form::hideEvent(QHideEvent *e)
{
    QWidget::hideEvent(e);
    if (e->spontaneous())
        return;
    giveInputBack(*this, openedAbove_);
    fire(OnHide);
}

void Form::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    fire(OnResize);
}

void Form::closeEvent(QCloseEvent *e)
{
    // The window system's close goes through the class library's close; hiding, minimising
    // or freeing is then done by Close itself.
    e->ignore();
    Close();
}

bool Form::runKeyHandlers(QKeyEvent *e, std::unique_ptr<QKeyEvent> *replacement)
{
    const int vk = virtualKeyOf(*e);
    const ShiftState shift = shiftStateFromQt(e->modifiers());
    int key = vk;
    const KeyEvent &keyHandler = e->type() == QEvent::KeyRelease ? OnKeyUp : OnKeyDown;
    if (vk != 0 && keyHandler.assigned()
        && !application().guard(this, [&] { keyHandler(this, key, shift); }))
        key = 0;   // a handler that failed leaves nothing for the control
    if (vk != 0 && key == 0)
        return false;

    const QString text = e->text();
    QChar typed = text.size() == 1 ? text[0] : QChar();
    QChar ch = typed;
    if (e->type() == QEvent::KeyPress && !typed.isNull() && OnKeyPress.assigned()
        && !application().guard(this, [&] { OnKeyPress(this, ch); }))
        ch = QChar();
    const bool keyChanged = key != vk;
    const bool charChanged = ch != typed;
    if (!keyChanged && !charChanged)
        return true;
    if (!keyChanged && ch.isNull())
        return false;   // the character was dropped: nothing reaches the control

    bool keypad = false;
    int qtKey = e->key();
    if (keyChanged)
        qtKey = qtKeyFromVirtualKey(key, &keypad);
    else if (charChanged)
        qtKey = qtKeyForCharacter(ch, e->key());
    Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (keypad)
        mods |= Qt::KeypadModifier;
    replacement->reset(new QKeyEvent(e->type(), qtKey, mods, ch.isNull() ? QString() : QString(ch),
                                     e->isAutoRepeat(), e->count()));
    return true;
}

bool Form::pressDialogButton(QKeyEvent *e)
{
    // Enter presses the default button and Esc the cancel button when the focused
    // control leaves the key (edits do; memos keep Enter).
    if (e->type() != QEvent::KeyPress || (e->modifiers() & ~Qt::KeypadModifier))
        return false;
    const char *role = nullptr;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        role = "_plat_default";
    else if (e->key() == Qt::Key_Escape)
        role = "_plat_cancel";
    if (!role)
        return false;
    for (QPushButton *b : findChildren<QPushButton *>())
        if (b->property(role).toBool() && b->isVisible() && b->isEnabled() && formOf(b) == this) {
            b->click();
            return true;
        }
    return false;
}

void Form::handleOwnKey(QKeyEvent *e)
{
    if (!keyPreview_) {
        // Without the preview the form sees the keys its controls leave.
        std::unique_ptr<QKeyEvent> replacement;
        if (!runKeyHandlers(e, &replacement)) {
            e->accept();
            return;
        }
        if (replacement && e->type() == QEvent::KeyPress
            && (replacement->key() == Qt::Key_Tab || replacement->key() == Qt::Key_Backtab)) {
            focusNextPrevChild(!(replacement->modifiers() & Qt::ShiftModifier));
            e->accept();
            return;
        }
    }
    if (pressDialogButton(e)) {
        e->accept();
        return;
    }
    // Keys do not travel on from an MDI child into its frame.
    if (formStyle_ == fsMDIChild)
        e->accept();
    else
        e->ignore();
}

void Form::keyPressEvent(QKeyEvent *e) { handleOwnKey(e); }
void Form::keyReleaseEvent(QKeyEvent *e) { handleOwnKey(e); }

void Form::mouseMoveEvent(QMouseEvent *e)
{
    QWidget::mouseMoveEvent(e);
    if (OnMouseMove.assigned()) {
        const QPoint p = e->position().toPoint();
        const ShiftState shift = shiftStateFromQt(e->modifiers(), e->buttons());
        application().guard(this, [&] { OnMouseMove(this, shift, p.x(), p.y()); });
    }
}

} // namespace plat
