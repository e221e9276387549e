#pragma once
#include "platform/ui/Form.h"

#include <QPointer>

class QLineEdit;

namespace plat {
class DBGrid;
class Panel;
} // namespace plat

// The on-screen numeric keypad: a small window on top that never takes the focus, whose
// buttons type into the active edit box or data grid of the target form. Made on demand
// and freed when closed.
class TfGENEKPAD : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEKPAD(QWidget *parent = nullptr);

    // The form that receives the keys.
    QPointer<plat::Form> FormularioDestino;
    // "," while a decimal comma typed into a grid waits for the next digit.
    QString ComaPendiente;

    plat::Panel *btBorrar, *btEntre, *btPor, *btMenos;
    plat::Panel *bt7, *bt8, *bt9, *btMas;
    plat::Panel *bt4, *bt5, *bt6;
    plat::Panel *bt1, *bt2, *bt3, *btIntro;
    plat::Panel *bt0, *btComa;

public slots:
    // A button: its caption typed into the target form's active control.
    void BotonClick(QObject *Sender);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    plat::Panel *boton(const QString &nombre, const QString &titulo, int columna, int fila, int columnas, int filas);
    void teclearEnEdicion(QLineEdit &edicion, const QString &titulo);
    void teclearEnRejilla(plat::DBGrid &rejilla, const QString &titulo);
};

// A keypad aimed at the form of the control (the opener places and shows it).
plat::Form *CrearTecladoNumerico(QWidget *control);
