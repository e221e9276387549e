#include "GENEW/reporting/impresos/MarcasFuente.h"

#include "GENEW/runtime/comun/RutinasTipos.h"

void AplicarMarcasFuente(const EstadoMarcas &estado, plat::CanvasFont &fuente)
{
    if (!estado.color.isEmpty())
        fuente.Color = InterpretarColor(estado.color);
    TFontStyles estilos = 0;
    bool hayEstilo = false;
    for (const QString &nombre : estado.estilos) {
        if (nombre.isEmpty())
            continue;
        hayEstilo = true;
        const int estilo = TextoAEstiloFuente(nombre);
        if (estilo != kEstiloFuenteDesconocido)
            estilos |= ConjuntoEstilo(static_cast<TFontStyle>(estilo));
    }
    if (hayEstilo) {
        fuente.Font.setBold(estilos & ConjuntoEstilo(fsBold));
        fuente.Font.setItalic(estilos & ConjuntoEstilo(fsItalic));
        fuente.Font.setUnderline(estilos & ConjuntoEstilo(fsUnderline));
        fuente.Font.setStrikeOut(estilos & ConjuntoEstilo(fsStrikeout));
    }
    if (estado.tamano > 0)
        fuente.Font.setPointSize(estado.tamano);
}
