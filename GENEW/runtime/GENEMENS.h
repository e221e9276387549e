#pragma once
#include "platform/base/Gancho.h"
#include "platform/ui/Form.h"

#include <QString>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// The program's one message window. A message has a kind ("I" information, "A" warning,
// "E" error, "C" yes/no question, "P" prompt for a text) that decides the caption, the icon
// and the buttons; the window is shown modally and hidden again when a button is pressed.
class TfGENEMENS : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEMENS(QWidget *parent = nullptr);

    // The message the next showing displays, and on return the typed answer of a prompt.
    QString TipoMensaje;
    QString TextoDelMensaje;
    QString RespuestaMensaje;

    // The platform name decides the window's height (the old system's caption was taller on
    // one platform).
    QString Plataforma;

    QFrame *PanelMensaje;
    QLabel *TextoMensaje;
    QLabel *ImagenInformacion;
    QLabel *ImagenExclamacion;
    QLabel *ImagenInterrogacion;
    QLabel *ImagenError;
    QFrame *PanelRespuesta;
    QLineEdit *EditRespuesta;
    QPushButton *pbAceptar;
    QPushButton *pbSI;
    QPushButton *pbNO;

    // The common keyboard routines the window hands its keys to before its controls see
    // them; the start-up form assigns them.
    plat::KeyPressEvent ProcesarTeclaPulsada;
    plat::KeyEvent ProcesarTeclaFormulario;
    // The look applied on showing, and the translation of the form on activation; until the
    // start-up form assigns them the window shows its own texts.
    plat::NotifyEvent AplicarAspecto;
    plat::NotifyEvent TraducirFormulario;

    // Gives another window the keyboard, look and translation routines of this one.
    void copiarRutinasA(TfGENEMENS &otra) const;

    void FormShow(QObject *Sender);
    void FormHide(QObject *Sender);
    void FormActivate(QObject *Sender);
    void FormKeyPress(QObject *Sender, QChar &Key);
    void FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift);

private:
    QPushButton *boton(const QString &nombre, const QString &texto, int resultado);
    void mostrarIcono(QLabel *icono);
    void ajustarAlTexto();
    int tamanoLetraDiseno_ = 0;
    int altoAnadido_ = 0;   // what the text's lines added to the window's height
};

extern TfGENEMENS *fGENEMENS;

// The translation of a message window's caption and text on activation, for every message
// window; the data module installs its own while it exists, until then none.
using TraduccionMensajesFn = std::function<QString(const QString &texto)>;
Gancho<TraduccionMensajesFn> &ganchoTraduccionMensajes();
