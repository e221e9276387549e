#include "GENEW/data/ventanas/GENESELE.h"

#include "GENEW/runtime/Geneinic.h"
#include "GENEW/runtime/comun/RutinasTexto.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Lists.h"
#include "platform/ui/Menus.h"

#include <QHBoxLayout>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <memory>

GeometriaDialogo TfGENESELE::Geometria;

TfGENESELE::TfGENESELE(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENESELE"));
    setCaption(QStringLiteral("Selección de Opciones"));
    resize(265, 321);

    MainMenu1 = new plat::MainMenu(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    const auto entrada = [this](plat::MenuItem *padre, const QString &nombre, const QString &titulo) {
        auto *item = new plat::MenuItem(titulo, this);
        item->setObjectName(nombre);
        padre->Add(item);
        return item;
    };
    Opciones = entrada(MainMenu1->Items(), QStringLiteral("Opciones"), QStringLiteral("Opciones"));
    SeleccionarTodo = entrada(Opciones, QStringLiteral("SeleccionarTodo"), QStringLiteral("Seleccionar todo"));
    DeseleccionarTodo = entrada(Opciones, QStringLiteral("DeseleccionarTodo"), QStringLiteral("Deseleccionar todo"));
    InvertirSeleccion = entrada(Opciones, QStringLiteral("InvertirSeleccion"), QStringLiteral("Invertir la selección"));
    entrada(Opciones, QStringLiteral("N1"), QStringLiteral("-"));
    RestaurarSeleccion =
        entrada(Opciones, QStringLiteral("RestaurarSeleccion"), QStringLiteral("Restaurar la selección inicial"));
    SeleccionarTodo->OnClick = [this](QObject *) { SeleccionarTodoClick(); };
    DeseleccionarTodo->OnClick = [this](QObject *) { DeseleccionarTodoClick(); };
    InvertirSeleccion->OnClick = [this](QObject *) { InvertirSeleccionClick(); };
    RestaurarSeleccion->OnClick = [this](QObject *) { RestaurarSeleccionClick(); };

    auto *columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    P1 = make<plat::Panel>(QStringLiteral("P1"), this);
    auto *caja = new QVBoxLayout(P1);
    caja->setContentsMargins(4, 4, 4, 4);
    ListBox1 = make<plat::ListBox>(QStringLiteral("ListBox1"), P1);
    caja->addWidget(ListBox1);
    connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TfGENESELE::ListBox1DblClick);

    PanelControl = make<plat::Panel>(QStringLiteral("PanelControl"), this);
    PanelControl->setFixedHeight(40);
    pbAceptar = make<plat::Button>(QStringLiteral("pbAceptar"), PanelControl);
    pbAceptar->setCaption(QStringLiteral("&Aceptar"));
    pbAceptar->setHint(QStringLiteral("Aceptar los datos actuales"));
    pbAceptar->setModalResult(plat::mrOk);
    // The list leaves Enter and Esc to the window: Enter accepts the selection, Esc leaves it.
    pbAceptar->setDefaultButton(true);
    pbCancelar = make<plat::Button>(QStringLiteral("pbCancelar"), PanelControl);
    pbCancelar->setCaption(QStringLiteral("&Salir"));
    pbCancelar->setHint(QStringLiteral("Abandonar sin modificar la selección"));
    pbCancelar->setModalResult(plat::mrIgnore);
    pbCancelar->setCancelButton(true);
    auto *fila = new QHBoxLayout(PanelControl);
    fila->addStretch();
    fila->addWidget(pbAceptar);
    fila->addWidget(pbCancelar);
    fila->addStretch();
    columna->addWidget(P1, 1);
    columna->addWidget(PanelControl);
    setMenu(MainMenu1);

    Geometria.aplicar(*this, plat::poScreenCenter);
    OnShow = [this](QObject *) { FormShow(); };
    OnClose = [this](QObject *, plat::CloseAction &) { FormClose(); };
}

void TfGENESELE::FormShow()
{
    SeleccionInicial.clear();
    for (int i = 0; i < ListBox1->count(); ++i)
        if (ListBox1->selected(i))
            SeleccionInicial += QLatin1Char('\'') + QString::number(i) + QLatin1Char('\'');
    pbAceptar->setFocus();
    if (fGENEINIC)
        fGENEINIC->TraducirFormulario(this);
}

void TfGENESELE::FormClose()
{
    Geometria.guardar(*this);
}

void TfGENESELE::ListBox1DblClick()
{
    setModalResult(plat::mrOk);
}

void TfGENESELE::marcarTodo(bool seleccionado)
{
    for (int i = 0; i < ListBox1->count(); ++i)
        ListBox1->setSelected(i, seleccionado);
}

void TfGENESELE::SeleccionarTodoClick()
{
    marcarTodo(true);
}

void TfGENESELE::DeseleccionarTodoClick()
{
    marcarTodo(false);
}

void TfGENESELE::InvertirSeleccionClick()
{
    for (int i = 0; i < ListBox1->count(); ++i)
        ListBox1->setSelected(i, !ListBox1->selected(i));
}

void TfGENESELE::RestaurarSeleccionClick()
{
    marcarTodo(false);
    for (int i = 0; i < ListBox1->count(); ++i)
        if (SeleccionInicial.contains(QLatin1Char('\'') + QString::number(i) + QLatin1Char('\'')))
            ListBox1->setSelected(i, true);
}

namespace {

QStringList lineasDe(const QString &texto)
{
    QStringList lineas = texto.split(QRegularExpression(QStringLiteral("\r?\n")));
    if (!lineas.isEmpty() && lineas.last().isEmpty())
        lineas.removeLast();
    return lineas;
}

// Loads the items, each "*" item without its first "*" and selected.
void cargarOpciones(plat::ListBox &lista, const QStringList &items)
{
    QStringList visibles;
    for (const QString &item : items)
        visibles << (item.contains(QLatin1Char('*')) ? QString(item).remove(item.indexOf(QLatin1Char('*')), 1) : item);
    lista.setItems(visibles);
    for (int i = 0; i < items.size(); ++i)
        lista.setSelected(i, items[i].contains(QLatin1Char('*')));
}

} // namespace

QString SeleccionarDeLista(const QString &opciones, const QString &lista)
{
    const QString formato = LeerValorDeLista(QStringLiteral("Formato"), opciones);
    if (!formato.isEmpty())
        TfGENESELE::Geometria.leerFormato(formato);
    auto dialogo = std::make_unique<TfGENESELE>();
    dialogo->afterConstruction();
    dialogo->setCaption(LeerValorDeLista(QStringLiteral("Titulo"), opciones));
    dialogo->ListBox1->setMultiSelect(LeerValorDeLista(QStringLiteral("Modo"), opciones).contains(QStringLiteral("Multiple")));
    const bool ordenada = LeerValorDeLista(QStringLiteral("Opciones"), opciones).contains(QStringLiteral("Ordenada"));
    cargarOpciones(*dialogo->ListBox1, lineasDe(ordenada ? OrdenarLineas(lista) : lista));
    if (dialogo->ShowModal() != plat::mrOk)
        cargarOpciones(*dialogo->ListBox1, lineasDe(lista));
    QStringList elegidos;
    for (int i = 0; i < dialogo->ListBox1->count(); ++i)
        if (dialogo->ListBox1->selected(i))
            elegidos << dialogo->ListBox1->item(i)->text();
    return elegidos.join(QStringLiteral("\r\n"));
}
