#include "platform/ui/Application.h"
#include "platform/ui/ProgramStyle.h"

#include "platform/ui/Controls.h"
#include "platform/ui/Form.h"

#include "platform/base/SalidaMensajes.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSocketNotifier>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace plat {

Application &Application::instance()
{
    static QPointer<Application> app;
    if (!app) {
        app = new Application();
        if (QCoreApplication::instance())
            app->setParent(QCoreApplication::instance());
    }
    return *app;
}

namespace {

// The main form as the common routines see it (the parent of a control without one).
class MainFormView : public FormularioPrincipal
{
public:
    QSize tamano() const override
    {
        Form *main = application().mainForm();
        return main ? QSize(main->width(), main->height()) : QSize();
    }
};

} // namespace

Application::Application()
    : mainFormView_(std::make_unique<MainFormView>()), mainFormInstalled_(ganchoFormularioPrincipal(), mainFormView_.get())
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

Application::~Application() = default;

Form *Application::mainForm() const
{
    return static_cast<Form *>(mainForm_.data());
}

void Application::setMainForm(Form *form)
{
    mainForm_ = form;
}

void Application::setTitle(const QString &title)
{
    // Not Qt's display name: that would be appended to every window's caption.
    title_ = title;
}

void Application::terminate()
{
    terminated_ = true;
    // exit(), not quit(): Qt's quit asks every window to close first, and a form's close
    // is the class library's close, which for the main form terminates again.
    QMetaObject::invokeMethod(QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void Application::processMessages()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QList<Form *> Application::forms() const
{
    QList<Form *> result;
    for (QObject *o : owners_)
        if (auto *form = qobject_cast<Form *>(o))
            result.append(form);
    return result;
}

QObject *Application::findComponent(const QString &name) const
{
    for (QObject *o : owners_)
        if (!name.isEmpty() && o->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return o;
    return nullptr;
}

Form *Application::findForm(const QString &name) const
{
    for (Form *f : forms())
        if (!name.isEmpty() && f->objectName().compare(name, Qt::CaseInsensitive) == 0)
            return f;
    return nullptr;
}

Form *Application::activeForm() const
{
    QWidget *window = QApplication::activeWindow();
    Form *form = window ? Form::formOf(window) : nullptr;
    if (form && form->formStyle() == fsMDIForm)
        if (Form *child = form->activeMdiChild())
            return child;
    return form;
}

void Application::checkActiveForm()
{
    Form *now = activeForm();
    if (now == activeForm_.data())
        return;
    activeForm_ = now;
    if (OnActiveFormChange.assigned())
        guard(now, [this] { OnActiveFormChange(); });
}

int Application::screenWidth() const
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().width() : 1024;
}

int Application::screenHeight() const
{
    QScreen *s = QGuiApplication::primaryScreen();
    return s ? s->geometry().height() : 768;
}

namespace {

bool windowOnScreen()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    return std::any_of(windows.begin(), windows.end(), [](const QWindow *w) { return w->isExposed(); });
}

} // namespace

void Application::setCursor(Cursor cursor)
{
    if (cursor == cursor_)
        return;
    if (cursorShown_)
        QGuiApplication::restoreOverrideCursor();
    cursor_ = cursor;
    // Shown only over a window on screen (see WaitCursor).
    cursorShown_ = cursor != crDefault && windowOnScreen();
    if (!cursorShown_)
        return;
    switch (cursor) {
    case crDefault: break;
    case crHourGlass: QGuiApplication::setOverrideCursor(Qt::WaitCursor); break;
    case crNoDrop: QGuiApplication::setOverrideCursor(Qt::ForbiddenCursor); break;
    case crHandPoint: QGuiApplication::setOverrideCursor(Qt::PointingHandCursor); break;
    case crArrow: QGuiApplication::setOverrideCursor(Qt::ArrowCursor); break;
    }
}

WaitCursor::WaitCursor() : shown_(windowOnScreen())
{
    if (shown_)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor()
{
    if (shown_)
        QGuiApplication::restoreOverrideCursor();
}

void Application::handleException(QObject *sender, const std::exception &e)
{
    if (dynamic_cast<const gp::Abort *>(&e))
        return;
    if (OnException.assigned()) {
        try {
            OnException(sender, e);
        } catch (...) {
            // The handler is the last stop: what it throws goes nowhere.
        }
        return;
    }
    const auto *error = dynamic_cast<const gp::Error *>(&e);
    salidaMensajes().mostrarMensaje(QStringLiteral("A"),
                                    error ? error->mensaje() : QString::fromUtf8(e.what()), QString());
}

void Application::addOwner(QObject *owner)
{
    if (owners_.contains(owner))
        return;
    owners_.append(owner);
    if (!mainForm_)
        if (auto *form = qobject_cast<Form *>(owner))
            mainForm_ = form;
}

void Application::removeOwner(QObject *owner)
{
    owners_.removeOne(owner);
}

void Application::updateHint(QWidget *widget)
{
    QString tip = widget->toolTip();
    const qsizetype bar = tip.indexOf(QLatin1Char('|'));
    if (bar >= 0)
        tip = tip.mid(bar + 1);
    if (tip == hint_)
        return;
    hint_ = tip;
    if (OnHint.assigned())
        guard(widget, [this] { OnHint(); });
}

namespace {

// Enter on a focused push button is the button's: no form's handler turns it into Tab first.
bool isEnterOnButton(const QWidget *receiver, const QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    return enter && !(event->modifiers() & ~Qt::KeypadModifier) && dynamic_cast<const Button *>(receiver);
}

} // namespace

bool Application::previewKey(QWidget *receiver, QKeyEvent *event)
{
    Form *form = Form::formOf(receiver);
    if (!form || !form->keyPreview() || keysInDelivery_.contains(event) || isEnterOnButton(receiver, event))
        return false;
    // The form sees the key first; then the key (or what the handlers made of it) goes
    // to the control as Qt would have delivered it.
    // Guarded before the handlers run: one may open a modal window that frees the control
    // (a grid's cell editor), and the key must then go nowhere.
    const QPointer<QWidget> target = receiver;
    keysInDelivery_.insert(event);
    std::unique_ptr<QKeyEvent> replacement;
    const bool deliver = form->runKeyHandlers(event, &replacement);
    if (deliver && target) {
        QKeyEvent *sent = replacement ? replacement.get() : event;
        keysInDelivery_.insert(sent);
        QCoreApplication::sendEvent(target, sent);
        keysInDelivery_.remove(sent);
    }
    keysInDelivery_.remove(event);
    event->accept();
    return true;
}

namespace {

int signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char c = 1;
    // Only a write is safe inside a signal handler; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &c, 1);
}

} // namespace

void Application::closeOnTerminationSignals()
{
    if (signalPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char c;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[0], &c, 1);
        if (Form *main = mainForm())
            main->Close();
        else
            terminate();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void Application::deliverKey(QWidget *receiver, QKeyEvent *event)
{
    keysInDelivery_.insert(event);
    QCoreApplication::sendEvent(receiver, event);
    keysInDelivery_.remove(event);
}

bool Application::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (watched->isWidgetType())
            return previewKey(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event));
        break;
    case QEvent::ShortcutOverride:
        // Esc while a drop-down list, a date picker or a completer is open closes that alone:
        // no shortcut of the window behind it (cancelling the record) takes the key.
        if (QApplication::activePopupWidget() && static_cast<QKeyEvent *>(event)->matches(QKeySequence::Cancel)) {
            event->accept();
            return true;
        }
        break;
    case QEvent::Enter:
        if (watched->isWidgetType())
            updateHint(static_cast<QWidget *>(watched));
        break;
    default:
        break;
    }
    return false;
}

GuardedApplication::GuardedApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // Qt's style, with what a start need not pay for left until first used.
    setStyle(new ProgramStyle);
}

bool GuardedApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const gp::Abort &) {
    } catch (const std::exception &e) {
        Application::instance().handleException(receiver, e);
    } catch (...) {
        Application::instance().handleException(receiver, gp::Error(QStringLiteral("Unknown exception")));
    }
    return true;
}

} // namespace plat
