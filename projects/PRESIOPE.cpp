#include "projects/PRESIOPE.h"

TfPRESIOPE *fPRESIOPE = nullptr;

TfPRESIOPE::TfPRESIOPE(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPRESIOPE"), QStringLiteral("Intercambio de Códigos de Operarios")), instancia_(fPRESIOPE, this)
{
}
