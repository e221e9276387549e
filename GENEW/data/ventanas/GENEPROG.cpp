#include "GENEW/data/ventanas/GENEPROG.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "platform/ui/Containers.h"
#include "platform/ui/Controls.h"

TfGENEPROG *fGENEPROG = nullptr;

namespace {

const QString kPuntos = QStringLiteral("...");

} // namespace

TfGENEPROG::TfGENEPROG(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEPROG"));
    setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setCursor(Qt::WaitCursor);
    setKeyPreview(true);
    QFont fuente(QStringLiteral("MS Sans Serif"), 8);
    setFont(fuente);
    setBounds(0, 0, 399, 85);

    Panel1 = make<plat::Panel>(QStringLiteral("Panel1"), this);
    StatusBar1 = make<plat::StatusBar>(QStringLiteral("StatusBar1"), this);
    StatusBar1->addPanel(plat::StatusPanel{QString(), 50, true});
    PanelProgreso = make<plat::Panel>(QStringLiteral("PanelProgreso"), Panel1);
    PanelProgreso->setBevelOuter(plat::bvLowered);
    PanelProgreso->setColor(plat::clWindow);
    EditProgreso = make<plat::Label>(QStringLiteral("EditProgreso"), PanelProgreso);
    EditProgreso->move(4, 4);
    Timer = make<plat::Timer>(QStringLiteral("Timer"), this);
    Timer->setInterval(1000);

    OnShow = plat::handler(this, &TfGENEPROG::FormShow);
    OnActivate = plat::handler(this, &TfGENEPROG::FormActivate);
    OnKeyDown = plat::handler(this, &TfGENEPROG::FormKeyDown);
    Timer->OnTimer = plat::handler(this, &TfGENEPROG::TimerTimer);
    Timer->setEnabled(true);
    EditProgresoChange();
}

TfGENEPROG::~TfGENEPROG()
{
    if (fGENEPROG == this)
        fGENEPROG = nullptr;
}

void TfGENEPROG::PonerTexto(const QString &texto)
{
    EditProgreso->setCaption(texto);
    EditProgresoChange();
}

void TfGENEPROG::EditProgresoChange()
{
    EditProgreso->adjustSize();
    const int ancho = std::max(330, EditProgreso->width() + 40);
    const int alto = 85;
    const int altoBarra = StatusBar1->sizeHint().height();
    setBounds((plat::application().screenWidth() - ancho) / 2, plat::application().screenHeight() - alto - 150, ancho,
              alto);
    Panel1->setGeometry(0, 0, ancho, alto - altoBarra);
    StatusBar1->setGeometry(0, alto - altoBarra, ancho, altoBarra);
    PanelProgreso->setGeometry(4, 4, ancho - 16, alto - altoBarra - 8);
}

void TfGENEPROG::FormShow(QObject *)
{
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENEPROG::FormActivate(QObject *) { EditProgreso->repaint(); }

void TfGENEPROG::TimerTimer(QObject *) { EditProgreso->repaint(); }

void TfGENEPROG::FormKeyDown(QObject *, int &Key, plat::ShiftState)
{
    if (Key != plat::VK_ESCAPE)
        return;
    Key = 0;
    const QString respuesta =
        MensajeConfirmacion(QStringLiteral("El listado será cancelado a continuación. ¿Desea continuar con el listado?"));
    ListadoCancelado = respuesta != QLatin1String("SI");
}

QString TextoProgresoTraducido(const QString &texto, const std::function<QString(const QString &)> &traducir)
{
    const qsizetype primero = texto.indexOf(kPuntos);
    if (primero < 0)
        return traducir(texto);
    const QString resto = texto.mid(primero + kPuntos.size());
    const qsizetype segundo = resto.indexOf(kPuntos);
    return traducir(texto.left(primero)) + kPuntos + (segundo < 0 ? resto : resto.left(segundo));
}

void MostrarProgresoSinTraducir(const QString &modo, const QString &titulo, const QString &texto)
{
    if (modo == QLatin1String("ON")) {
        fGENEPROG = plat::createForm<TfGENEPROG>();
        fGENEPROG->setCaption(titulo);
        fGENEPROG->PonerTexto(texto);
        fGENEPROG->Show();
    } else if (modo == QLatin1String("OFF")) {
        if (fGENEPROG)
            fGENEPROG->Free();
        fGENEPROG = nullptr;
    } else if (modo.isEmpty() && fGENEPROG) {
        fGENEPROG->PonerTexto(texto);
        fGENEPROG->repaint();
    }
}

void MostrarProgreso(const QString &modo, const QString &titulo, const QString &texto)
{
    const auto traducir = [](const QString &t) { return ModuloDatos ? ModuloDatos->Traducir(t) : t; };
    MostrarProgresoSinTraducir(modo, traducir(titulo), TextoProgresoTraducido(texto, traducir));
}

ProgresoEnVentana::ProgresoEnVentana() : anterior_(&salidaMensajes()), instalacion_(*this) {}

ProgresoEnVentana::~ProgresoEnVentana()
{
    MostrarProgresoSinTraducir(QStringLiteral("OFF"), QString(), QString());
}

QString ProgresoEnVentana::mostrarMensaje(const QString &tipo, const QString &texto, const QString &respuesta)
{
    return anterior_->mostrarMensaje(tipo, texto, respuesta);
}

void ProgresoEnVentana::mostrarProgreso(const QString &modo, const QString &titulo, const QString &texto,
                                        const QString &)
{
    MostrarProgresoSinTraducir(modo, titulo, texto);
}
