#pragma once
#include "platform/ui/Form.h"

namespace plat {
class Button;
class Label;
} // namespace plat

// The about box: the program's name in NombreProducto and an Accept button; shown modally
// by its caller, which frees it.
class TfGENEACER : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENEACER(QWidget *parent = nullptr);

    plat::Label *NombreProducto;
    plat::Button *pbAceptar;
};
