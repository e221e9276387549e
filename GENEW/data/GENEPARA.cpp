#include "GENEW/data/GENEPARA.h"

TfGENEPARA *fGENEPARA = nullptr;

TfGENEPARA::TfGENEPARA(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEPARA"), QStringLiteral("Parámetros Globales")), instancia_(fGENEPARA, this)
{
}
