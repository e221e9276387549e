#include "projects/CALIGAMA.h"

TfCALIGAMA *fCALIGAMA = nullptr;

TfCALIGAMA::TfCALIGAMA(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fCALIGAMA"), QStringLiteral("Maestro de Gamas de Control")), instancia_(fCALIGAMA, this)
{
}
