#include "GENEW/runtime/GENEMENS.h"

#include "GENEW/runtime/ImagenesPrograma.h"
#include "GENEW/runtime/Plataforma.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/PasswordCharacter.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfGENEMENS *fGENEMENS = nullptr;

namespace {

const QString MarcaInicio = QStringLiteral(":SelStart:");
const QString MarcaFin = QStringLiteral(":SelEnd:");
const QString RespuestaOculta = QStringLiteral("Password");
constexpr int AnchoBoton = 97;
constexpr int AltoBoton = 27;
constexpr int TextoLargo = 90;
constexpr int AltoTexto = 80;
constexpr int AltoPanelMensaje = 88;
// What the window keeps free of the screen's height when a long text makes it grow.
constexpr int MargenPantalla = 80;

QLabel *icono(plat::Form *form, const QString &nombre, const QString &imagen, QWidget *panel)
{
    auto *i = form->make<QLabel>(nombre, panel);
    i->setPixmap(ImagenPrograma(imagen));
    i->setGeometry(10, 18, 48, 48);
    return i;
}

} // namespace

TfGENEMENS::TfGENEMENS(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEMENS"));
    setKeyPreview(true);
    setFixedSize(404, 158);
    Plataforma = LeerValorDeLista(QStringLiteral("Plataforma"), ObtenerPlataforma());

    PanelMensaje = make<QFrame>(QStringLiteral("PanelMensaje"), this);
    PanelMensaje->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    PanelMensaje->setGeometry(4, 4, 396, AltoPanelMensaje);

    TextoMensaje = make<QLabel>(QStringLiteral("TextoMensaje"), PanelMensaje);
    TextoMensaje->setGeometry(66, 4, 324, AltoTexto);
    TextoMensaje->setAlignment(Qt::AlignCenter);
    TextoMensaje->setWordWrap(true);
    QFont letra = TextoMensaje->font();
    letra.setBold(true);
    letra.setPointSize(10);
    TextoMensaje->setFont(letra);

    ImagenInformacion = icono(this, QStringLiteral("ImagenInformacion"), QStringLiteral("INFORMACION"), PanelMensaje);
    ImagenExclamacion = icono(this, QStringLiteral("ImagenExclamacion"), QStringLiteral("EXCLAMACION"), PanelMensaje);
    ImagenInterrogacion = icono(this, QStringLiteral("ImagenInterrogacion"), QStringLiteral("INTERROGACION"), PanelMensaje);
    ImagenError = icono(this, QStringLiteral("ImagenError"), QStringLiteral("ERROR"), PanelMensaje);

    PanelRespuesta = make<QFrame>(QStringLiteral("PanelRespuesta"), this);
    PanelRespuesta->setGeometry(4, 96, 396, 34);
    EditRespuesta = make<QLineEdit>(QStringLiteral("EditRespuesta"), PanelRespuesta);
    EditRespuesta->setGeometry(8, 4, 380, 26);
    QFont arial(QStringLiteral("Arial"));
    arial.setBold(true);
    arial.setPointSize(10);
    EditRespuesta->setFont(arial);

    pbAceptar = boton(QStringLiteral("pbAceptar"), QStringLiteral("&Aceptar"), plat::mrOk);
    pbSI = boton(QStringLiteral("pbSI"), QStringLiteral("&SI"), plat::mrYes);
    pbNO = boton(QStringLiteral("pbNO"), QStringLiteral("&No"), plat::mrNo);
    pbSI->move(100, 99);
    pbNO->move(207, 99);

    OnShow = plat::handler(this, &TfGENEMENS::FormShow);
    OnHide = plat::handler(this, &TfGENEMENS::FormHide);
    OnActivate = plat::handler(this, &TfGENEMENS::FormActivate);
    OnKeyPress = plat::handler(this, &TfGENEMENS::FormKeyPress);
    OnKeyDown = plat::handler(this, &TfGENEMENS::FormKeyDown);
}

QPushButton *TfGENEMENS::boton(const QString &nombre, const QString &texto, int resultado)
{
    auto *b = make<QPushButton>(nombre, texto, this);
    b->resize(AnchoBoton, AltoBoton);
    connect(b, &QPushButton::clicked, this, [this, resultado] { setModalResult(resultado); });
    return b;
}

void TfGENEMENS::mostrarIcono(QLabel *icono)
{
    icono->move(10, 18);
    icono->show();
}

Gancho<TraduccionMensajesFn> &ganchoTraduccionMensajes()
{
    static Gancho<TraduccionMensajesFn> gancho;
    return gancho;
}

void TfGENEMENS::copiarRutinasA(TfGENEMENS &otra) const
{
    otra.Plataforma = Plataforma;
    otra.ProcesarTeclaPulsada = ProcesarTeclaPulsada;
    otra.ProcesarTeclaFormulario = ProcesarTeclaFormulario;
    otra.AplicarAspecto = AplicarAspecto;
    otra.TraducirFormulario = TraducirFormulario;
}

void TfGENEMENS::FormShow(QObject *Sender)
{
    AplicarAspecto(Sender);
    TextoMensaje->setText(TextoDelMensaje);
    tamanoLetraDiseno_ = TextoMensaje->font().pointSize();
    if (TextoDelMensaje.size() > TextoLargo) {
        QFont letra = TextoMensaje->font();
        letra.setPointSize(8);
        TextoMensaje->setFont(letra);
    }

    for (QWidget *w : {static_cast<QWidget *>(PanelMensaje), static_cast<QWidget *>(ImagenInformacion),
                       static_cast<QWidget *>(ImagenExclamacion), static_cast<QWidget *>(ImagenInterrogacion),
                       static_cast<QWidget *>(ImagenError), static_cast<QWidget *>(pbSI), static_cast<QWidget *>(pbNO),
                       static_cast<QWidget *>(PanelRespuesta), static_cast<QWidget *>(pbAceptar)})
        w->hide();
    altoAnadido_ = 0;
    pbAceptar->move(153, 99);
    pbSI->move(100, 99);
    pbNO->move(207, 99);
    PanelRespuesta->move(4, 96);
    setFixedSize(404, Plataforma == QLatin1String("Windows XP") ? 162 : 158);

    const QString &tipo = TipoMensaje;
    if (tipo == QLatin1String("I") || tipo == QLatin1String("A") || tipo == QLatin1String("E")) {
        PanelMensaje->show();
        if (tipo == QLatin1String("I")) {
            setCaption(QStringLiteral("Información"));
            mostrarIcono(ImagenInformacion);
        } else if (tipo == QLatin1String("A")) {
            setCaption(QStringLiteral("Advertencia"));
            mostrarIcono(ImagenExclamacion);
        } else {
            setCaption(QStringLiteral("Error"));
            mostrarIcono(ImagenError);
        }
        pbAceptar->show();
        pbAceptar->setFocus();
    } else if (tipo == QLatin1String("C")) {
        PanelMensaje->show();
        setCaption(QStringLiteral("Confirmar"));
        mostrarIcono(ImagenInterrogacion);
        pbSI->show();
        pbNO->show();
        setActiveControl(pbNO);
    } else if (tipo == QLatin1String("P")) {
        PanelMensaje->show();
        setCaption(QStringLiteral("Pregunta"));
        mostrarIcono(ImagenInterrogacion);
        setFixedSize(404, 195);
        PanelRespuesta->show();
        pbAceptar->move(153, 135);
        pbAceptar->show();
        if (RespuestaMensaje == RespuestaOculta) {
            plat::setPasswordCharacter(EditRespuesta, u'*');
            EditRespuesta->clear();
        } else {
            EditRespuesta->setEchoMode(QLineEdit::Normal);
            EditRespuesta->setText(RespuestaMensaje);
            // A proposal is taken with Return or typed over, as in any question of the system.
            EditRespuesta->selectAll();
        }
        setActiveControl(EditRespuesta);
    }
    ajustarAlTexto();
}

// A text of more lines than the panel holds (a start-up error with the server's reason, say)
// makes the panel and the window taller, the buttons and the answer moving down, up to the
// screen's height; the window stays centred.
void TfGENEMENS::ajustarAlTexto()
{
    const int necesario = TextoMensaje->heightForWidth(TextoMensaje->width());
    const int maximo = qMax(0, plat::application().screenHeight() - MargenPantalla - (height() - altoAnadido_));
    const int anadido = qBound(0, necesario - AltoTexto, maximo);
    const int cambio = anadido - altoAnadido_;
    altoAnadido_ = anadido;
    PanelMensaje->resize(PanelMensaje->width(), AltoPanelMensaje + anadido);
    TextoMensaje->resize(TextoMensaje->width(), AltoTexto + anadido);
    // Beyond the screen the text's start stays in sight.
    TextoMensaje->setAlignment(necesario - AltoTexto > maximo ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignCenter);
    for (QWidget *debajo : {static_cast<QWidget *>(PanelRespuesta), static_cast<QWidget *>(pbAceptar),
                            static_cast<QWidget *>(pbSI), static_cast<QWidget *>(pbNO)})
        debajo->move(debajo->x(), debajo->y() + cambio);
    setFixedSize(width(), height() + cambio);
    setLeft((plat::application().screenWidth() - width()) / 2);
    setTop((plat::application().screenHeight() - height()) / 2);
}

void TfGENEMENS::FormHide(QObject *)
{
    if (TipoMensaje == QLatin1String("P"))
        RespuestaMensaje = EditRespuesta->text();
    if (tamanoLetraDiseno_ > 0) {
        QFont letra = TextoMensaje->font();
        letra.setPointSize(tamanoLetraDiseno_);
        TextoMensaje->setFont(letra);
    }
}

void TfGENEMENS::FormActivate(QObject *Sender)
{
    if (const TraduccionMensajesFn &traducir = ganchoTraduccionMensajes().valor()) {
        setCaption(traducir(caption()));
        TextoMensaje->setText(traducir(TextoMensaje->text()));
        ajustarAlTexto();
    }
    TraducirFormulario(Sender);
    update();

    // A default answer may mark the part to select: "text:SelStart:selected:SelEnd:text".
    const QString texto = EditRespuesta->text();
    const qsizetype inicio = texto.indexOf(MarcaInicio);
    if (inicio < 0)
        return;
    QString limpio = texto;
    limpio.remove(MarcaInicio);
    const qsizetype fin = limpio.indexOf(MarcaFin);
    limpio.remove(MarcaFin);
    EditRespuesta->setText(limpio);
    EditRespuesta->setSelection(int(inicio), int(fin < 0 ? limpio.size() - inicio : qMax<qsizetype>(0, fin - inicio)));
}

void TfGENEMENS::FormKeyPress(QObject *Sender, QChar &Key)
{
    ProcesarTeclaPulsada(Sender, Key);
}

void TfGENEMENS::FormKeyDown(QObject *Sender, int &Key, plat::ShiftState Shift)
{
    // The common routine turns Enter into Tab; the buttons' roles go by the key pressed.
    const int pulsada = Key;
    ProcesarTeclaFormulario(Sender, Key, Shift);
    // The buttons' default and cancel roles: Enter presses the focused button, else the
    // default one; Esc answers No, leaves a question for a value unanswered, and closes a
    // notice.
    if (pulsada == plat::VK_RETURN) {
        auto *enfocado = qobject_cast<QPushButton *>(focusWidget());
        QPushButton *porDefecto = pbAceptar->isVisible() ? pbAceptar : pbNO;
        if (enfocado && enfocado->isVisible())
            enfocado->click();
        else if (porDefecto->isVisible())
            porDefecto->click();
        Key = 0;
    } else if (pulsada == plat::VK_ESCAPE) {
        if (pbNO->isVisible())
            pbNO->click();
        else if (PanelRespuesta->isVisible())
            Close();   // the value asked for is not given
        else if (pbAceptar->isVisible())
            pbAceptar->click();   // a notice with one button: seen
        Key = 0;
    }
}
