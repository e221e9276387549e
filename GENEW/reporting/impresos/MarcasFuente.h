#pragma once
#include "GENEW/reporting/impresos/MarcasTexto.h"
#include "platform/ui/Canvas.h"

// Applies the markup of one text to the font of the canvas in use: the colour by its name
// (InterpretarColor), the styles replacing the font's own set, the size when above 0.
// The caller keeps the font's colour, size and style and puts them back after drawing.
void AplicarMarcasFuente(const EstadoMarcas &estado, plat::CanvasFont &fuente);
