#include "GENEW/data/ventanas/GENEDETA.h"

#include "GENEW/data/modulo/Genemodu.h"
#include "GENEW/runtime/comun/Errores.h"
#include "GENEW/runtime/comun/FicherosTexto.h"
#include "GENEW/runtime/comun/RutinasMensajes.h"
#include "GENEW/runtime/comun/RutinasSistema.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QStackedLayout>
#include <QVBoxLayout>

TfGENEDETA *fGENEDETA = nullptr;

namespace {
constexpr int kLado = 480;
} // namespace

TfGENEDETA::TfGENEDETA(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEDETA"));
    resize(kLado, kLado);
    setPosition(plat::poScreenCenter);
    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);

    Panel1 = make<plat::Panel>(QStringLiteral("Panel1"), this);
    Panel1->setFixedHeight(30);
    pbImprimir = make<plat::SpeedButton>(QStringLiteral("pbImprimir"), Panel1);
    pbImprimir->setHint(QStringLiteral("Imprimir el texto"));
    pbImprimir->setCaption(QStringLiteral("Imprimir"));
    pbImprimir->setGeometry(4, 3, 70, 24);
    connect(pbImprimir, &QToolButton::clicked, this, &TfGENEDETA::pbImprimirClick);

    Panel3 = make<plat::Panel>(QStringLiteral("Panel3"), this);
    auto *pila = new QStackedLayout(Panel3);
    pila->setStackingMode(QStackedLayout::StackOne);
    MemoDetalle = make<plat::Memo>(QStringLiteral("MemoDetalle"), Panel3);
    MemoDetalle->setReadOnly(true);
    MemoDetalle->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    WebBrowserDetalle = make<plat::HtmlView>(QStringLiteral("WebBrowserDetalle"), Panel3);
    pila->addWidget(MemoDetalle);
    pila->addWidget(WebBrowserDetalle);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(40);
    pbConforme = make<plat::Button>(QStringLiteral("pbConforme"), PanelControl);
    pbConforme->setCaption(QStringLiteral("&Conforme"));
    pbConforme->setModalResult(plat::mrOk);
    pbConforme->setCancelButton(true);
    auto *fila = new QHBoxLayout(PanelControl);
    fila->addStretch();
    fila->addWidget(pbConforme);
    fila->addStretch();

    PrintDialog1 = make<plat::PrintDialog>(QStringLiteral("PrintDialog1"), this);
    SaveDialog1 = make<plat::SaveDialog>(QStringLiteral("SaveDialog1"), this);

    columna->addWidget(Panel1);
    columna->addWidget(Panel3, 1);
    columna->addWidget(PanelControl);
}

// The global names only a living form.
TfGENEDETA::~TfGENEDETA()
{
    if (fGENEDETA == this)
        fGENEDETA = nullptr;
}

QStringList TextoPlanoDeHTML(const QString &html)
{
    QString texto = html;
    texto.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    texto.replace(QStringLiteral("<hr>"), QStringLiteral("\r\n"));
    QString plano;
    plano.reserve(texto.size());
    bool enMarca = false;
    for (const QChar c : texto) {
        if (!enMarca && c == u'<')
            enMarca = true;
        else if (enMarca && c == u'>')
            enMarca = false;
        else if (!enMarca)
            plano += c;
    }
    return DividirLineas(plano);
}

QStringList TfGENEDETA::LineasImpresion() const
{
    return MostrandoHTML ? TextoPlanoDeHTML(MemoDetalle->text()) : MemoDetalle->lines();
}

void TfGENEDETA::pbImprimirClick()
{
    if (!PrintDialog1->Execute())
        return;
    QPrinter &impresora = plat::sharedPrinter();
    QPainter pintor;
    if (!pintor.begin(&impresora)) {
        MensajeAviso(QStringLiteral("¡Error Imprimiendo el texto!"));
        return;
    }
    QStringList lineas{caption().toUpper(), QString()};
    lineas += LineasImpresion();
    pintor.setFont(MemoDetalle->font());
    const int alto = pintor.fontMetrics().lineSpacing();
    const QRect pagina = pintor.viewport();
    int y = alto;
    for (const QString &linea : lineas) {
        if (y > pagina.height() - alto) {
            if (!impresora.newPage()) {
                pintor.end();
                MensajeAviso(QStringLiteral("¡Error Imprimiendo el texto!"));
                return;
            }
            y = alto;
        }
        pintor.drawText(0, y, linea);
        y += alto;
    }
    if (!pintor.end())
        MensajeAviso(QStringLiteral("¡Error Imprimiendo el texto!"));
}

namespace {

// "name,size" and "width,height" pieces: an unreadable piece is left out.
bool numeroDePieza(const QString &valor, int pieza, int &numero)
{
    bool ok = false;
    const int n = ExtraerCampo(pieza, valor, QStringLiteral(",")).trimmed().toInt(&ok);
    if (ok && n > 0)
        numero = n;
    return ok && n > 0;
}

} // namespace

void PrepararDetalle(TfGENEDETA &f, const QString &texto, const QString &titulo, const QString &opciones)
{
    f.setCaption(titulo);
    const QString fuente = LeerValorDeLista(QStringLiteral("Fuente"), opciones);
    QFont letra = QApplication::font();
    if (!fuente.isEmpty()) {
        letra.setFamily(ExtraerCampo(0, fuente, QStringLiteral(",")).trimmed());
        int puntos = 0;
        if (numeroDePieza(fuente, 1, puntos))
            letra.setPointSize(puntos);
    }
    f.MemoDetalle->setFont(letra);
    f.MemoDetalle->setText(texto);
    f.setActiveControl(f.pbConforme);
    int ancho = kLado, alto = kLado;
    const QString formato = LeerValorDeLista(QStringLiteral("Formato"), opciones);
    if (!formato.isEmpty()) {
        ancho = f.width();
        alto = f.height();
        numeroDePieza(formato, 0, ancho);
        numeroDePieza(formato, 1, alto);
    }
    f.resize(ancho, alto);
    const bool html = DividirLineas(opciones).contains(QStringLiteral("Interprete=HTML"));
    if (html) {
        const QString pagina = DirectorioTemporalPropio() + QFileInfo(QCoreApplication::applicationFilePath()).fileName()
            + QStringLiteral(".html");
        if (!EscribirFicheroTexto(pagina, texto))
            throw gp::Error(QStringLiteral("No se puede escribir ") + pagina);
        f.WebBrowserDetalle->Navigate(QStringLiteral("file://") + pagina);
    }
    auto *pila = static_cast<QStackedLayout *>(f.Panel3->layout());
    pila->setCurrentWidget(html ? static_cast<QWidget *>(f.WebBrowserDetalle) : f.MemoDetalle);
    f.MostrandoHTML = html;
    f.WebBrowserDetalle->setVisible(html);
    f.MemoDetalle->setVisible(!html);
}

namespace {

void ofrecerGuardar(const QString &texto, const QString &titulo)
{
    if (MensajeConfirmacion(QStringLiteral("Esta información excede la capacidad de visualización. ¿Desea guardar esta "
                                           "información en un archivo? "))
        != QLatin1String("SI"))
        return;
    plat::SaveDialog dialogo;
    dialogo.FileName = titulo + QStringLiteral(".TXT");
    if (dialogo.Execute())
        EscribirFicheroTexto(dialogo.FileName, texto);   // a failure here is not reported
}

} // namespace

void MostrarDetalle(const QString &texto, const QString &titulo, const QString &opciones)
{
    std::unique_ptr<TfGENEDETA> f;
    try {
        f.reset(plat::createForm<TfGENEDETA>());
        if (ModuloDatos)
            ModuloDatos->RegistrarAccesoFormulario(f.get(), QStringLiteral("Create"));
        PrepararDetalle(*f, texto, titulo, opciones);
        f->ShowModal();
    } catch (const gp::Abort &) {
        throw;
    } catch (const std::exception &) {
        f.reset();
        ofrecerGuardar(texto, titulo);
    }
}
