#include "GENEW/reporting/GENECSQL.h"

TfGENECSQL *fGENECSQL = nullptr;

TfGENECSQL::TfGENECSQL(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENECSQL"), QStringLiteral("Consultas SQL")), instancia_(fGENECSQL, this)
{
}
