#include "GENEW/reporting/GENECINF.h"

TfGENECINF *fGENECINF = nullptr;

TfGENECINF::TfGENECINF(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENECINF"), QStringLiteral("Configuración de Informes Personalizados")), instancia_(fGENECINF, this)
{
}
