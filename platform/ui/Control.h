#pragma once
#include "platform/ui/Colors.h"
#include "platform/ui/Event.h"

#include "platform/base/InterfacesComunes.h"

#include <QObject>
#include <QString>
#include <QWidget>

// The published properties every control of the layer shares, by the class library's
// names. A control class lists PLAT_CONTROL_PROPERTIES after Q_OBJECT and derives from
// Control next to its Qt widget.
#define PLAT_CONTROL_PROPERTIES                                                   \
    Q_PROPERTY(QString Hint READ hint WRITE setHint)                             \
    Q_PROPERTY(int Tag READ tag WRITE setTag)                                    \
    Q_PROPERTY(bool Visible READ isShown WRITE setShown)                          \
    Q_PROPERTY(bool Enabled READ isEnabledControl WRITE setEnabledControl)        \
    Q_PROPERTY(int Color READ color WRITE setColor)                              \
    Q_PROPERTY(QFont Font READ controlFont WRITE setControlFont)                  \
    Q_PROPERTY(int FontColor READ fontColor WRITE setFontColor)

namespace plat {

// A control put at its design-time place and handed back, so that a form's construction
// reads as its layout: place(make<Edit>("EditCodigo", panel), 80, 8, 120, 21).
template<class C>
C *place(C *control, int left, int top, int width, int height)
{
    control->setGeometry(left, top, width, height);
    return control;
}

class Canvas;

// The common part of a control: tag, hint, colour, font colour, and the events the class
// library gives every control. Its handlers run through the application's guard with the
// control as sender. The control's own key handlers run after the form's key preview.
class Control
{
public:
    explicit Control(QWidget *self);
    virtual ~Control();

    QWidget *widget() const { return self_; }

    QString hint() const;
    void setHint(const QString &hint);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    bool isShown() const { return !self_->isHidden(); }
    void setShown(bool shown) { self_->setVisible(shown); }
    bool isEnabledControl() const { return self_->isEnabled(); }
    void setEnabledControl(bool enabled) { self_->setEnabled(enabled); }
    // $BBGGRR colour of the background; clDefault keeps the style's.
    int color() const { return color_; }
    virtual void setColor(int color);
    QFont controlFont() const { return self_->font(); }
    void setControlFont(const QFont &font) { self_->setFont(font); }
    int fontColor() const { return fontColor_; }
    virtual void setFontColor(int color);

    int left() const { return self_->x(); }
    int top() const { return self_->y(); }
    void setBounds(int left, int top, int width, int height) { self_->setGeometry(left, top, width, height); }
    void SetFocus() { self_->setFocus(Qt::OtherFocusReason); }
    bool Focused() const { return self_->hasFocus(); }

    NotifyEvent OnClick;
    NotifyEvent OnDblClick;
    NotifyEvent OnEnter;
    NotifyEvent OnExit;
    KeyEvent OnKeyDown;
    KeyPressEvent OnKeyPress;
    KeyEvent OnKeyUp;
    MouseEvent OnMouseDown;
    MouseEvent OnMouseUp;
    MouseMoveEvent OnMouseMove;

    // Runs a handler of this control through the application's guard.
    void fire(const NotifyEvent &event);

    // The control of a widget (nullptr for a plain Qt widget).
    static Control *of(const QObject *widget);

protected:
    // The palette role that Color paints (the base of edits, the window of panels).
    virtual QPalette::ColorRole colorRole() const { return QPalette::Window; }
    // Whether a plain mouse click inside the control runs OnClick (buttons click themselves).
    virtual bool clicksFromMouse() const { return true; }
    // Watches a further widget for mouse events (the viewport of a scrolling control).
    void watchMouse(QWidget *widget);

private:
    friend class ControlWatcher;
    QWidget *self_;
    QObject *watcher_;
    int tag_ = 0;
    int color_ = clDefault;
    int fontColor_ = clDefault;
};

// Any widget as the common routines place it inside its parent (PosicionarControl).
class WidgetPlacement : public ControlPosicionable
{
public:
    explicit WidgetPlacement(QWidget *widget) : widget_(widget) {}
    QSize tamano() const override { return widget_->size(); }
    std::optional<QSize> tamanoPadre() const override;
    void ponerIzquierda(int left) override { widget_->move(left, widget_->y()); }
    void ponerArriba(int top) override { widget_->move(widget_->x(), top); }

private:
    QWidget *widget_;
};

} // namespace plat
