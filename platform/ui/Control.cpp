#include "platform/ui/Control.h"

#include "platform/ui/Application.h"
#include "platform/ui/Form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVariant>
#include <utility>

namespace plat {

namespace {
constexpr const char *kControlProperty = "_plat_control";
}

// Turns the widget's Qt events into the control's events.
class ControlWatcher : public QObject
{
public:
    ControlWatcher(Control *control, QObject *parent) : QObject(parent), control_(control) {}

    bool eventFilter(QObject *watched, QEvent *e) override
    {
        Control &c = *control_;
        QWidget *self = c.self_;
        switch (e->type()) {
        case QEvent::FocusIn:
            // Back from a widget inside the control (a grid's cell editor): it never left.
            if (watched == self && !stopFollowingInside())
                c.fire(c.OnEnter);
            break;
        case QEvent::FocusOut:
            if (watched != self)
                break;
            if (inside(QApplication::focusWidget()))
                followInside();
            else
                c.fire(c.OnExit);
            break;
        case QEvent::MouseButtonDblClick:
            c.fire(c.OnDblClick);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease: {
            auto *m = static_cast<QMouseEvent *>(e);
            const QPoint p = self->mapFromGlobal(m->globalPosition().toPoint());
            const ShiftState shift = shiftStateFromQt(m->modifiers(), m->buttons() | m->button());
            const bool press = e->type() == QEvent::MouseButtonPress;
            const MouseEvent &handler = press ? c.OnMouseDown : c.OnMouseUp;
            if (handler.assigned())
                application().guard(self, [&] { handler(self, m->button(), shift, p.x(), p.y()); });
            if (!press && m->button() == Qt::LeftButton && c.clicksFromMouse() && self->rect().contains(p))
                c.fire(c.OnClick);
            break;
        }
        case QEvent::MouseMove:
            if (c.OnMouseMove.assigned()) {
                auto *m = static_cast<QMouseEvent *>(e);
                const QPoint p = self->mapFromGlobal(m->globalPosition().toPoint());
                const ShiftState shift = shiftStateFromQt(m->modifiers(), m->buttons());
                application().guard(self, [&] { c.OnMouseMove(self, shift, p.x(), p.y()); });
            }
            break;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            if (watched == self)
                return handleKey(static_cast<QKeyEvent *>(e));
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The control's own key handlers, after the form's preview: a consumed key stops here,
    // a changed one goes on in its new form.
    bool handleKey(QKeyEvent *e)
    {
        Control &c = *control_;
        if (replacing_ || (!c.OnKeyDown.assigned() && !c.OnKeyPress.assigned() && !c.OnKeyUp.assigned()))
            return false;
        QWidget *self = c.self_;
        const int vk = virtualKeyOf(*e);
        int key = vk;
        const KeyEvent &keyHandler = e->type() == QEvent::KeyRelease ? c.OnKeyUp : c.OnKeyDown;
        if (vk != 0 && keyHandler.assigned()
            && !application().guard(self, [&] { keyHandler(self, key, shiftStateFromQt(e->modifiers())); }))
            key = 0;
        if (vk != 0 && key == 0) {
            e->accept();
            return true;
        }
        const QString text = e->text();
        const QChar typed = text.size() == 1 ? text[0] : QChar();
        QChar ch = typed;
        if (e->type() == QEvent::KeyPress && !typed.isNull() && c.OnKeyPress.assigned()
            && !application().guard(self, [&] { c.OnKeyPress(self, ch); }))
            ch = QChar();
        if (key == vk && ch == typed)
            return false;
        if (key == vk && ch.isNull()) {
            e->accept();
            return true;
        }
        bool keypad = false;
        const int qtKey = key != vk ? qtKeyFromVirtualKey(key, &keypad) : e->key();
        QKeyEvent changed(e->type(), qtKey, keypad ? e->modifiers() | Qt::KeypadModifier : e->modifiers(),
                          ch.isNull() ? QString() : QString(ch));
        replacing_ = true;
        application().deliverKey(self, &changed);
        replacing_ = false;
        e->setAccepted(changed.isAccepted());
        return true;
    }

    // Whether a widget is the control or lies inside it, also in a pop-up of its own (the
    // list of a cell's combo box).
    bool inside(const QWidget *widget) const
    {
        for (const QWidget *w = widget; w; w = w->parentWidget())
            if (w == control_->self_)
                return true;
        return false;
    }

    // The focus went to a widget inside the control: the control is left only when the
    // focus goes on to a widget outside it.
    void followInside()
    {
        if (insideFocus_)
            return;
        insideFocus_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
            if (inside(now))
                return;
            stopFollowingInside();
            control_->fire(control_->OnExit);
        });
    }

    bool stopFollowingInside() { return disconnect(std::exchange(insideFocus_, {})); }

    Control *control_;
    bool replacing_ = false;
    QMetaObject::Connection insideFocus_;
};

Control::Control(QWidget *self) : self_(self), watcher_(new ControlWatcher(this, self))
{
    self->installEventFilter(watcher_);
    self->setProperty(kControlProperty, QVariant::fromValue(static_cast<void *>(this)));
}

Control::~Control() = default;

Control *Control::of(const QObject *widget)
{
    return widget ? static_cast<Control *>(widget->property(kControlProperty).value<void *>()) : nullptr;
}

void Control::watchMouse(QWidget *widget)
{
    widget->installEventFilter(watcher_);
}

QString Control::hint() const { return self_->toolTip(); }
void Control::setHint(const QString &hint) { self_->setToolTip(hint); }

void Control::setColor(int color)
{
    color_ = color;
    QPalette p = self_->palette();
    if (color == clDefault) {
        p.setColor(colorRole(), QApplication::palette(self_).color(colorRole()));
        self_->setPalette(p);
        return;
    }
    p.setColor(colorRole(), toQColor(color));
    self_->setPalette(p);
    if (colorRole() == QPalette::Window)
        self_->setAutoFillBackground(true);
}

void Control::setFontColor(int color)
{
    fontColor_ = color;
    QPalette p = self_->palette();
    const QColor c = color == clDefault ? QApplication::palette(self_).color(QPalette::WindowText) : toQColor(color);
    p.setColor(QPalette::WindowText, c);
    p.setColor(QPalette::Text, c);
    p.setColor(QPalette::ButtonText, c);
    self_->setPalette(p);
}

std::optional<QSize> WidgetPlacement::tamanoPadre() const
{
    // A form inside an MDI sub-window is placed within the sub-window's area.
    if (QWidget *parent = widget_->parentWidget())
        return parent->size();
    return std::nullopt;
}

void Control::fire(const NotifyEvent &event)
{
    if (event.assigned())
        application().guard(self_, [&] { event(self_); });
}

} // namespace plat
