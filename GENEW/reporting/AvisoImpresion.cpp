#include "GENEW/reporting/AvisoImpresion.h"

#include "GENEW/runtime/comun/RutinasMensajes.h"

QString TextoErrorImprimiendo(const QString &motivo)
{
    return QStringLiteral("¡Error Imprimiendo!. Motivo: ") + motivo;
}

void AvisoErrorImprimiendo(const QString &motivo)
{
    MensajeAviso(TextoErrorImprimiendo(motivo));
}
