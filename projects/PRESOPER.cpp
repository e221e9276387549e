#include "projects/PRESOPER.h"

TfPRESOPER *fPRESOPER = nullptr;

TfPRESOPER::TfPRESOPER(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPRESOPER"), QStringLiteral("Maestro de Operarios")), instancia_(fPRESOPER, this)
{
}
