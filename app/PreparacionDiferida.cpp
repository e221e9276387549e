#include "app/PreparacionDiferida.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

namespace {

// What a user does to the program: any of these may open a form that needs the steps' work.
// Releases are left out: what they trigger (a button's click, a menu entry) began with a press
// the filter saw, and the release of the key that answered the log-in prompt, which arrives
// once the main window is up, would otherwise bring the steps before its first paint.
bool esEntrada(QEvent::Type tipo)
{
    switch (tipo) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TabletPress:
    case QEvent::TouchBegin:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

PreparacionDiferida::PreparacionDiferida(QWidget &ventana, int esperaMaxima)
    : ventana_(&ventana), plazo_(new QTimer(this))
{
    plazo_->setSingleShot(true);
    plazo_->setInterval(esperaMaxima);
    connect(plazo_, &QTimer::timeout, this, &PreparacionDiferida::completar);
}

PreparacionDiferida::~PreparacionDiferida() { vigilar(false); }

void PreparacionDiferida::anadir(std::function<void()> paso)
{
    pasos_.push_back(std::move(paso));
    vigilar(true);
}

void PreparacionDiferida::completar()
{
    // Taken off the queue before it runs: a step that reaches completar() again (input it
    // processes, a form it shows) goes on with the next steps, never with itself.
    while (!pasos_.empty()) {
        std::function<void()> paso = std::move(pasos_.front());
        pasos_.pop_front();
        paso();
    }
    vigilar(false);
}

void PreparacionDiferida::vigilar(bool activa)
{
    if (activa == vigilando_ || !QCoreApplication::instance())
        return;
    vigilando_ = activa;
    if (activa) {
        QCoreApplication::instance()->installEventFilter(this);
        plazo_->start();
    } else {
        QCoreApplication::instance()->removeEventFilter(this);
        plazo_->stop();
        programada_ = false;
    }
}

bool PreparacionDiferida::eventFilter(QObject *objeto, QEvent *evento)
{
    if (pasos_.empty())
        return false;
    if (esEntrada(evento->type())) {
        completar();
    } else if (evento->type() == QEvent::Paint && !programada_ && ventana_ && objeto->isWidgetType()
               && static_cast<QWidget *>(objeto)->window() == ventana_) {
        // Queued, and the window system's queue sent on first, so that the painted window
        // reaches the screen before the steps run.
        programada_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                QGuiApplication::sync();
                completar();
            },
            Qt::QueuedConnection);
    }
    return false;
}
