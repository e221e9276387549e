#pragma once
#include "platform/ui/Form.h"

class QLabel;
namespace plat {
class Button;
class Panel;
class ShellTreeView;
} // namespace plat

// The folder and file picker: a title over the shell's tree and an "Aceptar" button.
class TfGENEOPEN : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEOPEN(QWidget *parent = nullptr);

    plat::Panel *PanelTitulo;
    QLabel *Titulo;
    plat::ShellTreeView *ShellTreeView;
    plat::Panel *Panel2;
    plat::Button *pbAceptar;
};
