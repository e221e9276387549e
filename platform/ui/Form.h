#pragma once
#include "platform/base/InterfacesComunes.h"
#include "platform/ui/Application.h"
#include "platform/ui/Components.h"
#include "platform/ui/Event.h"
#include "platform/ui/Menus.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>
#include <memory>

class QEventLoop;
class QKeyEvent;
class QMdiArea;
class QMenuBar;

namespace plat {


enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7 };
enum FormStyle { fsNormal, fsMDIChild, fsMDIForm };
enum Position { poDesigned, poScreenCenter, poMainFormCenter };
enum WindowState { wsNormal, wsMinimized, wsMaximized };

// The form base of the class library. A form builds its components in its constructor
// (make<T>(name, parent)), assigns its handlers, and is brought to life by createForm<F>()
// which then runs OnCreate. Its handlers run through the application's guard, so an
// exception they throw reaches Application::OnException with the form (or control) as sender.
class Form : public QWidget, public ComponentOwner
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)
    Q_PROPERTY(int Tag READ tag WRITE setTag)
    Q_PROPERTY(bool Visible READ visible WRITE setShown)
    Q_PROPERTY(int Color READ color WRITE setColor)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(bool KeyPreview READ keyPreview WRITE setKeyPreview)
    Q_PROPERTY(int ModalResult READ modalResult WRITE setModalResult)

public:
    explicit Form(QWidget *parent = nullptr);
    ~Form() override;

    // Runs OnCreate and, for an MDI child, places the form in the main form's MDI area and
    // shows it. createForm<F>() calls it; a form built otherwise calls it once.
    void afterConstruction();

    QString name() const { return objectName(); }
    QString caption() const { return windowTitle(); }
    void setCaption(const QString &caption) { setWindowTitle(caption); }
    QString hint() const { return toolTip(); }
    void setHint(const QString &hint) { setToolTip(hint); }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Geometry of the window (of its MDI sub-window for an MDI child).
    int left() const;
    int top() const;
    int width() const;
    int height() const;
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width);
    void setHeight(int height);
    void setBounds(int left, int top, int width, int height);

    Position position() const { return position_; }
    void setPosition(Position position) { position_ = position; }
    FormStyle formStyle() const { return formStyle_; }
    void setFormStyle(FormStyle style);
    WindowState formState() const;
    void setFormState(WindowState state);

    // $BBGGRR colour (system colours included); clBtnFace keeps the style's colour.
    int color() const { return color_; }
    void setColor(int color);

    QWidget *activeControl() const;
    void setActiveControl(QWidget *control);
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool on) { keyPreview_ = on; }
    // Moves the focus to the next (or previous) control in tab order.
    void selectNext(bool forward = true);

    bool visible() const;
    void setShown(bool shown);
    void Show() { setShown(true); }
    void Hide() { setShown(false); }
    void BringToFront();

    // Shows the form modally and returns its modal result once a button (or code) has set
    // one; closing the window gives mrCancel. Raises gp::Error for a visible form. It opens
    // with the focus in its first field to type in, should its OnShow have left the focus on
    // a button or nowhere, so that the first keys typed are not lost.
    int ShowModal();
    int modalResult() const { return modalResult_; }
    void setModalResult(int result);
    bool isShownModal() const { return modal_; }

    // Close asks OnCloseQuery (and, on an MDI frame, every child's), then runs OnClose
    // with the default action (hide; minimise for an MDI child) and carries the action out.
    void Close();
    bool CloseQuery();
    // Frees the form once the current event is over (the release is seen by
    // Application::OnFormRelease first).
    void Release();
    // Runs OnDestroy and frees the form now; never from one of the form's own handlers.
    void Free();

    // Keeps the form while a call made on its behalf runs a local event loop (a report
    // preview): a release that arrives meanwhile takes effect after the last hold ends.
    class ReleaseHold
    {
    public:
        explicit ReleaseHold(Form *form);
        ~ReleaseHold();
        ReleaseHold(const ReleaseHold &) = delete;
        ReleaseHold &operator=(const ReleaseHold &) = delete;

    private:
        QPointer<Form> form_;
    };

    // MDI frame: the area that holds the children, created with the style fsMDIForm.
    QMdiArea *mdiArea() const { return mdiArea_; }
    int mdiChildCount() const;
    Form *mdiChild(int index) const;
    Form *activeMdiChild() const;
    void Cascade();
    void Tile();
    void ArrangeIcons();
    void Next();
    void Previous();
    // The frame's window menu lists the open children after its own entries (a check mark on
    // the active one); choosing one brings it forward.
    void setWindowMenu(MenuItem *item);
    MenuItem *windowMenu() const { return windowMenu_; }
    // The sub-window that holds an MDI child.
    QMdiSubWindow *mdiSubWindow() const { return subWindow_; }

    // The main menu shown on the form (for an MDI child, merged into the frame's while the
    // child is active).
    MainMenu *menu() const { return menu_; }
    void setMenu(MainMenu *menu);

    NotifyEvent OnCreate;
    NotifyEvent OnShow;
    NotifyEvent OnActivate;
    NotifyEvent OnDeactivate;
    NotifyEvent OnHide;
    NotifyEvent OnResize;
    CloseEvent OnClose;
    CloseQueryEvent OnCloseQuery;
    NotifyEvent OnDestroy;
    KeyEvent OnKeyDown;
    KeyPressEvent OnKeyPress;
    KeyEvent OnKeyUp;
    MouseMoveEvent OnMouseMove;

    // Runs the key handlers for a key event; returns false when they consumed it, else
    // true with *replacement set when they changed the key or the character.
    bool runKeyHandlers(QKeyEvent *event, std::unique_ptr<QKeyEvent> *replacement);

    QObject *ownerObject() override { return this; }

    // The form a widget belongs to (the nearest form among it and its parents, within its
    // window; a drop-down's window counts as its control's).
    static Form *formOf(const QWidget *widget);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    friend class MdiSupport;
    QWidget *frameWidget() const;
    void attachToMdiFrame();
    void applyPosition();
    void tryEndModal();
    void focusFirstField();
    void mdiChildActivated(QMdiSubWindow *window);
    void handleOwnKey(QKeyEvent *event);
    bool pressDialogButton(QKeyEvent *event);
    void fire(const NotifyEvent &event);

    int tag_ = 0;
    int color_;
    Position position_ = poDesigned;
    FormStyle formStyle_ = fsNormal;
    WindowState initialState_ = wsNormal;
    bool keyPreview_ = false;
    bool created_ = false;
    bool positioned_ = false;
    bool modal_ = false;
    bool endModalQueued_ = false;
    bool closing_ = false;
    bool destroyed_ = false;
    int modalResult_ = mrNone;
    int releaseHolds_ = 0;
    bool releasePending_ = false;
    QEventLoop *modalLoop_ = nullptr;
    QMdiArea *mdiArea_ = nullptr;
    QPointer<QMdiSubWindow> subWindow_;
    QPointer<Form> activeChild_;
    QPointer<QWidget> openedAbove_;   // the window in front when this one was opened
    MainMenu *menu_ = nullptr;
    QPointer<MenuItem> windowMenu_;
    QList<QAction *> childEntries_;
    void listChildren();
};

// The window that dialogs and message boxes open above (their parent): the modal window on
// top, else the active window; nullptr when no window of the program is active.
QWidget *activeWindowForDialogs();

// Called on a hidden top-level window about to be shown: while a modal window is up, the new
// one (unless it never takes the focus) is modal above it until it hides, and so takes the input;
// otherwise it is not modal.
void takeInputAboveModal(QWidget &window);

// A form as the common routines place it (PosicionarControl): an MDI child within the main
// form's MDI area, another form on its screen.
class FormPlacement : public ControlPosicionable
{
public:
    explicit FormPlacement(Form &form) : form_(form) {}
    QSize tamano() const override { return {form_.width(), form_.height()}; }
    std::optional<QSize> tamanoPadre() const override;
    void ponerIzquierda(int left) override { form_.setLeft(left); }
    void ponerArriba(int top) override { form_.setTop(top); }

private:
    Form &form_;
};

// Builds a form, then runs its OnCreate (and shows an MDI child), as the class library's
// constructor did.
template<class F, class... Args>
F *createForm(Args &&...args)
{
    F *form = new F(std::forward<Args>(args)...);
    form->afterConstruction();
    return form;
}

// A form of the given class named name: the one that exists is restored and brought
// forward, else a new one is created (MDI children open this way from the menus).
template<class F, class... Args>
F *openForm(const QString &name, Args &&...args)
{
    if (F *existing = qobject_cast<F *>(application().findForm(name))) {
        existing->Show();
        if (existing->formState() == wsMinimized)
            existing->setFormState(wsNormal);
        existing->BringToFront();
        return existing;
    }
    F *form = new F(std::forward<Args>(args)...);
    form->setObjectName(name);
    form->afterConstruction();
    return form;
}

} // namespace plat
