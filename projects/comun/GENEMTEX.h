#pragma once
#include "GENEW/data/ventanas/FormularioMaestro.h"
#include "platform/ui/data/DataControls.h"

// The texts master: the predefined texts (table TEXTO) that other windows put into their
// memo fields.
class TfGENEMTEX : public FormularioMaestro
{
    Q_OBJECT
public:
    explicit TfGENEMTEX(QWidget *parent = nullptr);

    plat::Label *LabelCodigo, *LabelDescripcion, *LabelTexto, *LabelTipo;
    plat::DBEdit *EditCodigo, *EditDescripcion;
    plat::DBMemo *MemoTexto;
    plat::DBComboBox *EditTipo;

private:
    InstanciaGlobal<TfGENEMTEX> instancia_;
};

extern TfGENEMTEX *fGENEMTEX;
