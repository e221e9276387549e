#include "GENEW/data/GENEACER.h"

#include "platform/ui/Controls.h"

TfGENEACER::TfGENEACER(QWidget *parent) : plat::Form(parent)
{
    setObjectName(QStringLiteral("fGENEACER"));
    setPosition(plat::poMainFormCenter);
    setBounds(0, 0, 360, 150);
    NombreProducto = make<plat::Label>(QStringLiteral("NombreProducto"), this);
    NombreProducto->setGeometry(16, 24, 328, 32);
    NombreProducto->setAlignment(plat::taCenter);
    QFont fuente = NombreProducto->font();
    fuente.setBold(true);
    fuente.setPointSize(12);
    NombreProducto->setFont(fuente);
    pbAceptar = make<plat::Button>(QStringLiteral("pbAceptar"), this);
    pbAceptar->setCaption(QStringLiteral("&Aceptar"));
    pbAceptar->setGeometry(140, 96, 80, 28);
    pbAceptar->setModalResult(plat::mrOk);
    pbAceptar->setDefaultButton(true);
    pbAceptar->setCancelButton(true);
}
