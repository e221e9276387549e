#include "GENEW/data/ventanas/GENEKPAD.h"

#include "platform/data/DataSet.h"
#include "platform/data/Field.h"
#include "platform/ui/Controls.h"
#include "platform/ui/data/DBGrid.h"

#include <QEvent>
#include <QLineEdit>

namespace {

constexpr int kLado = 50;
constexpr int kSeparacion = 2;

} // namespace

TfGENEKPAD::TfGENEKPAD(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEKPAD"));
    setCaption(QStringLiteral("Teclado Numérico"));
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus | Qt::CustomizeWindowHint
                   | Qt::WindowTitleHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(4 * kLado + 3 * kSeparacion + 2, 5 * kLado + 4 * kSeparacion);

    btBorrar = boton(QStringLiteral("btBorrar"), QStringLiteral("Supr"), 0, 0, 1, 1);
    btEntre = boton(QStringLiteral("btEntre"), QStringLiteral("/"), 1, 0, 1, 1);
    btPor = boton(QStringLiteral("btPor"), QStringLiteral("x"), 2, 0, 1, 1);
    btMenos = boton(QStringLiteral("btMenos"), QStringLiteral("-"), 3, 0, 1, 1);
    bt7 = boton(QStringLiteral("bt7"), QStringLiteral("7"), 0, 1, 1, 1);
    bt8 = boton(QStringLiteral("bt8"), QStringLiteral("8"), 1, 1, 1, 1);
    bt9 = boton(QStringLiteral("bt9"), QStringLiteral("9"), 2, 1, 1, 1);
    btMas = boton(QStringLiteral("btMas"), QStringLiteral("+"), 3, 1, 1, 2);
    bt4 = boton(QStringLiteral("bt4"), QStringLiteral("4"), 0, 2, 1, 1);
    bt5 = boton(QStringLiteral("bt5"), QStringLiteral("5"), 1, 2, 1, 1);
    bt6 = boton(QStringLiteral("bt6"), QStringLiteral("6"), 2, 2, 1, 1);
    bt1 = boton(QStringLiteral("bt1"), QStringLiteral("1"), 0, 3, 1, 1);
    bt2 = boton(QStringLiteral("bt2"), QStringLiteral("2"), 1, 3, 1, 1);
    bt3 = boton(QStringLiteral("bt3"), QStringLiteral("3"), 2, 3, 1, 1);
    btIntro = boton(QStringLiteral("btIntro"), QStringLiteral("Intro"), 3, 3, 1, 2);
    bt0 = boton(QStringLiteral("bt0"), QStringLiteral("0"), 0, 4, 2, 1);
    btComa = boton(QStringLiteral("btComa"), QStringLiteral(","), 2, 4, 1, 1);

    OnClose = [](QObject *, plat::CloseAction &accion) { accion = plat::caFree; };
}

plat::Panel *TfGENEKPAD::boton(const QString &nombre, const QString &titulo, int columna, int fila, int columnas,
                               int filas)
{
    auto *b = make<plat::Panel>(nombre, this);
    b->setCaption(titulo);
    b->setBevelOuter(plat::bvRaised);
    b->setBounds(1 + columna * (kLado + kSeparacion), fila * (kLado + kSeparacion),
                 columnas * kLado + (columnas - 1) * kSeparacion, filas * kLado + (filas - 1) * kSeparacion);
    QFont letra = b->font();
    letra.setPointSize(12);
    letra.setBold(true);
    b->setFont(letra);
    b->OnClick = [this](QObject *s) { BotonClick(s); };
    b->installEventFilter(this);
    return b;
}

// A button shows lowered while the mouse is down on it.
bool TfGENEKPAD::eventFilter(QObject *watched, QEvent *event)
{
    if (auto *b = qobject_cast<plat::Panel *>(watched)) {
        if (event->type() == QEvent::MouseButtonPress)
            b->setBevelOuter(plat::bvLowered);
        else if (event->type() == QEvent::MouseButtonRelease)
            b->setBevelOuter(plat::bvRaised);
    }
    return plat::Form::eventFilter(watched, event);
}

void TfGENEKPAD::BotonClick(QObject *Sender)
{
    auto *b = qobject_cast<plat::Panel *>(Sender);
    if (!b || !FormularioDestino)
        return;
    const QString titulo = b->caption();
    QWidget *activo = FormularioDestino->activeControl();
    if (auto *edicion = qobject_cast<QLineEdit *>(activo)) {
        if (titulo == QLatin1String("Intro")) {
            FormularioDestino->selectNext(true);
            return;
        }
        teclearEnEdicion(*edicion, titulo);
    } else if (auto *rejilla = qobject_cast<plat::DBGrid *>(activo)) {
        teclearEnRejilla(*rejilla, titulo);
    }
    FormularioDestino->activateWindow();
}

void TfGENEKPAD::teclearEnEdicion(QLineEdit &edicion, const QString &titulo)
{
    // Typed as the user would (end, then insert or backspace), so a data-aware edit takes
    // the change as an edit of its field.
    edicion.end(false);
    if (titulo == QLatin1String("Supr"))
        edicion.backspace();
    else
        edicion.insert(titulo);
    edicion.end(false);
}

void TfGENEKPAD::teclearEnRejilla(plat::DBGrid &rejilla, const QString &titulo)
{
    plat::DataSet *ds = rejilla.dataSet();
    if (!ds)
        return;
    if (titulo == QLatin1String("Intro")) {
        ComaPendiente.clear();
        if (rejilla.selectedIndex() < rejilla.columnCount() - 1) {
            rejilla.setSelectedIndex(rejilla.selectedIndex() + 1);
            return;
        }
        const plat::DataSetState estado = ds->state();
        if (estado == plat::DataSetState::Insert) {
            ds->post();
            ds->append();
            return;
        }
        if (estado == plat::DataSetState::Edit)
            ds->post();
        ds->next();
        if (ds->eof())
            ds->append();
        if (estado != plat::DataSetState::Edit)
            rejilla.setSelectedIndex(0);
        return;
    }
    if (titulo == QLatin1String(",")) {
        ComaPendiente = QStringLiteral(",");
        return;
    }
    plat::Field *campo = rejilla.selectedField();
    if (!campo)
        return;
    ds->edit();
    QString texto = campo->asString();
    if (titulo == QLatin1String("Supr"))
        texto.chop(1);
    else
        texto += ComaPendiente + titulo;
    campo->setAsString(texto);
    ComaPendiente.clear();
}

plat::Form *CrearTecladoNumerico(QWidget *control)
{
    auto *teclado = plat::createForm<TfGENEKPAD>();
    teclado->FormularioDestino = control ? plat::Form::formOf(control) : nullptr;
    return teclado;
}
