#include "projects/GENEMTEX.h"

TfGENEMTEX *fGENEMTEX = nullptr;

TfGENEMTEX::TfGENEMTEX(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEMTEX"), QStringLiteral("Maestro de Textos")), instancia_(fGENEMTEX, this)
{
}
