#pragma once
// Keys as a person types them on the running program: each one delivered to the window that
// has the focus, as the window system delivers it, and whatever it left for later (focus
// moves, timers of no delay, releases) let happen before the next. Offscreen there is no
// window manager: the window that takes the keys is made active as one would make it.
#include "platform/ui/Application.h"
#include "platform/ui/Form.h"
#include "platform/ui/data/DBGrid.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

namespace gptest {

inline void asentar()
{
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

inline QWidget *foco() { return QApplication::focusWidget(); }

// The widget of that class the widget is or is inside, within its form.
template<class T>
T *deFoco(QWidget *w)
{
    for (; w; w = w->parentWidget()) {
        if (auto *c = dynamic_cast<T *>(w))
            return c;
        if (qobject_cast<plat::Form *>(w))
            break;
    }
    return nullptr;
}

// The modal dialog on screen is the active window, else the main window: a dialog that
// closed gives the activation back, and the MDI child that had the focus gets it again.
inline void reactivar()
{
    if (QApplication::activePopupWidget())
        return;
    QWidget *destino = QApplication::activeModalWidget();
    if (!destino)
        destino = plat::application().mainForm();
    if (destino && destino->isVisible() && QApplication::activeWindow() != destino) {
        QApplication::setActiveWindow(destino);
        asentar();
    }
    if (auto *marco = qobject_cast<QMdiSubWindow *>(foco()); marco && marco->widget()) {
        QWidget *control = marco->widget()->focusWidget();
        (control ? control : marco->widget())->setFocus(Qt::ActiveWindowFocusReason);
        asentar();
    }
}

inline QWindow *ventanaDelFoco()
{
    QWidget *w = foco();
    if (!w)
        w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    if (!w)
        w = plat::application().mainForm();
    return w->window()->windowHandle();
}

inline void pulsar(Qt::Key tecla, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(ventanaDelFoco(), tecla, mods);
    asentar();
    reactivar();
}

inline void teclear(const QString &texto)
{
    for (const QChar c : texto) {
        const bool ascii = c.unicode() < 128 && c.isLetterOrNumber();
        QTest::sendKeyEvent(QTest::Click, ventanaDelFoco(), ascii ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown,
                            QString(c), Qt::NoModifier);
    }
    asentar();
}

// Everything the control holds replaced by what is typed.
inline void reescribir(const QString &texto)
{
    pulsar(Qt::Key_A, Qt::ControlModifier);
    if (auto *e = qobject_cast<QLineEdit *>(foco()))
        e->selectAll();   // a list's edit box does not take Ctrl+A in every style
    if (texto.isEmpty())
        pulsar(Qt::Key_Delete);
    else
        teclear(texto);
}

// The next control: Tab; out of a grid, whose Tab moves between its cells, F3, the program's
// key to the window's buttons.
inline void siguiente() { pulsar(deFoco<plat::DBGrid>(foco()) ? Qt::Key_F3 : Qt::Key_Tab); }

// Onwards until the focus reaches the widget; false when it never does.
inline bool tabularHasta(const QWidget *destino, int maximo = 60)
{
    for (int i = 0; i < maximo && foco() != destino; ++i)
        siguiente();
    return foco() == destino;
}

// ---- what the screen shows ----------------------------------------------------------------

inline QString textoDeControl(QWidget *w)
{
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    if (auto *p = qobject_cast<QPlainTextEdit *>(w))
        return p->toPlainText();
    return {};
}

// The list a widget is, or whose pop-up it is in.
inline QComboBox *listaDe(QWidget *w)
{
    for (; w; w = w->parentWidget())
        if (auto *c = qobject_cast<QComboBox *>(w))
            return c;
    return nullptr;
}

inline bool listaAbierta(QWidget *w)
{
    const QComboBox *c = listaDe(w);
    return c && c->view() && c->view()->isVisible();
}

// The texts a window shows in its edits, lists, labels and the rows of its grids on screen.
inline QStringList textosVisibles(const QWidget &raiz)
{
    QStringList t;
    for (const QWidget *w : raiz.findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        if (auto *e = qobject_cast<const QLineEdit *>(w))
            t << e->text();
        else if (auto *c = qobject_cast<const QComboBox *>(w))
            t << c->currentText();
        else if (auto *l = qobject_cast<const QLabel *>(w))
            t << l->text();
        else if (auto *p = qobject_cast<const QPlainTextEdit *>(w))
            t << p->toPlainText();
        else if (auto *v = qobject_cast<const QAbstractItemView *>(w); v && v->model())
            for (int fila = 0; fila < qMin(v->model()->rowCount(), 40); ++fila)
                for (int col = 0; col < v->model()->columnCount(); ++col)
                    t << v->model()->index(fila, col).data().toString();
    }
    return t;
}

} // namespace gptest
