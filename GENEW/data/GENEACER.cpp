#include "GENEW/data/GENEACER.h"

#include "GENEW/data/Genemodu.h"
#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/ServiciosExternos.h"
#include "GENEW/runtime/comun/RutinasFechas.h"
#include "platform/base/FechaHora.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Keys.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QVBoxLayout>

namespace datosPrograma {

QString CodigoVersion() { return QStringLiteral(GP_VERSION); }
QString TitularDerechos() { return QStringLiteral("Equipo de Gestión de Proyectos"); }
QString DireccionCorreo() { return QStringLiteral("soporte@gestion-proyectos.example"); }
QString DireccionWeb() { return QStringLiteral("https://gestion-proyectos.example/"); }

} // namespace datosPrograma

namespace {

constexpr int kAncho = 230;
constexpr int kMargen = 8;
// The title bar beside its text: the window's icon and its buttons, each about as wide as
// the bar is high, and the frame's borders.
constexpr int kPiezasTitulo = 4;
constexpr int kBordesTitulo = 24;

QString traducir(const QString &texto) { return ModuloDatos ? ModuloDatos->Traducir(texto) : texto; }

QString paginaAcercaDe()
{
    QFile pagina(QStringLiteral(":/acercade/acercade.html"));
    return pagina.open(QIODevice::ReadOnly) ? QString::fromUtf8(pagina.readAll()) : QString();
}

} // namespace

QPixmap LogotipoPrograma(int lado)
{
    QPixmap logo(lado, lado);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x4e, 0x79));
    p.drawRoundedRect(QRectF(0, 0, lado, lado), lado / 6.0, lado / 6.0);
    // Three bars of a plan, each starting where the one above ends.
    const QColor barras[] = {QColor(0xf2, 0xa9, 0x00), QColor(0x7f, 0xc2, 0x41), QColor(0xe9, 0xee, 0xf4)};
    const double alto = lado / 7.0;
    const double inicio[] = {0.15, 0.35, 0.55};
    const double largo[] = {0.30, 0.35, 0.30};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(barras[i]);
        p.drawRoundedRect(QRectF(lado * inicio[i], lado * 0.2 + i * alto * 1.6, lado * largo[i], alto), alto / 3,
                          alto / 3);
    }
    return logo;
}

TfGENEACER::TfGENEACER(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEACER"));
    setPosition(plat::poMainFormCenter);
    resize(kAncho, 400);
    setFixedWidth(kAncho);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(kMargen, 10, kMargen, 10);
    columna->setSpacing(4);

    ImagenLogotipo = make<plat::Image>(QStringLiteral("ImagenLogotipo"), this);
    ImagenLogotipo->setFixedSize(64, 64);
    ImagenLogotipo->setPicture(LogotipoPrograma(64));
    ImagenLogotipo->setCursor(Qt::PointingHandCursor);
    ImagenLogotipo->OnClick = [this](QObject *) { AbrirSitioWeb(); };
    columna->addWidget(ImagenLogotipo, 0, Qt::AlignHCenter);

    const auto etiqueta = [&](const QString &nombre) {
        auto *l = make<plat::Label>(nombre, this);
        l->setAlignment(plat::taCenter);
        l->setWordWrap(true);
        columna->addWidget(l);
        return l;
    };
    NombreProducto = etiqueta(QStringLiteral("NombreProducto"));
    QFont fuente = NombreProducto->font();
    fuente.setBold(true);
    fuente.setPointSize(12);
    NombreProducto->setFont(fuente);
    Version = etiqueta(QStringLiteral("Version"));
    Copyright = etiqueta(QStringLiteral("Copyright"));
    Copyright->setCursor(Qt::PointingHandCursor);
    Copyright->OnClick = [this](QObject *) { AbrirSitioWeb(); };
    DireccionEMail = etiqueta(QStringLiteral("DireccionEMail"));
    DireccionEMail->setCaption(datosPrograma::DireccionCorreo());
    DireccionEMail->setWordWrap(false);
    QFont enlace = DireccionEMail->font();
    enlace.setUnderline(true);
    enlace.setPointSize(8);
    DireccionEMail->setFont(enlace);
    DireccionEMail->setStyleSheet(QStringLiteral("color: #1f4e79;"));
    DireccionEMail->setCursor(Qt::PointingHandCursor);
    DireccionEMail->OnClick = [this](QObject *) { DireccionEMailClick(); };

    PanelWeb = make<plat::Panel>(QStringLiteral("PanelWeb"), this);
    auto *caja = new QVBoxLayout(PanelWeb);
    caja->setContentsMargins(0, 0, 0, 0);
    WebBrowser = make<plat::HtmlView>(QStringLiteral("WebBrowser"), PanelWeb);
    caja->addWidget(WebBrowser);
    columna->addWidget(PanelWeb, 1);

    pbAceptar = make<plat::Button>(QStringLiteral("pbAceptar"), this);
    pbAceptar->setCaption(QStringLiteral("&Aceptar"));
    pbAceptar->setModalResult(plat::mrOk);
    pbAceptar->setDefaultButton(true);
    pbAceptar->setCancelButton(true);
    columna->addWidget(pbAceptar, 0, Qt::AlignHCenter);

    setKeyPreview(true);
    OnKeyDown = [this](QObject *, int &Key, plat::ShiftState Shift) {
        if (Key == plat::VK_RETURN && !(Shift & (plat::ssShift | plat::ssAlt | plat::ssCtrl))) {
            Key = 0;
            setModalResult(plat::mrOk);
        }
    };
    OnShow = [this](QObject *) { FormShow(); };
}

void TfGENEACER::FormShow()
{
    const QDateTime fechaPrograma =
        FechaHoraDeReloj(QFileInfo(QCoreApplication::applicationFilePath()).lastModified());
    Version->setCaption(traducir(QStringLiteral("Versión")) + u' ' + datosPrograma::CodigoVersion()
                        + QStringLiteral(" - (") + FechaHoraATexto(fechaPrograma) + u')');
    Copyright->setCaption(QStringLiteral("© ") + datosPrograma::TitularDerechos() + QStringLiteral(", ")
                          + QString::number(Ahora().date().year()));
    WebBrowser->setHtmlText(paginaAcercaDe());
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
    ajustarAncho();
}

int TfGENEACER::anchoNecesario() const
{
    QFont negrita = font();
    negrita.setBold(true);
    const QFontMetrics titulo(negrita);
    int ancho = titulo.horizontalAdvance(caption()) + kPiezasTitulo * (titulo.height() + 8) + kBordesTitulo;
    for (const plat::Label *l : {NombreProducto, Version, Copyright, DireccionEMail})
        ancho = std::max(ancho, QFontMetrics(l->font()).horizontalAdvance(l->caption()) + 2 * kMargen + 4);
    return std::max(kAncho, ancho);
}

// Kept centred where it was placed: the texts of its showing may widen it after that.
void TfGENEACER::ajustarAncho()
{
    const int ancho = anchoNecesario();
    if (ancho == width())
        return;
    const int antes = width();
    setFixedWidth(ancho);
    if (isVisible())
        setLeft(left() - (ancho - antes) / 2);
}

void TfGENEACER::changeEvent(QEvent *event)
{
    plat::Form::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange && pbAceptar)
        ajustarAncho();
}

void TfGENEACER::DireccionEMailClick() { AbrirURL(QUrl(QStringLiteral("mailto:") + datosPrograma::DireccionCorreo())); }

void TfGENEACER::AbrirSitioWeb() { AbrirURL(QUrl(datosPrograma::DireccionWeb())); }
