#include "GENEW/data/ventanas/GENECALC.h"

#include "platform/data/ValueText.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Keys.h"

#include <QEventLoop>
#include <QTimer>
#include <cmath>
#include <optional>

TfGENECALC *fGENECALC = nullptr;

namespace {

struct DefinicionTecla
{
    const char *palabra;
    const char *titulo;
};

// The keys in their rows on the form.
const DefinicionTecla kTeclas[4][5] = {
    {{"7", "7"}, {"8", "8"}, {"9", "9"}, {"Dividir", "/"}, {"Apagar", "Off"}},
    {{"4", "4"}, {"5", "5"}, {"6", "6"}, {"Multiplicar", "x"}, {"PonerACero", "C"}},
    {{"1", "1"}, {"2", "2"}, {"3", "3"}, {"Restar", "-"}, {"Euro", "Euro"}},
    {{"0", "0"}, {"PuntoDecimal", ","}, {"Igual", "="}, {"Sumar", "+"}, {"Pesetas", "Pts"}},
};

constexpr int kAncho = 44, kAlto = 34, kSeparacion = 4;

bool esOperador(const QString &palabra)
{
    return palabra == QLatin1String("Sumar") || palabra == QLatin1String("Restar")
        || palabra == QLatin1String("Multiplicar") || palabra == QLatin1String("Dividir");
}

// The display's text as a number; nothing when it is none.
std::optional<double> leerNumero(const QString &texto)
{
    bool ok = false;
    const double valor = QString(texto).replace(u',', u'.').toDouble(&ok);
    if (!ok || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

std::optional<double> operar(const QString &operacion, const QString &operando, const QString &display)
{
    const auto a = leerNumero(operando);
    const auto b = leerNumero(display);
    if (!a || !b)
        return std::nullopt;
    double r = 0;
    if (operacion == QLatin1String("Sumar"))
        r = *a + *b;
    else if (operacion == QLatin1String("Restar"))
        r = *a - *b;
    else if (operacion == QLatin1String("Multiplicar"))
        r = *a * *b;
    else
        r = *a / *b;
    if (!std::isfinite(r))
        return std::nullopt;
    return r;
}

// The key word a typed character stands for.
QString palabraDeCaracter(QChar c)
{
    if (c.isDigit())
        return QString(c);
    switch (c.unicode()) {
    case u'+': return QStringLiteral("Sumar");
    case u'-': return QStringLiteral("Restar");
    case u'*': case u'x': case u'X': return QStringLiteral("Multiplicar");
    case u'/': return QStringLiteral("Dividir");
    case u'=': return QStringLiteral("Igual");
    case u',': case u'.': return QStringLiteral("PuntoDecimal");
    case u'C': case u'c': return QStringLiteral("PonerACero");
    case u'O': case u'o': return QStringLiteral("Apagar");
    case u'E': case u'e': return QStringLiteral("Euro");
    case u'P': case u'p': return QStringLiteral("Pesetas");
    default: return QString();
    }
}

} // namespace

TfGENECALC::TfGENECALC(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENECALC"));
    setCaption(QStringLiteral("Calculadora"));
    setPosition(plat::poScreenCenter);
    const int anchoTeclado = 5 * kAncho + 4 * kSeparacion;
    PanelDisplay = make<plat::Panel>(QStringLiteral("PanelDisplay"), this);
    PanelDisplay->setBevelOuter(plat::bvLowered);
    PanelDisplay->setBounds(8, 8, anchoTeclado, 40);
    PanelDisplay->setColor(0xE0FFFF);
    Display = make<plat::Label>(QStringLiteral("Display"), PanelDisplay);
    Display->setBounds(6, 2, anchoTeclado - 12, 36);
    Display->setAlignment(plat::taRightJustify);
    Display->setLayoutCentred(true);
    QFont letra = Display->font();
    letra.setPointSize(16);
    letra.setBold(true);
    Display->setFont(letra);
    Display->setCaption(QStringLiteral("0"));
    Panel2 = make<plat::Panel>(QStringLiteral("Panel2"), this);
    Panel2->setBevelOuter(plat::bvNone);
    Panel2->setBounds(8, 56, anchoTeclado, 4 * kAlto + 3 * kSeparacion);
    crearTeclas();
    setFixedSize(anchoTeclado + 16, 56 + 4 * kAlto + 3 * kSeparacion + 8);

    OnClose = [this](QObject *s, plat::CloseAction &accion) {
        FormClose(s);
        accion = plat::caHide;
    };
    setKeyPreview(true);
    OnKeyPress = [this](QObject *, QChar &Key) { teclaPulsada(Key); };
    OnKeyDown = [this](QObject *, int &Key, plat::ShiftState) { teclaAbajo(Key); };
}

// The global names only a living form.
TfGENECALC::~TfGENECALC()
{
    if (fGENECALC == this)
        fGENECALC = nullptr;
}

void TfGENECALC::crearTeclas()
{
    for (int fila = 0; fila < 4; ++fila)
        for (int col = 0; col < 5; ++col) {
            const DefinicionTecla &d = kTeclas[fila][col];
            auto *tecla = make<plat::Panel>(QStringLiteral("fn") + QLatin1String(d.palabra), Panel2);
            tecla->setTag(1);
            tecla->setCaption(QString::fromUtf8(d.titulo));
            tecla->setBevelOuter(plat::bvRaised);
            tecla->setBounds(col * (kAncho + kSeparacion), fila * (kAlto + kSeparacion), kAncho, kAlto);
            QFont letra = tecla->font();
            letra.setBold(true);
            tecla->setFont(letra);
            tecla->OnClick = [this](QObject *s) { TeclaClick(s); };
        }
}

plat::Panel *TfGENECALC::Tecla(const QString &palabra) const
{
    return Panel2->findChild<plat::Panel *>(QStringLiteral("fn") + palabra, Qt::FindDirectChildrenOnly);
}

double TfGENECALC::Calcular(const QString &texto)
{
    Display->setCaption(texto.isEmpty() ? QStringLiteral("0") : texto);
    Operacion.clear();
    Operando.clear();
    ShowModal();
    return Resultado;
}

void TfGENECALC::TeclaClick(QObject *Sender)
{
    auto *tecla = qobject_cast<plat::Panel *>(Sender);
    if (!tecla)
        return;
    const QString palabra = tecla->objectName().mid(2);
    // A key that arrives while another is shown pressed waits its turn, so keys are worked
    // out in the order they were typed.
    pendientes_ << palabra;
    if (pulsando_)
        return;
    pulsando_ = true;
    while (!pendientes_.isEmpty()) {
        const QString siguiente = pendientes_.takeFirst();
        plat::Panel *mostrada = Tecla(siguiente);
        if (mostrada && DuracionPulsacion > 0) {
            mostrada->setBevelOuter(plat::bvLowered);
            mostrada->repaint();
            QEventLoop espera;
            QTimer::singleShot(DuracionPulsacion, &espera, &QEventLoop::quit);
            espera.exec();
            mostrada->setBevelOuter(plat::bvRaised);
        }
        aplicarTecla(siguiente);
    }
    pulsando_ = false;
}

void TfGENECALC::mostrar(double valor)
{
    Display->setCaption(plat::formatFloat(QStringLiteral("0.##"), valor));
}

void TfGENECALC::aplicarTecla(QString palabra)
{
    if (palabra == QLatin1String("Apagar")) {
        Close();
        return;
    }
    if (palabra == QLatin1String("PonerACero")) {
        Operacion.clear();
        Operando.clear();
        Display->setCaption(QStringLiteral("0"));
        return;
    }
    if (Display->caption() == QLatin1String("Error"))
        Display->setCaption(QStringLiteral("0"));
    if (esOperador(palabra) && esOperador(Operacion))
        palabra = QStringLiteral("Igual") + palabra;

    if (palabra == QLatin1String("PuntoDecimal")) {
        if (!Display->caption().contains(u','))
            Display->setCaption(Display->caption() + u',');
        return;
    }
    if (esOperador(palabra)) {
        Operacion = palabra;
        return;
    }
    if (palabra == QLatin1String("Euro") || palabra == QLatin1String("Pesetas")) {
        const auto valor = leerNumero(Display->caption());
        if (!valor) {
            Display->setCaption(QStringLiteral("0"));
            Operacion.clear();
            Operando.clear();
            return;
        }
        mostrar(palabra == QLatin1String("Euro") ? *valor / kPesetasPorEuro : *valor * kPesetasPorEuro);
        Operando.clear();
        Operacion = palabra;
        return;
    }
    if (palabra.startsWith(QLatin1String("Igual"))) {
        if (esOperador(Operacion)) {
            const auto resultado = operar(Operacion, Operando, Display->caption());
            if (!resultado) {
                Display->setCaption(QStringLiteral("Error"));
                Operacion.clear();
                Operando.clear();
                return;
            }
            mostrar(*resultado);
        }
        Operando.clear();
        Operacion = palabra == QLatin1String("Igual") ? palabra : palabra.mid(5);
        return;
    }
    // A digit.
    if (Operacion.isEmpty()) {
        Display->setCaption(Display->caption() == QLatin1String("0") ? palabra : Display->caption() + palabra);
    } else if (Operacion == QLatin1String("Igual")) {
        Operando.clear();
        Display->setCaption(palabra);
        Operacion.clear();
    } else if (Operando.isEmpty()) {
        Operando = Display->caption();
        Display->setCaption(palabra);
    } else {
        Display->setCaption(Display->caption() + palabra);
    }
}

void TfGENECALC::borrarUltimo()
{
    QString texto = Display->caption();
    if (texto == QLatin1String("Error"))
        texto = QStringLiteral("0");
    texto.chop(1);
    Display->setCaption(texto.isEmpty() ? QStringLiteral("0") : texto);
}

void TfGENECALC::teclaAbajo(int &Key)
{
    switch (Key) {
    case plat::VK_BACK:
        borrarUltimo();
        break;
    case plat::VK_RETURN:
        TeclaClick(Tecla(QStringLiteral("Igual")));
        break;
    case plat::VK_ESCAPE:
        TeclaClick(Tecla(QStringLiteral("Apagar")));
        break;
    default:
        return;
    }
    Key = 0;
}

void TfGENECALC::teclaPulsada(QChar &Key)
{
    const QString palabra = palabraDeCaracter(Key);
    if (palabra.isEmpty())
        return;
    Key = QChar();
    TeclaClick(Tecla(palabra));
}

void TfGENECALC::FormClose(QObject *)
{
    Resultado = leerNumero(Display->caption()).value_or(0);
}
