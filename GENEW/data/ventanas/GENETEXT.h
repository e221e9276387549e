#pragma once
#include "GENEW/data/ventanas/GeometriaDialogo.h"
#include "platform/ui/Form.h"

namespace plat {
class Button;
class Memo;
class Panel;
} // namespace plat

// The text dialog: a free text to edit, accepted or abandoned.
class TfGENETEXT : public plat::Form
{
    Q_OBJECT
public:
    explicit TfGENETEXT(QWidget *parent = nullptr);

    plat::Panel *P1;
    plat::Memo *Memo1;
    plat::Panel *PanelControl;
    plat::Button *pbAceptar;
    plat::Button *pbCancelar;

    // Kept from one opening to the next.
    static GeometriaDialogo Geometria;

public slots:
    void FormShow();
    void FormClose();
};

// Edits a text in the text dialog. Options as Name=Value lines: "Titulo" (caption) and
// "Formato" (left,top,width,height). Answers the edited text, or the given one when the
// dialog is abandoned.
QString EditarTexto(const QString &opciones, const QString &texto);
