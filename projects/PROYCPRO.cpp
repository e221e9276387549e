#include "projects/PROYCPRO.h"

TfPROYCPRO *fPROYCPRO = nullptr;

TfPROYCPRO::TfPROYCPRO(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPROYCPRO"), QStringLiteral("Consulta de Proyectos")), instancia_(fPROYCPRO, this)
{
}
