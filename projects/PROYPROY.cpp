#include "projects/PROYPROY.h"

TfPROYPROY *fPROYPROY = nullptr;

TfPROYPROY::TfPROYPROY(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPROYPROY"), QStringLiteral("Maestro de Proyectos")), instancia_(fPROYPROY, this)
{
}
