#pragma once
#include "platform/ui/Form.h"

// A program window: an MDI child of the main window that frees itself when it is closed.
// The global instance variable of the form follows the window: it points at the instance
// made last and is cleared when that one goes.
class VentanaPrograma : public plat::Form
{
    Q_OBJECT
public:
    VentanaPrograma(QWidget *parent, const QString &nombre, const QString &titulo);

public slots:
    void FormClose(QObject *Sender, plat::CloseAction &Action);
};

// The global variable's bookkeeping for a window class F with the variable global.
template<class F>
class InstanciaGlobal
{
public:
    InstanciaGlobal(F *&global, F *formulario) : global_(global), formulario_(formulario) { global_ = formulario; }
    ~InstanciaGlobal()
    {
        if (global_ == formulario_)
            global_ = nullptr;
    }
    InstanciaGlobal(const InstanciaGlobal &) = delete;
    InstanciaGlobal &operator=(const InstanciaGlobal &) = delete;

private:
    F *&global_;
    F *formulario_;
};

