#pragma once
#include "platform/ui/Keys.h"

#include <QChar>
#include <functional>
#include <utility>

class QObject;

namespace plat {

// An event property of a form or control: empty until the form assigns a handler, so that
// the framework can install its common handler only where the form set none.
template<class Signature>
class Event;

template<class... Args>
class Event<void(Args...)>
{
public:
    Event() = default;
    template<class F>
    Event &operator=(F &&handler)
    {
        handler_ = std::function<void(Args...)>(std::forward<F>(handler));
        return *this;
    }
    Event &operator=(std::nullptr_t)
    {
        handler_ = nullptr;
        return *this;
    }
    bool assigned() const { return bool(handler_); }
    // Calls the handler when one is assigned; exceptions reach the caller.
    void operator()(Args... args) const
    {
        if (handler_)
            handler_(std::forward<Args>(args)...);
    }

private:
    std::function<void(Args...)> handler_;
};

enum CloseAction { caNone, caHide, caFree, caMinimize };

using NotifyEvent = Event<void(QObject *Sender)>;
using CloseEvent = Event<void(QObject *Sender, CloseAction &Action)>;
using CloseQueryEvent = Event<void(QObject *Sender, bool &CanClose)>;
// Key is a virtual-key code; setting it to 0 consumes the key.
using KeyEvent = Event<void(QObject *Sender, int &Key, ShiftState Shift)>;
// Key is the typed character; setting it to QChar() drops it.
using KeyPressEvent = Event<void(QObject *Sender, QChar &Key)>;
using MouseMoveEvent = Event<void(QObject *Sender, ShiftState Shift, int X, int Y)>;
using MouseEvent = Event<void(QObject *Sender, Qt::MouseButton Button, ShiftState Shift, int X, int Y)>;

// Dragging one control onto another: DragOver asks the target whether it takes what Source
// drags (Accept starts false), DragDrop hands it over. X and Y are in the target's viewport.
enum DragMode { dmManual, dmAutomatic };
enum DragState { dsDragEnter, dsDragMove };
using DragOverEvent = Event<void(QObject *Sender, QObject *Source, int X, int Y, DragState State, bool &Accept)>;
using DragDropEvent = Event<void(QObject *Sender, QObject *Source, int X, int Y)>;

// A form method as an event handler: OnShow = handler(this, &TfX::FormShow).
template<class Owner, class... Args>
auto handler(Owner *owner, void (Owner::*method)(Args...))
{
    return [owner, method](Args... args) { (owner->*method)(std::forward<Args>(args)...); };
}

} // namespace plat
