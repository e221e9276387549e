#pragma once
#include <QObject>
#include <QPointer>

#include <deque>
#include <functional>

class QTimer;
class QWidget;

// Work the start leaves for after the main window's first paint, so that the user sees the
// window painted sooner. Each step runs once, in the order given: from a call queued at the
// window's first paint, or earlier, before anything could reach what the steps make: input for
// any window of the program (a key pressed, a click, a shortcut) runs them before the input is
// delivered, and code that needs them calls completar(). A window that is never painted gets
// them after `esperaMaxima` milliseconds all the same.
class PreparacionDiferida final : public QObject
{
public:
    explicit PreparacionDiferida(QWidget &ventana, int esperaMaxima = 2000);
    ~PreparacionDiferida() override;
    PreparacionDiferida(const PreparacionDiferida &) = delete;
    PreparacionDiferida &operator=(const PreparacionDiferida &) = delete;

    void anadir(std::function<void()> paso);
    // Runs every step not yet run, now; a step that calls it again finds the rest run.
    void completar();
    bool pendiente() const { return !pasos_.empty(); }

protected:
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    void vigilar(bool activa);

    QPointer<QWidget> ventana_;
    QTimer *plazo_;
    std::deque<std::function<void()>> pasos_;
    bool vigilando_ = false;
    bool programada_ = false;
};
