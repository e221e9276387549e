#pragma once
#include "GENEW/data/ventanas/GeometriaDialogo.h"
#include "platform/ui/Form.h"

namespace plat {
class Button;
class ListBox;
class MainMenu;
class MenuItem;
class Panel;
} // namespace plat

// The selection dialog: a list of options to choose one or several from.
class TfGENESELE : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENESELE(QWidget *parent = nullptr);

    plat::Panel *P1;
    plat::ListBox *ListBox1;
    plat::Panel *PanelControl;
    plat::Button *pbAceptar;
    plat::Button *pbCancelar;
    plat::MainMenu *MainMenu1;
    plat::MenuItem *Opciones;
    plat::MenuItem *SeleccionarTodo;
    plat::MenuItem *DeseleccionarTodo;
    plat::MenuItem *InvertirSeleccion;
    plat::MenuItem *RestaurarSeleccion;

    // The item numbers selected when the window was shown, each in single quotes ('0''3'),
    // so that item 13 never stands for item 3.
    QString SeleccionInicial;

    static GeometriaDialogo Geometria;

public slots:
    void FormShow();
    void FormClose();
    void ListBox1DblClick();
    void SeleccionarTodoClick();
    void DeseleccionarTodoClick();
    void InvertirSeleccionClick();
    void RestaurarSeleccionClick();

private:
    void marcarTodo(bool seleccionado);
};

// Lets the user choose from a list, one item a line; an item holding "*" starts selected
// (its first "*" is not shown). Options as Name=Value lines: "Titulo", "Formato", "Modo"
// ("Multiple" allows several), "Opciones" ("Ordenada" sorts the items). Answers the selected
// items in list order, one a line; abandoned, the items that started selected.
QString SeleccionarDeLista(const QString &opciones, const QString &lista);
