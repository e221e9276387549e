#include "projects/PROYVERS.h"

TfPROYVERS *fPROYVERS = nullptr;

TfPROYVERS::TfPROYVERS(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fPROYVERS"), QStringLiteral("Notificaciones de Cambios de Versión")), instancia_(fPROYVERS, this)
{
}
