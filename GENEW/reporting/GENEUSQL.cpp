#include "GENEW/reporting/GENEUSQL.h"

TfGENEUSQL *fGENEUSQL = nullptr;

TfGENEUSQL::TfGENEUSQL(QWidget *parent)
    : VentanaPrograma(parent, QStringLiteral("fGENEUSQL"), QStringLiteral("Consulta SQL")), instancia_(fGENEUSQL, this)
{
}

void TfGENEUSQL::CargaConsulta(const QString &descripcion)
{
    Consulta = descripcion;
    setCaption(descripcion);
}
