#include "GENEW/data/ventanas/VentanaPrograma.h"

VentanaPrograma::VentanaPrograma(QWidget *parent, const QString &nombre, const QString &titulo) : plat::Form(parent)
{
    setObjectName(nombre);
    setCaption(titulo);
    setFormStyle(plat::fsMDIChild);
    setBounds(0, 0, 640, 420);
    OnClose = plat::handler(this, &VentanaPrograma::FormClose);
}

void VentanaPrograma::FormClose(QObject *, plat::CloseAction &Action) { Action = plat::caFree; }
