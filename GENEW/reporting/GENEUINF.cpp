#include "GENEW/reporting/GENEUINF.h"

TfGENEUINF *fGENEUINF = nullptr;

TfGENEUINF::TfGENEUINF(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEUINF"), QStringLiteral("Informe Personalizado")), Informe(NombreInforme), instancia_(fGENEUINF, this)
{
    setCaption(Informe);
}

QString NombreInforme;
