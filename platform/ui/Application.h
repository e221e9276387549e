#pragma once
#include "platform/ui/Event.h"

#include "platform/base/Errores.h"
#include "platform/base/InterfacesComunes.h"

#include <QApplication>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <exception>
#include <memory>

class QKeyEvent;

namespace plat {

class Form;

enum Cursor { crDefault, crHourGlass, crNoDrop, crHandPoint, crArrow };

// The application object of the class library: title, help file, main form, the list of
// forms and data modules, the hooks the runtime installs, and the one place where an
// exception thrown by an event handler ends up. Created on first use, over qApp.
class Application : public QObject
{
    Q_OBJECT
public:
    static Application &instance();
    ~Application() override;

    QString title() const { return title_; }
    void setTitle(const QString &title);
    QString helpFile() const { return helpFile_; }
    void setHelpFile(const QString &file) { helpFile_ = file; }

    // The first form created, unless set otherwise. Closing it terminates the application.
    Form *mainForm() const;
    void setMainForm(Form *form);

    // Ends the event loop once the current event has been handled.
    void terminate();
    bool terminated() const { return terminated_; }
    void processMessages();

    // Forms and data modules, in creation order.
    const QList<QObject *> &components() const { return owners_; }
    QList<Form *> forms() const;
    QObject *findComponent(const QString &name) const;   // case ignored
    Form *findForm(const QString &name) const;

    // The form that has the focus: the active MDI child inside an active MDI frame.
    Form *activeForm() const;
    // The long hint of the control under the mouse (the part after "|" when there is one).
    QString hint() const { return hint_; }

    int screenWidth() const;
    int screenHeight() const;

    Cursor cursor() const { return cursor_; }
    void setCursor(Cursor cursor);

    // SIGTERM and SIGINT close the main form (as its close box would) once the event loop
    // runs, so that a session logout or a script ends the program cleanly.
    void closeOnTerminationSignals();

    // Runs code on behalf of sender's event; an exception it throws goes to OnException
    // (gp::Abort is dropped silently). Returns false when it threw.
    template<class F>
    bool guard(QObject *sender, F &&code)
    {
        try {
            code();
            return true;
        } catch (const gp::Abort &) {
        } catch (const std::exception &e) {
            handleException(sender, e);
        } catch (...) {
            handleException(sender, gp::Error(QStringLiteral("Unknown exception")));
        }
        return false;
    }
    void handleException(QObject *sender, const std::exception &e);

    // The hooks. Without OnException, the message goes to the message sink as a warning.
    Event<void(QObject *Sender, const std::exception &E)> OnException;
    Event<void(Form *Released)> OnFormRelease;   // sees every release before the form goes
    Event<void()> OnActiveFormChange;
    Event<void()> OnHint;
    // Called with every form shown modally once its loop runs, so that tests and unattended
    // runs can answer it (set its modal result) instead of a person.
    Event<void(Form &Shown)> OnModalShown;

    // Bookkeeping of forms and data modules (their constructors and destructors call it).
    void addOwner(QObject *owner);
    void removeOwner(QObject *owner);
    void checkActiveForm();
    // Sends a key event that the form's preview has already seen (a control's handlers
    // changed it) straight to the widget.
    void deliverKey(QWidget *receiver, QKeyEvent *event);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Application();
    bool previewKey(QWidget *receiver, QKeyEvent *event);
    void updateHint(QWidget *widget);

    QString title_;
    QString helpFile_;
    QPointer<QWidget> mainForm_;
    QPointer<QWidget> activeForm_;
    QList<QObject *> owners_;
    QString hint_;
    Cursor cursor_ = crDefault;
    bool cursorShown_ = false;   // cursor_ set as the toolkit's override cursor
    bool terminated_ = false;
    QSet<QEvent *> keysInDelivery_;
    std::unique_ptr<FormularioPrincipal> mainFormView_;
    Gancho<FormularioPrincipal *>::Instalacion mainFormInstalled_;
};

inline Application &application() { return Application::instance(); }

// Shows the hourglass while in scope and puts the previous cursor back.
class BusyCursor
{
public:
    BusyCursor() : previous_(application().cursor()) { application().setCursor(crHourGlass); }
    ~BusyCursor() { application().setCursor(previous_); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    Cursor previous_;
};

// The hourglass over the program's windows while in scope, when one is on screen to show it
// on: before the first window is mapped there is none, and a cursor set then loads the
// cursor theme ahead of that window.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

private:
    bool shown_;
};

// The program's QApplication: an exception that escapes any event handler (Qt cannot carry
// one through its own code) is caught here and handed to Application::handleException with
// the object that received the event.
class GuardedApplication : public QApplication
{
public:
    GuardedApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace plat
