#include "projects/PROYNTEC.h"

TfPROYNTEC *fPROYNTEC = nullptr;

TfPROYNTEC::TfPROYNTEC(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPROYNTEC"), QStringLiteral("Introducción de Notas Técnicas")), instancia_(fPROYNTEC, this)
{
}
